// The column and header models: positions and left edges, width limits, the main and sort
// column, the auto-size fit, group resizes, springs and the animated resize.

#include "support/CaseName.h"

#include "tree/LazyTreesHeader.h"
#include "tree/LazyTreesString.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace zfw::test {
namespace {

// A shown tree without a frame, so that its client width is its width.
struct ColumnTree {
    std::unique_ptr<TLazyStringTree> tree = std::make_unique<TLazyStringTree>();
    TLTHeader& header = tree->Header();
    TLazyTreeColumns& columns = header.Columns();

    explicit ColumnTree(int columnCount = 3, int width = 300)
    {
        tree->setFrameStyle(QFrame::NoFrame);
        tree->resize(width, 200);
        tree->show();
        QApplication::processEvents();
        for (int i = 0; i < columnCount; ++i)
            columns.Add();
    }
    TLazyTreeColumn& col(int index) { return columns[index]; }
    std::vector<int> positions()
    {
        std::vector<int> out;
        for (int i = 0; i < columns.Count(); ++i)
            out.push_back(int(col(i).Position()));
        return out;
    }
    std::vector<int> lefts()
    {
        std::vector<int> out;
        for (int i = 0; i < columns.Count(); ++i)
            out.push_back(col(i).UnscrolledLeft());
        return out;
    }
    std::vector<int> widths()
    {
        std::vector<int> out;
        for (int i = 0; i < columns.Count(); ++i)
            out.push_back(col(i).Width());
        return out;
    }
    // Every column's position is its place in the array and the array is a permutation.
    void expectConsistent()
    {
        const std::vector<TColumnIndex> array = columns.PositionToIndex();
        ASSERT_EQ(int(array.size()), columns.Count());
        for (std::size_t p = 0; p < array.size(); ++p)
            EXPECT_EQ(col(array[p]).Position(), p);
    }
};

struct LayoutCase {
    const char* name;
    std::function<void(ColumnTree&)> act;
    std::vector<int> positions;
    std::vector<int> lefts;
    int totalWidth;
};

const LayoutCase kLayoutCases[] = {
    {"ThreeAdded", [](ColumnTree&) {}, {0, 1, 2}, {0, 50, 100}, 150},
    {"MiddleHidden",
     [](ColumnTree& f) { f.col(1).SetOptions(f.col(1).Options() - TLTColumnOptions{coVisible}); },
     {0, 1, 2},
     {0, 50, 50},
     100},
    {"FirstMovedBeyondEndGoesLast",
     [](ColumnTree& f) { f.col(0).SetPosition(7); },
     {2, 0, 1},
     {100, 0, 50},
     150},
    {"LastMovedToFront",
     [](ColumnTree& f) { f.col(2).SetPosition(0); },
     {1, 2, 0},
     {50, 100, 0},
     150},
    {"MovedThenFirstDeleted",
     [](ColumnTree& f) {
         f.col(2).SetPosition(0);
         f.columns.Delete(0);
     },
     {1, 0},
     {50, 0},
     100},
    {"WidenedMiddleShiftsRight",
     [](ColumnTree& f) { f.col(1).SetWidth(80); },
     {0, 1, 2},
     {0, 50, 130},
     180},
    {"LastHiddenTotalEndsAtMiddle",
     [](ColumnTree& f) { f.col(2).SetOptions(f.col(2).Options() - TLTColumnOptions{coVisible}); },
     {0, 1, 2},
     {0, 50, 100},
     100},
};

class ColumnLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ColumnLayout, PositionsAndLeftEdgesFollow)
{
    const LayoutCase& c = GetParam();
    ColumnTree f;
    c.act(f);
    EXPECT_EQ(f.positions(), c.positions);
    EXPECT_EQ(f.lefts(), c.lefts);
    EXPECT_EQ(f.columns.TotalWidth(), c.totalWidth);
    f.expectConsistent();
}

INSTANTIATE_TEST_SUITE_P(Table, ColumnLayout, ::testing::ValuesIn(kLayoutCases), CaseName{});

