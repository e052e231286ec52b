// Cell text helpers and the plain text of tagged cell texts.

#include "grid/EsgHTMLE.h"
#include "grid/ExtUtil.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::CaseName;

struct KindCase {
    const char* name;
    QString text;
    bool miniHtml;
    int kind;
};

class TextKind : public ::testing::TestWithParam<KindCase> {};

TEST_P(TextKind, Classifies)
{
    const KindCase& c = GetParam();
    EXPECT_EQ(GetCellTextKind(c.text, c.miniHtml), c.kind);
}

const KindCase kKinds[] = {
    {"Empty", QString(), true, ctkPlain},
    {"OneCharacter", QStringLiteral("x"), true, ctkPlain},
    {"Formula", QStringLiteral("=A1"), true, ctkFormula},
    {"LoneEquals", QStringLiteral("="), true, ctkFormula},
    {"ClosingTag", QStringLiteral("<b>x</b>"), true, ctkMiniHtml},
    {"OpeningLowerCaseOnly", QStringLiteral("<b>x"), true, ctkPlain},
    {"UpperBold", QStringLiteral("a<B>x"), true, ctkMiniHtml},
    {"ImageTagMatchesI", QStringLiteral("<IMG src=\"x\">"), true, ctkMiniHtml},
    {"MarkupOff", QStringLiteral("<b>x</b>"), false, ctkPlain},
    {"RichText", QStringLiteral("{\\rtf1}"), false, ctkRichText},
    {"PackedWide", PackWideText(QStringLiteral("ab")), true, ctkPackedWide},
    {"PackedFormula", PackWideText(QStringLiteral("=1")), true, ctkFormula},
    {"PackedEmpty", QStringLiteral("|\\"), true, ctkPackedWide},
};
INSTANTIATE_TEST_SUITE_P(Grid, TextKind, ::testing::ValuesIn(kKinds), CaseName());

TEST(WideText, PackUnpackRoundTripKeepsEveryCodeUnit)
{
    QString wide;
    for (char16_t u : {u'\0', u'A', char16_t(0xFF), char16_t(0x100), char16_t(0x20AC),
                       char16_t(0xD83D), char16_t(0xDE00), char16_t(0xFFFF)})
        wide += QChar(u);
    const QString packed = PackWideText(wide);
    EXPECT_EQ(packed.size(), 2 + 2 * wide.size());
    for (qsizetype i = 2; i < packed.size(); ++i)
        EXPECT_LE(packed.at(i).unicode(), 0xFF) << "packed text must stay 8-bit at " << i;
    EXPECT_EQ(UnpackWideText(packed), wide);
}

TEST(WideText, UnpackLeavesPlainTextAndDropsOddTail)
{
    EXPECT_EQ(UnpackWideText(QStringLiteral("plain")), QStringLiteral("plain"));
    QString odd = PackWideText(QStringLiteral("A"));
    odd += QChar(u'Z');
    EXPECT_EQ(UnpackWideText(odd), QStringLiteral("A"));
}

struct LineCase {
    const char* name;
    QString in;
    QString backslashToCr;
    QString crToBackslash;
    int lines;
};

class LineBreaks : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineBreaks, Convert)
{
    const LineCase& c = GetParam();
    EXPECT_EQ(BackslashNToCR(c.in), c.backslashToCr);
    EXPECT_EQ(CRToBackslashN(c.in), c.crToBackslash);
    EXPECT_EQ(LineCount(c.in, true), c.lines);
    EXPECT_EQ(LineCount(c.in, false), 1);
}

const LineCase kLines[] = {
    {"HeaderTwoWords", QStringLiteral("Port\\nnumber"), QStringLiteral("Port\rnumber"),
     QStringLiteral("Port\\nnumber"), 1},
    {"CrLf", QStringLiteral("a\r\nb"), QStringLiteral("a\r\nb"), QStringLiteral("a\\nb"), 2},
    {"LoneLfDropped", QStringLiteral("a\nb"), QStringLiteral("a\nb"), QStringLiteral("ab"), 1},
    {"BackslashAlone", QStringLiteral("a\\b"), QStringLiteral("a\\b"), QStringLiteral("a\\b"), 1},
    {"TwoCrs", QStringLiteral("\r\r"), QStringLiteral("\r\r"), QStringLiteral("\\n\\n"), 3},
};
INSTANTIATE_TEST_SUITE_P(Grid, LineBreaks, ::testing::ValuesIn(kLines), CaseName());

struct ClampCase {
    const char* name;
    int value, lower, upper, expected;
};

class Clamp : public ::testing::TestWithParam<ClampCase> {};

TEST_P(Clamp, Limits)
{
    const ClampCase& c = GetParam();
    EXPECT_EQ(ClampToLimits(c.value, c.lower, c.upper), c.expected);
}

