// The drawing utilities, with the worked examples of their rules and a fixed-width "font" in
// which every character is 10 pixels wide (the ellipsis "..." 12, as in the examples).

#include "support/CaseName.h"
#include "tree/LazyTreesUtils.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zfw::test {
namespace {

int tenPerChar(const QString& s) { return s == QStringLiteral("...") ? 12 : int(s.size()) * 10; }

TEST(TreeUtils, NormalizeRectOrdersEachPair)
{
    EXPECT_EQ(NormalizeRect(Rect(10, 20, 5, 3)), Rect(5, 3, 10, 20));
    EXPECT_EQ(NormalizeRect(Rect(1, 2, 3, 4)), Rect(1, 2, 3, 4));
    EXPECT_EQ(NormalizeRect(Rect(7, 7, 7, 7)), Rect(7, 7, 7, 7));
}

struct EllipsisCase {
    std::string name;
    QString text;
    int width;
    int ellipsisWidth;
    QString expected;
};

class TreeEllipsize : public ::testing::TestWithParam<EllipsisCase> {};

TEST_P(TreeEllipsize, ShortensToTheLongestFittingPrefix)
{
    const EllipsisCase& c = GetParam();
    EXPECT_EQ(EllipsizeText(tenPerChar, c.text, c.width, c.ellipsisWidth), c.expected);
}

const std::vector<EllipsisCase> kEllipsisCases = {
    {"ThreeLettersFit", "abcdef", 45, 12, "abc..."},
    {"EllipsisMeasuredWhenZero", "abcdef", 45, 0, "abc..."},
    // The ellipsis room is reserved even for the whole text.
    {"WholeTextNeedsEllipsisRoom", "abcdef", 60, 12, "abcd..."},
    {"WholeTextFitsWithRoom", "abcdef", 72, 12, "abcdef"},
    {"OnlyTheEllipsisFits", "abcdef", 13, 12, "..."},
    {"NotEvenTheEllipsis", "abcdef", 12, 12, ""},
    {"EmptyText", "", 100, 12, ""},
    {"ZeroWidth", "abc", 0, 12, ""},
    {"NegativeWidth", "abc", -5, 12, ""},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeEllipsize, ::testing::ValuesIn(kEllipsisCases), CaseName());

TEST(TreeUtils, EllipsizingAHugeTextMeasuresOnlyAsMuchAsTheWidthHolds)
{
    const QString huge(1 << 20, QLatin1Char('x'));
    qsizetype longest = 0;
    int calls = 0;
    const auto measure = [&](const QString& s) {
        ++calls;
        longest = std::max(longest, s.size());
        return tenPerChar(s);
    };
    EXPECT_EQ(EllipsizeText(measure, huge, 100, 12), QString(8, QLatin1Char('x')) + "...");
    EXPECT_LE(longest, 100);
    EXPECT_LE(calls, 10);
}

struct WrapCase {
    std::string name;
    QString text;
    int width;
    bool rtl;
    QString expected;
};

class TreeWordWrap : public ::testing::TestWithParam<WrapCase> {};

TEST_P(TreeWordWrap, BreaksIntoLines)
{
    const WrapCase& c = GetParam();
    EXPECT_EQ(WordWrapText(tenPerChar, c.text, c.width, c.rtl), c.expected);
}

const std::vector<WrapCase> kWrapCases = {
    {"TwoWordsPerLine", "ab cd ef", 50, false, "ab cd\nef"},
    {"AllOnOneLine", "ab cd ef", 80, false, "ab cd ef"},
    {"TrimmedFirst", "  ab cd  ", 80, false, "ab cd"},
    {"Empty", "   ", 80, false, ""},
    // A word wider than a line is split: the longest leading part that fits, then the rest.
    {"LongWordSplit", "abcdefgh", 30, false, "abc\ndef\ngh"},
    {"RightToLeftFromTheEnd", "ab cd ef", 50, true, "cd ef\nab"},
    {"RightToLeftSplitKeepsTheTail", "abcdefgh", 30, true, "fgh\ncde\nab"},
    // Narrower than one character: one character is still placed, then (the previous split
    // being 1) the rest goes on a line whole; the text always ends.
    {"NarrowerThanACharacter", "abcd", 5, false, "a\nbcd"},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeWordWrap, ::testing::ValuesIn(kWrapCases), CaseName());

TEST(TreeUtils, WrappingAHugeWordEndsInBoundedTime)
{
    const QString huge(1 << 20, QLatin1Char('w'));
    std::int64_t measured = 0;
    const auto measure = [&](const QString& s) {
        measured += s.size();
        return tenPerChar(s);
    };
    const QString wrapped = WordWrapText(measure, huge, 1000, false);
    // Each of the 10,486 lines measures about ten parts of at most a line's characters, not
    // the rest of the word.
    EXPECT_LT(measured, std::int64_t(huge.size()) * 100);
    EXPECT_TRUE(wrapped.startsWith(QString(100, QLatin1Char('w')) + "\n"));
    EXPECT_EQ(wrapped.count(QLatin1Char('w')), huge.size());
}

struct BlendCase {
    std::string name;
    TBlendKind mode;
    int s, sourceAlpha, d, constantAlpha, bias;
    int expected;  // the blue byte of the destination
};

class TreeBlend : public ::testing::TestWithParam<BlendCase> {};

TEST_P(TreeBlend, BlendsEveryByteOfARow)
{
    const BlendCase& c = GetParam();
    QImage src(3, 2, QImage::Format_ARGB32);
    QImage dst(3, 2, QImage::Format_ARGB32);
    src.fill(qRgba(c.s, c.s, c.s, c.sourceAlpha));
    dst.fill(qRgba(c.d, c.d, c.d, c.d));
    const TBlendBitmap s{src.bits(), src.width(), src.height(), int(src.bytesPerLine())};
    const TBlendBitmap d{dst.bits(), dst.width(), dst.height(), int(dst.bytesPerLine())};
    ASSERT_TRUE(BlendRect(s, d, Rect(0, 0, 2, 1), 1, 1, c.mode, c.constantAlpha, c.bias));
    EXPECT_EQ(qBlue(dst.pixel(1, 1)), c.expected);
    EXPECT_EQ(qBlue(dst.pixel(2, 1)), c.expected);
    // Outside the target rectangle nothing changes.
    EXPECT_EQ(qBlue(dst.pixel(0, 0)), c.d);
    EXPECT_EQ(qBlue(dst.pixel(0, 1)), c.d);
}

const std::vector<BlendCase> kBlendCases = {
    {"ConstantHalf", bkConstantAlpha, 200, 255, 100, 128, 0, 150},
    {"ConstantAlmostFull", bkConstantAlpha, 255, 255, 0, 255, 0, 254},
    {"PerPixelTransparentSourceKeepsDestination", bkPerPixelAlpha, 200, 0, 100, 0, 0, 100},
    {"PerPixelBiasAdded", bkPerPixelAlpha, 200, 0, 100, 0, 10, 110},
    {"PerPixelBiasClamped", bkPerPixelAlpha, 200, 0, 250, 0, 10, 255},
    {"NegativeBiasClamped", bkConstantAlpha, 0, 255, 5, 0, -10, 0},
    // Weight (255 * 128) shr 8 = 127: (100 * 256 + 100 * 127) shr 8 = 149.
    {"MasterAlpha", bkMasterAlpha, 200, 255, 100, 128, 0, 149},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeBlend, ::testing::ValuesIn(kBlendCases), CaseName());

TEST(TreeUtils, ColourModeBlendsTheDestinationWithTheColour)
{
    EXPECT_EQ(BlendColorByte(200, 50, 256), 200);  // weight 256 gives the colour exactly
    EXPECT_EQ(BlendColorByte(200, 50, 0), 50);     // weight 0 leaves the destination
    QImage dst(2, 1, QImage::Format_ARGB32);
    dst.fill(qRgba(0, 0, 0, 0));
    const TBlendBitmap d{dst.bits(), dst.width(), dst.height(), int(dst.bytesPerLine())};
    // The colour 0x00BBGGRR: red 0x10, green 0x20, blue 0x30; the fourth byte blends with 0.
    ASSERT_TRUE(BlendRect({}, d, Rect(1, 0, 2, 1), 0, 0, bkConstantAlphaAndColor, 256, 0x00302010));
    EXPECT_EQ(dst.pixel(1, 0), qRgba(0x10, 0x20, 0x30, 0));
    EXPECT_EQ(dst.pixel(0, 0), qRgba(0, 0, 0, 0));
}

TEST(TreeUtils, BlendingWithoutABitmapIsRefusedAndARectangleOutsideIsClipped)
{
    QImage dst(2, 2, QImage::Format_ARGB32);
    dst.fill(Qt::white);
    const TBlendBitmap d{dst.bits(), dst.width(), dst.height(), int(dst.bytesPerLine())};
    EXPECT_FALSE(BlendRect({}, d, Rect(0, 0, 1, 1), 0, 0, bkConstantAlpha, 128, 0));
    EXPECT_TRUE(BlendRect(d, d, Rect(0, 0, 5, 5), 1, 1, bkConstantAlpha, 128, 0));
    EXPECT_TRUE(BlendRect(d, d, Rect(0, 0, 0, 0), 0, 0, bkConstantAlpha, 128, 0));
}

struct DragCase {
    std::string name;
    int dx, dy;
    TDragRectangles expected;
};

class TreeDragRectangles : public ::testing::TestWithParam<DragCase> {};

TEST_P(TreeDragRectangles, ComputesTheSixRectangles)
{
    const DragCase& c = GetParam();
    const TRect unset{-1, -1, -1, -1};
    TDragRectangles r{unset, unset, unset, unset, unset, unset};
    ComputeDragRectangles(20, 10, c.dx, c.dy, r);
    EXPECT_EQ(r.clip, Rect(0, 0, 20, 10));
    EXPECT_EQ(r.scroll, c.expected.scroll);
    EXPECT_EQ(r.restore1, c.expected.restore1);
    EXPECT_EQ(r.restore2, c.expected.restore2);
    EXPECT_EQ(r.capture1, c.expected.capture1);
    EXPECT_EQ(r.capture2, c.expected.capture2);
}

constexpr TRect U{-1, -1, -1, -1};
constexpr TRect B(int x, int y, int w, int h) { return TRect{x, y, w, h}; }
const std::vector<DragCase> kDragCases = {
    {"Left3", 3, 0, {{}, Rect(0, 0, 17, 10), U, B(17, 0, 3, 10), U, B(0, 0, 3, 10)}},
    {"LeftUp",
     3,
     2,
     {{}, Rect(0, 0, 17, 8), B(17, 0, 3, 10), B(0, 8, 17, 2), B(3, 0, 17, 2), B(0, 0, 3, 10)}},
    {"LeftDown",
     3,
     -2,
     {{}, Rect(0, 2, 17, 10), B(17, 0, 3, 10), B(0, 0, 17, 2), B(3, 8, 17, 2), B(0, 0, 3, 10)}},
    {"Up", 0, 2, {{}, Rect(0, 0, 20, 8), B(0, 8, 20, 2), U, B(0, 0, 20, 2), U}},
    {"Down", 0, -2, {{}, Rect(0, 2, 20, 10), B(0, 0, 20, 2), U, B(0, 8, 20, 2), U}},
    {"Right", -3, 0, {{}, Rect(3, 0, 20, 10), U, B(0, 0, 3, 10), U, B(17, 0, 3, 10)}},
    {"RightUp",
     -3,
     2,
     {{}, Rect(3, 0, 20, 10), B(3, 8, 17, 2), B(0, 0, 3, 10), B(17, 0, 3, 10), B(0, 0, 17, 2)}},
    {"RightDown",
     -3,
     -2,
     {{}, Rect(3, 2, 20, 10), B(3, 0, 17, 2), B(0, 0, 3, 10), B(17, 0, 3, 10), B(0, 8, 17, 2)}},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeDragRectangles, ::testing::ValuesIn(kDragCases), CaseName());

TEST(TreeUtils, ColorToPixelResolvesSystemColoursThroughThePalette)
{
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
    palette.setColor(QPalette::Base, QColor(250, 251, 252));
    EXPECT_EQ(ColorToPixel(clNone, palette), 0xFFFFFFFFu);
    EXPECT_EQ(ColorToPixel(clDefault, palette), 0xFF000000u);
    EXPECT_EQ(ColorToPixel(clHighlight, palette), rgbColor(1, 2, 3));
    EXPECT_EQ(ColorToPixel(clWindow, palette), rgbColor(250, 251, 252));
    EXPECT_EQ(ColorToPixel(clRed, palette), clRed);
}

}  // namespace
}  // namespace zfw::test
