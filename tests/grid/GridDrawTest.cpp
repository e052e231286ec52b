// The fill helpers and the base cell painter, read as recorded drawing (order and geometry),
// plus a few pixel probes of the QPainter canvas.

#include "grid/GridDrawCell.h"
#include "grid/GridDrawRecorder.h"

#include "support/CaseName.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <ostream>

namespace zfw {

void PrintTo(const TRect& r, std::ostream* os)
{
    *os << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}

void PrintTo(const GridDrawOp& op, std::ostream* os)
{
    static const char* const kNames[] = {"fill", "frame", "line", "text", "push", "pop"};
    *os << kNames[op.kind] << " ";
    if (op.kind == GridDrawOp::Line)
        *os << "(" << op.x1 << "," << op.y1 << ")-(" << op.x2 << "," << op.y2 << ") w" << op.width;
    else
        PrintTo(op.rect, os);
    *os << " #" << std::hex << op.color << std::dec;
}

namespace {

using test::CaseName;
using Op = GridDrawOp;

// ---- DrawGradientRect ------------------------------------------------------------------------

struct GradientCase {
    const char* name;
    TColor from;
    TColor to;
    bool horizontal;
    TRect rect;
    int steps;
    std::vector<TRect> bands;
    TColor first;
    TColor last;
};
class GradientBands : public ::testing::TestWithParam<GradientCase> {};
TEST_P(GradientBands, GeometryAndEndColours)
{
    const GradientCase& c = GetParam();
    RecordingGridCanvas canvas;
    DrawGradientRect(canvas, c.from, c.to, c.horizontal, c.rect, c.steps);
    const auto fills = canvas.opsOfKind(Op::Fill);
    ASSERT_EQ(fills.size(), c.bands.size());
    for (std::size_t i = 0; i < fills.size(); ++i)
        EXPECT_EQ(fills[i].rect, c.bands[i]) << "band " << i;
    if (!fills.empty()) {
        EXPECT_EQ(fills.front().color, c.first);
        EXPECT_EQ(fills.back().color, c.last);
    }
    EXPECT_EQ(canvas.ops().size(), fills.size());
}
const GradientCase kGradients[] = {
    {"fivePixelsSixteenSteps",
     0x000000,
     0x0000FF,
     false,
     {0, 0, 10, 5},
     16,
     {{0, 0, 10, 2}, {0, 1, 10, 3}, {0, 2, 10, 4}, {0, 3, 10, 5}, {0, 4, 10, 5}},
     0x000000,
     0x0000FF},
    {"horizontalTwoSteps",
     0x000000,
     0xFF0000,
     true,
     {10, 0, 19, 4},
     2,
     {{10, 0, 15, 4}, {14, 0, 19, 4}, {18, 0, 19, 4}},
     0x000000,
     0xFF0000},
    {"toNoneIsSolidFrom",
     0x123456,
     clNone,
     false,
     {0, 0, 10, 5},
     64,
     {{0, 0, 10, 5}},
     0x123456,
     0x123456},
    {"fromNoneIsSolidTo",
     clNone,
     0x654321,
     true,
     {0, 0, 10, 5},
     64,
     {{0, 0, 10, 5}},
     0x654321,
     0x654321},
    {"zeroHeightNothing", 0x000000, 0xFFFFFF, true, {0, 3, 10, 3}, 64, {}, 0, 0},
    {"reversedIsSwapped",
     0x000000,
     0x00FF00,
     false,
     {0, 2, 4, 0},
     64,
     {{0, 0, 4, 2}, {0, 1, 4, 2}},
     0x000000,
     0x00FF00},
    {"onePixelHigh",
     0x000000,
     0x00FF00,
     false,
     {0, 7, 4, 8},
     64,
     {{0, 7, 4, 8}, {0, 7, 4, 8}},
     0x000000,
     0x00FF00},
};
INSTANTIATE_TEST_SUITE_P(Cases, GradientBands, ::testing::ValuesIn(kGradients), CaseName());

TEST(GradientBands, EqualColoursGiveOneColourOverTheWholeRectangle)
{
    RecordingGridCanvas canvas;
    DrawGradientRect(canvas, 0x336699, 0x336699, false, {0, 0, 8, 20}, 64);
    int top = 20, bottom = 0;
    for (const Op& op : canvas.ops()) {
        EXPECT_EQ(op.color, 0x336699u);
        top = std::min(top, op.rect.Top);
        bottom = std::max(bottom, op.rect.Bottom);
    }
    EXPECT_EQ(top, 0);
    EXPECT_EQ(bottom, 20);
}

TEST(GradientBands, SystemColoursAreResolvedFirst)
{
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(0, 0, 0));
    palette.setColor(QPalette::Button, QColor(0, 0, 200));
    RecordingGridCanvas canvas(palette);
    DrawGradientRect(canvas, clWindow, clBtnFace, false, {0, 0, 4, 3}, 2);
    const auto fills = canvas.opsOfKind(Op::Fill);
    ASSERT_EQ(fills.size(), 3u);
    EXPECT_EQ(fills[0].color, 0x000000u);
    EXPECT_EQ(fills[1].color, rgbColor(0, 0, 100));
    EXPECT_EQ(fills[2].color, rgbColor(0, 0, 200));
}

TEST(FillRectColor, NoneOrEmptyDrawsNothing)
{
    RecordingGridCanvas canvas;
    FillRectColor(canvas, {0, 0, 5, 5}, clNone);
    FillRectColor(canvas, {5, 0, 5, 5}, clRed);
    EXPECT_TRUE(canvas.ops().empty());
    FillRectColor(canvas, {0, 0, 5, 5}, clRed);
    ASSERT_EQ(canvas.ops().size(), 1u);
    EXPECT_EQ(canvas.ops()[0].rect, (TRect{0, 0, 5, 5}));
}

struct InterpolateCase {
    const char* name;
    TColor from, to;
    int a, b, c;
    TColor expected;
};
class Interpolate : public ::testing::TestWithParam<InterpolateCase> {};
TEST_P(Interpolate, PerChannel)
{
    const InterpolateCase& k = GetParam();
    EXPECT_EQ(InterpolateColor(k.from, k.to, k.a, k.b, k.c), k.expected);
}
const InterpolateCase kInterpolations[] = {
    {"middle", 0x000000, 0xC8C8C8, 0, 5, 10, 0x646464},
    {"end", 0x102030, 0x203040, 0, 10, 10, 0x203040},
    {"toNone", 0x102030, clNone, 0, 5, 10, 0x102030},
    {"emptyRangeIsFrom", 0x102030, 0xFFFFFF, 7, 3, 7, 0x102030},
    {"beyondClamped", 0x000000, 0x0000FF, 0, 20, 10, 0x0000FF},
};
INSTANTIATE_TEST_SUITE_P(Cases, Interpolate, ::testing::ValuesIn(kInterpolations), CaseName());

TEST(StyledRect, BorderOnlyWithoutColour)
{
    RecordingGridCanvas canvas;
    DrawStyledRect(canvas, {0, 0, 10, 10}, clNone, true, false, clRed, true, clNone, clNone,
                   clNone);
    ASSERT_EQ(canvas.ops().size(), 1u);
    EXPECT_EQ(canvas.ops()[0].kind, Op::Frame);
    EXPECT_EQ(canvas.ops()[0].rect, (TRect{0, 0, 10, 10}));
}

TEST(StyledRect, MirrorSplitsAlongTheGradient)
{
    RecordingGridCanvas canvas;
    DrawStyledRect(canvas, {0, 0, 6, 10}, 0x000010, true, false, clNone, true, 0x000040, 0x000030,
                   0x000020);
    const auto fills = canvas.opsOfKind(Op::Fill);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.front().rect.Top, 0);
    EXPECT_EQ(fills.front().color, 0x000010u);
    EXPECT_EQ(fills.back().rect.Bottom, 10);
    EXPECT_EQ(fills.back().color, 0x000040u);
    bool sawMirrorStart = false;
    for (const Op& op : fills)
        if (op.rect.Top == 5 && op.color == 0x000030u)
            sawMirrorStart = true;
    EXPECT_TRUE(sawMirrorStart);
}

