// Walk orders on a small fixture with hidden, collapsed and filtered nodes, in document order
// and in children-above order, with and without initialisation.
//
// Fixture:
//   A        expanded
//     A1
//     A2     expanded
//       A2a
//       A2b  hidden
//     A3     collapsed
//       A3a
//   B        hidden, expanded
//     B1
//   C        expanded, filtered
//     C1
//     C2

#include "TreeFixture.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <random>

namespace zfw {
namespace {

using test::CaseName;
using test::NamedTree;

void makeFixture(NamedTree& t)
{
    t.build("A(A1 A2(A2a A2b) A3(A3a)) B(B1) C(C1 C2)");
    for (const char* n : {"A", "A2", "B", "C"})
        t.tree.SetExpanded(t[n], true);
    t.tree.SetVisible(t["A2b"], false);
    t.tree.SetVisible(t["B"], false);
    t.tree.SetFiltered(t["C"], true);
}

struct WalkCase {
    const char* name;
    bool childrenAbove;
    std::function<std::string(NamedTree&)> walk;
    const char* expected;
};

std::string forward(NamedTree& t, PLazyNode first,
                    PLazyNode (LazyTreeModel::*step)(PLazyNode, bool), bool cca)
{
    return t.walk(first, [&](PLazyNode n) { return (t.tree.*step)(n, cca); });
}

const WalkCase kWalkCases[] = {
    {"DocumentOrder", false,
     [](NamedTree& t) { return forward(t, t.tree.GetFirst(), &LazyTreeModel::GetNext, false); },
     "A A1 A2 A2a A2b A3 A3a B B1 C C1 C2"},
    {"DocumentOrderBackwards", false,
     [](NamedTree& t) { return forward(t, t.tree.GetLast(), &LazyTreeModel::GetPrevious, false); },
     "C2 C1 C B1 B A3a A3 A2b A2a A2 A1 A"},
    {"VisibleOrder", false,
     [](NamedTree& t) {
         return forward(t, t.tree.GetFirstVisible(), &LazyTreeModel::GetNextVisible, true);
     },
     "A A1 A2 A2a A3 C1 C2"},
    {"VisibleOrderBackwards", false,
     [](NamedTree& t) {
         return forward(t, t.tree.GetLastVisible(), &LazyTreeModel::GetPreviousVisible, true);
     },
     "C2 C1 A3 A2a A2 A1 A"},
    {"VisibleIncludingFilteredFirst", false,
     [](NamedTree& t) { return t.name(t.tree.GetLastVisible(nullptr, true, true)); }, "C2"},
    {"VisibleFromInsideCollapsedBranch", false,
     [](NamedTree& t) {
         return t.name(t.tree.GetNextVisible(t["A3a"])) + " "
                + t.name(t.tree.GetPreviousVisible(t["A3a"]));
     },
     "C1 A3"},
    {"VisibleFromHiddenNode", false,
     [](NamedTree& t) {
         return t.name(t.tree.GetNextVisible(t["B1"])) + " "
                + t.name(t.tree.GetPreviousVisible(t["B1"]));
     },
     "C1 A3"},
    {"ChildrenAboveOrder", true,
     [](NamedTree& t) { return forward(t, t.tree.GetFirst(true), &LazyTreeModel::GetNext, true); },
     "A1 A2a A2b A2 A3a A3 A B1 B C1 C2 C"},
    {"ChildrenAboveBackwards", true,
     [](NamedTree& t) {
         return forward(t, t.tree.GetLast(nullptr, true), &LazyTreeModel::GetPrevious, true);
     },
     "C C2 C1 B B1 A A3 A3a A2 A2b A2a A1"},
    {"ChildrenAboveVisible", true,
     [](NamedTree& t) {
         return forward(t, t.tree.GetFirstVisible(nullptr, true), &LazyTreeModel::GetNextVisible,
                        true);
     },
     "A1 A2a A2 A3 A C1 C2"},
    {"ChildrenAboveVisibleBackwards", true,
     [](NamedTree& t) {
         return forward(t, t.tree.GetLastVisible(nullptr, true, false),
                        &LazyTreeModel::GetPreviousVisible, true);
     },
     "C2 C1 A A3 A2 A2a A1"},
    {"ChildrenAboveIgnoredWithoutFlag", true,
     [](NamedTree& t) {
         return forward(t, t.tree.GetFirst(false), &LazyTreeModel::GetNext, false);
     },
     "A A1 A2 A2a A2b A3 A3a B B1 C C1 C2"},
    {"VisibleChildren", false,
     [](NamedTree& t) {
         return t.walk(t.tree.GetFirstVisibleChild(t["A2"]),
                       [&](PLazyNode n) { return t.tree.GetNextVisibleSibling(n); });
     },
     "A2a"},
    {"VisibleTopLevelSkipsFiltered", false,
     [](NamedTree& t) {
         return t.walk(t.tree.GetFirstVisibleChild(nullptr),
                       [&](PLazyNode n) { return t.tree.GetNextVisibleSibling(n); });
     },
     "A"},
    {"VisibleTopLevelWithFiltered", false,
     [](NamedTree& t) {
         return t.walk(t.tree.GetFirstVisibleChild(nullptr, true),
                       [&](PLazyNode n) { return t.tree.GetNextVisibleSibling(n, true); });
     },
     "A C"},
    {"LastVisibleChildOfCollapsedIsNil", false,
     [](NamedTree& t) { return t.name(t.tree.GetLastVisibleChild(t["A3"])); }, "nil"},
    {"LevelOne", false,
     [](NamedTree& t) {
         return t.walk(t.tree.GetFirstLevel(1),
                       [&](PLazyNode n) { return t.tree.GetNextLevel(n, 1); });
     },
     "A1 A2 A3 B1 C1 C2"},
    {"LevelTwoBackwardsFromEnd", false,
     [](NamedTree& t) {
         return t.walk(t.tree.GetPreviousLevel(t["C2"], 2),
                       [&](PLazyNode n) { return t.tree.GetPreviousLevel(n, 2); });
     },
     "A3a A2b A2a"},
    {"NextLevelFromDeeperNode", false,
     [](NamedTree& t) { return t.name(t.tree.GetNextLevel(t["A2a"], 0)); }, "B"},
    {"Leaves", false,
     [](NamedTree& t) {
         return t.walk(t.tree.GetFirstLeaf(), [&](PLazyNode n) { return t.tree.GetNextLeaf(n); });
     },
     "A1 A2a A2b A3a B1 C1 C2"},
    {"LeavesBackwards", false,
     [](NamedTree& t) {
         return t.walk(t.tree.GetPreviousLeaf(nullptr),
                       [&](PLazyNode n) { return t.tree.GetPreviousLeaf(n); });
     },
     "C2 C1 B1 A3a A2b A2a A1"},
    {"Checked", false,
     [](NamedTree& t) {
         t["A2b"]->CheckState = csCheckedNormal;
         t["C"]->CheckState = csCheckedNormal;
         return t.walk(t.tree.GetFirstChecked(),
                       [&](PLazyNode n) { return t.tree.GetNextChecked(n); })
                + " / " + t.name(t.tree.GetPreviousChecked(nullptr));
     },
     "A2b C / C"},
    {"SelectedLastInsideLastSubtree", false,
     [](NamedTree& t) {
         t.tree.SetSelected(t["A1"], true);
         t.tree.SetSelected(t["C1"], true);
         return t.name(t.tree.GetPreviousSelected(nullptr)) + " "
                + t.name(t.tree.GetFirstSelected());
     },
     "C1 A1"},
    {"SortedSelectionResolved", false,
     [](NamedTree& t) {
         t.tree.SetSelected(t["A2a"], true);
         t.tree.SetSelected(t["C"], true);
         t.tree.SetSelected(t["A2"], true);
         std::string out;
         for (PLazyNode n : t.tree.GetSortedSelection(true))
             out += t.name(n) + " ";
         out += "/";
         for (PLazyNode n : t.tree.GetSortedSelection(false))
             out += " " + t.name(n);
         return out;
     },
     "A2 C / A2 A2a C"},
    {"AbsoluteIndexes", false,
     [](NamedTree& t) {
         std::string out;
         for (const char* n : {"A", "A1", "A2b", "A3a", "B", "C2"})
             out += std::to_string(t.tree.AbsoluteIndex(t[n])) + " ";
         return out;
     },
     "0 1 4 6 7 11 "},
    {"ParentsAndVisibleParents", false,
     [](NamedTree& t) {
         return std::to_string(t.tree.HasAsParent(t["A2a"], t["A"])) + " "
                + std::to_string(t.tree.HasAsParent(t["A"], t["A"])) + " "
                + t.name(t.tree.GetVisibleParent(t["A3a"])) + " "
                + t.name(t.tree.GetVisibleParent(t["C1"], true));
     },
     "1 0 A3 C"},
    {"EnumerateVisible", false, [](NamedTree& t) { return t.list(t.tree.VisibleNodes()); },
     "A A1 A2 A2a A3 C1 C2"},
    // The step after the first follows the visible walk, which never stops on a filtered row.
    {"EnumerateVisibleNoInit", false,
     [](NamedTree& t) { return t.list(t.tree.VisibleNoInitNodes(nullptr, true, true)); },
     "A A1 A2 A2a A3 C1 C2"},
    {"EnumerateChildren", false, [](NamedTree& t) { return t.list(t.tree.ChildNodes(t["A"])); },
     "A1 A2 A3"},
    {"EnumerateVisibleChildren", false,
     [](NamedTree& t) { return t.list(t.tree.VisibleChildNoInitNodes(t["A2"])); }, "A2a"},
    {"EnumerateLevel", false, [](NamedTree& t) { return t.list(t.tree.LevelNodes(2)); },
     "A2a A2b A3a"},
    {"EnumerateAllChildrenAbove", true,
     [](NamedTree& t) { return t.list(t.tree.NoInitNodes(true)); },
     "A1 A2a A2b A2 A3a A3 A B1 B C1 C2 C"},
    {"EnumerateEmptySelection", false, [](NamedTree& t) { return t.list(t.tree.SelectedNodes()); },
     ""},
    {"IterateAbortsOnThird", false,
     [](NamedTree& t) {
         int seen = 0;
         PLazyNode at = t.tree.IterateSubtree(
             t["A"], [&](LazyTreeModel&, PLazyNode, void*, bool& abort) { abort = ++seen == 3; },
             nullptr);
         return t.name(at);
     },
     "A2"},
    {"IterateWithFilterStaysInSubtree", false,
     [](NamedTree& t) {
         std::string out;
         t.tree.IterateSubtree(
             t["A"], [&](LazyTreeModel&, PLazyNode n, void*, bool&) { out += t.name(n) + " "; },
             nullptr, {vsExpanded}, false, true);
         return out;
     },
     "A2 "},
};

class WalkTable : public ::testing::TestWithParam<WalkCase> {};

TEST_P(WalkTable, VisitsInOrder)
{
    NamedTree t;
    makeFixture(t);
    if (GetParam().childrenAbove)
        t.tree.SetPaintOptions(t.tree.options().PaintOptions + TLTPaintOptions{toChildrenAbove});
    ASSERT_EQ(t.tree.checkConsistency().toStdString(), "");
    EXPECT_EQ(GetParam().walk(t), GetParam().expected);
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Tree, WalkTable, ::testing::ValuesIn(kWalkCases), CaseName());

// Rows of 18 pixels except A1 (40) and A2a (5); C is filtered and has no row.
TEST(TreeWalk, NodeAtVerticalPositions)
{
    NamedTree t;
    makeFixture(t);
    t.tree.SetNodeHeight(t["A1"], 40);
    t.tree.SetNodeHeight(t["A2a"], 5);
    struct Probe {
        int y;
        const char* node;
        int top;
    };
    const Probe probes[] = {{-50, "A", 0},   {0, "A", 0},    {17, "A", 0},     {18, "A1", 18},
                            {57, "A1", 18},  {58, "A2", 58}, {76, "A2a", 76},  {80, "A2a", 76},
                            {81, "A3", 81},  {99, "C1", 99}, {134, "C2", 117}, {135, "nil", 0},
                            {1000, "nil", 0}};
    for (const Probe& p : probes) {
        int top = -1;
        EXPECT_EQ(t.name(t.tree.GetNodeAt(0, p.y, false, top)), p.node) << "y " << p.y;
        EXPECT_EQ(top, p.top) << "y " << p.y;
    }
    EXPECT_EQ(t.tree.RootNode()->TotalHeight - t.tree.RootNode()->NodeHeight, 135u);
}

TEST(TreeWalk, EmptyTreeAndEnds)
{
    NamedTree t;
    EXPECT_EQ(t.tree.GetFirst(), nullptr);
    EXPECT_EQ(t.tree.GetLast(), nullptr);
    EXPECT_EQ(t.tree.GetFirstVisible(), nullptr);
    EXPECT_EQ(t.tree.GetLastVisible(), nullptr);
    t.build("A B");
    EXPECT_EQ(t.tree.GetNext(t["B"]), nullptr);
    EXPECT_EQ(t.tree.GetPrevious(t["A"]), nullptr);
    EXPECT_EQ(t.tree.AbsoluteIndex(t["B"]), t["A"]->TotalCount);
    EXPECT_EQ(t.tree.AbsoluteIndex(nullptr), 0u);
    EXPECT_THROW(t.tree.GetNext(t.tree.RootNode()), ELazyTreeAssertion);
    EXPECT_THROW(t.tree.GetNextVisibleSibling(nullptr), ELazyTreeAssertion);
    EXPECT_THROW(t.tree.GetVisibleParent(nullptr), ELazyTreeAssertion);
}

// Every node of a random tree: the visible walk forward and backward must agree with a plain
// walk filtered by the definition of a shown row, and their count with visibleCount().
TEST(TreeWalk, VisibleWalksAgreeWithDefinitionOnRandomTrees)
{
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::mt19937 rng(seed);
        auto rand = [&rng] { return int(rng() & 0x7fffffff); };
        LazyTreeModel tree;
        tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
        std::vector<PLazyNode> all;
        for (int i = 0; i < 200; ++i) {
            PLazyNode parent = all.empty() || rand() % 4 == 0 ? nullptr : all[rand() % all.size()];
            all.push_back(tree.AddChild(parent));
        }
        for (PLazyNode n : all) {
            if (rand() % 3 != 0)
                tree.SetExpanded(n, true);
            if (rand() % 9 == 0)
                tree.SetVisible(n, false);
            if (rand() % 11 == 0)
                tree.SetFiltered(n, true);
        }
        ASSERT_EQ(tree.checkConsistency().toStdString(), "") << "seed " << seed;
        std::vector<PLazyNode> expected;
        for (PLazyNode n = tree.GetFirstNoInit(); n; n = tree.GetNextNoInit(n)) {
            if (tree.GetFullyVisible(n) && !tree.GetEffectivelyFiltered(n))
                expected.push_back(n);
        }
        std::vector<PLazyNode> forward;
        for (PLazyNode n = tree.GetFirstVisibleNoInit(); n; n = tree.GetNextVisibleNoInit(n))
            forward.push_back(n);
        std::vector<PLazyNode> backward;
        for (PLazyNode n = tree.GetLastVisibleNoInit(); n; n = tree.GetPreviousVisibleNoInit(n))
            backward.insert(backward.begin(), n);
        EXPECT_EQ(forward, expected) << "seed " << seed;
        EXPECT_EQ(backward, expected) << "seed " << seed;
        EXPECT_EQ(tree.visibleCount(), expected.size()) << "seed " << seed;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (i + 1 < expected.size()) {
                EXPECT_EQ(tree.GetNextVisible(expected[i]), expected[i + 1]);
            }
        }
    }
}

}  // namespace
}  // namespace zfw

