// Header painting: the layout of image, caption and sort arrow in a cell, the composition of
// fixed and scrolling columns, the background right of the columns, both owner-draw schemes,
// and captions that are huge or blank.

#include "HeaderFixture.h"
#include "support/CaseName.h"

#include "tree/LazyTreesImages.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace zfw::test {
namespace {

QImage disc()
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    return image;
}

// A tree painted with frames, not through the style.
void plainLook(HeaderFixture& f)
{
    f.tree->SetPaintOptions(f.tree->options().PaintOptions - TLTPaintOptions{toThemeAware});
}

// ----- layout ---------------------------------------------------------------------------------

struct LayoutResult {
    QPoint glyph;
    QPoint sort;
    TRect text;
    TRect client;
};

struct LayoutCase {
    const char* name;
    TColumnIndex column;
    TAlignment alignment;
    const char* text;
    bool image;
    bool sort;
    std::function<void(const LayoutResult&)> check;
};

const LayoutCase kLayoutCases[] = {
    {"ImageCaptionArrowSpacedByMarginAndSpacing", 1, taLeftJustify, "Beta", true, true,
     [](const LayoutResult& r) {
         // Cell left 100: 2 of frame plus margin 4, less the image's 2-pixel shift.
         EXPECT_EQ(r.glyph.x(), 104);
         // The caption 3 after the image's unshifted right edge, the arrow 3 after it.
         EXPECT_EQ(r.text.Left, 106 + 16 + 3);
         EXPECT_EQ(r.sort.x(), r.text.Right + 3);
     }},
    {"LongCaptionLeavesTheArrowInsideTheMargin", 1, taLeftJustify,
     "A caption far wider than its column", true, true,
     [](const LayoutResult& r) {
         EXPECT_EQ(r.sort.x(), r.client.Right - 4 - 16);
         EXPECT_EQ(r.text.Right, r.sort.x() - 3);
         EXPECT_EQ(r.glyph.x(), 104);
     }},
    {"MainColumnImageIsNotShifted", 0, taLeftJustify, "Alpha", true, false,
     [](const LayoutResult& r) { EXPECT_EQ(r.glyph.x(), 2 + 4); }},
    {"RightAlignedArrowAtTheMarginCaptionBeforeIt", 1, taRightJustify, "Beta", false, true,
     [](const LayoutResult& r) {
         EXPECT_EQ(r.sort.x(), r.client.Right - 4 - 16);
         EXPECT_EQ(r.text.Right, r.sort.x() - 3);
     }},
    {"CentredCaptionWithArrowIsNotCut", 1, taCenter, "Beta", false, true,
     [](const LayoutResult& r) {
         const QFontMetrics metrics(QApplication::font());
         EXPECT_GE(r.text.Width(), metrics.horizontalAdvance(QStringLiteral("Beta")));
         EXPECT_GE(r.sort.x(), r.text.Right);
         EXPECT_LE(r.sort.x() + 16, r.client.Right - 4);
     }},
};

class HeaderCellLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(HeaderCellLayout, PlacesImageCaptionAndArrow)
{
    const LayoutCase& c = GetParam();
    HeaderFixture f;
    TImageList images(16, 16);
    images.Add(disc());
    f.header.SetImages(&images);
    TLazyTreeColumn& column = f.col(c.column);
    column.SetText(QString::fromLatin1(c.text));
    column.SetAlignment(c.alignment);
    column.SetImageIndex(c.image ? 0 : -1);
    int left = 0;
    int right = 0;
    column.GetUnscrolledBounds(left, right);
    LayoutResult r;
    r.client = TRect{left, 0, right, f.header.Height()}.inflated(-2, -2);
    QSize sortSize;
    column.LayoutHeaderCell(QFontMetrics(f.header.Font()), r.client, c.image, c.sort, r.glyph,
                            r.sort, sortSize, r.text, int(Qt::AlignLeft));
    EXPECT_EQ(sortSize, c.sort ? QSize(16, 16) : QSize(0, 0));
    c.check(r);
}

