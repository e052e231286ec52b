// Hidden rows and the cell objects that travel with them: merged areas kept or split by hiding
// and showing, rows shown inside an area, column changes under a hidden area, graphics added
// past the shown rows, and a random walk over all of these. The store's consistency check runs
// after every step.

#include "grid/CellStore.h"
#include "grid/ExtGrid.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

::testing::AssertionResult consistent(const CellStore& s)
{
    QString why;
    if (s.checkConsistency(&why))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << why.toStdString();
}

// A 6 x 6 string grid (one fixed row and column) as a user of the grid sees it.
class HiddenRowGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.SetColCount(6);
        grid.SetRowCount(6);
        ASSERT_TRUE(consistent(grid.store()));
    }
    // Runs one step and checks the store right after it.
    void step(const char* what, const std::function<void()>& op)
    {
        op();
        ASSERT_TRUE(consistent(grid.store())) << "after " << what;
    }

    TExtStringGrid grid;
};

TEST_F(HiddenRowGrid, AreasOfAHiddenRowComeBackWithIt)
{
    step("text", [&] { grid.SetCellEx(1, 2, "area"); });
    step("merge 3 x 1", [&] { ASSERT_TRUE(grid.MergeCells(1, 2, 3, 1)); });
    step("merge 1 x 1", [&] { ASSERT_TRUE(grid.MergeCells(5, 2, 1, 1)); });
    step("hide", [&] { grid.store().HideRow(2); });
    // Hidden, the areas still exist: they live in the hidden row.
    EXPECT_EQ(grid.store().FMergeCount(), 2);
    step("show", [&] { grid.store().UnHideRow(2); });

    EXPECT_TRUE(grid.store().IsMergedCell(2, 2));
    EXPECT_EQ(grid.GetCellEx(3, 2), "area");
    EXPECT_EQ(grid.store().CellSpan(3, 2), QPoint(2, 0));
    EXPECT_EQ(grid.store().BaseCell(5, 2), QPoint(5, 2));
    EXPECT_EQ(grid.store().GetGridObject(5, 2)->CellSpanX, 0) << "the 1 x 1 area is kept too";
    EXPECT_EQ(grid.store().FMergeCount(), 2);
}

TEST_F(HiddenRowGrid, RowShownInsideAnAreaSplitsIt)
{
    step("text", [&] { grid.SetCellEx(1, 2, "row2"); });
    step("hide", [&] { grid.store().HideRow(2); });
    // Display rows 1..3 are the real rows 1, 3 and 4.
    step("merge", [&] { ASSERT_TRUE(grid.MergeCells(1, 1, 1, 3)); });
    step("show", [&] { grid.store().UnHideRow(2); });

    EXPECT_EQ(grid.store().FMergeCount(), 0);
    EXPECT_FALSE(grid.store().IsMergedCell(1, 1));
    EXPECT_FALSE(grid.store().IsMergedCell(1, 3));
    step("write below", [&] { ASSERT_TRUE(grid.SetCellEx(1, 3, "row3")); });
    EXPECT_EQ(grid.GetCellEx(1, 2), "row2");
    EXPECT_EQ(grid.GetCellEx(1, 3), "row3");
}

// The rows from RowCount to RowCount + NumHiddenRows - 1 are no display rows: a box there had
// no properties to live in and was written after being freed.
TEST_F(HiddenRowGrid, CheckBoxPastTheShownRowsIsRefused)
{
    step("hide", [&] { grid.store().HideRow(1); });
    ASSERT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.AddCheckBox(1, 5, true, true), QString::fromLatin1(kInvalidCellMessage));
    EXPECT_EQ(zfw::AddCheckBox(grid, 1, 5, cbGrayed, 0), QString::fromLatin1(kInvalidCellMessage));
    EXPECT_FALSE(grid.store().FHasCellProps()) << "nothing was created";
    EXPECT_EQ(grid.GetCellEx(1, 5), "") << "a refused data box writes no text";
    ASSERT_TRUE(consistent(grid.store()));

    // The last shown row still takes one.
    EXPECT_EQ(grid.AddCheckBox(1, 4, true, false), QString());
    EXPECT_TRUE(grid.HasCheckBox(1, 4));
    step("show", [&] { grid.store().UnHideRow(1); });
    EXPECT_TRUE(grid.HasCheckBox(1, 5)) << "the box moved down with its row";
}

