// The cell model: merged areas, lazily created cell properties, hidden columns and rows,
// counts with retention, fixed rows, the display-text hooks, the update lock. Every table
// checks the store's invariants after each operation.

#include "grid/CellGraphic.h"
#include "grid/CellStore.h"
#include "grid/ExtUtil.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace zfw {

namespace {

using test::CaseName;

#define EXPECT_CONSISTENT(store)                                                                   \
    do {                                                                                           \
        QString why_;                                                                              \
        EXPECT_TRUE((store).checkConsistency(&why_)) << why_.toStdString();                        \
    } while (0)

struct Recorder : CellStoreListener {
    std::vector<QPoint> repainted;
    int gridRepaints = 0;
    int lastRowChanges = 0;
    void cellChanged(int c, int r) override { repainted.push_back({c, r}); }
    void gridChanged() override { ++gridRepaints; }
    void LastRowChanged() override { ++lastRowChanges; }
};

QString label(int c, int r) { return QStringLiteral("c%1r%2").arg(c).arg(r); }

// A 6 x 4 grid (one fixed row and column) whose every cell holds its own label.
struct Grid6x4 {
    CellStore store{6, 4};
    Recorder rec;
    Grid6x4()
    {
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 4; ++r)
                store.SetGridCell(c, r, label(c, r));
        store.setListener(&rec);
    }
};

TEST(Merge, OneByOneIsABaseWithZeroSpansButNotMerged)
{
    Grid6x4 g;
    ASSERT_TRUE(g.store.MergeCells(2, 1, 1, 1));
    EXPECT_CONSISTENT(g.store);
    const TCellProperties* p = g.store.GetGridObject(2, 1);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->IsBaseCell);
    EXPECT_EQ(p->CellSpanX, 0);
    EXPECT_EQ(p->CellSpanY, 0);
    EXPECT_FALSE(g.store.IsMergedCell(2, 1));
    EXPECT_EQ(g.store.CellSpan(2, 1), QPoint(0, 0));
    EXPECT_EQ(g.store.FMergeCount(), 1);
    g.store.SplitCells(2, 1);
    EXPECT_EQ(g.store.FMergeCount(), 0);
    EXPECT_CONSISTENT(g.store);
}

struct AreaCell {
    const char* name;
    int c, r;
};
const AreaCell kArea3x2[] = {
    {"Base", 2, 1},       {"TopMiddle", 3, 1},    {"TopRight", 4, 1},
    {"BottomLeft", 2, 2}, {"BottomMiddle", 3, 2}, {"BottomRight", 4, 2},
};

class Area3x2 : public ::testing::TestWithParam<AreaCell> {
protected:
    Grid6x4 g;
    void SetUp() override
    {
        ASSERT_TRUE(g.store.MergeCells(2, 1, 3, 2));
        EXPECT_CONSISTENT(g.store);
    }
};

TEST_P(Area3x2, EveryCellReadsAndWritesTheBase)
{
    const AreaCell& a = GetParam();
    EXPECT_EQ(g.store.GetCellEx(a.c, a.r), label(2, 1));
    EXPECT_EQ(g.store.BaseCell(a.c, a.r), QPoint(2, 1));
    EXPECT_EQ(g.store.CellSpan(a.c, a.r), QPoint(2, 1));
    EXPECT_EQ(g.store.CellExt(a.c, a.r), QPoint(4 - a.c, 2 - a.r));
    EXPECT_EQ(g.store.FullCell(a.c, a.r), (TCellRange{2, 1, 4, 2}));
    EXPECT_TRUE(g.store.IsMergedCell(a.c, a.r));
    EXPECT_TRUE(g.store.IsXMergedCell(a.c, a.r));
    EXPECT_TRUE(g.store.IsYMergedCell(a.c, a.r));
    EXPECT_EQ(g.store.IsMergedNonBaseCell(a.c, a.r), !(a.c == 2 && a.r == 1));

    g.rec.repainted.clear();
    ASSERT_TRUE(g.store.SetCellEx(a.c, a.r, QStringLiteral("new")));
    EXPECT_EQ(g.store.GetGridCell(2, 1), QStringLiteral("new"));
    if (a.c != 2 || a.r != 1) {
        EXPECT_EQ(g.store.GetGridCell(a.c, a.r), label(a.c, a.r)) << "hidden text stays";
    }
    ASSERT_EQ(g.rec.repainted.size(), 1u);
    EXPECT_EQ(g.rec.repainted[0], QPoint(a.c, a.r)) << "the written cell is repainted";
    EXPECT_CONSISTENT(g.store);
}

TEST_P(Area3x2, SplitFromAnyCellFreesTheWholeArea)
{
    const AreaCell& a = GetParam();
    g.store.SplitCells(a.c, a.r);
    EXPECT_CONSISTENT(g.store);
    EXPECT_EQ(g.store.FMergeCount(), 0);
    for (const AreaCell& other : kArea3x2) {
        const TCellProperties* p = g.store.GetGridObject(other.c, other.r);
        ASSERT_NE(p, nullptr) << "split keeps the properties objects";
        EXPECT_TRUE(p->IsBaseCell) << other.name;
        EXPECT_EQ(p->CellSpanX, -1) << other.name;
        EXPECT_EQ(p->CellSpanY, -1) << other.name;
        EXPECT_EQ(g.store.GetCellEx(other.c, other.r), label(other.c, other.r))
            << "the old text is visible again";
    }
}