TEST(TreeColumns, NewColumnsTakeTheDefaults)
{
    ColumnTree f(1);
    const TLazyTreeColumn& c = f.col(0);
    EXPECT_EQ(c.Options().bits(), 0x88FF);
    EXPECT_EQ(c.Width(), 50);
    EXPECT_EQ(c.MinWidth(), 10);
    EXPECT_EQ(c.MaxWidth(), 10000);
    EXPECT_EQ(c.Margin(), 4);
    EXPECT_EQ(c.Spacing(), 3);
    EXPECT_EQ(c.ImageIndex(), -1);
    EXPECT_EQ(f.header.Options().bits(), 0x20Au);
    EXPECT_EQ(f.header.MainColumn(), 0);
    EXPECT_EQ(f.header.SortColumn(), NoColumn);
}

TEST(TreeColumns, WidthLimitsAndLastWidth)
{
    ColumnTree f(1);
    TLazyTreeColumn& c = f.col(0);
    c.SetMinWidth(80);
    EXPECT_EQ(c.Width(), 80);
    EXPECT_EQ(c.LastWidth(), 50);
    c.SetMaxWidth(30);  // below the minimum: stored as the minimum
    EXPECT_EQ(c.MaxWidth(), 80);
    c.SetWidth(500);
    EXPECT_EQ(c.Width(), 80);
    c.SetMaxWidth(200);
    c.SetMinWidth(-5);
    EXPECT_EQ(c.MinWidth(), 0);
    c.SetWidth(500);
    EXPECT_EQ(c.Width(), 200);
    EXPECT_EQ(c.LastWidth(), 80);
    c.SetMinWidth(300);  // above the maximum: stored as the maximum
    EXPECT_EQ(c.MinWidth(), 200);
    c.SetMargin(-1);
    EXPECT_EQ(c.Margin(), 4);
}

TEST(TreeColumns, FixedColumnsStayInsideTheWidthBand)
{
    ColumnTree f(3, 300);
    for (int i : {0, 1})
        f.col(i).SetOptions(f.col(i).Options() + TLTColumnOptions{coFixed});
    f.header.FixedAreaConstraints().Set(TLTFixedAreaConstraints::MaxWidthPercent, 50);
    // 150 pixels for both fixed columns: the second can grow to 100 at most.
    f.col(1).SetWidth(400);
    EXPECT_EQ(f.col(1).Width(), 100);
    EXPECT_EQ(f.columns.GetVisibleFixedWidth(), 150);
    // A scrolling column knows no such band.
    f.col(2).SetWidth(400);
    EXPECT_EQ(f.col(2).Width(), 400);
}

struct MainCase {
    const char* name;
    int mainBefore;
    int deleted;
    int mainAfter;
};

const MainCase kMainCases[] = {
    {"MainDeletedFirstRemainingTakesOver", 0, 0, 0},
    {"MainDeletedFromTheEnd", 2, 2, 0},
    {"LowerDeletedMainFollowsItsColumn", 2, 0, 1},
    {"HigherDeletedMainStays", 1, 2, 1},
};

class MainColumnAfterDelete : public ::testing::TestWithParam<MainCase> {};

TEST_P(MainColumnAfterDelete, FollowsTheColumns)
{
    const MainCase& c = GetParam();
    ColumnTree f;
    f.header.SetMainColumn(c.mainBefore);
    f.columns.Delete(c.deleted);
    EXPECT_EQ(f.header.MainColumn(), c.mainAfter);
}

INSTANTIATE_TEST_SUITE_P(Table, MainColumnAfterDelete, ::testing::ValuesIn(kMainCases), CaseName{});

TEST(TreeColumns, LastColumnDeletedLeavesNoMainColumn)
{
    ColumnTree f(1);
    f.columns.Delete(0);
    EXPECT_EQ(f.header.MainColumn(), NoColumn);
    EXPECT_THROW(f.columns.Items(0), std::out_of_range);
}

