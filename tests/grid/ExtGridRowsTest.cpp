// Row and column structure of the string grid on a 6 x 6 grid (one fixed row and column)
// whose cells read "cXrY" by real column and row: what moves where, what goes with the
// rows (hidden columns, properties, check boxes, heights, merged areas, hidden rows), and the
// store's consistency after every operation.

#include "grid/ExtGrid.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

QString name(int c, int r) { return QStringLiteral("c%1r%2").arg(c).arg(r); }

void fill(TExtStringGrid& g)
{
    g.SetColCount(6);
    g.SetRowCount(6);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 6; ++c)
            g.store().SetGridCell(c, r, name(c, r));
}

struct StructureCase {
    const char* name;
    std::function<void(TExtStringGrid&)> act;
    std::function<void(TExtStringGrid&)> check;
};

const StructureCase kCases[] = {
    {"InsertRowsShiftsCellsAndHeights",
     [](TExtStringGrid& g) {
         g.SetRowHeights(3, 30);
         g.InsertRows(2, 2);
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.RowCount(), 8);
         EXPECT_EQ(g.Cells(1, 1), name(1, 1));
         EXPECT_EQ(g.Cells(1, 2), QString());
         EXPECT_EQ(g.Cells(1, 3), QString());
         EXPECT_EQ(g.Cells(1, 4), name(1, 2));
         EXPECT_EQ(g.RowHeights(5), 30);
         EXPECT_EQ(g.RowHeights(2), g.DefaultRowHeight());
     }},
    {"InsertRowsAtTheEnd", [](TExtStringGrid& g) { g.InsertRows(6, 1); },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.RowCount(), 7);
         EXPECT_EQ(g.Cells(5, 5), name(5, 5));
         EXPECT_EQ(g.Cells(5, 6), QString());
     }},
    {"InsertRowsPastTheEndIgnored", [](TExtStringGrid& g) { g.InsertRows(7, 1); },
     [](TExtStringGrid& g) { EXPECT_EQ(g.RowCount(), 6); }},
    {"RemoveRowsClosesTheGap",
     [](TExtStringGrid& g) {
         g.SetRowHeights(5, 33);
         g.RemoveRows(2, 2);
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.RowCount(), 4);
         EXPECT_EQ(g.Cells(3, 2), name(3, 4));
         EXPECT_EQ(g.RowHeights(3), 33);
     }},
    // Used to drop unrelated last rows (index = RowCount) or drive the count below the
    // removed rows.
    {"RemoveRowsAtTheEndIgnored", [](TExtStringGrid& g) { g.RemoveRows(6, 1); },
     [](TExtStringGrid& g) { EXPECT_EQ(g.RowCount(), 6); }},
    {"RemoveRowsCountClipped", [](TExtStringGrid& g) { g.RemoveRows(4, 10); },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.RowCount(), 4);
         EXPECT_EQ(g.Cells(1, 3), name(1, 3));
     }},
    {"RemoveRowsNegativeIgnored", [](TExtStringGrid& g) { g.RemoveRows(-1, 2); },
     [](TExtStringGrid& g) { EXPECT_EQ(g.RowCount(), 6); }},
    {"HiddenColumnTravelsWithInsertedRows",
     [](TExtStringGrid& g) {
         g.HideColumn(2);
         g.InsertRows(1, 1);
         g.UnHideColumn(2);
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.Cells(2, 2), name(2, 1));
         EXPECT_EQ(g.Cells(2, 1), QString());
     }},
    {"HiddenColumnTravelsWithRemovedRows",
     [](TExtStringGrid& g) {
         g.HideColumn(2);
         g.RemoveRows(1, 1);
         g.UnHideColumn(2);
     },
     [](TExtStringGrid& g) { EXPECT_EQ(g.Cells(2, 1), name(2, 2)); }},
    {"CheckBoxMovesWithItsRow",
     [](TExtStringGrid& g) {
         ASSERT_EQ(g.AddCheckBox(1, 3, true, false), QString());
         g.InsertRows(1, 1);
     },
     [](TExtStringGrid& g) {
         EXPECT_TRUE(g.HasCheckBox(1, 4));
         EXPECT_FALSE(g.HasCheckBox(1, 3));
     }},
    {"CheckBoxOfARemovedRowGoes",
     [](TExtStringGrid& g) {
         ASSERT_EQ(g.AddCheckBox(1, 3, true, false), QString());
         g.RemoveRows(3, 1);
     },
     [](TExtStringGrid& g) {
         for (int r = 0; r < g.RowCount(); ++r)
             EXPECT_FALSE(g.HasCheckBox(1, r)) << r;
     }},
    {"ReadOnlyPropertyMovesWithItsRow",
     [](TExtStringGrid& g) {
         g.SetReadOnly(2, 4, true);
         g.RemoveRows(1, 2);
     },
     [](TExtStringGrid& g) {
         EXPECT_TRUE(g.GetReadOnly(2, 2));
         EXPECT_FALSE(g.GetReadOnly(2, 4));
     }},
    {"MergeBelowInsertionMovesWhole",
     [](TExtStringGrid& g) {
         g.MergeCells(1, 3, 2, 2);
         g.InsertRows(2, 1);
     },
     [](TExtStringGrid& g) {
         EXPECT_TRUE(g.store().IsBaseCell(1, 4));
         EXPECT_EQ(g.store().CellSpan(1, 4), QPoint(1, 1));
         EXPECT_TRUE(g.store().IsMergedNonBaseCell(2, 5));
     }},
    {"MergeAcrossInsertionSplit",
     [](TExtStringGrid& g) {
         g.MergeCells(1, 1, 2, 2);
         g.InsertRows(2, 1);
     },
     [](TExtStringGrid& g) {
         for (int r = 1; r <= 3; ++r)
             for (int c = 1; c <= 2; ++c)
                 EXPECT_FALSE(g.store().IsMergedCell(c, r)) << c << "," << r;
     }},
    {"MergeCutByRemovalSplit",
     [](TExtStringGrid& g) {
         g.MergeCells(1, 2, 2, 3);
         g.RemoveRows(3, 1);
     },
     [](TExtStringGrid& g) {
         for (int r = 1; r < g.RowCount(); ++r)
             EXPECT_FALSE(g.store().IsMergedCell(1, r)) << r;
     }},
    {"MergeBelowRemovalMovesWhole",
     [](TExtStringGrid& g) {
         g.MergeCells(1, 3, 2, 2);
         g.RemoveRows(1, 1);
     },
     [](TExtStringGrid& g) {
         EXPECT_TRUE(g.store().IsBaseCell(1, 2));
         EXPECT_EQ(g.store().FullCell(2, 3), (TCellRange{1, 2, 2, 3}));
     }},
    {"HiddenRowReturnsToItsPlaceAfterInsertion",
     [](TExtStringGrid& g) {
         g.store().HideRow(4);
         g.InsertRows(2, 1);
         g.store().UnHideRowsAll();
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.RowCount(), 7);
         EXPECT_EQ(g.Cells(1, 4), name(1, 3));
         EXPECT_EQ(g.Cells(1, 5), name(1, 4));
         EXPECT_EQ(g.Cells(1, 6), name(1, 5));
     }},
    {"HiddenRowReturnsToItsPlaceAfterRemoval",
     [](TExtStringGrid& g) {
         g.store().HideRow(4);
         g.RemoveRows(1, 2);
         g.store().UnHideRowsAll();
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.RowCount(), 4);
         EXPECT_EQ(g.Cells(1, 1), name(1, 3));
         EXPECT_EQ(g.Cells(1, 2), name(1, 4));
         EXPECT_EQ(g.Cells(1, 3), name(1, 5));
     }},
    {"HiddenRowBetweenRemovedRowsStays",
     [](TExtStringGrid& g) {
         g.store().HideRow(2);
         g.RemoveRows(1, 2);  // real rows 1 and 3
         g.store().UnHideRowsAll();
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.RowCount(), 4);
         EXPECT_EQ(g.Cells(1, 1), name(1, 2));
         EXPECT_EQ(g.Cells(1, 2), name(1, 4));
     }},
    {"AddRowAppendsAnEmptyRow",
     [](TExtStringGrid& g) {
         g.store().SetRowCount(5);  // row 5 stays stored beyond the count
         g.AddRow();
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.RowCount(), 6);
         EXPECT_EQ(g.Cells(1, 5), QString());
     }},
    {"InsertColsShiftsCellsAndWidths",
     [](TExtStringGrid& g) {
         g.SetColWidths(3, 91);
         g.InsertCols(2, 1);
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.ColCount(), 7);
         EXPECT_EQ(g.Cells(2, 1), QString());
         EXPECT_EQ(g.Cells(3, 1), name(2, 1));
         EXPECT_EQ(g.ColWidths(4), 91);
         EXPECT_EQ(g.ColWidths(2), g.DefaultColWidth());
     }},
    {"AddColumnAppends", [](TExtStringGrid& g) { g.AddColumn(); },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.ColCount(), 7);
         EXPECT_EQ(g.Cells(6, 1), QString());
         EXPECT_EQ(g.Cells(5, 1), name(5, 1));
     }},
    {"InsertColsKeepsHiddenColumnHidden",
     [](TExtStringGrid& g) {
         g.HideColumn(3);
         g.InsertCols(1, 1);  // before the hidden column
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.ColCount(), 6);
         EXPECT_TRUE(g.store().IsHiddenColumn(4));
         EXPECT_EQ(g.store().GetGridCell(4, 2), name(3, 2));
         g.UnHideColumn(4);
         EXPECT_EQ(g.Cells(4, 2), name(3, 2));
     }},
    {"RemoveColsClosesTheGap", [](TExtStringGrid& g) { g.RemoveCols(2, 2); },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.ColCount(), 4);
         EXPECT_EQ(g.Cells(2, 1), name(4, 1));
     }},
    {"RemoveColsClipped", [](TExtStringGrid& g) { g.RemoveCols(4, 9); },
     [](TExtStringGrid& g) { EXPECT_EQ(g.ColCount(), 4); }},
    {"RemoveColsKeepsHiddenColumn",
     [](TExtStringGrid& g) {
         g.HideColumn(2);
         g.RemoveCols(1, 1);  // display 1 = real 1
         g.store().UnHideColumnsAll();
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.ColCount(), 5);
         EXPECT_EQ(g.Cells(1, 1), name(2, 1));
         EXPECT_EQ(g.Cells(2, 1), name(3, 1));
     }},
    {"RemoveColsSplitsACutMerge",
     [](TExtStringGrid& g) {
         g.MergeCells(1, 1, 3, 1);
         g.RemoveCols(2, 1);
     },
     [](TExtStringGrid& g) {
         EXPECT_FALSE(g.store().IsMergedCell(1, 1));
         EXPECT_FALSE(g.store().IsMergedCell(2, 1));
     }},
    {"MoveRowsDownPastTheBlock",
     [](TExtStringGrid& g) {
         g.SetRowCount(10);
         g.MoveRows(2, 9, 3);
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.Cells(1, 6), name(1, 2));
         EXPECT_EQ(g.Cells(1, 8), name(1, 4));
         EXPECT_EQ(g.Cells(1, 2), name(1, 5));
     }},
    {"MoveRowsIntoTheBlock",
     [](TExtStringGrid& g) {
         g.SetRowCount(10);
         g.MoveRows(2, 4, 3);
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.Cells(1, 4), name(1, 2));
         EXPECT_EQ(g.Cells(1, 6), name(1, 4));
         EXPECT_EQ(g.Cells(1, 2), name(1, 5));
     }},
    {"MoveRowsUpCarriesPropertiesAndHeights",
     [](TExtStringGrid& g) {
         g.SetRowHeights(4, 40);
         g.AddCheckBox(2, 4, true, false);
         g.MoveRows(4, 1, 2);
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.Cells(1, 1), name(1, 4));
         EXPECT_EQ(g.Cells(1, 3), name(1, 1));
         EXPECT_EQ(g.RowHeights(1), 40);
         EXPECT_TRUE(g.HasCheckBox(2, 1));
         EXPECT_FALSE(g.HasCheckBox(2, 4));
     }},
    {"MoveRowsOutsideIgnored", [](TExtStringGrid& g) { g.MoveRows(4, 1, 5); },
     [](TExtStringGrid& g) { EXPECT_EQ(g.Cells(1, 1), name(1, 1)); }},
    {"MoveRowKeepsHiddenRowInPlace",
     [](TExtStringGrid& g) {
         g.store().HideRow(2);
         g.MoveRow(1, 3);  // display 1..3 = real 1, 3, 4
         g.store().UnHideRowsAll();
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.Cells(1, 1), name(1, 3));
         EXPECT_EQ(g.Cells(1, 2), name(1, 2));
         EXPECT_EQ(g.Cells(1, 4), name(1, 1));
     }},
    {"MoveColumnRightWithWidth",
     [](TExtStringGrid& g) {
         g.SetColWidths(1, 77);
         g.MoveColumn(1, 4);
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.Cells(4, 2), name(1, 2));
         EXPECT_EQ(g.Cells(1, 2), name(2, 2));
         EXPECT_EQ(g.ColWidths(4), 77);
     }},
    {"MoveColumnAcrossAHiddenColumn",
     [](TExtStringGrid& g) {
         g.HideColumn(2);
         g.MoveColumn(4, 1);  // display 4 = real 5
         g.store().UnHideColumnsAll();
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.Cells(1, 1), name(5, 1));
         EXPECT_EQ(g.Cells(2, 1), name(1, 1));
         EXPECT_EQ(g.Cells(3, 1), name(2, 1));
         EXPECT_EQ(g.Cells(5, 1), name(4, 1));
     }},
};

