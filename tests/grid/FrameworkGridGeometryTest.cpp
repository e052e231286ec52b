// Layout arithmetic of the framework grid on a small grid: six columns of 50 px and four rows
// of 20 px, one fixed row and one fixed column, a client of 180 x 50 px. That shows two whole
// scrollable columns and a third in part, one whole scrollable row and a second in part.

#include "grid/FrameworkGridGeometry.h"

#include "FrameworkGridTestSupport.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::GridCaseName;

FrameworkGridGeometry smallGrid(int clientWidth = 180, int clientHeight = 50)
{
    FrameworkGridGeometry g;
    g.SetColCount(6);
    g.SetRowCount(4);
    g.SetDefaultColWidth(50);
    g.SetDefaultRowHeight(20);
    g.SetFixedCols(1);
    g.SetFixedRows(1);
    g.setClientSize(clientWidth, clientHeight);
    return g;
}

TEST(FrameworkGridGeometry, VisibleCountsCountOnlyWholeCells)
{
    const FrameworkGridGeometry g = smallGrid();
    EXPECT_EQ(g.VisibleColCount(), 2);
    EXPECT_EQ(g.VisibleRowCount(), 1);
    EXPECT_EQ(g.lastPartlyVisibleCol(), 3);
    EXPECT_EQ(g.lastPartlyVisibleRow(), 2);
}

TEST(FrameworkGridGeometry, VisibleRowCountIsOneForARowTallerThanTheClient)
{
    FrameworkGridGeometry g = smallGrid();
    g.SetRowHeights(1, 200);
    EXPECT_EQ(g.VisibleRowCount(), 1);
    // Nothing but the fixed row fits: paging still steps by one.
    g.setClientSize(180, 20);
    EXPECT_EQ(g.VisibleRowCount(), 1);
}

TEST(FrameworkGridGeometry, MaxScrollPositionShowsTheLastCellWhole)
{
    FrameworkGridGeometry g = smallGrid();
    EXPECT_EQ(g.maxTopRow(), 3);   // 30 px for scrollable rows: only the last one fits
    EXPECT_EQ(g.maxLeftCol(), 4);  // 130 px: columns 4 and 5
    g.setClientSize(1000, 1000);
    EXPECT_EQ(g.maxTopRow(), 1);
    EXPECT_EQ(g.maxLeftCol(), 1);
    EXPECT_FALSE(g.needsVertScroll());
    // The last row taller than the client: the best is to start at it.
    g.setClientSize(180, 50);
    g.SetRowHeights(3, 500);
    EXPECT_EQ(g.maxTopRow(), 3);
}

struct HitCase {
    const char* name;
    int clientWidth;
    int clientHeight;
    int leftCol;
    int x;
    int y;
    TGridCoord expected;
};

class FrameworkGridHitTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(FrameworkGridHitTest, MouseToCell)
{
    const HitCase& c = GetParam();
    FrameworkGridGeometry g = smallGrid(c.clientWidth, c.clientHeight);
    g.SetLeftCol(c.leftCol);
    EXPECT_EQ(g.MouseToCell(c.x, c.y), c.expected);
}

const HitCase kHitCases[] = {
    {"FixedCorner", 180, 50, 1, 0, 0, {0, 0}},
    {"FixedRowOverBody", 180, 50, 1, 60, 5, {1, 0}},
    {"FirstBodyCell", 180, 50, 1, 50, 20, {1, 1}},
    {"LastPixelOfCell", 180, 50, 1, 99, 39, {1, 1}},
    {"PartlyVisibleCellsAreHit", 180, 50, 1, 179, 49, {3, 2}},
    {"OutsideTheClient", 180, 50, 1, 180, 10, {-1, 0}},
    {"Negative", 180, 50, 1, -1, -1, {-1, -1}},
    {"RightOfTheLastColumn", 400, 200, 1, 300, 10, {-1, 0}},
    {"BelowTheLastRow", 400, 200, 1, 10, 80, {0, -1}},
    {"ScrolledLeftCol", 180, 50, 3, 60, 25, {3, 1}},
    {"ScrolledFixedColumnStays", 180, 50, 3, 10, 25, {0, 1}},
};
INSTANTIATE_TEST_SUITE_P(Cases, FrameworkGridHitTest, ::testing::ValuesIn(kHitCases),
                         GridCaseName());