TEST(TreeColumns, SortAndAutoSizeIndexesFollowADeletedColumn)
{
    ColumnTree f(4);
    f.header.SetSortColumn(3);
    f.header.SetAutoSizeIndex(1);
    f.columns.Delete(1);
    EXPECT_EQ(f.header.SortColumn(), 2);
    EXPECT_EQ(f.header.AutoSizeIndex(), NoColumn);
}

TEST(TreeColumns, MainAndSortColumnAreClamped)
{
    ColumnTree f;
    f.header.SetMainColumn(5);
    EXPECT_EQ(f.header.MainColumn(), 2);
    f.header.SetMainColumn(-7);
    EXPECT_EQ(f.header.MainColumn(), 0);
    f.header.SetSortColumn(9);
    EXPECT_EQ(f.header.SortColumn(), 2);
    f.header.SetSortColumn(-4);
    EXPECT_EQ(f.header.SortColumn(), NoColumn);
    f.columns.Clear();
    EXPECT_EQ(f.header.MainColumn(), NoColumn);
    f.header.SetMainColumn(3);
    EXPECT_EQ(f.header.MainColumn(), NoColumn);
}

TEST(TreeColumns, ColumnFromPositionWalksVisibleColumnsByPosition)
{
    ColumnTree f;
    // Screen order: 2, 0, 1 with column 0 hidden.
    f.col(2).SetPosition(0);
    f.col(0).SetOptions(f.col(0).Options() - TLTColumnOptions{coVisible});
    EXPECT_EQ(f.columns.ColumnFromPosition(QPoint(10, 5)), 2);
    EXPECT_EQ(f.columns.ColumnFromPosition(QPoint(49, 5)), 2);
    EXPECT_EQ(f.columns.ColumnFromPosition(QPoint(50, 5)), 1);
    EXPECT_EQ(f.columns.ColumnFromPosition(QPoint(100, 5)), InvalidColumn);
    EXPECT_EQ(f.columns.ColumnFromPosition(QPoint(-1, 5)), InvalidColumn);
    EXPECT_EQ(f.columns.ColumnFromPosition(QPoint(10, -1)), InvalidColumn);
    EXPECT_EQ(f.columns.ColumnFromPosition(TColumnPosition(1)), 0);
    EXPECT_EQ(f.columns.ColumnFromPosition(TColumnPosition(3)), NoColumn);
    int left = 0;
    int right = 0;
    EXPECT_EQ(f.columns.ColumnAndBoundsFromPosition(QPoint(60, 0), left, right), 1);
    EXPECT_EQ(left, 50);
    EXPECT_EQ(right, 100);
    ColumnTree empty(0);
    EXPECT_EQ(empty.columns.ColumnFromPosition(QPoint(10, 5)), InvalidColumn);
}

TEST(TreeColumns, VisibleWalksSkipHiddenAndUnfocusableColumns)
{
    ColumnTree f(4);
    f.col(3).SetPosition(0);  // order 3, 0, 1, 2
    f.col(0).SetOptions(f.col(0).Options() - TLTColumnOptions{coVisible});
    f.col(1).SetOptions(f.col(1).Options() - TLTColumnOptions{coAllowFocus});
    EXPECT_EQ(f.columns.GetFirstColumn(), 3);
    EXPECT_EQ(f.columns.GetNextColumn(3), 0);
    EXPECT_EQ(f.columns.GetPreviousColumn(3), InvalidColumn);
    EXPECT_EQ(f.columns.GetNextVisibleColumn(3), 1);
    EXPECT_EQ(f.columns.GetNextVisibleColumn(3, true), 2);
    EXPECT_EQ(f.columns.GetPreviousVisibleColumn(2, true), 3);
    EXPECT_EQ(f.columns.GetNextVisibleColumn(2), InvalidColumn);
    EXPECT_EQ(f.columns.GetFirstVisibleColumn(), 3);
    EXPECT_EQ(f.columns.GetLastVisibleColumn(), 2);
    EXPECT_EQ(f.columns.GetNextVisibleColumn(-1), InvalidColumn);
    std::vector<TColumnIndex> visible;
    for (TLazyTreeColumn* c : f.columns.GetVisibleColumns())
        visible.push_back(c->Index());
    EXPECT_EQ(visible, (std::vector<TColumnIndex>{3, 1, 2}));
}