TEST_P(Area3x2, FreeingOneCellSplitsTheArea)
{
    const AreaCell& a = GetParam();
    g.store.FreeCellObject(a.c, a.r);
    EXPECT_CONSISTENT(g.store);
    EXPECT_EQ(g.store.GetGridObject(a.c, a.r), nullptr);
    for (const AreaCell& other : kArea3x2)
        EXPECT_EQ(g.store.GetCellEx(other.c, other.r), label(other.c, other.r));
}

INSTANTIATE_TEST_SUITE_P(Grid, Area3x2, ::testing::ValuesIn(kArea3x2), CaseName());

TEST(Merge, OverlappingMergeSplitsTheOldAreaFirst)
{
    Grid6x4 g;
    ASSERT_TRUE(g.store.MergeCells(1, 1, 3, 2));
    ASSERT_TRUE(g.store.MergeCells(3, 2, 2, 2));
    EXPECT_CONSISTENT(g.store);
    EXPECT_EQ(g.store.FMergeCount(), 1);
    EXPECT_EQ(g.store.GetCellEx(1, 1), label(1, 1));
    EXPECT_FALSE(g.store.IsMergedCell(2, 2));
    EXPECT_EQ(g.store.GetCellEx(4, 3), label(3, 2));
}

struct BadMerge {
    const char* name;
    int c, r, sx, sy;
};

class MergeRefused : public ::testing::TestWithParam<BadMerge> {};

TEST_P(MergeRefused, LeavesTheGridAlone)
{
    Grid6x4 g;
    const BadMerge& m = GetParam();
    EXPECT_FALSE(g.store.MergeCells(m.c, m.r, m.sx, m.sy));
    EXPECT_FALSE(g.store.FHasCellProps());
    EXPECT_EQ(g.store.FMergeCount(), 0);
    EXPECT_CONSISTENT(g.store);
}

const BadMerge kBadMerges[] = {
    {"ZeroWide", 1, 1, 0, 2},  {"ZeroHigh", 1, 1, 2, 0},   {"NegativeCol", -1, 1, 2, 2},
    {"PastRight", 5, 1, 2, 1}, {"PastBottom", 1, 3, 1, 2}, {"HugeSpan", 1, 1, 2147483647, 1},
};
INSTANTIATE_TEST_SUITE_P(Grid, MergeRefused, ::testing::ValuesIn(kBadMerges), CaseName());

TEST(Merge, SpanIdentityOfRowsAndColumns)
{
    Grid6x4 g;
    EXPECT_FALSE(g.store.ColSpanIdentical(1, 2)) << "never merged";
    ASSERT_TRUE(g.store.MergeCells(1, 1, 2, 1));
    EXPECT_TRUE(g.store.ColSpanIdentical(1, 2));
    ASSERT_TRUE(g.store.MergeCells(2, 2, 2, 1));
    EXPECT_FALSE(g.store.ColSpanIdentical(1, 2)) << "row 2 merged differently";
    EXPECT_FALSE(g.store.RowSpanIdentical(1, 2));
    ASSERT_TRUE(g.store.MergeCells(4, 1, 1, 3));
    EXPECT_TRUE(g.store.RowSpanIdentical(1, 3));
    EXPECT_EQ(g.store.MaxRowSpan(2), 2);
    EXPECT_EQ(g.store.MinRowSpan(2), 2);
    EXPECT_EQ(g.store.MinRowSpan(0), g.store.RowCount());
    EXPECT_CONSISTENT(g.store);
}

struct Query {
    const char* name;
    std::function<void(const CellStore&, int, int)> run;
};

const Query kQueries[] = {
    {"BaseCell", [](const CellStore& s, int c, int r) { s.BaseCell(c, r); }},
    {"IsBaseCell", [](const CellStore& s, int c, int r) { EXPECT_TRUE(s.IsBaseCell(c, r)); }},
    {"IsMergedCell", [](const CellStore& s, int c, int r) { EXPECT_FALSE(s.IsMergedCell(c, r)); }},
    {"IsMergedNonBaseCell",
     [](const CellStore& s, int c, int r) { EXPECT_FALSE(s.IsMergedNonBaseCell(c, r)); }},
    {"IsXMergedCell",
     [](const CellStore& s, int c, int r) { EXPECT_FALSE(s.IsXMergedCell(c, r)); }},
    {"IsYMergedCell",
     [](const CellStore& s, int c, int r) { EXPECT_FALSE(s.IsYMergedCell(c, r)); }},
    {"CellSpan", [](const CellStore& s, int c, int r) { EXPECT_EQ(s.CellSpan(c, r), QPoint()); }},
    {"CellExt", [](const CellStore& s, int c, int r) { EXPECT_EQ(s.CellExt(c, r), QPoint()); }},
    {"FullCell",
     [](const CellStore& s, int c, int r) {
         EXPECT_EQ(s.FullCell(c, r), (TCellRange{c, r, c, r}));
     }},
    {"GetObjectEx", [](const CellStore& s, int c, int r) { EXPECT_EQ(s.GetObjectEx(c, r), 0u); }},
    {"GetGraphicObjectEx",
     [](const CellStore& s, int c, int r) { EXPECT_EQ(s.GetGraphicObjectEx(c, r), nullptr); }},
    {"GetCellEx", [](const CellStore& s, int c, int r) { s.GetCellEx(c, r); }},
    {"HasCellProperties",
     [](const CellStore& s, int c, int r) { EXPECT_FALSE(s.HasCellProperties(c, r)); }},
};

