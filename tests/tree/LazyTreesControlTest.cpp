// The tree control on an offscreen widget: defaults, destruction, offsets and scroll bars,
// rows in view, hit tests at the edges, invalidation and the timer-driven toggle animation.
//
// Fixture: 20 top-level nodes "N0".."N19" of 18 px; N3 has children N3a, N3b (collapsed),
// N5 is hidden.

#include "support/CaseName.h"

#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

class ProbeControl : public TLazyStringTree {
public:
    using TBaseLazyTree::clientHeight;
    using TBaseLazyTree::clientWidth;
};

struct Fixture {
    std::unique_ptr<ProbeControl> tree = std::make_unique<ProbeControl>();
    std::vector<PLazyNode> top;
    PLazyNode n3a = nullptr;
    PLazyNode n3b = nullptr;

    Fixture()
    {
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetAnimationDuration(0);
        tree->resize(200, 100);
        for (int i = 0; i < 20; ++i)
            top.push_back(tree->AddChild(nullptr));
        n3a = tree->AddChild(top[3]);
        n3b = tree->AddChild(top[3]);
        tree->SetVisible(top[5], false);
        tree->show();
        tree->UpdateScrollBars(true);
    }
    // Client y of a top-level node's row (all rows 18 px, N5 hidden).
    int rowY(int i) const { return 18 * (i > 5 ? i - 1 : i) + tree->OffsetY(); }
};

TEST(TBaseLazyTree, FreshTreeHasTheDocumentedDefaults)
{
    TBaseLazyTree t;
    EXPECT_EQ(t.size(), QSize(200, 100));
    EXPECT_EQ(t.DefaultNodeHeight(), 18);
    EXPECT_EQ(t.Indent(), 18);
    EXPECT_EQ(t.Margin(), 4);
    EXPECT_EQ(t.TextMargin(), 4);
    EXPECT_EQ(t.NodeDataSize(), -1);
    EXPECT_EQ(t.TotalNodeCount(), 0u);
    EXPECT_EQ(t.FocusedColumn(), NoColumn);
    EXPECT_EQ(t.CheckImageKind(), ckSystemDefault);
    EXPECT_EQ(t.BorderStyle(), bsSingle);
    EXPECT_EQ(t.AnimationDuration(), 200);
    EXPECT_EQ(t.EditDelay(), 1000);
    EXPECT_EQ(t.DefaultPasteMode(), amAddChildLast);
    EXPECT_EQ(t.SelectionBlendFactor(), 128);
    EXPECT_EQ(t.ScrollBarOptions().ScrollBars(), ssBoth);
    EXPECT_EQ(t.Colors().GetColor(TLTColors::FocusedSelectionColor), clHighlight);
    EXPECT_EQ(t.OffsetXY(), QPoint(0, 0));
    EXPECT_TRUE(t.options().AnimationOptions.empty());
    EXPECT_EQ(t.ExportMode(), emAll);
    // Theme-aware by default, drawn through Qt's style; a drop target by default.
    EXPECT_TRUE(t.TreeStates().contains(tsUseThemes));
    EXPECT_FALSE(t.TreeStates().contains(tsUseExplorerTheme));
    EXPECT_TRUE(t.acceptDrops());
}

// Writing an option set makes the window react; writing the same set again does nothing.
struct OptionReactionCase {
    const char* name;
    std::function<void(TBaseLazyTree&)> write;
    std::function<bool(const TBaseLazyTree&)> reacted;
};