class ExtGridStructure : public ::testing::TestWithParam<StructureCase> {};

TEST_P(ExtGridStructure, MovesCellsConsistently)
{
    TExtStringGrid g;
    fill(g);
    GetParam().act(g);
    QString why;
    ASSERT_TRUE(g.store().checkConsistency(&why)) << why.toStdString();
    GetParam().check(g);
    QString why2;
    EXPECT_TRUE(g.store().checkConsistency(&why2)) << why2.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Grid, ExtGridStructure, ::testing::ValuesIn(kCases), test::CaseName());

TEST(ExtGridRows, RemovingTheCurrentLastRowsMovesTheCurrentRow)
{
    TExtStringGrid g;
    fill(g);
    g.SetRow(5);
    g.RemoveRows(4, 2);
    EXPECT_EQ(g.Row(), 3);
    EXPECT_FALSE(g.selHidden());
}

TEST(ExtGridRows, RemovingEveryNormalRowKeepsTheCurrentCellInTheGrid)
{
    // The one row left cannot stay fixed (a grid keeps a row that is not fixed), so it takes
    // the current cell.
    TExtStringGrid g;
    fill(g);
    g.SetRow(3);
    g.RemoveRows(1, 5);
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(g.Row(), 0);
    EXPECT_FALSE(g.selHidden());
}