class ReadOnlyQuery : public ::testing::TestWithParam<Query> {};

TEST_P(ReadOnlyQuery, NeverCreatesProperties)
{
    Grid6x4 g;
    for (const QPoint at : {QPoint(2, 2), QPoint(0, 0), QPoint(-1, 2), QPoint(2, -1), QPoint(6, 1),
                            QPoint(1, 4), QPoint(100000, 100000)}) {
        GetParam().run(g.store, at.x(), at.y());
        EXPECT_EQ(g.store.GetGridObject(at.x(), at.y()), nullptr);
    }
    EXPECT_FALSE(g.store.FHasCellProps());
    EXPECT_CONSISTENT(g.store);
}

INSTANTIATE_TEST_SUITE_P(Grid, ReadOnlyQuery, ::testing::ValuesIn(kQueries), CaseName());

TEST(Properties, CreatedWithTheDefaultsOfTheHook)
{
    CellStore s(4, 4);
    s.SetWordWrap(false);
    s.defaults.FontName = QStringLiteral("Sans");
    s.defaults.BrushColor = clWhite;
    s.GetDefaultVisualProperties = [](int c, int r, TCellDefaults& d) {
        if (c == 2)
            d.HA = TAlignment::taRightJustify;
        d.ColorTo = clRed;
    };
    TCellProperties* p = s.GetCellProperties(2, 3);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(s.FHasCellProps());
    EXPECT_EQ(p->OwnerCol, 2);
    EXPECT_EQ(p->OwnerRow, 3);
    EXPECT_EQ(p->Alignment, TAlignment::taRightJustify);
    EXPECT_FALSE(p->WordWrap) << "new properties take the grid's word wrap";
    EXPECT_EQ(p->FontName, QStringLiteral("Sans"));
    EXPECT_EQ(p->BrushColor, clWhite);
    EXPECT_EQ(p->BrushColorTo, clRed);
    EXPECT_EQ(s.GetCellProperties(2, 3), p) << "created once";
    EXPECT_EQ(s.GetCellProperties(4, 0), nullptr) << "outside the grid nothing is created";
    EXPECT_EQ(s.GetCellProperties(-1, 0), nullptr);
    EXPECT_CONSISTENT(s);
}

TEST(Properties, ObjectOnAnEmptyCellKeepsTheTextEmpty)
{
    Grid6x4 g;
    g.store.SetGridCell(3, 2, QString());
    ASSERT_TRUE(g.store.SetObjectEx(3, 2, 0xBEEF));
    EXPECT_EQ(g.store.GetCellEx(3, 2), QString());
    EXPECT_EQ(g.store.GetObjectEx(3, 2), 0xBEEFu);
    EXPECT_FALSE(g.store.SetObjectEx(9, 2, 1));
    EXPECT_CONSISTENT(g.store);
}

TEST(Properties, FreeingFreesTheGraphicsOnce)
{
    // The store frees graphics through the function it was given; the set tracks which are
    // still alive, and freeing one twice or one never made fails the test.
    std::set<TCellGraphic*> live;
    const auto make = [&] {
        auto* g = new TCellGraphic();
        live.insert(g);
        return g;
    };
    {
        CellStore s(4, 4, [&](TCellGraphic* g) {
            EXPECT_EQ(live.erase(g), 1u) << "a graphic freed twice or never made";
            delete g;
        });
        ASSERT_TRUE(s.SetGraphicObjectEx(1, 1, make()));
        ASSERT_TRUE(s.SetGraphicObjectEx(2, 2, make()));
        ASSERT_TRUE(s.SetGraphicObjectEx(3, 3, make()));
        EXPECT_EQ(live.size(), 3u);
        s.FreeCellObjects(0, 0, 2, 2);
        EXPECT_EQ(live.size(), 1u);
        EXPECT_EQ(s.GetGraphicObjectEx(1, 1), nullptr);
        EXPECT_NE(s.GetGraphicObjectEx(3, 3), nullptr);
        s.ClearCellEx(3, 3);
        EXPECT_TRUE(live.empty()) << "clearing a cell frees what it owned";
        ASSERT_TRUE(s.SetGraphicObjectEx(0, 0, make()));
        EXPECT_CONSISTENT(s);
    }
    EXPECT_TRUE(live.empty()) << "the store frees the graphics left at destruction";
}

TEST(DisplText, WideHookAnswersThePackedFormForNormalRowsOnly)
{
    Grid6x4 g;
    g.store.OnGetDisplWideText = [](int c, int r, QString& v) { v += QChar(char16_t(0x20AC)); };
    QString expected = label(1, 1);
    expected += QChar(char16_t(0x20AC));
    EXPECT_EQ(g.store.GetCellEx(1, 1), PackWideText(expected));
    g.store.setNormalRowCount(1);
    EXPECT_EQ(g.store.GetCellEx(1, 1), label(1, 1)) << "rows at or above the limit read raw";
    g.store.SetRowCount(4);
    EXPECT_EQ(g.store.FNormalRowCount(), 4);
}