const OptionReactionCase kOptionReactionCases[] = {
    {"ThemeAwareOffLeavesThemes",
     [](TBaseLazyTree& t) {
         t.SetPaintOptions(t.options().PaintOptions - TLTPaintOptions{toThemeAware});
     },
     [](const TBaseLazyTree& t) { return !t.TreeStates().contains(tsUseThemes); }},
    {"ThemeAwareBackEntersThemes",
     [](TBaseLazyTree& t) {
         t.SetPaintOptions(t.options().PaintOptions - TLTPaintOptions{toThemeAware});
         t.SetPaintOptions(t.options().PaintOptions + TLTPaintOptions{toThemeAware});
     },
     [](const TBaseLazyTree& t) { return t.TreeStates().contains(tsUseThemes); }},
    {"ExplorerThemeHasNoCounterpart",
     [](TBaseLazyTree& t) {
         t.SetPaintOptions(t.options().PaintOptions + TLTPaintOptions{toUseExplorerTheme});
     },
     [](const TBaseLazyTree& t) {
         return !t.TreeStates().contains(tsUseExplorerTheme)
                && t.TreeStates().contains(tsUseThemes);
     }},
    {"NoOleDropNoDropTarget",
     [](TBaseLazyTree& t) {
         t.SetMiscOptions(t.options().MiscOptions - TLTMiscOptions{toAcceptOLEDrop});
     },
     [](const TBaseLazyTree& t) { return !t.acceptDrops(); }},
    {"OleDropBackRegistersAgain",
     [](TBaseLazyTree& t) {
         t.SetMiscOptions(t.options().MiscOptions - TLTMiscOptions{toAcceptOLEDrop});
         t.SetMiscOptions(t.options().MiscOptions + TLTMiscOptions{toAcceptOLEDrop});
     },
     [](const TBaseLazyTree& t) { return t.acceptDrops(); }},
    {"AnimationOptionsStoredOnly",
     [](TBaseLazyTree& t) { t.SetAnimationOptions({toAdvancedAnimatedToggle}); },
     [](const TBaseLazyTree& t) {
         return t.options().AnimationOptions == TLTAnimationOptions{toAdvancedAnimatedToggle}
                && t.TreeStates().contains(tsUseThemes) && t.acceptDrops();
     }},
};

class OptionReaction : public ::testing::TestWithParam<OptionReactionCase> {};

TEST_P(OptionReaction, WindowFollowsTheWrittenSet)
{
    TBaseLazyTree t;
    GetParam().write(t);
    EXPECT_TRUE(GetParam().reacted(t));
    // The same sets once more: no state change at all.
    int stateChanges = 0;
    t.OnStateChange = [&](LazyTreeModel&, TLazyTreeStates, TLazyTreeStates) { ++stateChanges; };
    const TLazyTreeOptionSets now = t.options();
    t.SetPaintOptions(now.PaintOptions);
    t.SetMiscOptions(now.MiscOptions);
    t.SetAutoOptions(now.AutoOptions);
    t.SetSelectionOptions(now.SelectionOptions);
    EXPECT_EQ(stateChanges, 0);
    EXPECT_TRUE(GetParam().reacted(t));
}

INSTANTIATE_TEST_SUITE_P(Table, OptionReaction, ::testing::ValuesIn(kOptionReactionCases),
                         CaseName{});

struct ScaleCase {
    const char* name;
    int m;
    int d;
    bool autoScale;
    int height;
    int indent;
};

const ScaleCase kScaleCases[] = {
    {"DoubleSize", 2, 1, true, 36, 36},
    {"OneAndAHalfRounds", 144, 96, true, 27, 27},
    {"ShrinkRoundsToNearest", 2, 3, true, 12, 12},
    {"SameFactorChangesNothing", 120, 120, true, 18, 18},
    {"WithoutAutoScaleNothing", 2, 1, false, 18, 18},
};

class ChangeScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ChangeScale, ScalesRowHeightAndIndent)
{
    TBaseLazyTree t;
    if (!GetParam().autoScale)
        t.SetAutoOptions(t.options().AutoOptions - TLTAutoOptions{toAutoChangeScale});
    PLazyNode old = t.AddChild(nullptr);
    t.ChangeScale(GetParam().m, GetParam().d);
    EXPECT_EQ(t.DefaultNodeHeight(), GetParam().height);
    EXPECT_EQ(t.Indent(), GetParam().indent);
    // Existing rows keep their height; new ones take the scaled default.
    EXPECT_EQ(t.GetNodeHeight(old), 18u);
    EXPECT_EQ(t.GetNodeHeight(t.AddChild(nullptr)), std::uint32_t(GetParam().height));
    EXPECT_TRUE(t.checkConsistency().isEmpty()) << t.checkConsistency().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, ChangeScale, ::testing::ValuesIn(kScaleCases), CaseName{});

struct AnimationConditionCase {
    const char* name;
    bool option;
    int duration;
    bool inUpdate;
    bool animates;
    bool childrenAbove = false;
};

const AnimationConditionCase kAnimationConditions[] = {
    {"OptionAndDuration", true, 100, false, true},
    {"DurationWithoutOption", false, 100, false, false},
    {"OptionWithoutDuration", true, 0, false, false},
    {"InsideAnUpdateBracket", true, 100, true, false},
    {"ChildrenAbove", true, 100, false, false, true},
};