struct ScrollWidthCase {
    const char* name;
    std::vector<int> widths;
    std::vector<bool> fixed;
    int want;
};

const ScrollWidthCase kScrollWidthCases[] = {
    {"Average", {40, 60}, {false, false}, 50},
    {"HalfRoundsDownToEven", {50, 51}, {false, false}, 50},
    {"HalfRoundsUpToEven", {51, 52}, {false, false}, 52},
    {"FixedColumnsLeftOut", {200, 30}, {true, false}, 30},
    {"OnlyFixedGivesIndent", {200}, {true}, 18},
};

class ScrollWidth : public ::testing::TestWithParam<ScrollWidthCase> {};

TEST_P(ScrollWidth, IsTheAverageOfScrollingColumns)
{
    const ScrollWidthCase& c = GetParam();
    ColumnTree f(int(c.widths.size()), 1000);
    for (std::size_t i = 0; i < c.widths.size(); ++i) {
        f.col(int(i)).SetWidth(c.widths[i]);
        if (c.fixed[i])
            f.col(int(i)).SetOptions(f.col(int(i)).Options() + TLTColumnOptions{coFixed});
    }
    EXPECT_EQ(f.columns.GetScrollWidth(), c.want);
}

INSTANTIATE_TEST_SUITE_P(Table, ScrollWidth, ::testing::ValuesIn(kScrollWidthCases), CaseName{});

TEST(TreeColumns, AutoSizeColumnTakesTheRestOfTheClientWidth)
{
    ColumnTree f(3, 300);
    f.col(2).SetWidth(60);
    f.header.SetAutoSizeIndex(1);
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoAutoResize});
    EXPECT_EQ(f.col(1).Width(), 190);
    // Its width is the fit's alone; the others' changes move it along.
    f.col(1).SetWidth(20);
    EXPECT_EQ(f.col(1).Width(), 190);
    f.col(0).SetWidth(100);
    EXPECT_EQ(f.col(1).Width(), 140);
    // And it follows the tree's width.
    f.tree->resize(400, 200);
    QApplication::processEvents();
    EXPECT_EQ(f.col(1).Width(), 240);
}

TEST(TreeColumns, AnimatedResizeStepsFromTheTimerAndEndsAtTheWidth)
{
    ColumnTree f(2);
    std::vector<TColumnIndex> resized;
    f.tree->OnColumnResize = [&](TLTHeader&, TColumnIndex c) { resized.push_back(c); };
    f.columns.AnimatedResize(0, 114);
    ASSERT_TRUE(f.columns.AnimationRunning());
    f.columns.AnimationStep();
    EXPECT_EQ(f.col(0).Width(), 52);  // (114 - 50) / 32 per step
    EXPECT_EQ(f.col(1).UnscrolledLeft(), 52);
    EXPECT_TRUE(resized.empty());
    for (int i = 0; i < 40 && f.columns.AnimationRunning(); ++i)
        f.columns.AnimationStep();
    EXPECT_FALSE(f.columns.AnimationRunning());
    EXPECT_EQ(f.col(0).Width(), 114);
    EXPECT_EQ(f.col(0).LastWidth(), 50);
    EXPECT_EQ(resized, std::vector<TColumnIndex>{0});
    // Switched off, the width is set at once; and it is clamped to the limits.
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoDisableAnimatedResize});
    f.columns.AnimatedResize(1, 20000);
    EXPECT_FALSE(f.columns.AnimationRunning());
    EXPECT_EQ(f.col(1).Width(), 10000);
    f.col(0).RestoreLastWidth();
    EXPECT_EQ(f.col(0).Width(), 50);
}

TEST(TreeColumns, AnimatedResizeRunsOnTheEventLoop)
{
    ColumnTree f(1);
    f.columns.AnimatedResize(0, 200);
    // Each pass waits for the next event (the step timer), so no time is guessed here.
    for (int i = 0; i < 1000 && f.columns.AnimationRunning(); ++i)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(f.col(0).Width(), 200);
}

