// The grid's number patterns: what a stored pattern writes, and which patterns are refused
// rather than handed to a printf-style function.

#include "grid/ExtGridFormat.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <climits>

namespace zfw {
namespace {

struct IntPatternCase {
    const char* name;
    const char* pattern;
    long long value;
    const char* text;  // nullptr: refused
};

const IntPatternCase kIntPatterns[] = {
    {"Plain", "%d", 3, "3"},
    {"InText", " [%d rows]", 12, " [12 rows]"},
    {"ZeroPadded", "%.3d", -7, "-007"},
    {"Width", "%4d|", 42, "  42|"},
    {"Hex", "%x", 255, "FF"},
    {"ArgumentIndexZero", "%0:d", 5, "5"},
    {"Smallest", "%d", LLONG_MIN, "-9223372036854775808"},
    {"PercentLiteral", "%d%%", 50, "50%"},
    {"OtherArgumentIndex", "%1:d", 5, nullptr},
    {"StringConversion", "%s", 5, nullptr},
    {"FloatConversion", "%f", 5, nullptr},
    {"TwoConversions", "%d %d", 5, nullptr},
    {"StarWidth", "%*d", 5, nullptr},
    {"TrailingPercent", "%", 5, nullptr},
};

class IntPattern : public ::testing::TestWithParam<IntPatternCase> {};

TEST_P(IntPattern, FormatsOrRefuses)
{
    const std::optional<QString> got = FormatIntPattern(QString::fromUtf8(GetParam().pattern),
                                                        GetParam().value);
    ASSERT_EQ(got.has_value(), GetParam().text != nullptr);
    if (got) {
        EXPECT_EQ(*got, QString::fromUtf8(GetParam().text));
    }
}

INSTANTIATE_TEST_SUITE_P(Patterns, IntPattern, ::testing::ValuesIn(kIntPatterns), test::CaseName());

}  // namespace
}  // namespace zfw