TEST(DisplText, HooksSeeTheBaseCellAndNeverAStrayIndex)
{
    Grid6x4 g;
    std::vector<QPoint> seen;
    g.store.OnGetDisplText = [&](int c, int r, QString&) { seen.push_back({c, r}); };
    ASSERT_TRUE(g.store.MergeCells(1, 1, 2, 2));
    g.store.GetCellEx(2, 2);
    g.store.GetCellEx(-1, 1);
    g.store.GetCellEx(1, -5);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], QPoint(1, 1));
}

TEST(DisplText, WritingTheHiddenLastRowIsReported)
{
    Grid6x4 g;
    g.store.setHideLastRow(true);
    g.store.SetCellEx(1, 2, QStringLiteral("x"));
    EXPECT_EQ(g.rec.lastRowChanges, 0);
    g.store.SetCellEx(1, 3, QStringLiteral("x"));
    EXPECT_EQ(g.rec.lastRowChanges, 1);
}

TEST(Store, StrayWritesAreRefusedWithoutGrowingTheStore)
{
    Grid6x4 g;
    EXPECT_FALSE(g.store.SetGridCell(-1, 0, QStringLiteral("x")));
    EXPECT_FALSE(g.store.SetCellEx(2, -1, QStringLiteral("x")));
    EXPECT_FALSE(g.store.SetCellEx(2000000000, 1, QStringLiteral("x")));
    EXPECT_FALSE(g.store.SetCellEx(1, 2000000000, QStringLiteral("x")));
    EXPECT_EQ(g.store.GetCellEx(2000000000, 1), QString());
    EXPECT_CONSISTENT(g.store);
}

TEST(Counts, ShrinkKeepsEntriesAndGrowShowsThemAgain)
{
    // The rule editor clears its rows, then switches between 224 and 257 rows.
    CellStore s(10, 257);
    for (int r = 0; r < 257; ++r)
        s.SetCellEx(0, r, QString::number(r));
    s.SetRowCount(224);
    EXPECT_CONSISTENT(s);
    EXPECT_EQ(s.GetGridCell(0, 240), QStringLiteral("240")) << "kept beyond the count";
    EXPECT_FALSE(s.HasCellProperties(0, 240));
    s.SetRowCount(257);
    EXPECT_EQ(s.GetCellEx(0, 256), QStringLiteral("256"));
    EXPECT_EQ(s.RowHeights(256), s.DefaultRowHeight());
    s.SetColCount(3);
    s.SetColCount(10);
    EXPECT_EQ(s.GetCellEx(0, 5), QStringLiteral("5"));
    EXPECT_CONSISTENT(s);
}

struct FixedCase {
    const char* name;
    bool always;
    std::vector<std::pair<char, int>> steps;  // 'R' RowCount, 'F' FixedRows
    int fixedRows;
};

class FixedRowAlways : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FixedRowAlways, FixedRowsFollowTheRows)
{
    const FixedCase& fc = GetParam();
    CellStore s(3, 5);
    s.SetFixedRowAlways(fc.always);
    for (const auto& [what, value] : fc.steps) {
        if (what == 'R')
            s.SetRowCount(value);
        else
            s.SetFixedRows(value);
        EXPECT_CONSISTENT(s);
    }
    EXPECT_EQ(s.FixedRows(), fc.fixedRows);
}

const FixedCase kFixed[] = {
    {"ThreeOnTwoRowsGivesOne", true, {{'R', 2}, {'F', 3}}, 1},
    {"ThreeComesBackAboveThree", true, {{'R', 2}, {'F', 3}, {'R', 4}}, 3},
    {"NotYetAtThree", true, {{'R', 2}, {'F', 3}, {'R', 3}}, 1},
    {"ReadsOneWithNone", true, {{'F', 0}}, 1},
    {"NoneWithoutAlways", false, {{'F', 0}}, 0},
    {"WithoutAlwaysNotRestored", false, {{'R', 2}, {'F', 3}, {'R', 6}}, 1},
    {"ShrinkLowersFixed", false, {{'F', 3}, {'R', 2}}, 1},
    {"OneRowNoFixed", true, {{'R', 1}, {'F', 0}}, 1},
    {"ZeroRows", false, {{'R', 0}}, 0},
};
INSTANTIATE_TEST_SUITE_P(Grid, FixedRowAlways, ::testing::ValuesIn(kFixed), CaseName());

TEST(Counts, LoadingDoesNotRecordTheRequestedMinimum)
{
    CellStore s(3, 5);
    s.SetFixedRowAlways(true);
    s.SetFixedRows(2);
    s.setLoading(true);
    s.SetFixedRows(1);
    s.setLoading(false);
    EXPECT_EQ(s.minimumFixedRows(), 2);
    s.SetRowCount(6);
    EXPECT_EQ(s.FixedRows(), 2);
}

struct MapCase {
    const char* name;
    int cols;
    std::vector<int> hide;  // real columns, in order
    int colCount;
    std::vector<std::pair<int, int>> displToReal;
};

class ColumnMapping : public ::testing::TestWithParam<MapCase> {};

