#include "common/ByteReader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace zfw {
namespace {

// A small length-prefixed format read the way the decoders read theirs: a count, then that
// many records of a length byte and its bytes. It shows what a caller gets from a hostile
// input: the records read before the fault, and the fault's offset.
ParseResult<std::vector<std::vector<std::uint8_t>>> readRecords(std::span<const std::uint8_t> in)
{
    ParseResult<std::vector<std::vector<std::uint8_t>>> out;
    ByteReader r(in);
    const auto count = r.u8();
    for (int i = 0; count && i < *count; ++i) {
        const auto len = r.u8();
        const auto body = len ? r.bytes(*len) : std::nullopt;
        if (!body)
            break;
        out.value.emplace_back(body->begin(), body->end());
    }
    out.fault = r.fault();
    return out;
}

struct RecordsCase {
    std::string name;
    std::vector<std::uint8_t> input;
    std::size_t records;
    std::optional<std::size_t> faultOffset;
};

void PrintTo(const RecordsCase& c, std::ostream* os) { *os << c.name; }

const RecordsCase kRecordsCases[] = {
    {"complete", {2, 1, 0xAA, 2, 0xBB, 0xCC}, 2, std::nullopt},
    {"empty", {}, 0, 0},
    {"countOnly", {3}, 0, 1},
    {"secondBodyCut", {2, 1, 0xAA, 2, 0xBB}, 1, 5},
    {"lyingLength", {1, 0xFF, 1, 2, 3}, 0, 5},
    {"zeroLengthRecords", {2, 0, 0}, 2, std::nullopt},
    {"trailingBytesIgnored", {1, 1, 7, 9, 9}, 1, std::nullopt},
};

class ByteReaderRecords : public ::testing::TestWithParam<RecordsCase> {};

TEST_P(ByteReaderRecords, KeepsWhatWasReadAndNamesTheFirstMissingByte)
{
    const RecordsCase& c = GetParam();
    const auto r = readRecords(c.input);
    EXPECT_EQ(r.value.size(), c.records);
    ASSERT_EQ(r.fault.has_value(), c.faultOffset.has_value());
    if (c.faultOffset) {
        EXPECT_EQ(r.fault->offset, *c.faultOffset);
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, ByteReaderRecords, ::testing::ValuesIn(kRecordsCases),
                         [](const auto& info) { return info.param.name; });

TEST(ByteReader, EveryPrefixOfAnInputFailsCleanly)
{
    const std::vector<std::uint8_t> whole = {3, 2, 1, 2, 3, 4, 5, 6, 0};
    for (std::size_t n = 0; n < whole.size(); ++n) {
        const auto r = readRecords(std::span(whole).first(n));
        ASSERT_FALSE(r.ok()) << "prefix " << n;
        EXPECT_EQ(r.fault->offset, n) << "prefix " << n;
    }
    EXPECT_TRUE(readRecords(whole).ok());
}

TEST(ByteReader, IntegersAreLittleEndianAndAFaultSticks)
{
    const std::array<std::uint8_t, 7> in = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0x99};
    ByteReader r(in);
    EXPECT_EQ(r.u16le(), 0x1234);
    EXPECT_EQ(r.u32le(), 0x12345678u);
    EXPECT_EQ(r.peek(), 0x99);
    EXPECT_FALSE(r.u16le());  // one byte left: the position stays
    EXPECT_EQ(r.pos(), 6u);
    ASSERT_TRUE(r.failed());
    EXPECT_EQ(r.fault()->offset, 7u);
    // After a fault even a read that would fit fails, so a group of reads is checked once.
    EXPECT_FALSE(r.u8());
    EXPECT_FALSE(r.peek());
}

TEST(ByteReader, HugeCountsNeitherWrapNorRead)
{
    const std::array<std::uint8_t, 4> in = {1, 2, 3, 4};
    ByteReader r(in);
    ASSERT_TRUE(r.u8());
    EXPECT_FALSE(r.bytes(std::numeric_limits<std::size_t>::max()));
    ByteReader s(in);
    EXPECT_FALSE(s.skip(std::numeric_limits<std::size_t>::max() - 1));
    EXPECT_EQ(s.pos(), 0u);
}

TEST(ByteReader, FixedPositionsOutsideTheInputAreAbsent)
{
    const std::array<std::uint8_t, 3> in = {7, 8, 9};
    EXPECT_EQ(byteAt(in, 2), 9);
    EXPECT_FALSE(byteAt(in, 3));
    EXPECT_FALSE(byteAt(std::span<const std::uint8_t>(), 0));
}

}  // namespace
}  // namespace zfw
