#pragma once
// Byte helpers of the metering tests: hexadecimal fixtures and long frames built around a
// set of records.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <span>
#include <string_view>
#include <vector>

// Readable failure messages for texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace zfw::test {

using Bytes = std::vector<std::uint8_t>;

// "04 13 40 E2" -> bytes; blanks are ignored.
inline Bytes hexBytes(std::string_view text)
{
    Bytes out;
    int nibble = -1;
    for (char c : text) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        if (nibble < 0) {
            nibble = v;
        } else {
            out.push_back(std::uint8_t(nibble << 4 | v));
            nibble = -1;
        }
    }
    return out;
}

// Element by element: GCC 12 warns wrongly about vector range inserts of bytes.
inline void append(Bytes& out, const Bytes& more)
{
    out.reserve(out.size() + more.size());
    for (std::uint8_t b : more)
        out.push_back(b);
}

inline Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        append(out, p);
    return out;
}

// A long RSP_UD frame from address a with the given 12-byte header and records.
inline Bytes longFrame(std::uint8_t address, const Bytes& header12, const Bytes& records)
{
    Bytes body = concat({{0x08, address, 0x72}, header12, records});
    Bytes frame = {0x68, std::uint8_t(body.size()), std::uint8_t(body.size()), 0x68};
    std::uint8_t cs = 0;
    for (std::uint8_t b : body)
        cs = std::uint8_t(cs + b);
    append(frame, body);
    frame.push_back(cs);
    frame.push_back(0x16);
    return frame;
}

// Compares bytes with the golden file of tests/data/metering; with ZFW_WRITE_GOLDEN set in
// the environment the file is written instead (review the difference before committing).
inline void expectGolden(const QByteArray& bytes, const char* name)
{
    const QString path = QStringLiteral(ZFW_TEST_DATA_DIR "/metering/") + QLatin1String(name);
    QFile f(path);
    if (qEnvironmentVariableIsSet("ZFW_WRITE_GOLDEN")) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return;
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    EXPECT_EQ(bytes.toStdString(), f.readAll().toStdString()) << name;
}

}  // namespace zfw::test