TEST_P(ColumnMapping, DisplayAndRealIndexes)
{
    const MapCase& m = GetParam();
    CellStore s(m.cols, 3);
    for (int c = 0; c < m.cols; ++c)
        s.SetGridCell(c, 1, label(c, 1));
    for (int c : m.hide) {
        s.HideColumn(c);
        EXPECT_CONSISTENT(s);
    }
    EXPECT_EQ(s.ColCount(), m.colCount);
    EXPECT_EQ(s.TotalColCount(), m.cols);
    for (const auto& [d, real] : m.displToReal) {
        EXPECT_EQ(s.RealColIndex(d), real) << "display " << d;
        if (real > 0 && real < CellStore::kMaxHideCols && !s.IsHiddenColumn(real)) {
            EXPECT_EQ(s.DisplColIndex(real), d) << "real " << real;
            if (real < m.cols) {
                EXPECT_EQ(s.GetCellEx(real, 1), label(real, 1));
            }
        }
    }
}

const MapCase kMaps[] = {
    {"HideTwoOfFive", 5, {2}, 4, {{0, 0}, {1, 1}, {2, 3}, {3, 4}}},
    {"NothingHiddenIsIdentity", 5, {}, 5, {{3, 3}, {700, 700}, {-1, -1}}},
    {"LastVisibleNeverHidden", 4, {0, 1, 2, 3}, 1, {{0, 3}}},
    {"HideFirst", 4, {0}, 3, {{0, 1}, {2, 3}}},
    {"ColumnPastLimitIgnored", 5, {600, 512}, 5, {{4, 4}}},
    {"AlreadyHiddenIgnored", 5, {1, 1}, 4, {{1, 2}}},
    {"BeyondTotalIgnored", 5, {7}, 5, {{4, 4}}},
    {"NoVisibleAtThatIndexGivesZero", 3, {0}, 2, {{511, 0}, {510, 511}}},
    {"NegativeStaysNoColumn", 3, {1}, 2, {{-1, -1}}},
    {"AtLimitUnchanged", 600, {1}, 599, {{512, 512}, {510, 511}, {511, 0}}},
};
INSTANTIATE_TEST_SUITE_P(Grid, ColumnMapping, ::testing::ValuesIn(kMaps), CaseName());

TEST(HiddenColumns, WidthsComeBackOnUnhideInAnyOrder)
{
    CellStore s(6, 3);
    for (int d = 0; d < 6; ++d)
        s.SetColWidths(d, 10 + d);
    s.HideColumns(2, 2);
    s.HideColumn(4);
    EXPECT_EQ(s.ColCount(), 4);
    EXPECT_EQ(s.AllColWidths(2), 12);
    EXPECT_EQ(s.AllColWidths(4), 14);
    EXPECT_EQ(s.ColWidths(2), 13) << "widths of the columns right of it moved left";
    EXPECT_CONSISTENT(s);
    s.UnHideColumn(4);
    EXPECT_CONSISTENT(s);
    s.UnHideColumn(2);
    EXPECT_CONSISTENT(s);
    for (int d = 0; d < 6; ++d)
        EXPECT_EQ(s.ColWidths(d), 10 + d) << "display column " << d;
    s.HideColumns(1, 3);
    s.SetAllColWidths(2, 40);
    s.UnHideColumnsAll();
    EXPECT_EQ(s.NumHiddenColumns(), 0);
    EXPECT_EQ(s.ColWidths(2), 40);
    EXPECT_CONSISTENT(s);
}

// A 4 x 8 grid with column 2 hidden; every row has its own height and a coloured cell.
struct RowsFixture {
    CellStore s{4, 8};
    RowsFixture()
    {
        for (int r = 0; r < 8; ++r) {
            for (int c = 0; c < 4; ++c)
                s.SetGridCell(c, r, label(c, r));
            s.SetRowHeights(r, 20 + r);
            s.GetCellProperties(3, r)->BrushColor = TColor(r);
        }
        s.HideColumn(2);
    }
    void expectOriginal()
    {
        EXPECT_EQ(s.RowCount(), 8);
        EXPECT_EQ(s.NumHiddenRows(), 0);
        for (int r = 0; r < 8; ++r) {
            for (int c = 0; c < 4; ++c)
                EXPECT_EQ(s.GetGridCell(c, r), label(c, r));
            EXPECT_EQ(s.RowHeights(r), 20 + r) << "row " << r;
            ASSERT_NE(s.GetGridObject(3, r), nullptr);
            EXPECT_EQ(s.GetGridObject(3, r)->BrushColor, TColor(r));
        }
        EXPECT_CONSISTENT(s);
    }
};

struct RowCase {
    const char* name;
    std::function<void(CellStore&)> hide;
    std::vector<int> hidden;  // real rows hidden afterwards
    std::function<void(CellStore&)> unhide;
};

class HideRowsRoundTrip : public ::testing::TestWithParam<RowCase> {};