// ---- base cell painter -------------------------------------------------------------------------

// A grid with one fixed row (20 high) and one fixed column (30 wide), client 200 x 100.
CellPaintGrid fixture()
{
    CellPaintGrid g;
    g.fixedCols = 1;
    g.fixedRows = 1;
    g.fixedColsWidth = 30;
    g.fixedRowsHeight = 20;
    g.clientWidth = 200;
    g.clientHeight = 100;
    g.rowCount = 5;
    g.color = 0xFFFFFF;
    return g;
}

CellVisual plain(TColor brush)
{
    CellVisual v;
    v.brush = brush;
    return v;
}

struct LineCase {
    const char* name;
    std::function<void(CellPaintGrid&)> tweak;
    CellPaintRequest req;
    std::vector<Op> lines;  // expected line ops, in order
    TRect content;
};
Op lineOp(int x1, int y1, int x2, int y2, TColor c, int w = 1)
{
    Op op;
    op.kind = Op::Line;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.color = c;
    op.width = w;
    return op;
}
class CellLines : public ::testing::TestWithParam<LineCase> {};
TEST_P(CellLines, PositionsAndContentRectangle)
{
    const LineCase& c = GetParam();
    CellPaintGrid grid = fixture();
    if (c.tweak)
        c.tweak(grid);
    RecordingGridCanvas canvas;
    TRect handed;
    const TRect content = PaintCellBase(canvas, grid, c.req, plain(0xEEEEEE),
                                        [&](IGridCanvas&, int, int, const TRect& r) {
                                            handed = r;
                                        });
    EXPECT_EQ(canvas.opsOfKind(Op::Line), c.lines);
    EXPECT_EQ(content, c.content);
    EXPECT_EQ(handed, c.req.fullMode ? c.content : TRect{});
    EXPECT_EQ(canvas.clipDepth(), 0);
}
const LineCase kLines[] = {
    {"normalCell",
     {},
     {2, 2, {100, 40, 164, 61}, false, false, true},
     {lineOp(100, 60, 164, 60, 0xC0C0C0), lineOp(163, 60, 163, 39, 0xC0C0C0)},
     {101, 41, 163, 60}},
    {"fixedCell",
     {},
     {0, 2, {0, 40, 30, 61}, true, false, true},
     {lineOp(0, 60, 30, 60, 0x808080), lineOp(29, 60, 29, 39, 0x808080)},
     {0, 40, 29, 59}},
    {"fixedIgnoresLineWidth",
     [](CellPaintGrid& g) { g.gridLineWidth = 3; },
     {0, 2, {0, 40, 30, 61}, true, false, true},
     {lineOp(0, 60, 30, 60, 0x808080), lineOp(29, 60, 29, 39, 0x808080)},
     {0, 40, 29, 59}},
    {"wideLines",
     [](CellPaintGrid& g) { g.gridLineWidth = 2; },
     {2, 2, {100, 40, 164, 61}, false, false, true},
     {lineOp(100, 60, 164, 60, 0xC0C0C0, 2), lineOp(163, 60, 163, 39, 0xC0C0C0, 2)},
     {102, 42, 162, 59}},
    {"noLineWidthNoLines",
     [](CellPaintGrid& g) { g.gridLineWidth = 0; },
     {2, 2, {100, 40, 164, 61}, false, false, true},
     {},
     {100, 40, 164, 61}},
    {"onlyHorizontal",
     [](CellPaintGrid& g) { g.vertLine = false; },
     {2, 2, {100, 40, 164, 61}, false, false, true},
     {lineOp(100, 60, 164, 60, 0xC0C0C0)},
     {101, 41, 163, 60}},
    {"fixedOptionsApart",
     [](CellPaintGrid& g) {
         g.horzLine = false;
         g.fixedVertLine = false;
     },
     {0, 2, {0, 40, 30, 61}, true, false, true},
     {lineOp(0, 60, 30, 60, 0x808080)},
     {0, 40, 29, 59}},
    {"nodesColumnZeroNoBottom",
     [](CellPaintGrid& g) {
         g.hasNodes = true;
         g.fixedCols = 0;
     },
     {0, 2, {0, 40, 30, 61}, false, false, true},
     {lineOp(29, 60, 29, 39, 0xC0C0C0)},
     {1, 41, 29, 60}},
    {"backgroundModeNoContent",
     {},
     {2, 2, {100, 40, 164, 61}, false, false, false},
     {lineOp(100, 60, 164, 60, 0xC0C0C0), lineOp(163, 60, 163, 39, 0xC0C0C0)},
     {101, 41, 163, 60}},
};
INSTANTIATE_TEST_SUITE_P(Cases, CellLines, ::testing::ValuesIn(kLines), CaseName());