INSTANTIATE_TEST_SUITE_P(Tree, HeaderCellLayout, ::testing::ValuesIn(kLayoutCases), CaseName());

// ----- composition ----------------------------------------------------------------------------

QImage paintBand(HeaderFixture& f, int hOffset)
{
    QImage image(f.band().size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    f.columns.PaintHeader(painter, image.rect(), hOffset);
    return image;
}

bool sameColumns(const QImage& a, const QImage& b, int from, int to)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = from; x < to; ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

TEST(TreeHeaderPaint, TheFixedColumnStaysWhileTheOthersScrollUnderIt)
{
    HeaderFixture f(4, 100, 300);
    plainLook(f);
    f.col(0).SetOptions(f.col(0).Options() + TLTColumnOptions{coFixed});
    const QImage still = paintBand(f, 0);
    const QImage scrolled = paintBand(f, -60);
    EXPECT_TRUE(sameColumns(still, scrolled, 0, 100));
    EXPECT_FALSE(sameColumns(still, scrolled, 100, 200));
    // The scrolled part equals the unscrolled one taken 60 pixels further right.
    for (int y = 0; y < still.height(); ++y)
        for (int x = 100; x < 240; ++x)
            ASSERT_EQ(scrolled.pixel(x, y), still.pixel(x + 60, y)) << x << "," << y;
}

TEST(TreeHeaderPaint, RightOfTheLastColumnShowsTheHeaderBackground)
{
    HeaderFixture f(3, 100, 400);
    plainLook(f);
    f.header.SetBackground(TColor(0x0000FF00));
    const QImage picture = f.render();
    EXPECT_EQ(picture.pixelColor(350, 9), QColor(0, 255, 0));
    EXPECT_NE(picture.pixelColor(250, 9), QColor(0, 255, 0));
}

TEST(TreeHeaderPaint, WholeCellOwnerDrawPaintsOnlyOwnerDrawnColumns)
{
    HeaderFixture f;
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoOwnerDraw});
    f.col(1).SetStyle(vsOwnerDraw);
    std::vector<TColumnIndex> drawn;
    f.tree->OnHeaderDraw = [&](TLTHeader&, QPainter& canvas, TLazyTreeColumn& column,
                               const TRect& r, bool, bool, TLTDropMarkMode) {
        drawn.push_back(column.Index());
        canvas.fillRect(r.toQRect(), Qt::blue);
    };
    const QImage picture = f.render();
    EXPECT_EQ(drawn, std::vector<TColumnIndex>{1});
    EXPECT_EQ(picture.pixelColor(150, 9), QColor(Qt::blue));
    EXPECT_NE(picture.pixelColor(50, 9), QColor(Qt::blue));
}

TEST(TreeHeaderPaint, AdvancedOwnerDrawGetsItsPartsAndAPressedCellMovesThemByOne)
{
    HeaderFixture f;
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoOwnerDraw});
    f.header.SetSortColumn(1);
    f.tree->OnHeaderDrawQueryElements = [](TLTHeader&, THeaderPaintInfo& info,
                                           THeaderPaintElements& elements) {
        if (info.Column && info.Column->Index() == 1)
            elements = {hpeText, hpeSortGlyph};
    };
    std::vector<THeaderPaintInfo> calls;
    std::vector<THeaderPaintElements> asked;
    f.tree->OnAdvancedHeaderDraw = [&](TLTHeader&, THeaderPaintInfo& info,
                                       THeaderPaintElements elements) {
        calls.push_back(info);
        asked.push_back(elements);
    };
    f.render();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(asked[0], (THeaderPaintElements{hpeText, hpeSortGlyph}));
    EXPECT_TRUE(calls[0].ShowSortGlyph);
    const THeaderPaintInfo up = calls[0];

    calls.clear();
    f.columns.FDownIndex = 1;
    f.render();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].IsDownIndex);
    EXPECT_EQ(calls[0].TextRectangle, up.TextRectangle.offset(1, 1));
    EXPECT_EQ(calls[0].SortGlyphPos, up.SortGlyphPos + QPoint(1, 1));
}

struct HotCase {
    const char* name;
    TLTHeaderStyle style;
    bool hotFrame;
};