TEST_P(HideRowsRoundTrip, RestoresTextsHeightsAndProperties)
{
    RowsFixture f;
    const RowCase& rc = GetParam();
    rc.hide(f.s);
    EXPECT_CONSISTENT(f.s);
    EXPECT_EQ(f.s.NumHiddenRows(), int(rc.hidden.size()));
    EXPECT_EQ(f.s.RowCount(), 8 - int(rc.hidden.size()));
    for (int real : rc.hidden) {
        EXPECT_TRUE(f.s.IsHiddenRow(real));
        const std::vector<QString> texts = f.s.hiddenRowTexts(real);
        ASSERT_GE(texts.size(), 3u);
        EXPECT_EQ(texts[2], label(2, real)) << "the hidden column's text goes with the row";
    }
    for (int d = 0; d < f.s.RowCount(); ++d) {
        const int real = f.s.RealRowIndex(d);
        EXPECT_FALSE(f.s.IsHiddenRow(real));
        EXPECT_EQ(f.s.DisplRowIndex(real), d);
        EXPECT_EQ(f.s.GetGridCell(0, d), label(0, real));
        EXPECT_EQ(f.s.RowHeights(d), 20 + real) << "heights move with their rows";
    }
    rc.unhide(f.s);
    f.expectOriginal();
}

const RowCase kRowCases[] = {
    {"Range",
     [](CellStore& s) { s.HideRows(3, 5); },
     {3, 4, 5},
     [](CellStore& s) { s.UnHideRows(3, 5); }},
    {"RangeOverAlreadyHidden",
     [](CellStore& s) {
         s.HideRow(4);
         s.HideRows(3, 5);
     },
     {3, 4, 5},
     [](CellStore& s) { s.UnHideRows(3, 5); }},
    {"SeparateRowsUnhiddenOneByOne",
     [](CellStore& s) {
         s.HideRow(6);
         s.HideRow(1);
     },
     {1, 6},
     [](CellStore& s) {
         s.UnHideRow(6);
         s.UnHideRow(1);
     }},
    {"AllAtOnce",
     [](CellStore& s) {
         s.HideRows(0, 1);
         s.HideRow(7);
         s.HideRows(4, 5);
     },
     {0, 1, 4, 5, 7},
     [](CellStore& s) { s.UnHideRowsAll(); }},
    {"PastTheEndClipped",
     [](CellStore& s) { s.HideRows(6, 40); },
     {6, 7},
     [](CellStore& s) { s.UnHideRows(6, 40); }},
};
INSTANTIATE_TEST_SUITE_P(Grid, HideRowsRoundTrip, ::testing::ValuesIn(kRowCases), CaseName());

TEST(HiddenRows, EdgeRequestsChangeNothing)
{
    RowsFixture f;
    f.s.HideRow(3);
    f.s.UnHideRows(2, 5);
    EXPECT_EQ(f.s.NumHiddenRows(), 1) << "nothing when the first row is not hidden";
    EXPECT_EQ(f.s.DisplRowIndex(3), 3) << "the place a hidden row would take";
    EXPECT_EQ(f.s.DisplRowIndex(5), 4);
    f.s.HideRows(5, 2);
    f.s.HideRows(100, 200);
    EXPECT_EQ(f.s.NumHiddenRows(), 1);
    f.s.UnHideRow(3);
    f.expectOriginal();
}

TEST(HiddenRows, MergedAreaReachingIntoHiddenRowsIsSplit)
{
    RowsFixture f;
    ASSERT_TRUE(f.s.MergeCells(0, 2, 2, 3));
    f.s.HideRow(3);
    EXPECT_CONSISTENT(f.s);
    EXPECT_EQ(f.s.FMergeCount(), 0);
    f.s.UnHideRow(3);
    EXPECT_CONSISTENT(f.s);
    EXPECT_EQ(f.s.GetCellEx(1, 4), label(1, 4));
}

struct MoveCase {
    const char* name;
    CellStore::MoveKey key;
    int col, row;          // current cell before the key
    int stepCol, stepRow;  // the framework's one-cell step
    QPoint landed;         // after the step and the move to the base cell
};

class MergedKeys : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MergedKeys, StepOverTheWholeArea)
{
    // 7 x 5, one fixed row and column, area (2,1)-(4,2).
    CellStore s(7, 5);
    ASSERT_TRUE(s.MergeCells(2, 1, 3, 2));
    const MoveCase& m = GetParam();
    CellStore::NavState st;
    st.Col = m.col;
    st.Row = m.row;
    st.FixedCols = 1;
    st.FixedRows = 1;
    st.TopRow = 1;
    st.VisibleRowCount = 4;
    const QPoint pre = s.mergedKeyPreMove(m.key, st);
    const int col = std::clamp(pre.x() + m.stepCol, 1, s.ColCount() - 1);
    const int row = std::clamp(pre.y() + m.stepRow, 1, s.RowCount() - 1);
    EXPECT_EQ(s.MoveToBaseCell(col, row), m.landed);
}

const MoveCase kMoves[] = {
    {"RightFromBase", CellStore::MoveKey::Right, 2, 1, 1, 0, {5, 1}},
    {"RightFromLastColumn", CellStore::MoveKey::Right, 4, 2, 1, 0, {5, 2}},
    {"LeftFromMiddle", CellStore::MoveKey::Left, 3, 2, -1, 0, {1, 2}},
    {"LeftFromBase", CellStore::MoveKey::Left, 2, 1, -1, 0, {1, 1}},
    {"DownFromTop", CellStore::MoveKey::Down, 3, 1, 0, 1, {3, 3}},
    {"UpFromBottomStopsAtFixed", CellStore::MoveKey::Up, 3, 2, 0, -1, {2, 1}},
    {"PlainCellSteps", CellStore::MoveKey::Right, 5, 3, 1, 0, {6, 3}},
};
INSTANTIATE_TEST_SUITE_P(Grid, MergedKeys, ::testing::ValuesIn(kMoves), CaseName());