TEST(TreeColumns, MovesInsideAnUpdateBracketKeepThePositionsAPermutation)
{
    ColumnTree f(4);
    f.columns.BeginUpdate();
    f.columns.Delete(1);
    f.col(2).SetPosition(0);
    f.columns.EndUpdate();
    f.expectConsistent();
    EXPECT_EQ(f.columns.PositionToIndex(), (std::vector<TColumnIndex>{2, 0, 1}));
}

TEST(TreeColumns, DeletingTheAnimatedColumnEndsTheAnimation)
{
    ColumnTree f(3);
    f.columns.AnimatedResize(2, 200);
    f.columns.Delete(0);
    f.columns.AnimationStep();
    EXPECT_EQ(f.col(1).Width(), 54);  // the animated column is index 1 now
    f.columns.Delete(1);
    EXPECT_FALSE(f.columns.AnimationRunning());
    EXPECT_EQ(f.col(0).Width(), 50);
}

TEST(TreeColumns, DisplayNameFallsBackForWideCharacters)
{
    ColumnTree f(2);
    f.col(0).SetText(QStringLiteral("Gr\u00FC\u00DFe"));
    f.col(1).SetText(QStringLiteral("\u0416"));
    EXPECT_EQ(f.col(0).DisplayName(), QStringLiteral("Gr\u00FC\u00DFe"));
    EXPECT_EQ(f.col(1).DisplayName(), "Column 1");
}

TEST(TreeColumns, AssignCopiesColumnsAndPositions)
{
    ColumnTree a;
    a.col(0).SetText("A");
    a.col(1).SetWidth(70);
    a.col(2).SetPosition(0);
    ColumnTree b(1);
    b.columns.Assign(a.columns);
    EXPECT_TRUE(b.columns.Equals(a.columns));
    EXPECT_EQ(b.positions(), a.positions());
    EXPECT_EQ(b.lefts(), a.lefts());
    b.col(1).SetWidth(71);
    EXPECT_FALSE(b.columns.Equals(a.columns));
}

// ----- header arithmetic ----------------------------------------------------------------------

TEST(TreeHeader, ResizeColumnsRotatesTheRemainderPixels)
{
    ColumnTree f(3, 1000);
    EXPECT_EQ(f.header.ResizeColumns(5, 0, 2), 5);
    EXPECT_EQ(f.widths(), (std::vector<int>{52, 52, 51}));
    EXPECT_EQ(f.header.ResizeColumns(5, 0, 2), 5);
    EXPECT_EQ(f.widths(), (std::vector<int>{54, 53, 53}));
}

TEST(TreeHeader, ResizeColumnsStopsAtTheLimits)
{
    ColumnTree f(3, 1000);
    f.col(0).SetMaxWidth(52);
    f.col(1).SetMaxWidth(51);
    f.col(2).SetMaxWidth(50);
    // Only three pixels fit: the request is cut and the rest is not lost in a loop.
    EXPECT_EQ(f.header.ResizeColumns(10, 0, 2), 3);
    EXPECT_EQ(f.widths(), (std::vector<int>{52, 51, 50}));
    EXPECT_EQ(f.header.ResizeColumns(-200, 0, 2), -123);
    EXPECT_EQ(f.widths(), (std::vector<int>{10, 10, 10}));
    EXPECT_EQ(f.header.ResizeColumns(0, 0, 2), 0);
}

TEST(TreeHeader, ResizeColumnsOnlyTouchesColumnsWithTheOptions)
{
    ColumnTree f(3, 1000);
    f.col(1).SetOptions(f.col(1).Options() + TLTColumnOptions{coFixed});
    EXPECT_EQ(f.header.ResizeColumns(6, 0, 2, {coVisible, coFixed}), 6);
    EXPECT_EQ(f.widths(), (std::vector<int>{50, 56, 50}));
}