TEST(ExtGridRows, HideAndUnHideSelectionRoundTrip)
{
    TExtStringGrid g;
    fill(g);
    g.SetSelection({1, 2, 3, 4});
    g.HideSelection();
    EXPECT_TRUE(g.selHidden());
    EXPECT_EQ(g.Selection(), (TGridRect{6, 6, 6, 6}));
    g.UnHideSelection();
    EXPECT_FALSE(g.selHidden());
    EXPECT_EQ(g.Selection(), (TGridRect{1, 2, 3, 4}));
}

TEST(ExtGridRows, UnHideSelectionOutsideTheGridTakesTheFirstNormalCell)
{
    TExtStringGrid g;
    fill(g);
    g.SetSelection({4, 5, 4, 5});
    g.HideSelection();
    g.SetRowCount(4);
    g.UnHideSelection();
    EXPECT_EQ(g.Selection(), (TGridRect{1, 1, 1, 1}));
}

struct RowCountUnhideCase {
    const char* name;
    bool fixedRowAlways;
    int rowsBefore;
    bool hiddenAfter;
};

class RowCountUnhide : public ::testing::TestWithParam<RowCountUnhideCase> {};

TEST_P(RowCountUnhide, OnlyAGridOfFixedRowsShowsItsSelectionAgain)
{
    const RowCountUnhideCase& c = GetParam();
    TExtStringGrid g;
    g.store().SetFixedRowAlways(c.fixedRowAlways);
    g.SetColCount(4);
    g.SetRowCount(c.rowsBefore);
    g.HideSelection();
    ASSERT_EQ(g.RowCount() == g.store().FixedRows(), c.fixedRowAlways && c.rowsBefore == 1);
    g.SetRowCount(5);
    EXPECT_EQ(g.selHidden(), c.hiddenAfter);
    if (!c.hiddenAfter) {
        const TGridRect s = g.Selection();
        EXPECT_LT(s.Bottom, g.RowCount());
        EXPECT_LT(s.Right, g.ColCount());
    }
}