TEST(CellPaint, BackgroundComesFirstThenLinesThenContent)
{
    RecordingGridCanvas canvas;
    PaintCellBase(canvas, fixture(), {2, 2, {100, 40, 164, 61}, false, false, true},
                  plain(0xEEEEEE), [](IGridCanvas& c, int, int, const TRect& r) {
                      c.text(r, QStringLiteral("x"), 0, clBlack);
                  });
    const auto& ops = canvas.ops();
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[0].kind, Op::Fill);
    EXPECT_EQ(ops[0].rect, (TRect{100, 40, 164, 61}));
    EXPECT_EQ(ops[0].color, 0xEEEEEEu);
    EXPECT_EQ(ops[1].kind, Op::Line);
    EXPECT_EQ(ops[2].kind, Op::Line);
    EXPECT_EQ(ops[3].kind, Op::Text);
}

struct ClipCase {
    const char* name;
    CellPaintRequest req;
    bool clipped;
    TRect clip;
};
class CellClip : public ::testing::TestWithParam<ClipCase> {};
TEST_P(CellClip, ScrolledCellsStayOutOfTheFixedArea)
{
    RecordingGridCanvas canvas;
    PaintCellBase(canvas, fixture(), GetParam().req, plain(0xEEEEEE),
                  [](IGridCanvas& c, int, int, const TRect& r) { c.fillRect(r, clRed); });
    const auto pushes = canvas.opsOfKind(Op::PushClip);
    if (GetParam().clipped) {
        ASSERT_EQ(pushes.size(), 1u);
        EXPECT_EQ(pushes[0].rect, GetParam().clip);
        EXPECT_EQ(canvas.ops().front().kind, Op::PushClip);
        EXPECT_EQ(canvas.ops().back().kind, Op::PopClip);
    } else {
        EXPECT_TRUE(pushes.empty());
    }
    EXPECT_EQ(canvas.clipDepth(), 0);
}
const ClipCase kClips[] = {
    {"inside", {2, 2, {100, 40, 164, 61}, false, false, true}, false, {}},
    {"mergedLeftOfFixedEdge",
     {2, 2, {10, 40, 164, 61}, false, false, true},
     true,
     {30, 20, 200, 100}},
    {"mergedAboveFixedEdge",
     {2, 2, {100, 5, 164, 61}, false, false, true},
     true,
     {30, 20, 200, 100}},
    {"fixedRowCellLeftPart", {2, 0, {10, 0, 164, 20}, true, false, true}, true, {30, 0, 200, 100}},
    {"fixedCellNeverClipped", {0, 0, {0, 0, 30, 20}, true, false, true}, false, {}},
};
INSTANTIATE_TEST_SUITE_P(Cases, CellClip, ::testing::ValuesIn(kClips), CaseName());