// A 6 x 8 store, one fixed row and column, every cell labelled.
struct StoreCase {
    const char* name;
    std::vector<std::function<void(CellStore&)>> steps;
    QPoint cell;     // where the area is looked for at the end
    QPoint span;     // its CellSpan then; (0, 0) when it was split
    int mergeCount;  // FMergeCount at the end
};

class AreasThroughHiding : public ::testing::TestWithParam<StoreCase> {};

TEST_P(AreasThroughHiding, KeptWhenWholeSplitWhenCut)
{
    const StoreCase& sc = GetParam();
    CellStore s{6, 8};
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r)
            s.SetGridCell(c, r, QStringLiteral("c%1r%2").arg(c).arg(r));
    for (std::size_t i = 0; i < sc.steps.size(); ++i) {
        sc.steps[i](s);
        ASSERT_TRUE(consistent(s)) << "after step " << i;
    }
    EXPECT_EQ(s.CellSpan(sc.cell.x(), sc.cell.y()), sc.span);
    EXPECT_EQ(s.FMergeCount(), sc.mergeCount);
}

using Op = std::function<void(CellStore&)>;
Op merge(int c, int r, int sx, int sy)
{
    return [=](CellStore& s) { ASSERT_TRUE(s.MergeCells(c, r, sx, sy)); };
}
Op hide(int from, int to)
{
    return [=](CellStore& s) { s.HideRows(from, to); };
}
Op show(int from, int to)
{
    return [=](CellStore& s) { s.UnHideRows(from, to); };
}

const StoreCase kAreaCases[] = {
    {"TwoRowAreaHiddenAndShownWhole",
     {merge(1, 2, 2, 2), hide(2, 3), show(2, 3)},
     {2, 3},
     {1, 1},
     1},
    {"AreaCutByTheHide", {merge(1, 2, 2, 2), hide(3, 3), show(3, 3)}, {2, 3}, {0, 0}, 0},
    {"OnlyPartShownSplits",
     {merge(1, 2, 2, 2), hide(2, 3), show(2, 2), show(3, 3)},
     {1, 2},
     {0, 0},
     0},
    {"LowerPartShownFirstSplits",
     {merge(1, 2, 2, 2), hide(2, 3), show(3, 3), show(2, 2)},
     {1, 3},
     {0, 0},
     0},
    // Real row 3 was hidden before the area was made over the display rows 2 and 3 (real 2
    // and 4); showing the three together puts row 3 inside the area.
    {"EarlierHiddenRowComesBackInside",
     {hide(3, 3), merge(1, 2, 1, 2), hide(2, 4), show(2, 4)},
     {1, 2},
     {0, 0},
     0},
    {"EarlierHiddenRowStaysHidden",
     {hide(3, 3), merge(1, 2, 1, 2), hide(2, 4), show(2, 2), show(4, 4), show(3, 3)},
     {1, 2},
     {0, 0},
     0},
    {"AreaBelowAnUnhiddenRowMovesWhole",
     {hide(1, 1), merge(1, 2, 2, 2), show(1, 1)},
     {2, 4},
     {1, 1},
     1},
    {"ShowAllOverAKeptArea",
     {merge(2, 3, 3, 3), hide(3, 5), hide(1, 1), [](CellStore& s) { s.UnHideRowsAll(); }},
     {4, 5},
     {2, 2},
     1},
    {"FilterLevelKeepsAnAreaOfListedRows",
     {merge(1, 2, 1, 2),
      [](CellStore& s) {
          s.HideRowList({2, 3, 5});
      },
      [](CellStore& s) { s.UnHideRowList(); }},
     {1, 3},
     {0, 1},
     1},
    {"FilterLevelSplitsAnAreaItCuts",
     {merge(1, 2, 1, 2),
      [](CellStore& s) {
          s.HideRowList({3, 5});
      },
      [](CellStore& s) { s.UnHideRowList(); }},
     {1, 3},
     {0, 0},
     0},
    // The filter hid the display rows 2 and 3 (real 2 and 4) while real row 3 was hidden on
    // its own: the area comes back whole around the row that stays hidden.
    {"FilterBringsAnAreaBackAroundAHiddenRow",
     {hide(3, 3), merge(1, 2, 1, 2),
      [](CellStore& s) {
          s.HideRowList({2, 3});
      },
      [](CellStore& s) { s.UnHideRowList(); }},
     {1, 3},
     {0, 1},
     1},
    {"ColumnInsertedIntoAHiddenAreaSplitsIt",
     {merge(1, 2, 3, 1), hide(2, 2), [](CellStore& s) { s.InsertColsAt(2, 1); }, show(2, 2)},
     {1, 2},
     {0, 0},
     0},
    {"ColumnInsertedBeforeAHiddenAreaMovesIt",
     {merge(1, 2, 3, 1), hide(2, 2), [](CellStore& s) { s.InsertColsAt(1, 1); }, show(2, 2)},
     {4, 2},
     {2, 0},
     1},
    {"ColumnDeletedUnderAHiddenAreaSplitsIt",
     {merge(1, 2, 3, 2), hide(2, 3), [](CellStore& s) { s.DeleteColsAt(3, 1); }, show(2, 3)},
     {1, 3},
     {0, 0},
     0},
    {"ColumnMovedThroughAHiddenAreaSplitsIt",
     {merge(1, 2, 2, 1), hide(2, 2), [](CellStore& s) { s.MoveColAt(5, 2); }, show(2, 2)},
     {1, 2},
     {0, 0},
     0},
    {"RowsDeletedAboveAHiddenAreaKeepIt",
     {merge(1, 3, 2, 2), hide(3, 4), [](CellStore& s) { s.DeleteRowsAt(1, 1); }, show(2, 3)},
     {2, 3},
     {1, 1},
     1},
};
INSTANTIATE_TEST_SUITE_P(Store, AreasThroughHiding, ::testing::ValuesIn(kAreaCases), CaseName());

