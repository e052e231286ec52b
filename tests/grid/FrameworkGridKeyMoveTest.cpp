// Key movement and the selection range of the framework grid, without a widget: six columns of
// 50 px, twelve rows of 20 px, one fixed row and column, a client of 180 x 80 px (three whole
// scrollable rows, so a page is three rows and the last full page starts at row 9).

#include "grid/FrameworkGridSelection.h"

#include "FrameworkGridTestSupport.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::GridCaseName;

FrameworkGridGeometry keyGrid(int topRow)
{
    FrameworkGridGeometry g;
    g.SetColCount(6);
    g.SetRowCount(12);
    g.SetDefaultColWidth(50);
    g.SetDefaultRowHeight(20);
    g.SetFixedCols(1);
    g.SetFixedRows(1);
    g.setClientSize(180, 80);
    g.SetTopRow(topRow);
    return g;
}

struct KeyCase {
    const char* name;
    TGridCoord from;
    int topRow;
    int key;
    TShiftState shift;
    TGridOptions options;
    bool handled;
    TGridCoord target;
    bool moveAnchor;
    int newTopRow;   // -1: the key leaves the view to scrolling into view
    int newLeftCol;  // -1: unchanged
};

class FrameworkGridKeyMoveTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(FrameworkGridKeyMoveTest, Move)
{
    const KeyCase& c = GetParam();
    const FrameworkGridGeometry g = keyGrid(c.topRow);
    const FrameworkGridKeyMove m = frameworkGridKeyMove(g, c.from, c.key, c.shift, c.options);
    ASSERT_EQ(m.handled, c.handled);
    if (!c.handled)
        return;
    EXPECT_EQ(m.target, c.target);
    EXPECT_EQ(m.moveAnchor, c.moveAnchor);
    EXPECT_EQ(m.topRow, c.newTopRow);
    EXPECT_EQ(m.leftCol, c.newLeftCol);
    EXPECT_EQ(m.scrollOnly, c.newLeftCol >= 0);
}

constexpr TShiftState kNone{};
constexpr TShiftState kShift{ssShift};
constexpr TShiftState kCtrl{ssCtrl};
constexpr TGridOptions kRange = kDefaultGridOptions;
constexpr TGridOptions kNoRange = TGridOptions(goVertLine | goHorzLine);

const KeyCase kKeyCases[] = {
    {"UpStopsAtTheFirstBodyRow", {2, 1}, 1, VK_UP, kNone, kRange, true, {2, 1}, true, -1, -1},
    {"Down", {2, 1}, 1, VK_DOWN, kNone, kRange, true, {2, 2}, true, -1, -1},
    {"DownStopsAtTheLastRow", {2, 11}, 9, VK_DOWN, kNone, kRange, true, {2, 11}, true, -1, -1},
    {"LeftStopsAtTheFirstBodyColumn",
     {1, 3},
     1,
     VK_LEFT,
     kNone,
     kRange,
     true,
     {1, 3},
     true,
     -1,
     -1},
    {"RightStopsAtTheLastColumn", {5, 3}, 1, VK_RIGHT, kNone, kRange, true, {5, 3}, true, -1, -1},
    {"PageDownMovesCellAndViewByAPage",
     {2, 2},
     1,
     VK_NEXT,
     kNone,
     kRange,
     true,
     {2, 5},
     true,
     4,
     -1},
    {"PageDownNearTheEndClamps", {2, 10}, 8, VK_NEXT, kNone, kRange, true, {2, 11}, true, 9, -1},
    {"PageUpMovesCellAndViewByAPage",
     {2, 8},
     6,
     VK_PRIOR,
     kNone,
     kRange,
     true,
     {2, 5},
     true,
     3,
     -1},
    {"PageUpNearTheTopClamps", {2, 2}, 1, VK_PRIOR, kNone, kRange, true, {2, 1}, true, 1, -1},
    {"CtrlPageDownGoesToTheLastWholeRow",
     {2, 5},
     4,
     VK_NEXT,
     kCtrl,
     kRange,
     true,
     {2, 6},
     true,
     -1,
     -1},
    {"CtrlPageUpGoesToTheTopRow", {2, 6}, 4, VK_PRIOR, kCtrl, kRange, true, {2, 4}, true, -1, -1},
    {"Home", {4, 3}, 1, VK_HOME, kNone, kRange, true, {1, 3}, true, -1, -1},
    {"End", {2, 3}, 1, VK_END, kNone, kRange, true, {5, 3}, true, -1, -1},
    {"CtrlHome", {4, 7}, 5, VK_HOME, kCtrl, kRange, true, {1, 1}, true, -1, -1},
    {"CtrlEnd", {2, 2}, 1, VK_END, kCtrl, kRange, true, {5, 11}, true, -1, -1},
    {"ShiftExtendsUnderRangeSelect",
     {2, 2},
     1,
     VK_DOWN,
     kShift,
     kRange,
     true,
     {2, 3},
     false,
     -1,
     -1},
    {"ShiftMovesWithoutRangeSelect",
     {2, 2},
     1,
     VK_DOWN,
     kShift,
     kNoRange,
     true,
     {2, 3},
     true,
     -1,
     -1},
    {"ShiftEndExtends", {2, 2}, 1, VK_END, kShift, kRange, true, {5, 2}, false, -1, -1},
    {"RowSelectRightScrollsTheColumns",
     {2, 2},
     1,
     VK_RIGHT,
     kNone,
     kRange | goRowSelect,
     true,
     {2, 2},
     true,
     -1,
     2},
    {"RowSelectLeftStopsAtTheFixedColumns",
     {2, 2},
     1,
     VK_LEFT,
     kNone,
     kRange | goRowSelect,
     true,
     {2, 2},
     true,
     -1,
     1},
    {"CtrlLeftDoesNothing", {3, 2}, 1, VK_LEFT, kCtrl, kRange, false, {}, true, -1, -1},
    {"TabWithoutTheOption", {2, 2}, 1, VK_TAB, kNone, kRange, false, {}, true, -1, -1},
    {"TabWrapsToTheNextRow", {5, 2}, 1, VK_TAB, kNone, kRange | goTabs, true, {1, 3}, true, -1, -1},
    {"ShiftTabWrapsToThePreviousRow",
     {1, 3},
     1,
     VK_TAB,
     kShift,
     kRange | goTabs,
     true,
     {5, 2},
     true,
     -1,
     -1},
    {"TabStopsAtTheLastCell",
     {5, 11},
     9,
     VK_TAB,
     kNone,
     kRange | goTabs,
     true,
     {5, 11},
     true,
     -1,
     -1},
    {"HiddenSelectionComesBackFirst",
     {6, 12},
     9,
     VK_UP,
     kNone,
     kRange,
     true,
     {5, 10},
     true,
     -1,
     -1},
    {"LetterIsNoMove", {2, 2}, 1, 'A', kNone, kRange, false, {}, true, -1, -1},
};
INSTANTIATE_TEST_SUITE_P(Cases, FrameworkGridKeyMoveTest, ::testing::ValuesIn(kKeyCases),
                         GridCaseName());

