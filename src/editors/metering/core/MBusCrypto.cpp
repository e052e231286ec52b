#include "editors/metering/core/MBusCrypto.h"

#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/params.h>

#include <memory>

namespace zfw {

namespace {

struct CipherCtxFree {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};
struct MacCtxFree {
    void operator()(EVP_MAC_CTX* c) const { EVP_MAC_CTX_free(c); }
};

}  // namespace

MBusAes::MBusAes()
    : m_cipher(EVP_CIPHER_fetch(nullptr, "AES-128-CBC", nullptr)),
      m_mac(EVP_MAC_fetch(nullptr, "CMAC", nullptr))
{
}

MBusAes::~MBusAes()
{
    EVP_CIPHER_free(m_cipher);
    EVP_MAC_free(m_mac);
}

std::optional<std::vector<std::uint8_t>> MBusAes::cbc(bool encrypt, const AesKey& key,
                                                      const AesBlock& iv,
                                                      std::span<const std::uint8_t> data) const
{
    if (!m_cipher || data.size() % 16 != 0)
        return std::nullopt;
    std::unique_ptr<EVP_CIPHER_CTX, CipherCtxFree> ctx(EVP_CIPHER_CTX_new());
    if (!ctx
        || EVP_CipherInit_ex2(ctx.get(), m_cipher, key.data(), iv.data(), encrypt ? 1 : 0, nullptr)
               != 1
        || EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1)
        return std::nullopt;
    std::vector<std::uint8_t> out(data.size() + 16);
    int n = 0;
    int tail = 0;
    if (EVP_CipherUpdate(ctx.get(), out.data(), &n, data.data(), int(data.size())) != 1
        || EVP_CipherFinal_ex(ctx.get(), out.data() + n, &tail) != 1)
        return std::nullopt;
    out.resize(std::size_t(n) + std::size_t(tail));
    return out;
}

std::optional<std::vector<std::uint8_t>> MBusAes::cbcDecrypt(
    const AesKey& key, const AesBlock& iv, std::span<const std::uint8_t> data) const
{
    return cbc(false, key, iv, data);
}

std::optional<std::vector<std::uint8_t>> MBusAes::cbcEncrypt(
    const AesKey& key, const AesBlock& iv, std::span<const std::uint8_t> data) const
{
    return cbc(true, key, iv, data);
}

std::optional<AesBlock> MBusAes::cmac(const AesKey& key,
                                      std::span<const std::uint8_t> message) const
{
    if (!m_mac)
        return std::nullopt;
    std::unique_ptr<EVP_MAC_CTX, MacCtxFree> ctx(EVP_MAC_CTX_new(m_mac));
    char cipherName[] = "AES-128-CBC";
    const OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_CIPHER, cipherName, 0),
        OSSL_PARAM_construct_end(),
    };
    AesBlock tag{};
    std::size_t len = 0;
    if (!ctx || EVP_MAC_init(ctx.get(), key.data(), key.size(), params) != 1
        || EVP_MAC_update(ctx.get(), message.data(), message.size()) != 1
        || EVP_MAC_final(ctx.get(), tag.data(), &len, tag.size()) != 1 || len != tag.size())
        return std::nullopt;
    return tag;
}

}  // namespace zfw