class ToggleAnimationCondition : public ::testing::TestWithParam<AnimationConditionCase> {};

TEST_P(ToggleAnimationCondition, AnimatesOnlyWhenAsked)
{
    Fixture f;
    // The duration's setter puts the option in or takes it out: the option is set after it.
    f.tree->SetAnimationDuration(GetParam().duration);
    f.tree->SetAnimationOptions(GetParam().option ? TLTAnimationOptions{toAnimatedToggle}
                                                  : TLTAnimationOptions{});
    if (GetParam().childrenAbove)
        f.tree->SetPaintOptions(f.tree->options().PaintOptions + TLTPaintOptions{toChildrenAbove});
    if (GetParam().inUpdate)
        f.tree->BeginUpdate();
    f.tree->ToggleNode(f.top[3]);
    EXPECT_EQ(f.tree->animationRunning(), GetParam().animates);
    EXPECT_EQ(f.tree->TreeStates().contains(tsInAnimation), GetParam().animates);
    if (GetParam().inUpdate)
        f.tree->EndUpdate();
    EXPECT_TRUE(f.tree->Expanded(f.top[3]));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.tree->animationRunning(); }, 2000));
}

INSTANTIATE_TEST_SUITE_P(Table, ToggleAnimationCondition, ::testing::ValuesIn(kAnimationConditions),
                         CaseName{});

TEST(ToggleAnimationDuration, SwitchesTheToggleAnimationOnAndOff)
{
    Fixture f;
    f.tree->SetAnimationOptions({toAdvancedAnimatedToggle});
    f.tree->SetAnimationDuration(0);
    EXPECT_EQ(f.tree->options().AnimationOptions, TLTAnimationOptions{toAdvancedAnimatedToggle});
    f.tree->SetAnimationDuration(150);
    EXPECT_EQ(f.tree->options().AnimationOptions,
              (TLTAnimationOptions{toAnimatedToggle, toAdvancedAnimatedToggle}));
    EXPECT_EQ(f.tree->AnimationDuration(), 150);
}

struct FontCase {
    const char* name;
    int pixelSize;
    bool autoScale;
    bool wantTaller;
};

const FontCase kFontCases[] = {
    {"SmallFontKeepsDefault", 8, true, false},
    {"LargeFontRaisesHeight", 40, true, true},
    {"LargeFontWithoutAutoScaleKeepsDefault", 40, false, false},
};

class DefaultNodeHeightFromFont : public ::testing::TestWithParam<FontCase> {};

TEST_P(DefaultNodeHeightFromFont, AfterShowAndFontChange)
{
    const FontCase& c = GetParam();
    TBaseLazyTree t;
    if (!c.autoScale)
        t.SetAutoOptions(t.options().AutoOptions - TLTAutoOptions{toAutoChangeScale});
    t.show();
    ASSERT_EQ(t.DefaultNodeHeight(), 18);
    QFont f = t.font();
    f.setPixelSize(c.pixelSize);
    t.setFont(f);
    EXPECT_EQ(t.DefaultNodeHeight() > 18, c.wantTaller) << t.DefaultNodeHeight();
    if (c.wantTaller) {
        PLazyNode n = t.AddChild(nullptr);
        EXPECT_GE(int(n->NodeHeight), QFontMetrics(f).height() - 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, DefaultNodeHeightFromFont, ::testing::ValuesIn(kFontCases),
                         CaseName{});

TEST(TBaseLazyTree, DestroyingAReadOnlyTreeStillFreesEveryNode)
{
    int freed = 0;
    {
        TBaseLazyTree t;
        t.SetNodeDataSize(sizeof(int));
        t.OnFreeNode = [&](LazyTreeModel&, PLazyNode) { ++freed; };
        for (int i = 0; i < 3; ++i) {
            PLazyNode n = t.AddChild(nullptr);
            *t.nodeData<int>(n) = i;
            *t.nodeData<int>(t.AddChild(n)) = i;
        }
        t.SetMiscOptions(t.options().MiscOptions + TLTMiscOptions{toReadOnly});
    }
    EXPECT_EQ(freed, 6);
}

TEST(TBaseLazyTree, DelayedChangeNoticeArrivesFromTheTimer)
{
    Fixture f;
    int changes = 0;
    f.tree->OnChange = [&](LazyTreeModel&, PLazyNode) { ++changes; };
    f.tree->SetChangeDelay(5);
    f.tree->SetSelected(f.top[1], true);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return changes == 1; }, 2000));
}