const RowCountUnhideCase kRowCountUnhides[] = {
    {"FixedRowsOnlyShowsItAgain", true, 1, false},
    {"NormalRowsKeepItHidden", true, 3, true},
    {"WithoutFixedRowAlwaysKeepsItHidden", false, 1, true},
};
INSTANTIATE_TEST_SUITE_P(Cases, RowCountUnhide, ::testing::ValuesIn(kRowCountUnhides),
                         test::CaseName());

TEST(ExtGridRows, FixedRightColsWriterStoresAndRepaints)
{
    TExtStringGrid g;
    fill(g);
    EXPECT_EQ(g.FixedRightCols, 0);
    g.SetFixedRightCols(2);
    EXPECT_EQ(g.FixedRightCols, 2);
    g.SetFixedRightCols(0);
    EXPECT_EQ(g.FixedRightCols, 0);
}

TEST(ExtGridRows, ScrollInViewCentresARowOutOfView)
{
    TExtStringGrid g;
    g.SetRowCount(100);
    g.ScrollInView(1, 50);
    EXPECT_EQ(g.Row(), 50);
    EXPECT_LE(g.TopRow(), 50);
    EXPECT_GE(g.TopRow() + g.VisibleRowCount(), 50);
}

TEST(ExtGridRows, ScrollInViewEndsOnAGridLowerThanItsSearchFooter)
{
    // No row fits the usable height: the correction must stop by itself.
    TExtStringGrid g;
    g.SetRowCount(100);
    g.resize(200, 10);
    g.SearchFooter.SetVisible(true);
    g.ScrollInView(1, 60);
    EXPECT_LE(g.TopRow(), 60);
}