struct ColourCase {
    const char* name;
    std::function<void(CellPaintGrid&)> tweak;
    CellPaintRequest req;
    TColor background;
};
class CellColours : public ::testing::TestWithParam<ColourCase> {};
TEST_P(CellColours, HoverAndActiveRow)
{
    CellPaintGrid grid = fixture();
    grid.hoverRowColor = 0x00AA00;
    grid.activeRowColor = 0x0000AA;
    grid.currentCol = 2;
    grid.currentRow = 3;
    GetParam().tweak(grid);
    RecordingGridCanvas canvas;
    PaintCellBase(canvas, grid, GetParam().req, plain(0xEEEEEE));
    ASSERT_FALSE(canvas.ops().empty());
    EXPECT_EQ(canvas.ops()[0].color, GetParam().background);
}
const ColourCase kColours[] = {
    {"hoverNormal",
     [](CellPaintGrid& g) {
         g.hoverRow = true;
         g.hoverRowIdx = 2;
     },
     {2, 2, {100, 40, 164, 61}, false, false, true},
     0x00AA00},
    {"hoverOtherRow",
     [](CellPaintGrid& g) {
         g.hoverRow = true;
         g.hoverRowIdx = 1;
     },
     {2, 2, {100, 40, 164, 61}, false, false, true},
     0xEEEEEE},
    {"hoverSkipsFixedByDefault",
     [](CellPaintGrid& g) {
         g.hoverRow = true;
         g.hoverRowIdx = 2;
     },
     {0, 2, {0, 40, 30, 61}, true, false, true},
     0xEEEEEE},
    {"hoverFixedWhenAsked",
     [](CellPaintGrid& g) {
         g.hoverRow = true;
         g.hoverRowIdx = 2;
         g.hoverFixed = true;
     },
     {0, 2, {0, 40, 30, 61}, true, false, true},
     0x00AA00},
    {"hoverSkipsSelectedWhenNotAsked",
     [](CellPaintGrid& g) {
         g.hoverRow = true;
         g.hoverRowIdx = 2;
         g.hoverSelected = false;
     },
     {2, 2, {100, 40, 164, 61}, false, true, true},
     0xEEEEEE},
    {"activeRowOtherColumn",
     [](CellPaintGrid& g) { g.activeRowShow = true; },
     {3, 3, {164, 61, 228, 82}, false, false, true},
     0x0000AA},
    {"activeRowCurrentCellKeepsSelection",
     [](CellPaintGrid& g) { g.activeRowShow = true; },
     {2, 3, {100, 61, 164, 82}, false, false, true},
     0xEEEEEE},
    {"activeRowCurrentCellWithoutSelection",
     [](CellPaintGrid& g) {
         g.activeRowShow = true;
         g.showSel = false;
     },
     {2, 3, {100, 61, 164, 82}, false, false, true},
     0x0000AA},
    {"activeRowNotInFixedColumn",
     [](CellPaintGrid& g) { g.activeRowShow = true; },
     {0, 3, {0, 61, 30, 82}, true, false, true},
     0xEEEEEE},
    {"backgroundModeSelected",
     [](CellPaintGrid&) {},
     {2, 2, {100, 40, 164, 61}, false, true, false},
     0x0000AA},
};
INSTANTIATE_TEST_SUITE_P(Cases, CellColours, ::testing::ValuesIn(kColours), CaseName());