TEST(FrameworkGridKeyMove, NoScrollableCellMeansNoMove)
{
    FrameworkGridGeometry g = keyGrid(1);
    g.SetRowCount(0);
    EXPECT_FALSE(frameworkGridKeyMove(g, {1, 0}, VK_DOWN, {}, kRange).handled);
    // One row left: it is no longer fixed, so the cell can move within it.
    g.SetRowCount(1);
    EXPECT_EQ(g.FixedRows(), 0);
    EXPECT_EQ(frameworkGridKeyMove(g, {1, 0}, VK_DOWN, {}, kRange).target, (TGridCoord{1, 0}));
}

struct SelectionCase {
    const char* name;
    TGridCoord anchor;
    TGridCoord current;
    TGridOptions options;
    TGridRect expected;
};

class FrameworkGridSelectionTest : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(FrameworkGridSelectionTest, Reader)
{
    const SelectionCase& c = GetParam();
    const FrameworkGridCursor cursor{c.current, c.anchor};
    EXPECT_EQ(cursor.selection(keyGrid(1), c.options), c.expected);
}

const SelectionCase kSelectionCases[] = {
    {"OneCell", {2, 3}, {2, 3}, kRange, {2, 3, 2, 3}},
    {"DownRight", {1, 1}, {3, 4}, kRange, {1, 1, 3, 4}},
    {"UpLeftIsNormalised", {4, 5}, {2, 2}, kRange, {2, 2, 4, 5}},
    {"RowSelectSpansTheScrollableColumns", {3, 2}, {3, 4}, kRange | goRowSelect, {1, 2, 5, 4}},
};
INSTANTIATE_TEST_SUITE_P(Cases, FrameworkGridSelectionTest, ::testing::ValuesIn(kSelectionCases),
                         GridCaseName());

TEST(FrameworkGridSelection, WriterTakesReversedCornersAsAnchorAndCurrent)
{
    FrameworkGridCursor cursor;
    cursor.setSelection({4, 5, 2, 2});
    EXPECT_EQ(cursor.anchor, (TGridCoord{4, 5}));
    EXPECT_EQ(cursor.current, (TGridCoord{2, 2}));
    EXPECT_EQ(cursor.selection(keyGrid(1), kRange), (TGridRect{2, 2, 4, 5}));
}

TEST(FrameworkGridSelection, SelectionParkedOutsideTheGridCoversNoCell)
{
    const FrameworkGridGeometry g = keyGrid(1);
    FrameworkGridCursor cursor;
    cursor.setSelection({g.ColCount(), g.RowCount(), g.ColCount(), g.RowCount()});
    const TGridRect r = cursor.selection(g, kRange);
    for (int row = 0; row < g.RowCount(); ++row)
        for (int col = 0; col < g.ColCount(); ++col)
            EXPECT_FALSE(r.contains(col, row)) << col << "," << row;
}

}  // namespace
}  // namespace zfw