TEST(ExtGridRows, ScrollInViewPastTheEndIgnored)
{
    TExtStringGrid g;
    g.SetRowCount(100);
    g.ScrollInView(1, 100);
    g.ScrollInView(-1, 3);
    EXPECT_EQ(g.TopRow(), 1);
}

struct ClearCase {
    const char* name;
    std::function<void(TExtStringGrid&)> act;
    std::function<void(TExtStringGrid&)> check;
};

const ClearCase kClearCases[] = {
    {"ClearRectTextsAndProperties",
     [](TExtStringGrid& g) {
         g.SetReadOnly(2, 2, true);
         g.ClearRect(1, 1, 2, 2);
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.Cells(1, 1), QString());
         EXPECT_EQ(g.Cells(2, 2), QString());
         EXPECT_EQ(g.Cells(3, 2), name(3, 2));
         EXPECT_FALSE(g.store().HasCellProperties(2, 2));
     }},
    {"ClearTextOnlyKeepsProperties",
     [](TExtStringGrid& g) {
         g.SetReadOnly(2, 2, true);
         g.ClearTextOnly = true;
         g.ClearRect(2, 2, 2, 2);
     },
     [](TExtStringGrid& g) {
         EXPECT_EQ(g.Cells(2, 2), QString());
         EXPECT_TRUE(g.GetReadOnly(2, 2));
     }},
    {"ClearRectSplitsNothingOutside",
     [](TExtStringGrid& g) {
         g.MergeCells(3, 3, 2, 2);
         g.ClearRect(1, 1, 2, 2);
     },
     [](TExtStringGrid& g) { EXPECT_EQ(g.store().CellSpan(3, 3), QPoint(1, 1)); }},
    {"ClearRowsOverHiddenColumns",
     [](TExtStringGrid& g) {
         g.HideColumn(2);
         g.ClearRows(3, 1);
         g.UnHideColumn(2);
     },
     [](TExtStringGrid& g) {
         for (int c = 0; c < 6; ++c)
             EXPECT_EQ(g.Cells(c, 3), QString()) << c;
         EXPECT_EQ(g.Cells(2, 4), name(2, 4));
     }},
    {"ClearColsEveryRow", [](TExtStringGrid& g) { g.ClearCols(4, 2); },
     [](TExtStringGrid& g) {
         for (int r = 0; r < 6; ++r) {
             EXPECT_EQ(g.Cells(4, r), QString());
             EXPECT_EQ(g.Cells(5, r), QString());
         }
         EXPECT_EQ(g.Cells(3, 0), name(3, 0));
     }},
    {"ClearEmptiesHiddenColumns",
     [](TExtStringGrid& g) {
         g.HideColumn(5);
         g.AddCheckBox(1, 1, true, false);
         g.Clear();
         g.UnHideColumn(5);
     },
     [](TExtStringGrid& g) {
         for (int r = 0; r < 6; ++r)
             for (int c = 0; c < 6; ++c)
                 EXPECT_EQ(g.Cells(c, r), QString()) << c << "," << r;
         EXPECT_FALSE(g.HasCheckBox(1, 1));
         EXPECT_FALSE(g.store().FHasCellProps());
     }},
    {"ClearRowsNothingForZeroCount", [](TExtStringGrid& g) { g.ClearRows(1, 0); },
     [](TExtStringGrid& g) { EXPECT_EQ(g.Cells(1, 1), name(1, 1)); }},
};