struct RectCase {
    const char* name;
    int leftCol;
    int col;
    int row;
    TRect expected;
};

class FrameworkGridCellRectTest : public ::testing::TestWithParam<RectCase> {};

TEST_P(FrameworkGridCellRectTest, CellRect)
{
    const RectCase& c = GetParam();
    FrameworkGridGeometry g = smallGrid();
    g.SetLeftCol(c.leftCol);
    EXPECT_EQ(g.CellRect(c.col, c.row), c.expected);
}

const RectCase kRectCases[] = {
    {"FixedCorner", 1, 0, 0, Rect(0, 0, 50, 20)},
    {"BodyCell", 1, 2, 1, Rect(100, 20, 150, 40)},
    {"PartlyVisibleKeepsItsFullSize", 1, 3, 2, Rect(150, 40, 200, 60)},
    {"BeyondTheClient", 1, 4, 1, TRect{}},
    {"ScrolledOutLeft", 3, 1, 1, TRect{}},
    {"ScrolledFixedCell", 3, 0, 1, Rect(0, 20, 50, 40)},
    {"ScrolledBodyCell", 3, 3, 1, Rect(50, 20, 100, 40)},
    {"OutsideTheGrid", 1, 6, 1, TRect{}},
    {"NegativeIndex", 1, -1, 1, TRect{}},
};
INSTANTIATE_TEST_SUITE_P(Cases, FrameworkGridCellRectTest, ::testing::ValuesIn(kRectCases),
                         GridCaseName());

TEST(FrameworkGridGeometry, CellBoundsOfAScrolledOutCellLieLeftOfTheFixedColumns)
{
    FrameworkGridGeometry g = smallGrid();
    g.SetLeftCol(3);
    EXPECT_EQ(g.cellBounds(1, 1), Rect(-50, 20, 0, 40));
}

TEST(FrameworkGridGeometry, ThumbMappingHitsBothEndsAndRoundTrips)
{
    FrameworkGridGeometry g = smallGrid(180, 50);
    g.SetRowCount(12);  // max top row 11
    EXPECT_EQ(g.rowFromThumb(0), 1);
    EXPECT_EQ(g.rowFromThumb(kGridThumbMax), g.maxTopRow());
    EXPECT_EQ(g.thumbFromRow(1), 0);
    EXPECT_EQ(g.thumbFromRow(g.maxTopRow()), kGridThumbMax);
    for (int row = g.FixedRows(); row <= g.maxTopRow(); ++row)
        EXPECT_EQ(g.rowFromThumb(g.thumbFromRow(row)), row) << "row " << row;
    // A position written beyond the last full page still gives a thumb at the end.
    g.SetTopRow(11);
    EXPECT_EQ(g.thumbFromRow(g.TopRow()), kGridThumbMax);
    // Out-of-range thumbs are clamped; with nothing to scroll the thumb stays at 0.
    EXPECT_EQ(g.rowFromThumb(500), g.maxTopRow());
    g.setClientSize(1000, 1000);
    EXPECT_EQ(g.thumbFromRow(1), 0);
    EXPECT_EQ(g.rowFromThumb(127), 1);
}

TEST(FrameworkGridGeometry, FixedCountsLeaveOneScrollableRowAndColumn)
{
    FrameworkGridGeometry g = smallGrid();
    EXPECT_FALSE(g.SetFixedRows(4));
    EXPECT_EQ(g.FixedRows(), 3);
    EXPECT_TRUE(g.SetFixedRows(1));
    g.SetRowCount(1);
    EXPECT_EQ(g.FixedRows(), 0);
    EXPECT_EQ(g.TopRow(), 0);
    g.SetRowCount(0);
    EXPECT_EQ(g.FixedRows(), 0);
    EXPECT_EQ(g.VisibleRowCount(), 0);
    EXPECT_EQ(g.maxTopRow(), 0);
}

TEST(FrameworkGridGeometry, ExplicitTopRowIsAcceptedBeyondTheLastFullPage)
{
    FrameworkGridGeometry g = smallGrid(180, 50);
    g.SetRowCount(12);
    EXPECT_EQ(g.maxTopRow(), 11);
    g.setClientSize(180, 100);
    EXPECT_EQ(g.maxTopRow(), 8);
    EXPECT_TRUE(g.SetTopRow(10));
    EXPECT_EQ(g.TopRow(), 10);
    g.SetTopRow(50);
    EXPECT_EQ(g.TopRow(), 11);
    g.SetTopRow(-3);
    EXPECT_EQ(g.TopRow(), 1);
    // A shrink brings the position back into the last full page.
    g.SetTopRow(11);
    g.SetRowCount(8);
    EXPECT_EQ(g.TopRow(), g.maxTopRow());
}

