// Column moves of the column grid: whoever asks for the move (the column grid itself, code
// that only knows the string grid, the default-order reset), every item stays with its
// column's cells, keeps all its settings, and the move is reported with real indexes.
//
// Grid: 7 real columns, one fixed row and column; row 1 of real column c holds "c", and item c
// is named "c", so that "item c sits on the column whose cells say c" is the invariant.

#include "grid/ColumnGrid.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::CaseName;

constexpr int kCols = 7;

void fillGrid(TExtColumnGrid& g)
{
    g.SetColCount(kCols);
    g.SetRowCount(4);
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    for (int c = 0; c < kCols; ++c) {
        g.SetCellEx(c, 1, QString::number(c));
        g.Columns()[c]->SetName(QString::number(c));
    }
}

struct MoveCase {
    const char* name;
    int hidden;    // real column hidden before the move; -1 none
    int from;      // display
    int to;        // display
    bool viaBase;  // asked through a string-grid reference
    int realFrom;  // reported
    int realTo;
};

const MoveCase kMoves[] = {
    {"Rightwards", -1, 1, 3, false, 1, 3},
    {"Leftwards", -1, 5, 2, false, 5, 2},
    // Code holding only the string grid moves the items along as well.
    {"ThroughTheStringGrid", -1, 1, 3, true, 1, 3},
    {"ThroughTheStringGridLeftwards", -1, 6, 1, true, 6, 1},
    // A hidden column between the positions keeps its place among the real columns.
    {"AcrossAHiddenColumn", 3, 2, 4, false, 2, 5},
    {"HiddenColumnLeftOfBoth", 1, 2, 4, true, 3, 5},
};

class MoveTest : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveTest, EveryItemStaysWithItsColumnAndKeepsAllSettings)
{
    const MoveCase& c = GetParam();
    TExtColumnGrid g;
    fillGrid(g);
    g.Loaded();
    const int movedReal = c.hidden >= 0 && c.hidden <= c.from ? c.from + 1 : c.from;
    TGridColumnItem* moved = g.Columns()[movedReal];
    // The settings a rebuilt copy of the item would lose, and some it would keep.
    moved->SetColumnPopupType(TColumnPopupType::cpAllCellsLClick);
    moved->SetPrintBorderCustom(false);
    moved->SetPrintFontCustom(false);
    moved->SetEditor(TEditorType::edComboList);
    moved->SetComboItems({"A", "B"});
    moved->SetTag(42);
    if (c.hidden >= 0)
        g.HideColumn(c.hidden);
    int from = -1;
    int to = -1;
    int reports = 0;
    g.OnAfterColumnMoved = [&](QObject*, int f, int t) {
        from = f;
        to = t;
        ++reports;
    };

    if (c.viaBase)
        static_cast<TExtStringGrid&>(g).MoveColumn(c.from, c.to);
    else
        g.MoveColumn(c.from, c.to);

    EXPECT_EQ(reports, 1);
    EXPECT_EQ(from, c.realFrom);
    EXPECT_EQ(to, c.realTo);
    ASSERT_EQ(g.Columns().Count(), kCols);
    for (int r = 0; r < kCols; ++r)
        EXPECT_EQ(g.Columns()[r]->Name(), g.GetCellEx(r, 1)) << "real column " << r;
    // The very object moved, with everything it carried.
    ASSERT_EQ(g.Columns()[c.realTo], moved);
    EXPECT_EQ(moved->ColumnPopupType(), TColumnPopupType::cpAllCellsLClick);
    EXPECT_FALSE(moved->PrintBorderCustom());
    EXPECT_FALSE(moved->PrintFontCustom());
    EXPECT_EQ(moved->Editor(), TEditorType::edComboList);
    EXPECT_EQ(moved->ComboItems(), QStringList({"A", "B"}));
    EXPECT_EQ(moved->Tag(), 42);
    EXPECT_EQ(moved->DefIdx(), movedReal);
    if (c.hidden >= 0) {
        EXPECT_EQ(g.ColCount(), kCols - 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Moves, MoveTest, ::testing::ValuesIn(kMoves), CaseName());

TEST(ColumnGridMoveTest, OutOfRangeOrEqualPositionsMoveNothingAndReportNothing)
{
    TExtColumnGrid g;
    fillGrid(g);
    int reports = 0;
    g.OnAfterColumnMoved = [&](QObject*, int, int) { ++reports; };
    TExtStringGrid& base = g;
    base.MoveColumn(2, 2);
    base.MoveColumn(-1, 2);
    base.MoveColumn(2, kCols);
    EXPECT_EQ(reports, 0);
    for (int r = 0; r < kCols; ++r)
        EXPECT_EQ(g.Columns()[r]->Name(), QString::number(r));
}

TEST(ColumnGridMoveTest, ResetOrganizationBringsEveryItemBackWithItsColumn)
{
    TExtColumnGrid g;
    fillGrid(g);
    g.Loaded();
    g.MoveColumn(1, 5);
    g.MoveColumn(6, 2);
    g.MoveColumn(3, 1);
    g.Columns().ResetOrganization();
    for (int r = 0; r < kCols; ++r) {
        EXPECT_EQ(g.GetCellEx(r, 1), QString::number(r));
        EXPECT_EQ(g.Columns()[r]->Name(), QString::number(r));
    }
}

}  // namespace
}  // namespace zfw