TEST(MergedKeysEdge, AreaAtTheRightEdgeKeepsTheBase)
{
    CellStore s(5, 4);
    ASSERT_TRUE(s.MergeCells(3, 1, 2, 1));
    CellStore::NavState st{4, 1, 1, 1, 1, 3};
    const QPoint pre = s.mergedKeyPreMove(CellStore::MoveKey::Right, st);
    EXPECT_EQ(pre, QPoint(4, 1));
    EXPECT_EQ(s.MoveToBaseCell(std::min(pre.x() + 1, 4), 1), QPoint(3, 1));
}

TEST(MergedKeysEdge, HiddenLastRowIsNeverReachedByPageDownOrWheel)
{
    CellStore s(3, 10);
    s.setHideLastRow(true);
    CellStore::NavState st{1, 7, 1, 1, 5, 5};  // rows 5..9 visible: the page ends on the last row
    EXPECT_EQ(s.mergedKeyPreMove(CellStore::MoveKey::PageDown, st), QPoint(1, 8));
    st.TopRow = 2;
    EXPECT_EQ(s.mergedKeyPreMove(CellStore::MoveKey::PageDown, st), QPoint(1, 7));
    st = {1, 8, 1, 1, 2, 5};
    EXPECT_EQ(s.wheelDownTopRow(st), 3);
    s.setHideLastRow(false);
    EXPECT_EQ(s.wheelDownTopRow(st), 2);
}

TEST(MergedKeysEdge, HiddenColumnInsideAnAreaCountsInDisplayColumns)
{
    CellStore s(8, 4);
    ASSERT_TRUE(s.MergeCells(2, 1, 3, 1));  // real 2..4
    s.HideColumn(3);                        // display 2..3
    CellStore::NavState st{2, 1, 1, 1, 1, 3};
    EXPECT_EQ(s.mergedKeyPreMove(CellStore::MoveKey::Right, st), QPoint(3, 1));
    EXPECT_EQ(s.MoveToBaseCell(3, 1), QPoint(2, 1));
    EXPECT_EQ(s.MoveToBaseCell(4, 1), QPoint(4, 1)) << "display 4 is real 5, outside";
}

struct LockCase {
    const char* name;
    std::string ops;  // B begin, S start, E end, R reset, h hide window, w show window
    int count;
    bool redrawOn;
    int invalidations;
};

class UpdateLock : public ::testing::TestWithParam<LockCase> {};

TEST_P(UpdateLock, Nests)
{
    const LockCase& lc = GetParam();
    bool window = true;
    bool redraw = true;
    int invalidations = 0;
    GridUpdateLock lock(
        {[&] { return window; }, [&](bool on) { redraw = on; }, [&] { ++invalidations; }});
    for (char op : lc.ops) {
        switch (op) {
        case 'B': lock.BeginUpdate(); break;
        case 'S': lock.StartUpdate(); break;
        case 'E': lock.EndUpdate(); break;
        case 'R': lock.ResetUpdate(); break;
        case 'h': window = false; break;
        case 'w': window = true; break;
        }
    }
    EXPECT_EQ(lock.updateCount(), lc.count);
    EXPECT_EQ(lock.LockUpdate(), lc.count != 0);
    EXPECT_EQ(redraw, lc.redrawOn);
    EXPECT_EQ(invalidations, lc.invalidations);
}

const LockCase kLocks[] = {
    {"TwiceOnceLeavesOff", "BBE", 1, false, 0},
    {"TwiceTwiceRepaints", "BBEE", 0, true, 1},
    {"StartLeavesDrawing", "S", 1, true, 0},
    {"StartEndOnHiddenGridCountsDown", "hSE", 0, true, 1},
    {"HiddenBetweenBeginAndEnd", "BhE", 0, true, 1},
    {"BeginOnHiddenGridStillCounts", "hBwE", 0, true, 1},
    {"NeverBelowZero", "EEB", 1, false, 2},
    {"ResetReleases", "BBR", 0, true, 1},
};
INSTANTIATE_TEST_SUITE_P(Grid, UpdateLock, ::testing::ValuesIn(kLocks), CaseName());

}  // namespace
}  // namespace zfw

