#include "common/TextUtil.h"

#include <gtest/gtest.h>

#include <optional>

namespace zfw {
namespace {

struct IntCase {
    const char* name;
    const char* text;
    std::optional<int> expected;
};

void PrintTo(const IntCase& c, std::ostream* os) { *os << c.name; }

const IntCase kIntCases[] = {
    {"plain", "42", 42},
    {"leadingBlanks", "   42", 42},
    {"negative", "-17", -17},
    {"plusSign", "+5", 5},
    {"dollarHex", "$1F", 31},
    {"zeroXHex", "0x1f", 31},
    {"upperZeroX", "0X10", 16},
    {"bareX", "x1A", 26},
    {"bareUpperX", "-X10", -16},
    {"hexFullWordWraps", "$FFFFFFFF", -1},
    {"trailingBlank", "42 ", std::nullopt},
    {"empty", "", std::nullopt},
    {"onlyBlanks", "   ", std::nullopt},
    {"signOnly", "-", std::nullopt},
    {"hexPrefixOnly", "$", std::nullopt},
    {"letters", "12a", std::nullopt},
    {"hexDigitsWithoutPrefix", "1F", std::nullopt},
    {"int32Max", "2147483647", 2147483647},
    {"int32Min", "-2147483648", -2147483647 - 1},
    {"overflow", "2147483648", std::nullopt},
    {"hexTooLong", "$100000000", std::nullopt},
    {"decimalPoint", "1.5", std::nullopt},
    {"tabBefore", "\t1", std::nullopt},
};

class ParseIntText : public ::testing::TestWithParam<IntCase> {};

TEST_P(ParseIntText, FollowsIntegerTextRules)
{
    const IntCase& c = GetParam();
    EXPECT_EQ(parseIntText(QString::fromLatin1(c.text)), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseIntText, ::testing::ValuesIn(kIntCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StrToIntDef, UsesDefaultForNonIntegers)
{
    EXPECT_EQ(strToIntDef(u"7", -1), 7);
    EXPECT_EQ(strToIntDef(u"q7", -1), -1);
}

TEST(AsciiUpper, RaisesOnlyTheLettersAToZ)
{
    EXPECT_EQ(asciiUpper(u"variable Y-z"), QStringLiteral("VARIABLE Y-Z"));
    EXPECT_EQ(asciiUpper(QStringView(u"\u00e9t\u00e9")), QStringLiteral("\u00e9T\u00e9"));
}

TEST(TrimBlanks, RemovesBlanksAndControlCharactersAtBothEnds)
{
    EXPECT_EQ(trimBlanks(u"\t \r a b \n\x01"), QStringLiteral("a b"));
    EXPECT_EQ(trimBlanks(u"   "), QString());
    EXPECT_EQ(trimBlanks(QStringView(u"\u00A0x")), QStringLiteral("\u00A0x"));
}

}  // namespace
}  // namespace zfw

// Every byte decodes to one character and encodes back to itself; a character the code
// page lacks becomes "?" and is reported.
TEST(Windows1252, EveryByteRoundTripsAndForeignCharactersAreReported)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = zfw::decodeWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x81], QChar(0x0081));
    EXPECT_EQ(text[0xE9], QChar(0x00E9));
    bool lossless = true;
    EXPECT_EQ(zfw::encodeWindows1252(text, &lossless), all);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(zfw::encodeWindows1252(QStringLiteral("a\u4e2d\u20ac"), &lossless),
              QByteArray("a?\x80"));
    EXPECT_FALSE(lossless);
}
