#include "common/ByteReader.h"

namespace zfw {

bool ByteReader::need(std::size_t n)
{
    if (m_fault)
        return false;
    if (n > remaining()) {
        // The fault names the first byte that is missing.
        failAt(m_data.size(), "input ends inside a field");
        return false;
    }
    return true;
}

std::optional<std::uint8_t> ByteReader::u8()
{
    if (!need(1))
        return std::nullopt;
    return m_data[m_pos++];
}

std::optional<std::uint16_t> ByteReader::u16le()
{
    if (!need(2))
        return std::nullopt;
    const auto v = static_cast<std::uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return v;
}

std::optional<std::uint32_t> ByteReader::u32le()
{
    if (!need(4))
        return std::nullopt;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | m_data[m_pos + std::size_t(i)];
    m_pos += 4;
    return v;
}

std::optional<std::span<const std::uint8_t>> ByteReader::bytes(std::size_t n)
{
    if (!need(n))
        return std::nullopt;
    const auto s = m_data.subspan(m_pos, n);
    m_pos += n;
    return s;
}

bool ByteReader::skip(std::size_t n)
{
    if (!need(n))
        return false;
    m_pos += n;
    return true;
}

std::optional<std::uint8_t> ByteReader::peek() const
{
    if (m_fault || atEnd())
        return std::nullopt;
    return m_data[m_pos];
}

}  // namespace zfw