TEST(CellPaint, HiddenLastRowShowsOnlyTheGridColour)
{
    CellPaintGrid grid = fixture();
    grid.hideLastRow = true;
    RecordingGridCanvas canvas;
    bool content = false;
    const TRect r = PaintCellBase(canvas, grid, {2, 4, {100, 82, 164, 100}, false, false, true},
                                  plain(0xEEEEEE),
                                  [&](IGridCanvas&, int, int, const TRect&) { content = true; });
    ASSERT_EQ(canvas.ops().size(), 1u);
    EXPECT_EQ(canvas.ops()[0].color, 0xFFFFFFu);
    EXPECT_FALSE(content);
    EXPECT_TRUE(r.isEmpty());
}

TEST(CellPaint, GradientBackgroundRunsTheGivenDirection)
{
    CellVisual v = plain(0x000000);
    v.colorTo = 0x0000FF;
    v.gradientHorizontal = true;
    RecordingGridCanvas canvas;
    PaintCellBase(canvas, fixture(), {2, 2, {100, 40, 164, 61}, false, false, true}, v);
    const auto fills = canvas.opsOfKind(Op::Fill);
    ASSERT_GT(fills.size(), 2u);
    EXPECT_EQ(fills[0].rect.Top, 40);
    EXPECT_EQ(fills[0].rect.Bottom, 61);
    EXPECT_EQ(fills[0].rect.Left, 100);
    EXPECT_EQ(fills.back().rect.Right, 164);
    EXPECT_EQ(fills.back().color, 0x0000FFu);
}