const HotCase kHotCases[] = {
    {"PlatesGetTheHotFrame", hsPlates, true},
    {"ThickButtonsOnlyRecolourTheCaption", hsThickButtons, false},
    {"FlatButtonsOnlyRecolourTheCaption", hsFlatButtons, false},
};

class HeaderHotCell : public ::testing::TestWithParam<HotCase> {};

TEST_P(HeaderHotCell, FrameAndCaptionOfTheHoveredCell)
{
    const HotCase& c = GetParam();
    HeaderFixture f;
    plainLook(f);
    f.header.SetStyle(c.style);
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoHotTrack});
    const QImage normal = f.render();
    f.columns.FHoverIndex = 1;
    const QImage hot = f.render();
    bool frameDiffers = false;
    for (int x = 100; x < 200; ++x)
        frameDiffers = frameDiffers || normal.pixel(x, 0) != hot.pixel(x, 0)
                       || normal.pixel(x, f.header.Height() - 1)
                              != hot.pixel(x, f.header.Height() - 1);
    for (int y = 0; y < f.header.Height(); ++y)
        frameDiffers = frameDiffers || normal.pixel(100, y) != hot.pixel(100, y);
    EXPECT_EQ(frameDiffers, c.hotFrame);
    // The caption takes the hot colour in every style.
    EXPECT_FALSE(sameColumns(normal, hot, 104, 196));
    EXPECT_TRUE(sameColumns(normal, hot, 0, 100));
}

INSTANTIATE_TEST_SUITE_P(Tree, HeaderHotCell, ::testing::ValuesIn(kHotCases), CaseName());

// ----- bad captions ---------------------------------------------------------------------------

struct CaptionCase {
    const char* name;
    QString text;
    bool wrap;
};

const CaptionCase kCaptionCases[] = {
    {"HundredThousandCharacters", QString(100000, QLatin1Char('W')), false},
    {"HundredThousandCharactersWrapped", QString(100000, QLatin1Char('W')), true},
    {"HundredThousandWordsWrapped", QStringLiteral("ab ").repeated(33333), true},
    {"OnlyBlanks", QStringLiteral("        "), false},
    {"OnlyBlanksWrapped", QStringLiteral("        "), true},
};

class HeaderBadCaption : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(HeaderBadCaption, IsShownOrCutWithinItsCell)
{
    const CaptionCase& c = GetParam();
    HeaderFixture f;
    TLazyTreeColumn& column = f.col(1);
    if (c.wrap)
        column.SetOptions(column.Options() + TLTColumnOptions{coWrapCaption});
    column.SetText(c.text);
    const QImage before = f.render();
    const QFontMetrics metrics(f.header.Font());
    if (c.wrap) {
        for (const QString& line : column.CaptionText().split(QLatin1Char('\n')))
            ASSERT_LE(metrics.horizontalAdvance(line), column.Width()) << qPrintable(line);
    }
    // Drawn on its own into the column's room: a caption that does not fit ends in "...".
    QImage image(200, 20, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setFont(f.header.Font());
    const TRect bounds{0, 0, 96, 20};
    const QString shown = f.columns.DrawHeaderCaption(painter, c.text, bounds, true, false, 0,
                                                      false);
    EXPECT_LE(metrics.horizontalAdvance(shown), bounds.Width());
    if (metrics.horizontalAdvance(c.text) > bounds.Width())
        EXPECT_TRUE(shown.endsWith(QStringLiteral("..."))) << qPrintable(shown.left(20));
    else
        EXPECT_EQ(shown, c.text);
    // The neighbouring cells are untouched by the caption.
    const QImage plain = [&] {
        column.SetText(QString());
        return f.render();
    }();
    EXPECT_TRUE(sameColumns(before, plain, 0, 100));
    EXPECT_TRUE(sameColumns(before, plain, 200, 300));
}

INSTANTIATE_TEST_SUITE_P(Tree, HeaderBadCaption, ::testing::ValuesIn(kCaptionCases), CaseName());

}  // namespace
}  // namespace zfw::test