class ExtGridClear : public ::testing::TestWithParam<ClearCase> {};

TEST_P(ExtGridClear, ClearsConsistently)
{
    TExtStringGrid g;
    fill(g);
    GetParam().act(g);
    QString why;
    ASSERT_TRUE(g.store().checkConsistency(&why)) << why.toStdString();
    GetParam().check(g);
}

INSTANTIATE_TEST_SUITE_P(Grid, ExtGridClear, ::testing::ValuesIn(kClearCases), test::CaseName());

TEST(ExtGridRows, ClearRectNotifiesUnlessBlocked)
{
    TExtStringGrid g;
    fill(g);
    int changes = 0;
    g.OnCellsChanged = [&](QObject*, const TCellRange&) { ++changes; };
    g.ClearRect(1, 1, 1, 1);
    EXPECT_EQ(changes, 1);
    g.BlockCellChange = true;
    g.ClearRect(1, 1, 1, 1);
    EXPECT_EQ(changes, 1);
}

TEST(ExtGridRows, IsWideCellReadsThePackedMarker)
{
    TExtStringGrid g;
    g.store().SetGridCell(1, 1, QStringLiteral("|\\00410042"));
    g.store().SetGridCell(2, 1, QStringLiteral("|x"));
    EXPECT_TRUE(g.IsWideCell(1, 1));
    EXPECT_FALSE(g.IsWideCell(2, 1));
}