TEST(TBaseLazyTree, RangeFollowsContentAndBottomSpace)
{
    Fixture f;
    EXPECT_EQ(f.tree->RangeY(), 19 * 18);
    f.tree->SetExpanded(f.top[3], true);
    EXPECT_EQ(f.tree->RangeY(), 21 * 18);
    f.tree->SetBottomSpace(30);
    EXPECT_EQ(f.tree->RangeY(), 21 * 18 + 30);
}

struct OffsetCase {
    const char* name;
    int set;
    int want;  // -1000: the lowest offset (client height - range)
};

const OffsetCase kOffsetCases[] = {
    {"PositiveGivesZero", 40, 0},
    {"InsideKept", -50, -50},
    {"FarBelowGivesLimit", -100000, -1000},
};

class ControlOffsetY : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(ControlOffsetY, ClampedAndMirroredByTheBar)
{
    Fixture f;
    const int limit = f.tree->clientHeight() - int(f.tree->RangeY());
    const int want = GetParam().want == -1000 ? limit : GetParam().want;
    f.tree->SetOffsetY(GetParam().set);
    EXPECT_EQ(f.tree->OffsetY(), want);
    EXPECT_EQ(f.tree->verticalScrollBar()->value(), -want);
}

INSTANTIATE_TEST_SUITE_P(Table, ControlOffsetY, ::testing::ValuesIn(kOffsetCases), CaseName{});

TEST(TBaseLazyTree, MovingTheBarScrollsTheTree)
{
    Fixture f;
    std::vector<int> deltas;
    f.tree->OnScroll = [&](TBaseLazyTree&, int, int dy) { deltas.push_back(dy); };
    f.tree->verticalScrollBar()->setValue(36);
    EXPECT_EQ(f.tree->OffsetY(), -36);
    EXPECT_EQ(deltas, std::vector<int>{-36});
    EXPECT_EQ(f.tree->TopNode(), f.top[2]);
}

