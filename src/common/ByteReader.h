#pragma once
// Bounds-checked reading of binary input (telegrams, description files, streams).
//
// A ByteReader walks a span of bytes that it does not own. Every read is checked against the
// end of the span; the first read that does not fit records a fault (its offset and a short
// reason) and leaves the reader failed, so later reads fail too and a parser can test once
// after a group of reads. Nothing is ever read outside the span.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace zfw {

// Where and why parsing stopped: the offset (from the start of the input) of the first byte
// that could not be read or did not make sense, and a fixed English reason.
struct ParseFault {
    std::size_t offset = 0;
    const char* what = "";
};

// What a parser produced, with the first fault when there was one. A faulty result may still
// hold a partial value (the records decoded before the fault).
template <typename T>
struct ParseResult {
    T value{};
    std::optional<ParseFault> fault;

    bool ok() const { return !fault.has_value(); }
};

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : m_data(data) {}

    std::size_t size() const { return m_data.size(); }
    std::size_t pos() const { return m_pos; }
    std::size_t remaining() const { return m_pos < m_data.size() ? m_data.size() - m_pos : 0; }
    bool atEnd() const { return remaining() == 0; }

    bool failed() const { return m_fault.has_value(); }
    const std::optional<ParseFault>& fault() const { return m_fault; }

    // Records a fault at the current position (or at offset) unless one is recorded already.
    void fail(const char* what) { failAt(m_pos, what); }
    void failAt(std::size_t offset, const char* what)
    {
        if (!m_fault)
            m_fault = ParseFault{offset, what};
    }

    // One byte; nullopt (and a fault) past the end or after a fault.
    std::optional<std::uint8_t> u8();
    // Little-endian integers.
    std::optional<std::uint16_t> u16le();
    std::optional<std::uint32_t> u32le();
    // The next n bytes; an empty span and a fault when fewer than n remain. The span points
    // into the reader's input.
    std::optional<std::span<const std::uint8_t>> bytes(std::size_t n);
    // Skips n bytes; false (and a fault) when fewer remain.
    bool skip(std::size_t n);
    // The byte at the current position without moving; nullopt at the end (no fault).
    std::optional<std::uint8_t> peek() const;

private:
    bool need(std::size_t n);

    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
    std::optional<ParseFault> m_fault;
};

// The byte at index of data, or nullopt when the index lies outside it: for formats whose
// fields stand at fixed positions that depend on earlier bytes.
inline std::optional<std::uint8_t> byteAt(std::span<const std::uint8_t> data, std::size_t index)
{
    if (index >= data.size())
        return std::nullopt;
    return data[index];
}

}  // namespace zfw
