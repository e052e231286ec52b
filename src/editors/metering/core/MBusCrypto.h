#pragma once
// AES-128 as wireless M-Bus uses it: CBC over whole 16-byte blocks without padding, and
// AES-CMAC (RFC 4493) for key derivation. The algorithms are fetched once per object, so a
// scan that decrypts thousands of telegrams does not look them up each time.

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

typedef struct evp_cipher_st EVP_CIPHER;
typedef struct evp_mac_st EVP_MAC;

namespace zfw {

using AesKey = std::array<std::uint8_t, 16>;
using AesBlock = std::array<std::uint8_t, 16>;

class MBusAes {
public:
    MBusAes();
    ~MBusAes();
    MBusAes(const MBusAes&) = delete;
    MBusAes& operator=(const MBusAes&) = delete;

    // Decrypts (or encrypts) data, whose length must be a multiple of 16; nullopt when it is
    // not or the library fails.
    std::optional<std::vector<std::uint8_t>> cbcDecrypt(const AesKey& key, const AesBlock& iv,
                                                        std::span<const std::uint8_t> data) const;
    std::optional<std::vector<std::uint8_t>> cbcEncrypt(const AesKey& key, const AesBlock& iv,
                                                        std::span<const std::uint8_t> data) const;
    // AES-CMAC tag of message under key; nullopt when the library fails.
    std::optional<AesBlock> cmac(const AesKey& key, std::span<const std::uint8_t> message) const;

private:
    std::optional<std::vector<std::uint8_t>> cbc(bool encrypt, const AesKey& key,
                                                 const AesBlock& iv,
                                                 std::span<const std::uint8_t> data) const;

    EVP_CIPHER* m_cipher = nullptr;
    EVP_MAC* m_mac = nullptr;
};

}  // namespace zfw