struct LineCase {
    const char* name;
    bool multiline;
    int hideCol;  // -1: none
    int expected;
};

const LineCase kLineCases[] = {
    {"Off", false, -1, 1},
    {"On", true, -1, 3},
    // The three-line text stands in the last visible column; hiding an earlier column used
    // to leave that column out of the walk.
    {"OnWithHiddenColumn", true, 2, 3},
    {"HiddenColumnItselfNotCounted", true, 5, 2},
};

class ExtGridMaxRowLineCount : public ::testing::TestWithParam<LineCase> {};

TEST_P(ExtGridMaxRowLineCount, CountsVisibleColumns)
{
    TExtStringGrid g;
    g.SetColCount(6);
    g.store().SetGridCell(1, 1, QStringLiteral("a\rb"));
    g.store().SetGridCell(5, 1, QStringLiteral("a\rb\rc"));
    g.Multilinecells = GetParam().multiline;
    if (GetParam().hideCol >= 0)
        g.HideColumn(GetParam().hideCol);
    EXPECT_EQ(g.MaxRowLineCount(1), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Grid, ExtGridMaxRowLineCount, ::testing::ValuesIn(kLineCases),
                         test::CaseName());

TEST(ExtGridRows, TextInsets)
{
    TExtStringGrid g;
    g.XYOffset = QPoint(3, 5);
    EXPECT_EQ(g.TotalXOffset(), 6);
    EXPECT_EQ(g.TotalYOffset(), 10);
    g.XYOffsetTopLeftOnly = true;
    EXPECT_EQ(g.TotalXOffset(), 3);
    EXPECT_EQ(g.TotalYOffset(), 5);
}

}  // namespace
}  // namespace zfw

namespace zfw {
namespace {

struct ControlCase {
    const char* name;
    std::function<void(TExtStringGrid&)> act;
    int row;  // where the control's cell is afterwards; -1: gone
};

const ControlCase kControlCases[] = {
    {"InsertAbove", [](TExtStringGrid& g) { g.InsertRows(1, 2); }, 5},
    {"RemoveAbove", [](TExtStringGrid& g) { g.RemoveRows(1, 2); }, 1},
    {"RemoveItsRow", [](TExtStringGrid& g) { g.RemoveRows(3, 1); }, -1},
    {"MoveItsRow", [](TExtStringGrid& g) { g.MoveRow(3, 1); }, 1},
    {"ClearItsRow", [](TExtStringGrid& g) { g.ClearRows(3, 1); }, -1},
};

class ExtGridRowControls : public ::testing::TestWithParam<ControlCase> {};

TEST_P(ExtGridRowControls, ControlFollowsItsCell)
{
    TExtStringGrid g;
    fill(g);
    g.resize(600, 400);
    auto* w = new QWidget;
    g.SetCellControls(2, 3, w);
    GetParam().act(g);
    if (GetParam().row < 0) {
        EXPECT_EQ(g.numCellControls(), 0);
        EXPECT_FALSE(w->isVisibleTo(&g));
        for (int r = 0; r < g.RowCount(); ++r)
            EXPECT_EQ(g.GetCellControls(2, r), nullptr) << r;
    } else {
        EXPECT_EQ(g.numCellControls(), 1);
        EXPECT_EQ(g.GetCellControls(2, GetParam().row), w);
        ASSERT_EQ(g.controlList().size(), 1u);
        EXPECT_EQ(g.controlList().front().Row, GetParam().row);
    }
    QString why;
    EXPECT_TRUE(g.store().checkConsistency(&why)) << why.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Grid, ExtGridRowControls, ::testing::ValuesIn(kControlCases),
                         test::CaseName());

}  // namespace
}  // namespace zfw