TEST(TBaseLazyTree, ShortContentHidesTheBarUnlessAlwaysVisible)
{
    TBaseLazyTree t;
    t.resize(200, 200);
    t.AddChild(nullptr);
    t.show();
    t.SetOffsetY(-10);
    EXPECT_EQ(t.OffsetY(), 0);
    EXPECT_EQ(t.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    t.ScrollBarOptions().SetAlwaysVisible(true);
    EXPECT_EQ(t.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(t.verticalScrollBar()->isEnabled());
    t.ScrollBarOptions().SetScrollBars(ssHorizontal);
    EXPECT_EQ(t.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST(TBaseLazyTree, DisplayRectOfShownHiddenAndCollapsedNodes)
{
    Fixture f;
    f.tree->SetOffsetY(-18);
    const QRect r = f.tree->GetDisplayRect(f.top[7], NoColumn, false);
    EXPECT_EQ(r.top(), f.rowY(7));
    EXPECT_EQ(r.height(), 18);
    EXPECT_EQ(r.left(), 0);
    EXPECT_TRUE(f.tree->GetDisplayRect(f.top[5], NoColumn, false).isNull());
    EXPECT_TRUE(f.tree->GetDisplayRect(f.n3a, NoColumn, false).isNull());
    f.tree->SetExpanded(f.top[3], true);
    const QRect child = f.tree->GetDisplayRect(f.n3b, NoColumn, true);
    EXPECT_EQ(child.top(), f.rowY(3) + 2 * 18);
    // Text starts after the margin, one indent for the level and one for the shown root.
    EXPECT_EQ(child.left(), 4 + 18 + 18);
    EXPECT_THROW(f.tree->GetDisplayRect(nullptr, NoColumn, false), ELazyTreeAssertion);
    EXPECT_THROW(f.tree->GetDisplayRect(f.tree->RootNode(), NoColumn, false), ELazyTreeAssertion);
}

TEST(TBaseLazyTree, ScrollIntoViewExpandsTheBranchAndShowsTheRow)
{
    Fixture f;
    f.tree->SetAutoOptions(f.tree->options().AutoOptions - TLTAutoOptions{toAutoScrollOnExpand});
    f.tree->SetOffsetY(-200);
    EXPECT_TRUE(f.tree->ScrollIntoView(f.n3b, false));
    EXPECT_TRUE(f.tree->Expanded(f.top[3]));
    const QRect r = f.tree->GetDisplayRect(f.n3b, NoColumn, false);
    EXPECT_EQ(r.top(), 0);
    EXPECT_FALSE(f.tree->ScrollIntoView(f.n3b, false));

    // With automatic scrolling on expansion, opening the branch already shows its last row,
    // so the row itself needs no more scrolling.
    Fixture g;
    g.tree->SetOffsetY(-200);
    EXPECT_FALSE(g.tree->ScrollIntoView(g.n3b, false));
    EXPECT_TRUE(g.tree->Expanded(g.top[3]));
    EXPECT_EQ(g.tree->GetDisplayRect(g.n3b, NoColumn, false).top(), 0);
    EXPECT_FALSE(f.tree->ScrollIntoView(nullptr, false));
    EXPECT_FALSE(f.tree->ScrollIntoView(f.tree->RootNode(), false));
}

TEST(TBaseLazyTree, ScrollIntoViewBelowPutsTheRowAtTheBottomEdge)
{
    Fixture f;
    EXPECT_TRUE(f.tree->ScrollIntoView(f.top[12], false));
    const QRect r = f.tree->GetDisplayRect(f.top[12], NoColumn, false);
    EXPECT_EQ(r.top() + r.height(), f.tree->clientHeight());
    EXPECT_EQ(f.tree->BottomNode(), f.top[12]);
}

TEST(TBaseLazyTree, ScrollIntoViewCentresARowAlreadyInView)
{
    Fixture f;
    f.tree->SetOffsetY(-90);
    const int before = f.tree->GetDisplayRect(f.top[7], NoColumn, false).top();
    ASSERT_GE(before, 0);
    EXPECT_TRUE(f.tree->ScrollIntoView(f.top[7], true));
    const QRect r = f.tree->GetDisplayRect(f.top[7], NoColumn, false);
    EXPECT_EQ(r.top() + r.height(), f.tree->clientHeight() / 2);
}

TEST(TBaseLazyTree, TopNodeScrollsTheRowToTheTop)
{
    Fixture f;
    f.tree->SetTopNode(f.n3a);
    EXPECT_EQ(f.tree->TopNode(), f.n3a);
    EXPECT_EQ(f.tree->GetDisplayRect(f.n3a, NoColumn, false).top(), 0);
}

struct HitCase {
    const char* name;
    int x, y;
    THitPositions want;
    int wantNode;  // top-level index, -1 none
};

const HitCase kHitCases[] = {
    {"LeftOfTheTree", -1, 10, {hiToLeft}, -1},
    {"AboveTheTree", 10, -1, {hiAbove}, -1},
    {"AboveAndLeft", -5, -5, {hiToLeft, hiAbove}, -1},
    {"FirstRowFirstPixel", 0, 0, {hiOnItem, hiOnItemIndent}, 0},
    {"LastPixelOfARow", 10, 17, {hiOnItem, hiOnItemIndent}, 0},
    {"FirstPixelOfTheNextRow", 10, 18, {hiOnItem, hiOnItemIndent}, 1},
    {"RowAfterTheHiddenNode", 10, 5 * 18, {hiOnItem, hiOnItemIndent}, 6},
};

class HitTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(HitTest, AtTheEdges)
{
    Fixture f;
    THitInfo hi;
    f.tree->GetHitTestInfoAt(GetParam().x, GetParam().y, true, hi);
    EXPECT_EQ(hi.HitPositions.bits(), GetParam().want.bits());
    EXPECT_EQ(hi.HitNode,
              GetParam().wantNode < 0 ? nullptr : f.top[std::size_t(GetParam().wantNode)]);
    EXPECT_EQ(hi.HitColumn, NoColumn);
}

INSTANTIATE_TEST_SUITE_P(Table, HitTest, ::testing::ValuesIn(kHitCases), CaseName{});

TEST(TBaseLazyTree, HitBelowTheLastRowIsNowhereAndScrolledHitsAreRelative)
{
    TBaseLazyTree t;
    t.resize(200, 200);
    t.AddChild(nullptr);
    t.show();
    THitInfo hi;
    t.GetHitTestInfoAt(10, 50, true, hi);
    EXPECT_EQ(hi.HitNode, nullptr);
    EXPECT_EQ(hi.HitPositions.bits(), THitPositions{hiNowhere}.bits());

    Fixture f;
    f.tree->SetOffsetY(-36);
    f.tree->GetHitTestInfoAt(10, 0, true, hi);
    EXPECT_EQ(hi.HitNode, f.top[2]);
    EXPECT_EQ(hi.HitPoint, QPoint(10, 36));
}

TEST(TBaseLazyTree, InvalidatedRectInsideAnUpdateBracketIsMinusOne)
{
    Fixture f;
    f.tree->BeginUpdate();
    const QRect r = f.tree->invalidatedNodeRect(f.top[1]);
    f.tree->EndUpdate();
    EXPECT_EQ(r.left(), -1);
    EXPECT_EQ(r.top(), -1);
    EXPECT_EQ(f.tree->invalidatedNodeRect(f.top[1]), QRect(0, 18, f.tree->clientWidth(), 18));
}

TEST(TBaseLazyTree, ExpandAnimationRunsOnTheTimerAndEnds)
{
    Fixture f;
    f.tree->SetAnimationOptions({toAnimatedToggle});
    f.tree->SetAnimationDuration(60);
    QElapsedTimer clock;
    clock.start();
    f.tree->ToggleNode(f.top[3]);
    // The toggle returns at once with the new state; only the picture catches up.
    EXPECT_LT(clock.elapsed(), 50);
    EXPECT_TRUE(f.tree->Expanded(f.top[3]));
    EXPECT_TRUE(f.tree->animationRunning());
    EXPECT_TRUE(f.tree->TreeStates().contains(tsInAnimation));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.tree->animationRunning(); }, 2000));
    EXPECT_FALSE(f.tree->TreeStates().contains(tsInAnimation));
}

// Distinct texts per row, so that pictures of different row orders differ; no buttons or
// lines, which change with the toggled node itself.
QImage picture(ProbeControl& tree, const std::vector<PLazyNode>& top)
{
    tree.SetPaintOptions(tree.options().PaintOptions
                         - TLTPaintOptions{toShowButtons, toShowTreeLines});
    tree.OnGetText = [&top](TBaseLazyTree&, PLazyNode n, TColumnIndex, TVSTTextType type,
                            QString& text) {
        if (type != ttNormal)
            return;
        text = QStringLiteral("child %1").arg(n->Index);
        for (std::size_t i = 0; i < top.size(); ++i)
            if (top[i] == n)
                text = QStringLiteral("Row %1").arg(i);
    };
    return tree.viewport()->grab().toImage();
}

struct AnimationCase {
    const char* name;
    bool startExpanded;
    // Collapsed children cannot be drawn any more: the first frame shows their place empty.
    bool firstFrameHasGap;
};

const AnimationCase kAnimationCases[] = {{"Expand", false, false}, {"Collapse", true, true}};

class ToggleAnimation : public ::testing::TestWithParam<AnimationCase> {};

TEST_P(ToggleAnimation, StartsFromTheOldPictureAndEndsOnTheNewOne)
{
    Fixture f;
    // The slide alone: no scrolling towards the new rows.
    f.tree->SetAutoOptions(f.tree->options().AutoOptions - TLTAutoOptions{toAutoScrollOnExpand});
    f.tree->SetExpanded(f.top[3], GetParam().startExpanded);
    const QImage before = picture(*f.tree, f.top);
    f.tree->SetAnimationOptions({toAnimatedToggle});
    f.tree->SetAnimationDuration(100);
    f.tree->ToggleNode(f.top[3]);
    ASSERT_TRUE(f.tree->animationRunning());
    const QImage first = picture(*f.tree, f.top);
    const int gapTop = 4 * 18;  // below N3's row
    EXPECT_EQ(first.copy(0, 0, first.width(), gapTop), before.copy(0, 0, before.width(), gapTop));
    const QImage lower = first.copy(0, gapTop, first.width(), first.height() - gapTop);
    if (GetParam().firstFrameHasGap) {
        QImage blank(lower.size(), lower.format());
        blank.fill(f.tree->palette().color(QPalette::Base));
        EXPECT_EQ(lower, blank);
    } else {
        EXPECT_EQ(lower, before.copy(0, gapTop, before.width(), before.height() - gapTop));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.tree->animationRunning(); }, 2000));
    const QImage after = picture(*f.tree, f.top);
    EXPECT_NE(after, before);
    f.tree->SetAnimationDuration(0);
    f.tree->ToggleNode(f.top[3]);
    f.tree->ToggleNode(f.top[3]);
    EXPECT_EQ(picture(*f.tree, f.top), after);
}