TEST(TreeHeader, ShrinkWhileRescalingRelaxesTheWorkingLimits)
{
    ColumnTree f(2, 1000);
    for (int i : {0, 1}) {
        f.col(i).SetOptions(f.col(i).Options() + TLTColumnOptions{coFixed});
        f.col(i).SetMinWidth(50);
    }
    f.col(0).SetWidth(100);
    f.col(1).SetWidth(60);
    f.header.SetStates({hsScaling});
    EXPECT_EQ(f.header.ResizeColumns(-100, 0, 1, {coVisible, coFixed}), -100);
    f.header.SetStates({}, {hsScaling});
    EXPECT_EQ(f.widths(), (std::vector<int>{30, 30}));
    EXPECT_EQ(f.col(0).MinWidth(), 50);
    EXPECT_EQ(f.col(1).MinWidth(), 50);
}

TEST(TreeHeader, SpringColumnsShareHalfPixels)
{
    ColumnTree f(3, 300);
    for (int i : {0, 2})
        f.col(i).SetOptions(f.col(i).Options() + TLTColumnOptions{coAutoSpring});
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoAutoSpring});
    f.header.UpdateSpringColumns();  // records the width
    f.tree->resize(303, 200);
    QApplication::processEvents();
    EXPECT_EQ(f.widths(), (std::vector<int>{51, 50, 51}));
    EXPECT_FLOAT_EQ(f.col(0).SpringRest(), 0.5f);
    EXPECT_FLOAT_EQ(f.col(2).SpringRest(), 0.5f);
    f.tree->resize(304, 200);
    QApplication::processEvents();
    EXPECT_EQ(f.widths(), (std::vector<int>{52, 50, 52}));
    f.tree->resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(f.widths(), (std::vector<int>{50, 50, 50}));
}

TEST(TreeHeader, RescaleBringsTheFixedAreaIntoTheBand)
{
    ColumnTree f(3, 400);
    for (int i : {0, 1}) {
        f.col(i).SetOptions(f.col(i).Options() + TLTColumnOptions{coFixed});
        f.col(i).SetWidth(150);
    }
    // The rescale works only with a height percentage set.
    f.header.FixedAreaConstraints().Set(TLTFixedAreaConstraints::MaxHeightPercent, 50);
    f.header.FixedAreaConstraints().Set(TLTFixedAreaConstraints::MaxWidthPercent, 50);
    EXPECT_EQ(f.columns.GetVisibleFixedWidth(), 200);
    EXPECT_EQ(f.col(2).Width(), 50);
    EXPECT_FALSE(f.header.States().contains(hsScaling));
}

TEST(TreeHeader, HeightFollowsLimitsAndPercentages)
{
    ColumnTree f(1, 300);
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoVisible});
    f.header.SetHeight(5);
    EXPECT_EQ(f.header.Height(), 10);
    f.header.SetMaxHeight(30);
    f.header.SetHeight(50);
    EXPECT_EQ(f.header.Height(), 30);
    // 10 % of client plus header height (200) is 20.
    f.header.FixedAreaConstraints().Set(TLTFixedAreaConstraints::MaxHeightPercent, 10);
    f.header.SetHeight(25);
    EXPECT_EQ(f.header.Height(), 20);
    // A default height that the height equals drags the height along.
    f.header.SetDefaultHeight(20);
    f.header.SetDefaultHeight(15);
    EXPECT_EQ(f.header.DefaultHeight(), 15);
    EXPECT_EQ(f.header.Height(), 15);
}