// A pass over a 3 x 3 block whose lower-right 2 x 2 cells are one merged area: the area is
// painted once per pass, whichever of its cells comes first, and again in the next pass.
TEST(CellPaint, MergedAreaPaintedOncePerPass)
{
    int basePaintId = 0;
    int paints = 0;
    for (int pass = 1; pass <= 2; ++pass) {
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                if (r >= 1 && c >= 1 && claimMergedAreaPaint(basePaintId, pass))
                    ++paints;
        EXPECT_EQ(paints, pass);
    }
}

// ---- pixel probes --------------------------------------------------------------------------------

QRgb px(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

TEST(CellPaintPixels, LinesSitInsideTheCellAndTheFixedAreaStaysClean)
{
    QImage img(200, 100, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        QPainterGridCanvas canvas(p, QPalette());
        const CellPaintGrid grid = fixture();
        // A normal cell and a merged area scrolled under the fixed column.
        PaintCellBase(canvas, grid, {2, 2, {100, 40, 164, 61}, false, false, true},
                      plain(0xEEEEEE));
        PaintCellBase(canvas, grid, {1, 3, {5, 61, 90, 82}, false, false, true}, plain(0x00FFFF),
                      [](IGridCanvas& c, int, int, const TRect& r) { c.fillRect(r, 0x00FFFF); });
    }
    EXPECT_EQ(px(img, 110, 50), 0xEEEEEEu);  // background
    EXPECT_EQ(px(img, 110, 60), 0xC0C0C0u);  // bottom line, last row of the cell
    EXPECT_EQ(px(img, 163, 50), 0xC0C0C0u);  // right line, last column of the cell
    EXPECT_EQ(px(img, 110, 61), 0xFFFFFFu);  // nothing below the cell
    EXPECT_EQ(px(img, 164, 50), 0xFFFFFFu);  // nothing right of it
    EXPECT_EQ(px(img, 163, 39), 0xFFFFFFu);  // the right line stops at the top
    EXPECT_EQ(px(img, 20, 70), 0xFFFFFFu);   // clipped under the fixed column
    EXPECT_EQ(px(img, 40, 70), 0xFFFF00u);   // the scrollable part is painted (BGR yellow)
}

TEST(CellPaintPixels, GradientBandsEndInTheToColour)
{
    QImage img(40, 10, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        QPainterGridCanvas canvas(p, QPalette());
        DrawGradientRect(canvas, rgbColor(0, 0, 0), rgbColor(0, 0, 255), true, {0, 0, 40, 10}, 64);
    }
    EXPECT_EQ(px(img, 0, 5), 0x000000u);
    EXPECT_EQ(px(img, 39, 5), 0x0000FFu);
    EXPECT_LT(qBlue(img.pixel(10, 5)), qBlue(img.pixel(30, 5)));
}

TEST(CellPaintPixels, TextDrawnInThePinnedFont)
{
    QImage img(60, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        QPainterGridCanvas canvas(p, QPalette());
        canvas.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        canvas.text({0, 0, 60, 20}, QStringLiteral("WWW"), Qt::AlignCenter, clBlack);
    }
    int dark = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            if (qGray(img.pixel(x, y)) < 100)
                ++dark;
    EXPECT_GT(dark, 20);
    for (int y = 0; y < 20; ++y)  // centred: both edges stay blank
        EXPECT_EQ(px(img, 1, y), 0xFFFFFFu);
}

TEST(CanvasClip, NestedClipsIntersectAndUnwind)
{
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        QPainterGridCanvas canvas(p, QPalette());
        canvas.pushClip({0, 0, 10, 20});
        canvas.pushClip({5, 0, 20, 20});
        canvas.fillRect({0, 0, 20, 10}, clBlack);
        canvas.popClip();
        canvas.popClip();
        canvas.fillRect({0, 10, 20, 20}, clRed);
    }
    EXPECT_EQ(px(img, 2, 5), 0xFFFFFFu);
    EXPECT_EQ(px(img, 7, 5), 0x000000u);
    EXPECT_EQ(px(img, 12, 5), 0xFFFFFFu);
    EXPECT_EQ(px(img, 15, 15), 0xFF0000u);  // QRgb red
}

}  // namespace
}  // namespace zfw