const ClampCase kClamps[] = {
    {"EqualLimitsLeaveValue", 50, 10, 10, 50},
    {"BelowLower", 5, 10, 20, 10},
    {"AboveUpper", 25, 10, 20, 20},
    {"Inside", 15, 10, 20, 15},
    {"ZeroLowerIsNoLimit", -5, 0, 20, -5},
    {"ZeroUpperIsNoLimit", 500, 10, 0, 500},
    {"NegativeLowerIsNoLimit", -50, -10, 20, -50},
};
INSTANTIATE_TEST_SUITE_P(Grid, Clamp, ::testing::ValuesIn(kClamps), CaseName());

TEST(GridRect, InclusiveContainment)
{
    struct R {
        int Left, Top, Right, Bottom;
    } r{1, 2, 3, 4};
    EXPECT_TRUE(IsCellInGridRect(r, 1, 2));
    EXPECT_TRUE(IsCellInGridRect(r, 3, 4));
    EXPECT_FALSE(IsCellInGridRect(r, 0, 2));
    EXPECT_FALSE(IsCellInGridRect(r, 3, 5));
    EXPECT_EQ(MaxOf(-1, 2), 2);
    EXPECT_EQ(MinOf(-1, 2), -1);
}

struct PlainCase {
    const char* name;
    QString in;
    QString out;
};

class PlainText : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainText, StripsTags) { EXPECT_EQ(HtmlToPlainText(GetParam().in), GetParam().out); }

const PlainCase kPlain[] = {
    {"LineBreak", QStringLiteral("a<BR>b"), QStringLiteral("a\r\nb")},
    {"LowerCaseBreakAndRule", QStringLiteral("a<br>b<hr>c"), QStringLiteral("a\r\nb\r\nc")},
    {"UnclosedTagKept", QStringLiteral("a<b"), QStringLiteral("a<b")},
    {"TagsRemoved", QStringLiteral("<b>bold</b> and <i>it</i>"), QStringLiteral("bold and it")},
    {"StopsAtUnclosed", QStringLiteral("<b>x</b>y<z"), QStringLiteral("xy<z")},
    {"EntitiesStay", QStringLiteral("a &amp; b"), QStringLiteral("a &amp; b")},
    {"LoneClose", QStringLiteral("a>b"), QStringLiteral("a>b")},
};
INSTANTIATE_TEST_SUITE_P(Grid, PlainText, ::testing::ValuesIn(kPlain), CaseName());

struct NumberTextCase {
    const char* name;
    const char* text;
    char16_t thousand;
    char16_t decimal;
    const char* number;
};

const NumberTextCase kNumberTexts[] = {
    {"Empty", "", u',', u'.', ""},
    {"CommaDecimalInParentheses", "(1.234,50)", u'.', u',', "-1234.50"},
    {"CurrencyAndSpace", "$ 12", u',', u'.', "12"},
    {"MinusAmongLeadingCharacters", "USD -7.5", u',', u'.', "-7.5"},
    {"CopyStopsAtAUnit", " 12.5 kg ", u',', u'.', "12.5"},
    {"ThousandsSkipped", "1,000,000", u',', u'.', "1000000"},
    {"ExponentKept", "1.5e+3", u',', u'.', "1.5e+3"},
    {"OneCharacterIsKept", "x", u',', u'.', ""},
};

class NumberText : public ::testing::TestWithParam<NumberTextCase> {};

TEST_P(NumberText, NumericPart)
{
    const NumberTextCase& c = GetParam();
    EXPECT_EQ(ExtractNumberText(QString::fromUtf8(c.text), QChar(c.thousand), QChar(c.decimal)),
              QString::fromUtf8(c.number));
}

INSTANTIATE_TEST_SUITE_P(Texts, NumberText, ::testing::ValuesIn(kNumberTexts), CaseName());

struct LinkCase {
    const char* name;
    const char* text;
    const char* prefix;
    const char* result;  // nullptr: no link
};

const LinkCase kLinks[] = {
    {"AnyLetterCase", "see Www.Example.org/a_b now", "WWW.",
     "see <a href=\"Www.Example.org/a_b\">Www.Example.org/a_b</a> now"},
    {"AngleBracketsEscaped", "<x> http://h/p>", "HTTP://",
     "&lt;x&gt; <a href=\"http://h/p\">http://h/p</a>&gt;"},
    {"MailAddress", "mailto:a@b.c;", "MAILTO:", "<a href=\"mailto:a@b.c\">mailto:a@b.c</a>;"},
    {"NoPrefix", "plain text", "HTTP://", nullptr},
};

class LinkText : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinkText, AddressWrappedIntoALink)
{
    const LinkCase& c = GetParam();
    QString result = QStringLiteral("untouched");
    EXPECT_EQ(HtmlEscapeWithLink(QString::fromUtf8(c.text), QString::fromUtf8(c.prefix), result),
              c.result != nullptr);
    EXPECT_EQ(result, c.result ? QString::fromUtf8(c.result) : QStringLiteral("untouched"));
}

INSTANTIATE_TEST_SUITE_P(Texts, LinkText, ::testing::ValuesIn(kLinks), CaseName());

}  // namespace
}  // namespace zfw