INSTANTIATE_TEST_SUITE_P(Table, ToggleAnimation, ::testing::ValuesIn(kAnimationCases), CaseName{});

// Expanding a row near the bottom scrolls the new rows into view. The basic slide shows the
// rows above at their new place at once; the advanced one slides them there too, so its first
// frame is the old picture everywhere. Both end on the picture of an expansion without slide.
struct ScrollSlideCase {
    const char* name;
    bool advanced;
};

const ScrollSlideCase kScrollSlideCases[] = {{"Basic", false}, {"Advanced", true}};

class ToggleScrollSlide : public ::testing::TestWithParam<ScrollSlideCase> {};

TEST_P(ToggleScrollSlide, RowsAboveFollowTheForm)
{
    Fixture still;
    still.tree->ToggleNode(still.top[3]);
    const QImage expected = picture(*still.tree, still.top);

    Fixture f;
    const QImage before = picture(*f.tree, f.top);
    f.tree->SetAnimationOptions(
        GetParam().advanced ? TLTAnimationOptions{toAnimatedToggle, toAdvancedAnimatedToggle}
                            : TLTAnimationOptions{toAnimatedToggle});
    f.tree->SetAnimationDuration(300);
    f.tree->ToggleNode(f.top[3]);
    ASSERT_TRUE(f.tree->animationRunning());
    ASSERT_LT(f.tree->OffsetY(), 0);  // the view followed the new rows
    const QImage first = picture(*f.tree, f.top);
    const int above = 4 * 18;  // N0 to N3 before the toggle
    const bool same = first.copy(0, 0, first.width(), above)
                      == before.copy(0, 0, before.width(), above);
    EXPECT_EQ(same, GetParam().advanced);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.tree->animationRunning(); }, 3000));
    EXPECT_EQ(picture(*f.tree, f.top), expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ToggleScrollSlide, ::testing::ValuesIn(kScrollSlideCases),
                         CaseName{});