namespace zfw {
namespace {

TEST(Headers, EntriesGoToRowZeroWithLineBreaksAndReachHiddenColumns)
{
    CellStore s(4, 3);
    s.HideColumn(3);
    s.SetColumnHeaders({QStringLiteral("Port\\nnumber"), QStringLiteral("B"), QString(),
                        QStringLiteral("Hidden"), QStringLiteral("Beyond")});
    EXPECT_EQ(s.GetCellEx(0, 0), QStringLiteral("Port\rnumber"));
    EXPECT_EQ(s.GetCellEx(3, 0), QStringLiteral("Hidden"));
    EXPECT_EQ(s.GetGridCell(4, 0), QString()) << "no header beyond the real columns";
    s.SetColumnHeaders({QStringLiteral("Only")});
    EXPECT_EQ(s.GetCellEx(1, 0), QString());
    EXPECT_EQ(s.GetCellEx(3, 0), QString()) << "the hidden column's old header is cleared";
    s.SetRowHeaders(
        {QStringLiteral("x"), QStringLiteral("r\\n1"), QStringLiteral("r2"), QStringLiteral("r3")});
    EXPECT_EQ(s.GetCellEx(0, 1), QStringLiteral("r\r1"));
    EXPECT_EQ(s.GetGridCell(0, 3), QString());
    EXPECT_CONSISTENT(s);
}

TEST(Headers, NothingShownWithoutFixedRowsOrColumns)
{
    CellStore s(3, 3);
    s.SetFixedRows(0);
    s.SetFixedCols(0);
    s.SetColumnHeaders({QStringLiteral("A")});
    s.SetRowHeaders({QStringLiteral("R")});
    EXPECT_EQ(s.GetCellEx(0, 0), QString());
}

TEST(FixedSizes, FixedRowHeightAtTheDefaultResizesEveryRow)
{
    CellStore s(3, 4);
    s.SetFixedRows(2);
    s.SetDefaultRowHeight(21);
    s.SetRowHeights(3, 40);
    s.SetFixedRowHeight(30);
    EXPECT_EQ(s.RowHeights(0), 30);
    EXPECT_EQ(s.RowHeights(1), 30);
    EXPECT_EQ(s.RowHeights(2), 21);
    EXPECT_EQ(s.RowHeights(3), 40);
    s.SetFixedRowHeight(21);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(s.RowHeights(r), 21) << "row " << r;
    EXPECT_EQ(s.FixedRowHeight(), 21);

    s.SetFixedCols(1);
    s.SetFixedColWidth(s.DefaultColWidth());
    s.SetColWidths(0, 33);
    s.SetFixedColWidth(s.DefaultColWidth());
    EXPECT_EQ(s.FixedColWidth(), 33) << "the default width changes nothing";
    s.SetFixedColWidth(50);
    EXPECT_EQ(s.FixedColWidth(), 50);
    EXPECT_EQ(s.ColWidths(1), s.DefaultColWidth());
    EXPECT_CONSISTENT(s);
}

}  // namespace
}  // namespace zfw

namespace zfw {
namespace {

// 6 x 5, one fixed row and column; widths 30, 40, 50, 60, 70, 80; heights 20, 21, ... 24.
// Scrolled to LeftCol 2, TopRow 2: the first scrollable cell sits right of and below the fixed
// ones at (30, 20).
struct RectCase {
    const char* name;
    std::function<void(CellStore&)> setup;
    int c, r;
    QRect rect;
};

class CellRects : public ::testing::TestWithParam<RectCase> {};

TEST_P(CellRects, FromWidthsAndHeights)
{
    CellStore s(6, 5);
    for (int d = 0; d < 6; ++d)
        s.SetColWidths(d, 30 + 10 * d);
    for (int r = 0; r < 5; ++r)
        s.SetRowHeights(r, 20 + r);
    const RectCase& rc = GetParam();
    if (rc.setup)
        rc.setup(s);
    const CellStore::ViewOrigin view{2, 2, 30, 20};
    EXPECT_EQ(s.CellRect(rc.c, rc.r, view), rc.rect);
    EXPECT_FALSE(s.FHasCellProps() && rc.setup == nullptr);
}

const RectCase kRects[] = {
    {"FixedCorner", nullptr, 0, 0, QRect(0, 0, 30, 20)},
    {"FixedColumnScrolledRow", nullptr, 0, 3, QRect(0, 20 + 22, 30, 23)},
    {"FirstScrollable", nullptr, 2, 2, QRect(30, 20, 50, 22)},
    {"ScrolledOutLeftAndUp", nullptr, 1, 1, QRect(30 - 40, 20 - 21, 40, 21)},
    {"MergedAreaIsTheUnion", [](CellStore& s) { s.MergeCells(2, 2, 2, 2); }, 3, 3,
     QRect(30, 20, 50 + 60, 22 + 23)},
    {"HiddenColumnInsideArea",
     [](CellStore& s) {
         s.MergeCells(2, 2, 3, 1);
         s.HideColumn(3);
     },
     2, 2, QRect(30, 20, 50 + 70, 22)},
    {"HiddenLastColumnOfAreaWidenedLeft",
     [](CellStore& s) {
         s.MergeCells(2, 2, 2, 1);
         s.HideColumn(3);
     },
     2, 2, QRect(30, 20, 50, 22)},
    {"ZeroWidthBaseWidenedRight",
     [](CellStore& s) {
         s.SetColWidths(2, 0);
         s.MergeCells(2, 2, 2, 1);
     },
     3, 2, QRect(30, 20, 60, 22)},
    {"ZeroWidthOneByOneWidenedBothWays",
     [](CellStore& s) {
         s.SetColWidths(2, 0);
         s.MergeCells(2, 2, 1, 1);
     },
     2, 2, QRect(29, 20, 2, 22)},
};
INSTANTIATE_TEST_SUITE_P(Grid, CellRects, ::testing::ValuesIn(kRects), CaseName());

TEST(CellRectSize, MergedSizeWithoutWidening)
{
    CellStore s(6, 5);
    s.SetColWidths(2, 0);
    ASSERT_TRUE(s.MergeCells(2, 1, 2, 2));
    const CellStore::ViewOrigin view{1, 1, 64, 24};
    EXPECT_EQ(s.CellSize(3, 2, view), QSize(64, 48));
    EXPECT_EQ(s.CellSize(5, 4, view), QSize(64, 24));
}

}  // namespace
}  // namespace zfw
