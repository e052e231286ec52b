// The string grid's display text (links, group counts), sort-glyph cells and node indents.

#include "grid/ExtGrid.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <functional>

namespace zfw {
namespace {

struct UrlCase {
    const char* name;
    const char* text;
    const char* shown;
};

const UrlCase kUrls[] = {
    {"WwwAnyCase", "go to wWw.site.org now", "go to <a href=\"wWw.site.org\">wWw.site.org</a> now"},
    {"NoPrefixUnchanged", "plain <b> text", "plain <b> text"},
    // "HTTP://" is tried before "WWW.": the link starts at the scheme.
    {"SchemeBeforeWww", "http://www.a.b", "<a href=\"http://www.a.b\">http://www.a.b</a>"},
    // Only the first prefix found becomes a link.
    {"OnlyOneLink", "ftp://f and www.w", "ftp://f and <a href=\"www.w\">www.w</a>"},
};

class ExtGridUrls : public ::testing::TestWithParam<UrlCase> {};

TEST_P(ExtGridUrls, AddressesShownAsLinks)
{
    TExtStringGrid g;
    g.SetCellEx(2, 2, QString::fromUtf8(GetParam().text));
    EXPECT_EQ(g.GetCellEx(2, 2), QString::fromUtf8(GetParam().text));  // off by default
    g.URLShowInText = true;
    EXPECT_EQ(g.GetCellEx(2, 2), QString::fromUtf8(GetParam().shown));
    EXPECT_EQ(g.store().GetGridCell(2, 2), QString::fromUtf8(GetParam().text));  // stored as is
}

INSTANTIATE_TEST_SUITE_P(Texts, ExtGridUrls, ::testing::ValuesIn(kUrls), test::CaseName());

// A node at row 2 spanning 5 rows with 1 sub-node: 3 rows of the group are no nodes.
void addNode(TExtStringGrid& g, int row, int span, int subNodes, int level)
{
    TCellGraphic* node = CreateCellGraphic(g, 0, row);
    node->CellType = ctNode;
    node->CellIndex = span;
    node->CellErrFrom = subNodes;
    g.store().GetCellProperties(0, row)->NodeLevel = level;
    ++g.FNumNodes;
}

struct GroupCountCase {
    const char* name;
    const char* format;
    int col;
    const char* shown;
};

const GroupCountCase kGroupCounts[] = {
    {"PlainCount", "", 1, "Group (3)"},
    {"Formatted", " [%d items]", 1, "Group [3 items]"},
    {"UnfitPatternFallsBack", " %s", 1, "Group (3)"},
    {"OnlyColumnOne", "", 2, "Group"},
};

class ExtGridGroupCount : public ::testing::TestWithParam<GroupCountCase> {};

TEST_P(ExtGridGroupCount, AfterTheNodeText)
{
    TExtStringGrid g;
    addNode(g, 2, 5, 1, 1);
    g.SetCellEx(GetParam().col, 2, "Group");
    g.Grouping.GroupCountFormat = QString::fromUtf8(GetParam().format);
    EXPECT_EQ(g.GetCellEx(GetParam().col, 2), "Group");
    g.Grouping.ShowGroupCount = true;
    EXPECT_EQ(g.GetCellEx(GetParam().col, 2), QString::fromUtf8(GetParam().shown));
    g.SetCellEx(GetParam().col, 3, "Member");
    EXPECT_EQ(g.GetCellEx(GetParam().col, 3), "Member");  // no node row
}

INSTANTIATE_TEST_SUITE_P(Formats, ExtGridGroupCount, ::testing::ValuesIn(kGroupCounts),
                         test::CaseName());

TEST(ExtGridDisplay, BaseHookRunsFirstThenTheGridsAdditions)
{
    TExtStringGrid g;
    g.URLShowInText = true;
    g.OnGetDisplText = [](QObject*, int, int, QString& v) { v = "www." + v; };
    g.SetCellEx(1, 1, "x.org");
    EXPECT_EQ(g.GetCellEx(1, 1), "<a href=\"www.x.org\">www.x.org</a>");
}

struct SortCellCase {
    const char* name;
    std::function<void(TExtStringGrid&)> setUp;
    int col;
    int row;
    bool indicator;
};

const SortCellCase kSortCells[] = {
    {"HeaderRow", [](TExtStringGrid&) {}, 2, 0, true},
    {"OtherRow", [](TExtStringGrid&) {}, 2, 1, false},
    {"NotShown", [](TExtStringGrid& g) { g.SortSettings.SetShow(false); }, 2, 0, false},
    {"OneNormalRowOnly", [](TExtStringGrid& g) { g.SetRowCount(2); }, 2, 0, false},
    {"TwoNormalRows", [](TExtStringGrid& g) { g.SetRowCount(3); }, 2, 0, true},
    {"MergedHeaderUsesItsLastRow",
     [](TExtStringGrid& g) {
         g.SetFixedRows(2);
         g.SortSettings.Row = 1;
         g.MergeCells(2, 0, 1, 2);
     },
     2, 0, true},
    {"OtherCellOfTheMergedHeader",
     [](TExtStringGrid& g) {
         g.SetFixedRows(2);
         g.SortSettings.Row = 1;
         g.MergeCells(2, 0, 1, 2);
     },
     2, 1, true},
    {"UnmergedUpperHeaderRow",
     [](TExtStringGrid& g) {
         g.SetFixedRows(2);
         g.SortSettings.Row = 1;
     },
     2, 0, false},
};

class ExtGridSortCells : public ::testing::TestWithParam<SortCellCase> {};

TEST_P(ExtGridSortCells, GlyphCells)
{
    TExtStringGrid g;
    g.SortSettings.SetShow(true);
    GetParam().setUp(g);
    EXPECT_EQ(g.IsSortIndicatorCell(GetParam().col, GetParam().row), GetParam().indicator);
}

INSTANTIATE_TEST_SUITE_P(Cells, ExtGridSortCells, ::testing::ValuesIn(kSortCells),
                         test::CaseName());

TEST(ExtGridDisplay, RowIndentByNodeLevel)
{
    TExtStringGrid g;
    g.store().GetCellProperties(0, 4)->NodeLevel = 2;
    EXPECT_FALSE(g.HasNodes());
    EXPECT_EQ(g.GetRowIndent(4), 0);  // no nodes: no indent
    addNode(g, 2, 5, 1, 1);
    EXPECT_TRUE(g.HasNodes());
    g.CellNode.SetNodeIndent(10);
    EXPECT_EQ(g.GetRowIndent(2), 10);
    EXPECT_EQ(g.GetRowIndent(4), 20);
    EXPECT_EQ(g.GetRowIndent(5), 0);  // no properties: asked without creating any
    EXPECT_FALSE(g.store().HasCellProperties(0, 5));
    EXPECT_EQ(g.GetRowIndent(-1), 0);
    const TBaseGrid& base = g;
    EXPECT_EQ(base.GetRowIndent(4), 20);  // the painter asks through the base grid
}

TEST(ExtGridDisplay, UnitChangeReportsTheCurrentCell)
{
    TExtStringGrid g;
    g.SetCol(2);
    g.SetRow(3);
    QString seen;
    g.OnUnitChanged = [&](QObject*, int c, int r, const QString& u) {
        seen = QStringLiteral("%1,%2 %3").arg(c).arg(r).arg(u);
    };
    g.DoUnitChanged("kWh");
    EXPECT_EQ(seen, "2,3 kWh");
}

}  // namespace
}  // namespace zfw
