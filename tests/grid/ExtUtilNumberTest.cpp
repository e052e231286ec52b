// The number classes the grid aligns and formats by, and the URL prefix a link cell hides.

#include "grid/ExtUtil.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::CaseName;

struct NumberCase {
    const char* name;
    const char16_t* text;
    char16_t dec;
    char16_t thou;
    int want;
};

class NumberClass : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberClass, Classifies)
{
    const NumberCase& c = GetParam();
    EXPECT_EQ(ClassifyNumberText(QString::fromUtf16(c.text), QChar(c.dec), QChar(c.thou)), c.want);
}

const NumberCase kNumbers[] = {
    {"Integer", u"123", u'.', u',', nkInteger},
    {"NegativeInteger", u"-3", u'.', u',', nkInteger},
    {"Decimal", u"-1.5", u'.', u',', nkDecimal},
    {"DecimalCommaLocale", u"12,5", u',', u'.', nkDecimal},
    {"Grouped", u"1,234,567.25", u'.', u',', nkDecimal},
    {"GroupsTooClose", u"1,23,4", u'.', u',', nkNotANumber},
    {"Exponent", u"1e5", u'.', u',', nkExponent},
    {"SignedExponent", u"-1.5E-3", u'.', u',', nkExponent},
    {"ExponentFirst", u"e5", u'.', u',', nkNotANumber},
    {"ExponentLast", u"15e", u'.', u',', nkNotANumber},
    {"TwoExponents", u"1e5e2", u'.', u',', nkNotANumber},
    {"GroupedExponent", u"1,000e3", u'.', u',', nkNotANumber},
    {"MinusInside", u"1-2", u'.', u',', nkNotANumber},
    {"TwoDecimalPoints", u"1.2.3", u'.', u',', nkNotANumber},
    {"Letters", u"12a", u'.', u',', nkNotANumber},
    {"LeadingPlus", u"+5", u'.', u',', nkNotANumber},
    {"Empty", u"", u'.', u',', nkNotANumber},
};
INSTANTIATE_TEST_SUITE_P(Grid, NumberClass, ::testing::ValuesIn(kNumbers), CaseName());

struct UrlCase {
    const char* name;
    const char16_t* text;
    const char16_t* want;
};

class UrlPrefix : public ::testing::TestWithParam<UrlCase> {};

TEST_P(UrlPrefix, Strips)
{
    const UrlCase& c = GetParam();
    EXPECT_EQ(StripUrlPrefix(QString::fromUtf16(c.text)), QString::fromUtf16(c.want));
}

const UrlCase kUrls[] = {
    {"Scheme", u"http://host/a", u"host/a"},
    {"FirstSchemeOnly", u"ftp://a/http://b", u"a/http://b"},
    {"Mail", u"mailto:me@host", u"me@host"},
    {"SchemeBeforeMail", u"x mailto:a http://b", u"b"},
    {"Plain", u"no link", u"no link"},
};
INSTANTIATE_TEST_SUITE_P(Grid, UrlPrefix, ::testing::ValuesIn(kUrls), CaseName());

}  // namespace
}  // namespace zfw