namespace zfw {
namespace {

TEST(TreeOptions, ShowingFilteredNodesGivesThemRowsAndBack)
{
    NamedTree t;
    makeFixture(t);
    t.tree.SetFiltered(t["A1"], true);
    t.tree.SetFiltered(t["A3a"], true);  // below a collapsed node: no row either way
    const std::uint32_t visible = t.tree.visibleCount();
    const std::uint32_t height = t.tree.RootNode()->TotalHeight;
    t.tree.SetPaintOptions(t.tree.options().PaintOptions + TLTPaintOptions{toShowFilteredNodes});
    EXPECT_EQ(t.tree.visibleCount(), visible + 2);  // A1 and C
    EXPECT_EQ(t.tree.RootNode()->TotalHeight, height + 2 * 18);
    EXPECT_EQ(t.visibleOrder(), "A A1 A2 A2a A3 C C1 C2");
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
    t.tree.SetPaintOptions(t.tree.options().PaintOptions - TLTPaintOptions{toShowFilteredNodes});
    EXPECT_EQ(t.tree.visibleCount(), visible);
    EXPECT_EQ(t.tree.RootNode()->TotalHeight, height);
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
}

TEST(TreeOptions, DefaultsFixedIndentAndAssign)
{
    LazyTreeModel a;
    EXPECT_EQ(a.options().PaintOptions.bits(), 0x1B60u);
    EXPECT_EQ(a.options().AutoOptions.bits(), 0x0559u);
    EXPECT_EQ(a.options().SelectionOptions.bits(), 0u);
    EXPECT_EQ(a.options().MiscOptions.bits(), 0x41A9u);
    EXPECT_EQ(a.options().AnimationOptions.bits(), 0u);
    EXPECT_EQ(a.ExportMode(), emAll);
    a.SetPaintOptions({toFixedIndent});
    EXPECT_EQ(a.options().PaintOptions, (TLTPaintOptions{toShowRoot, toFixedIndent}));
    a.SetPaintOptions({toShowRoot});
    EXPECT_EQ(a.options().PaintOptions, TLTPaintOptions{toShowRoot});

    a.SetAnimationOptions({toAnimatedToggle});
    a.SetExportMode(emChecked);
    LazyTreeModel b;
    b.SetSelectionOptions({toMultiSelect});
    b.SetExportMode(emSelected);
    PLazyNode n = b.AddChild(nullptr);
    b.SetSelected(n, true);
    b.AssignOptions(a);  // multi-selection switched off: the selection is cleared
    EXPECT_EQ(b.options().PaintOptions, TLTPaintOptions{toShowRoot});
    EXPECT_EQ(b.options().AnimationOptions, TLTAnimationOptions{toAnimatedToggle});
    EXPECT_EQ(b.ExportMode(), emSelected);  // the export mode is not copied
    EXPECT_EQ(b.SelectedCount(), 0u);
    EXPECT_EQ(b.checkConsistency().toStdString(), "");
}

}  // namespace
}  // namespace zfw