TEST(TBaseLazyTree, DeletingTheTreeDuringTheAnimationIsSafe)
{
    Fixture f;
    f.tree->SetAnimationOptions({toAnimatedToggle});
    f.tree->SetAnimationDuration(500);
    f.tree->ToggleNode(f.top[3]);
    ASSERT_TRUE(f.tree->animationRunning());
    f.tree.reset();
    QTest::qWait(30);
}

// After a toggle the view follows: the new rows come into view, and with children above their
// parent the toggled row keeps its place on the screen.
struct ToggleViewCase {
    const char* name;
    std::function<void(Fixture&)> prepare;
    std::function<void(Fixture&)> check;
};

int rowTop(Fixture& f, PLazyNode n) { return f.tree->GetDisplayRect(n, NoColumn, false).top(); }

const ToggleViewCase kToggleViewCases[] = {
    {"LastNewRowScrolledIntoView", nullptr,
     [](Fixture& f) {
         f.tree->ToggleNode(f.top[3]);
         const QRect r = f.tree->GetDisplayRect(f.n3b, NoColumn, false);
         EXPECT_EQ(r.top() + r.height(), f.tree->clientHeight());
     }},
    {"WithoutTheOptionNothingMoves",
     [](Fixture& f) {
         f.tree->SetAutoOptions(f.tree->options().AutoOptions
                                - TLTAutoOptions{toAutoScrollOnExpand});
     },
     [](Fixture& f) {
         f.tree->ToggleNode(f.top[3]);
         EXPECT_EQ(f.tree->OffsetY(), 0);
     }},
    {"TallSubtreePutsTheNodeAtTheTop",
     [](Fixture& f) {
         for (int i = 0; i < 8; ++i)
             f.tree->AddChild(f.top[3]);
     },
     [](Fixture& f) {
         f.tree->ToggleNode(f.top[3]);
         EXPECT_EQ(rowTop(f, f.top[3]), 0);
         EXPECT_EQ(f.tree->TopNode(), f.top[3]);
     }},
    {"CollapsingDoesNotScroll", [](Fixture& f) { f.tree->SetOffsetY(-40); },
     [](Fixture& f) {
         f.tree->ToggleNode(f.top[12]);  // a leaf: nothing to show
         f.tree->SetExpanded(f.top[3], true);
         const int offset = f.tree->OffsetY();
         f.tree->ToggleNode(f.top[3]);
         EXPECT_EQ(f.tree->OffsetY(), offset);
     }},
    {"ChildrenAboveKeepTheRowInPlaceOnExpand",
     [](Fixture& f) {
         f.tree->SetPaintOptions(f.tree->options().PaintOptions + TLTPaintOptions{toChildrenAbove});
         f.tree->SetAutoOptions(f.tree->options().AutoOptions
                                - TLTAutoOptions{toAutoScrollOnExpand});
     },
     [](Fixture& f) {
         const int before = rowTop(f, f.top[3]);
         f.tree->ToggleNode(f.top[3]);
         EXPECT_EQ(rowTop(f, f.top[3]), before);
         EXPECT_EQ(rowTop(f, f.n3b), before - 18);
     }},
    {"ChildrenAboveKeepTheRowInPlaceOnCollapse",
     [](Fixture& f) {
         f.tree->SetPaintOptions(f.tree->options().PaintOptions + TLTPaintOptions{toChildrenAbove});
         f.tree->SetExpanded(f.top[3], true);
         f.tree->SetOffsetY(-60);
     },
     [](Fixture& f) {
         const int before = rowTop(f, f.top[3]);
         f.tree->ToggleNode(f.top[3]);
         EXPECT_EQ(rowTop(f, f.top[3]), before);
     }},
    {"ChildrenAboveNewRowsThatFitAboveTheRow",
     [](Fixture& f) {
         f.tree->SetPaintOptions(f.tree->options().PaintOptions + TLTPaintOptions{toChildrenAbove});
     },
     [](Fixture& f) {
         const int before = rowTop(f, f.top[3]);  // 54: room for the two new rows
         f.tree->ToggleNode(f.top[3]);
         EXPECT_EQ(rowTop(f, f.top[3]), before);
         EXPECT_EQ(rowTop(f, f.n3a), before - 36);
     }},
};

