#include "common/TextUtil.h"

#include "common/IntText.h"

#include <cstdint>

namespace zfw {

QString trimBlanks(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b].unicode() <= u' ')
        ++b;
    while (e > b && s[e - 1].unicode() <= u' ')
        --e;
    return s.mid(b, e - b).toString();
}

QString asciiUpper(QStringView s)
{
    QString out = s.toString();
    for (QChar& c : out) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return out;
}

std::optional<IntTextDigits> scanIntText(QStringView s, std::uint64_t decimalLimit,
                                         std::uint64_t hexLimit)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s[i] == u' ')
        ++i;
    IntTextDigits out;
    if (i < n && (s[i] == u'-' || s[i] == u'+')) {
        out.negative = s[i] == u'-';
        ++i;
    }
    if (i < n && (s[i] == u'$' || s[i] == u'x' || s[i] == u'X')) {
        out.hex = true;
        ++i;
    } else if (i + 1 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        out.hex = true;
        i += 2;
    }
    if (i >= n)
        return std::nullopt;
    const std::uint64_t base = out.hex ? 16 : 10;
    const std::uint64_t limit = out.hex ? hexLimit : decimalLimit;
    for (; i < n; ++i) {
        const char16_t c = s[i].unicode();
        unsigned d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (out.hex && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (out.hex && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            return std::nullopt;
        if (out.magnitude > (limit - d) / base)
            return std::nullopt;
        out.magnitude = out.magnitude * base + d;
    }
    return out;
}

std::optional<int> parseIntText(QStringView s)
{
    const auto n = scanIntText(s, 0xFFFFFFFFull, 0xFFFFFFFFull);
    if (!n)
        return std::nullopt;
    if (n->hex) {
        const auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(n->magnitude));
        return n->negative ? static_cast<int>(-static_cast<std::int64_t>(bits)) : bits;
    }
    const std::int64_t v = n->negative ? -static_cast<std::int64_t>(n->magnitude)
                                       : static_cast<std::int64_t>(n->magnitude);
    if (v < INT32_MIN || v > INT32_MAX)
        return std::nullopt;
    return static_cast<int>(v);
}

int strToIntDef(QStringView s, int def) { return parseIntText(s).value_or(def); }

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned bytes map to
// the C1 control of the same value, as the platform's converter does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

QString decodeWindows1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b)));
    }
    return out;
}

QByteArray encodeWindows1252(QStringView text, bool* lossless)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        int byte = -1;
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            byte = u;
        } else {
            for (int i = 0; i < 32; ++i)
                if (kCp1252High[i] == u) {
                    byte = 0x80 + i;
                    break;
                }
        }
        if (byte < 0) {
            byte = '?';
            if (lossless)
                *lossless = false;
        }
        out.append(char(byte));
    }
    return out;
}

}  // namespace zfw
