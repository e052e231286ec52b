// The settings objects a string grid owns: what Assign carries over from another grid, and
// the grid's side of their notifications and of its button editors.

#include "grid/ExtGrid.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

struct AssignCase {
    const char* name;
    std::function<void(TExtStringGrid&)> set;
    std::function<bool(const TExtStringGrid&)> copied;
};

const AssignCase kAssignCases[] = {
    {"SortSettings", [](TExtStringGrid& g) { g.SortSettings.Column = 3; },
     [](const TExtStringGrid& g) { return g.SortSettings.Column == 3; }},
    {"Filter",
     [](TExtStringGrid& g) { g.Filter.GetColFilter(2)->Condition = QStringLiteral(">5"); },
     [](const TExtStringGrid& g) {
         return g.Filter.Count() == 1 && g.Filter.Items(0)->Condition == QStringLiteral(">5");
     }},
    {"FilterDropDown", [](TExtStringGrid& g) { g.FilterDropDown.Height = 77; },
     [](const TExtStringGrid& g) { return g.FilterDropDown.Height == 77; }},
    {"CellNode", [](TExtStringGrid& g) { g.CellNode.SetNodeIndent(20); },
     [](const TExtStringGrid& g) { return g.CellNode.NodeIndent() == 20; }},
    {"Grouping", [](TExtStringGrid& g) { g.Grouping.ShowGroupCount = true; },
     [](const TExtStringGrid& g) { return g.Grouping.ShowGroupCount; }},
    {"HTMLSettings", [](TExtStringGrid& g) { g.HTMLSettings.Width = 50; },
     [](const TExtStringGrid& g) { return g.HTMLSettings.Width == 50; }},
    {"PrintSettings", [](TExtStringGrid& g) { g.PrintSettings.BorderColor = clRed; },
     [](const TExtStringGrid& g) { return g.PrintSettings.BorderColor == clRed; }},
    {"InvalidEntry",
     [](TExtStringGrid& g) {
         g.InvalidEntryIcon = TInvalidEntryIcon::ieError;
         g.InvalidEntryTitle = QStringLiteral("T");
     },
     [](const TExtStringGrid& g) {
         return g.InvalidEntryIcon == TInvalidEntryIcon::ieError
                && g.InvalidEntryTitle == QStringLiteral("T");
     }},
    {"ScrollType", [](TExtStringGrid& g) { g.ScrollType = TScrollType::ssFlat; },
     [](const TExtStringGrid& g) { return g.ScrollType == TScrollType::ssFlat; }},
};

class ExtGridAssignSettings : public ::testing::TestWithParam<AssignCase> {};

TEST_P(ExtGridAssignSettings, CopiedFromTheSourceGrid)
{
    TExtStringGrid src, dst;
    GetParam().set(src);
    ASSERT_FALSE(GetParam().copied(dst));
    dst.Assign(&src);
    EXPECT_TRUE(GetParam().copied(dst));
}

INSTANTIATE_TEST_SUITE_P(Grid, ExtGridAssignSettings, ::testing::ValuesIn(kAssignCases),
                         test::CaseName());

TEST(ExtGridSettings, AssignLeavesTheControlLookAlone)
{
    // The grid's Assign lists the objects it copies; the control look is not among them.
    TExtStringGrid src, dst;
    src.ControlLook.SetCheckSize(20);
    dst.Assign(&src);
    EXPECT_EQ(dst.ControlLook.CheckSize(), 15);
}

TEST(ExtGridSettings, ControlLookGradientReachesTheGridColours)
{
    TExtStringGrid g;
    g.ControlLook.SetFixedGradientFrom(clRed);
    g.ControlLook.SetFixedGradientMirrorTo(clLime);
    EXPECT_EQ(g.VKTGradientFrom, clRed);
    EXPECT_EQ(g.VKTGradientMirrorTo, clLime);
}

TEST(ExtGridSettings, FloatingFooterStaysWithoutPanel)
{
    TExtStringGrid g;
    g.SetRowCount(5);
    g.SetCells(1, 4, QStringLiteral("last"));
    g.CalcFooter(1);
    g.UpdateFooter();
    EXPECT_EQ(g.Cells(1, 4), QStringLiteral("last"));
    EXPECT_EQ(g.SearchPanel.Height(), 0);
}

TEST(ExtGridSettings, UnitChosenInTheUnitEditReachesTheGrid)
{
    TExtStringGrid g;
    g.SetRowCount(5);
    g.SetCol(2);
    g.SetRow(3);
    QString got;
    int col = -1, row = -1;
    g.OnUnitChanged = [&](QObject*, int ACol, int ARow, const QString& NewUnit) {
        col = ACol;
        row = ARow;
        got = NewUnit;
    };
    g.unitEditBtn()->setUnits({QStringLiteral("m"), QStringLiteral("km")});
    g.unitEditBtn()->UnitCommand(2);
    EXPECT_EQ(got, QStringLiteral("km"));
    EXPECT_EQ(col, 2);
    EXPECT_EQ(row, 3);
}

}  // namespace
}  // namespace zfw