class ToggleView : public ::testing::TestWithParam<ToggleViewCase> {};

TEST_P(ToggleView, FollowsTheToggledRows)
{
    Fixture f;
    if (GetParam().prepare)
        GetParam().prepare(f);
    GetParam().check(f);
    EXPECT_TRUE(f.tree->checkConsistency().isEmpty()) << f.tree->checkConsistency().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, ToggleView, ::testing::ValuesIn(kToggleViewCases), CaseName{});

TEST(TBaseLazyTree, FullExpandAndCollapseKeepTheRangeRight)
{
    Fixture f;
    f.tree->SetAnimationOptions({toAnimatedToggle});
    f.tree->SetAnimationDuration(200);
    f.tree->FullExpand();
    EXPECT_FALSE(f.tree->animationRunning());  // no animation inside the update bracket
    EXPECT_EQ(f.tree->RangeY(), 21 * 18);
    f.tree->SetOffsetY(-1000);
    f.tree->FullCollapse();
    EXPECT_EQ(f.tree->RangeY(), 19 * 18);
    EXPECT_EQ(f.tree->OffsetY(), f.tree->clientHeight() - 19 * 18);
    EXPECT_TRUE(f.tree->checkConsistency().isEmpty()) << f.tree->checkConsistency().toStdString();
}

TEST(TBaseLazyTree, RowsPaintTheirText)
{
    Fixture f;
    f.tree->OnGetText = [](TBaseLazyTree&, PLazyNode, TColumnIndex, TVSTTextType type,
                           QString& text) {
        if (type == ttNormal)
            text = QStringLiteral("WWWWWWWW");
    };
    f.tree->SetPaintOptions(f.tree->options().PaintOptions
                            - TLTPaintOptions{toShowButtons, toShowTreeLines});
    QImage img = f.tree->viewport()->grab().toImage();
    img.save(QStringLiteral("/tmp/lazytree-rows.png"));
    const QColor base = f.tree->palette().color(QPalette::Base);
    // The text of a top-level row starts behind the margin and the root's indent.
    const QRect text = f.tree->GetDisplayRect(f.top[0], NoColumn, true);
    int inMargin = 0;
    for (int x = 0; x < text.left(); ++x)
        for (int y = 0; y < 18; ++y)
            if (img.pixelColor(x, y) != base)
                ++inMargin;
    EXPECT_EQ(inMargin, 0);
    int dark = 0;
    for (int x = text.left(); x < text.left() + 80; ++x)
        for (int y = 0; y < 18; ++y)
            if (img.pixelColor(x, y) != base)
                ++dark;
    EXPECT_GT(dark, 20);
}

}  // namespace
}  // namespace zfw