// Random hide, show, filter, merge, split, write and row and column changes on a small store
// with a hidden column; the invariants must hold after every operation and once every row is
// shown again.
TEST(HiddenRowsRandomWalk, StoreStaysConsistent)
{
    std::mt19937 rng(20261211);
    auto pick = [&rng](int lo, int hi) {  // lo..hi inclusive; lo for an empty range
        return hi < lo ? lo : lo + int(rng() % unsigned(hi - lo + 1));
    };
    for (int round = 0; round < 40; ++round) {
        CellStore s{6, 8};
        for (int r = 0; r < 8; ++r)
            s.SetGridCell(0, r, QStringLiteral("row%1").arg(r));
        s.HideColumn(4);
        std::string trail;
        for (int n = 0; n < 60; ++n) {
            const int rows = s.RowCount();
            const int all = s.TotalRowCount();
            const int op = pick(0, 11);
            switch (op) {
            case 0:
            case 1: {
                const int a = pick(0, all - 1);
                s.HideRows(a, a + pick(0, 2));
                break;
            }
            case 2:
            case 3: {
                const int a = pick(0, all - 1);
                s.UnHideRows(a, a + pick(0, 3));
                break;
            }
            case 4: {
                std::vector<int> list;
                for (int k = 0; k < 3; ++k)
                    list.push_back(pick(0, rows));
                s.HideRowList(list);
                break;
            }
            case 5: s.UnHideRowList(); break;
            case 6:
            case 7: s.MergeCells(pick(1, 5), pick(0, rows), pick(1, 3), pick(1, 3)); break;
            case 8: s.SplitCells(pick(0, 5), pick(0, rows)); break;
            case 9: s.SetCellEx(pick(1, 5), pick(0, rows), QStringLiteral("x")); break;
            case 10:
                if (pick(0, 1))
                    s.InsertColsAt(pick(1, s.ColCount()), 1);
                else if (s.ColCount() > 3)
                    s.DeleteColsAt(pick(1, s.ColCount() - 1), 1);
                break;
            case 11:
                if (pick(0, 1))
                    s.MoveColAt(pick(1, s.ColCount() - 1), pick(1, s.ColCount() - 1));
                else
                    s.MoveRowsAt(pick(0, rows - 1), pick(0, rows - 1), 1);
                break;
            }
            trail += std::to_string(op) + ' ';
            ASSERT_TRUE(consistent(s)) << "round " << round << ", ops " << trail;
        }
        while (s.FilterLevel() > 0)
            s.UnHideRowList();
        s.UnHideRowsAll();
        ASSERT_TRUE(consistent(s)) << "round " << round << " after showing all";
        ASSERT_EQ(s.NumHiddenRows(), 0);
    }
}

}  // namespace
}  // namespace zfw