TEST(TreeHeader, SortDirectionSortsTheTreeWithAutoSort)
{
    ColumnTree f(2);
    const QStringList texts{"b", "c", "a"};
    f.tree->OnGetText = [&](TBaseLazyTree& t, PLazyNode n, TColumnIndex column, TVSTTextType,
                            QString& text) {
        const int i = *t.nodeData<int>(n);
        text = column == 1 ? texts[i] : QString::number(i);
    };
    f.tree->SetNodeDataSize(sizeof(int));
    f.tree->OnInitNode = [](LazyTreeModel& t, PLazyNode, PLazyNode n, TLazyNodeInitStates&) {
        *t.nodeData<int>(n) = int(n->Index);
    };
    f.tree->OnCompareNodes = [&](LazyTreeModel&, PLazyNode a, PLazyNode b, TColumnIndex column,
                                 int& result) {
        result = QString::compare(f.tree->GetText(a, column), f.tree->GetText(b, column));
    };
    f.tree->SetAutoOptions(f.tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
    f.tree->SetRootNodeCount(3);
    auto order = [&] {
        QString s;
        for (PLazyNode n = f.tree->GetFirst(); n; n = f.tree->GetNextSibling(n))
            s += f.tree->GetText(n, 1);
        return s;
    };
    f.header.SetSortColumn(1);
    EXPECT_EQ(order(), QString("bca"));  // no automatic sort
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoHeaderClickAutoSort});
    f.header.SetSortDirection(sdDescending);
    EXPECT_EQ(order(), QString("cba"));
    f.header.SetSortDirection(sdAscending);
    EXPECT_EQ(order(), QString("abc"));
}

TEST(TreeHeader, HitTestsUseTheNegativeClientYConvention)
{
    ColumnTree f(1, 300);
    EXPECT_FALSE(f.header.InHeader(QPoint(10, -5)));  // hidden header
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoVisible});
    QApplication::processEvents();
    ASSERT_EQ(f.header.Height(), 19);
    ASSERT_EQ(f.tree->viewport()->width(), 300);
    EXPECT_TRUE(f.header.InHeader(QPoint(10, -1)));
    EXPECT_TRUE(f.header.InHeader(QPoint(10, -19)));
    EXPECT_FALSE(f.header.InHeader(QPoint(10, -20)));
    EXPECT_FALSE(f.header.InHeader(QPoint(10, 0)));
    // The band reaches two pixels below the header, whose last row is y = -1.
    EXPECT_TRUE(f.header.InHeaderSplitterArea(QPoint(10, 1)));
    EXPECT_TRUE(f.header.InHeaderSplitterArea(QPoint(10, -2)));
    EXPECT_FALSE(f.header.InHeaderSplitterArea(QPoint(10, 2)));
    EXPECT_FALSE(f.header.InHeaderSplitterArea(QPoint(10, -3)));
    EXPECT_EQ(f.header.ClientToHeader(QPoint(4, -19)), QPoint(4, 0));
    // The band sits above the viewport, exactly as high as the header.
    ASSERT_NE(f.header.widget(), nullptr);
    EXPECT_TRUE(f.header.widget()->isVisible());
    EXPECT_EQ(f.header.widget()->height(), 19);
    EXPECT_EQ(f.header.widget()->geometry().bottom() + 1, f.tree->viewport()->geometry().top());
    f.header.SetOptions(f.header.Options() - TLTHeaderOptions{hoVisible});
    EXPECT_FALSE(f.header.widget()->isVisible());
    EXPECT_EQ(f.tree->viewport()->geometry().top(), 0);
}

TEST(TreeHeader, ParentFontFollowsTheTree)
{
    ColumnTree f(1);
    QFont own(QStringLiteral("Sans"));
    own.setPointSize(20);
    f.header.SetFont(own);
    QFont treeFont(QStringLiteral("Serif"));
    treeFont.setPointSize(7);
    f.tree->setFont(treeFont);
    EXPECT_EQ(f.header.Font().pointSize(), 20);
    f.header.SetParentFont(true);
    EXPECT_EQ(f.header.Font().pointSize(), 7);
    treeFont.setPointSize(11);
    f.tree->setFont(treeFont);
    EXPECT_EQ(f.header.Font().pointSize(), 11);
    // Setting a font of its own ends the following.
    f.header.SetFont(own);
    EXPECT_FALSE(f.header.ParentFont());
}

TEST(TreeHeader, HeaderFontColorIsTheFontsColour)
{
    ColumnTree f(0);
    f.header.SetFontColor(clRed);
    EXPECT_EQ(f.tree->HeaderFontColor(), QColor(255, 0, 0));
}

}  // namespace
}  // namespace zfw::test