struct ScrollCase {
    const char* name;
    int leftCol;
    int topRow;
    int col;
    int row;
    TGridCoord expected;  // (LeftCol, TopRow)
};

class FrameworkGridScrollIntoViewTest : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(FrameworkGridScrollIntoViewTest, FewestRowsAndColumns)
{
    const ScrollCase& c = GetParam();
    FrameworkGridGeometry g = smallGrid(180, 80);  // 3 whole rows, 2 whole columns
    g.SetRowCount(12);
    g.SetLeftCol(c.leftCol);
    g.SetTopRow(c.topRow);
    EXPECT_EQ(g.scrollPositionFor(c.col, c.row), c.expected);
}

const ScrollCase kScrollCases[] = {
    {"AlreadyVisible", 1, 1, 2, 3, {1, 1}},
    {"PartlyVisibleColumn", 1, 1, 3, 1, {2, 1}},
    {"BelowTheView", 1, 1, 1, 7, {1, 5}},
    {"AboveTheView", 1, 6, 1, 2, {1, 2}},
    {"LeftOfTheView", 4, 1, 2, 1, {2, 1}},
    {"FixedCellsLeaveTheViewAlone", 3, 4, 0, 0, {3, 4}},
    {"OutsideTheGridLeavesTheViewAlone", 3, 4, 6, 12, {3, 4}},
};
INSTANTIATE_TEST_SUITE_P(Cases, FrameworkGridScrollIntoViewTest, ::testing::ValuesIn(kScrollCases),
                         GridCaseName());

struct SizingCase {
    const char* name;
    TGridOptions options;
    int x;
    int y;
    TGridState state;
    int index;
};

class FrameworkGridSizingTest : public ::testing::TestWithParam<SizingCase> {};

TEST_P(FrameworkGridSizingTest, Zone)
{
    const SizingCase& c = GetParam();
    FrameworkGridGeometry g = smallGrid(300, 100);
    const FrameworkGridSizing s = g.calcSizingState(c.x, c.y, c.options);
    EXPECT_EQ(s.state, c.state);
    if (c.state != gsNormal) {
        EXPECT_EQ(s.index, c.index);
        EXPECT_EQ(s.sizingOfs, (c.state == gsColSizing ? c.x : c.y) - s.sizingPos);
    }
}

// Border of column 1 at x = 100, of column 2 at 150; of row 1 at y = 40.
const SizingCase kSizingCases[] = {
    {"ThreeInsideIsIn", goColSizing, 97, 5, gsColSizing, 1},
    {"FourInsideIsOut", goColSizing, 96, 5, gsNormal, -1},
    {"ThreeOutsideIsIn", goColSizing, 103, 5, gsColSizing, 1},
    {"FourOutsideIsOut", goColSizing, 104, 5, gsNormal, -1},
    {"OnTheBorderOfColumn2", goColSizing, 150, 5, gsColSizing, 2},
    {"BodyRowIsNoZone", goColSizing, 100, 25, gsNormal, -1},
    {"WithoutTheOption", goRowSizing, 100, 5, gsNormal, -1},
    {"FixedColumnIsNeverSized", goColSizing, 50, 5, gsNormal, -1},
    {"RowBorderInTheFixedColumn", goRowSizing, 10, 42, gsRowSizing, 1},
    {"RowBorderInABodyColumn", goRowSizing, 60, 40, gsNormal, -1},
};
INSTANTIATE_TEST_SUITE_P(Cases, FrameworkGridSizingTest, ::testing::ValuesIn(kSizingCases),
                         GridCaseName());

TEST(FrameworkGridGeometry, ZeroWidthColumnCanBeWidenedFromItsBorder)
{
    FrameworkGridGeometry g = smallGrid(300, 100);
    g.SetColWidths(2, 0);  // borders of columns 1 and 2 both at x = 100
    const FrameworkGridSizing s = g.calcSizingState(100, 5, goColSizing);
    EXPECT_EQ(s.state, gsColSizing);
    EXPECT_EQ(s.index, 2);
}

}  // namespace
}  // namespace zfw
