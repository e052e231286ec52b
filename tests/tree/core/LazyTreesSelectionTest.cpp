// The selection array: its invariants under random operations, the constraints, ranges,
// toggles and the whole-tree operations.

#include "TreeFixture.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace zfw::test {
namespace {

// A(A1 A2(A2a A2b)) B(B1 B2) C(C1), everything expanded, several nodes may be selected.
void makeTree(NamedTree& t)
{
    t.build("A(A1 A2(A2a A2b)) B(B1 B2) C(C1)");
    for (const char* n : {"A", "A2", "B", "C"})
        t.tree.SetExpanded(t[n], true);
}

std::string selection(const NamedTree& t)
{
    std::string out;
    for (PLazyNode n = const_cast<ProbeTree&>(t.tree).GetFirstSelected(); n;
         n = const_cast<ProbeTree&>(t.tree).GetNextSelected(n))
        out += (out.empty() ? "" : " ") + t.name(n);
    return out;
}

TEST(TreeSelection, InvariantsHoldAfterRandomOperations)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        NamedTree t;
        t.build("A(A1 A2(A2a A2b A2c)) B(B1 B2 B3) C(C1(C1a C1b)) D E(E1)");
        for (PLazyNode n = t.tree.GetFirstNoInit(); n; n = t.tree.GetNextNoInit(n))
            if (n->ChildCount > 0)
                t.tree.SetExpanded(n, true);
        std::mt19937 rng(seed);
        const auto pick = [&]() -> PLazyNode {
            std::vector<PLazyNode> all;
            for (PLazyNode n = t.tree.GetFirstNoInit(); n; n = t.tree.GetNextNoInit(n))
                all.push_back(n);
            if (all.empty())
                return nullptr;
            return all[rng() % all.size()];
        };
        for (int step = 0; step < 60; ++step) {
            PLazyNode a = pick();
            PLazyNode b = pick();
            if (!a || !b)
                break;
            switch (rng() % 9) {
            case 0: t.tree.SetSelected(a, true); break;
            case 1: t.tree.SetSelected(a, false); break;
            case 2: t.tree.SelectNodes(a, b, rng() % 2 == 0); break;
            case 3: t.tree.ToggleSelection(a, b); break;
            case 4: t.tree.UnselectNodes(a, b); break;
            case 5: t.tree.SelectAll(rng() % 2 == 0); break;
            case 6: t.tree.InvertSelection(rng() % 2 == 0); break;
            case 7:
                t.forget(a);
                t.tree.DeleteNode(a);
                break;
            case 8: t.tree.HandleClickSelection(nullptr, a, rng() % 2, rng() % 2, false); break;
            }
            ASSERT_EQ(t.tree.checkConsistency().toStdString(), "")
                << "seed " << seed << " step " << step;
        }
    }
}

TEST(TreeSelection, SelectingTwiceAddsOnceAndFiresOnce)
{
    NamedTree t;
    makeTree(t);
    int added = 0;
    t.tree.OnAddToSelection = [&](LazyTreeModel&, PLazyNode) { ++added; };
    t.tree.AddToSelection(t["B1"]);
    t.tree.AddToSelection(t["B1"]);
    EXPECT_EQ(added, 1);
    EXPECT_EQ(t.tree.SelectedCount(), 1u);
    // The first node of an empty selection takes the focus.
    EXPECT_EQ(t.tree.FocusedNode(), t["B1"]);
}

TEST(TreeSelection, BulkInsertMergesIntoAddressOrder)
{
    NamedTree t;
    makeTree(t);
    t.tree.AddToSelection(t["B"]);
    t.tree.AddToSelection(t["A2a"]);
    TNodeArray items{t["C1"], t["A"], t["B"], t["A1"], t["C1"]};
    t.tree.AddNodesToSelection(items, int(items.size()), false);
    const TNodeArray array = t.tree.selectionArray();
    ASSERT_EQ(array.size(), 5u);
    for (std::size_t i = 1; i < array.size(); ++i)
        EXPECT_TRUE(std::less<PLazyNode>()(array[i - 1], array[i]));
    EXPECT_EQ(selection(t), "A A1 A2a B C1");
}

TEST(TreeSelection, FindOnAnEmptySelection)
{
    NamedTree t;
    makeTree(t);
    int index = -7;
    EXPECT_FALSE(t.tree.FindNodeInSelection(t["A"], index, -1, -1));
    EXPECT_EQ(index, 0);
}

struct RangeCase {
    std::string name;
    TLTSelectionOptions options;
    std::function<void(NamedTree&)> act;
    std::string selected;
};

class TreeSelectionRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(TreeSelectionRange, SelectsTheExpectedNodes)
{
    const RangeCase& c = GetParam();
    NamedTree t;
    makeTree(t);
    t.tree.SetSelectionOptions(c.options + TLTSelectionOptions{toMultiSelect});
    c.act(t);
    EXPECT_EQ(selection(t), c.selected);
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
}

const std::vector<RangeCase> kRangeCases = {
    {"ShiftRange",
     {},
     [](NamedTree& t) {
         t.tree.HandleClickSelection(nullptr, t["A2"], false, false, false);
         t.tree.HandleClickSelection(t["A2"], t["B1"], true, false, false);
     },
     "A2 A2a A2b B B1"},
    {"ShiftRangeUpwards",
     {},
     [](NamedTree& t) {
         t.tree.HandleClickSelection(nullptr, t["B1"], false, false, false);
         t.tree.HandleClickSelection(t["B1"], t["A2b"], true, false, false);
     },
     "A2b B B1"},
    {"CtrlToggles",
     {},
     [](NamedTree& t) {
         t.tree.HandleClickSelection(nullptr, t["A1"], false, false, false);
         t.tree.HandleClickSelection(t["A1"], t["C"], false, true, false);
         t.tree.HandleClickSelection(t["C"], t["A1"], false, true, false);
     },
     "C"},
    {"DisabledNodeInARangeStaysUnselected",
     {},
     [](NamedTree& t) {
         t["A2a"]->States.include(vsDisabled);
         t.tree.SelectNodes(t["A2"], t["B"], false);
     },
     "A2 A2b B"},
    // Level 2 is bound by the first selection; a level-1 node is refused until the selection
    // was emptied.
    {"LevelConstraint",
     {toLevelSelectConstraint},
     [](NamedTree& t) {
         t.tree.AddToSelection(t["A2a"]);
         t.tree.HandleClickSelection(t["A2a"], t["B1"], false, true, false);
         t.tree.HandleClickSelection(t["A2a"], t["A2b"], false, true, false);
     },
     "A2a A2b"},
    {"LevelConstraintResetByEmptying",
     {toLevelSelectConstraint},
     [](NamedTree& t) {
         t.tree.AddToSelection(t["A2a"]);
         t.tree.RemoveFromSelection(t["A2a"]);
         t.tree.AddToSelection(t["B1"]);
     },
     "B1"},
    {"SiblingConstraintKeepsTheRangeToOneParent",
     {toSiblingSelectConstraint},
     [](NamedTree& t) {
         t.tree.HandleClickSelection(nullptr, t["A1"], false, false, false);
         t.tree.HandleClickSelection(t["A1"], t["B1"], true, false, false);
     },
     "A1 A2"},
    // From the anchor downwards: the anchor stays selected, the others invert, the last one too.
    {"ToggleFromTheAnchor",
     {},
     [](NamedTree& t) {
         t.tree.HandleClickSelection(nullptr, t["A2"], false, false, false);
         t.tree.AddToSelection(t["A2b"]);
         t.tree.ToggleSelection(t["A2"], t["B1"]);
     },
     "A2 A2a B B1"},
    {"UnselectRange",
     {},
     [](NamedTree& t) {
         t.tree.SelectAll(false);
         t.tree.UnselectNodes(t["A2"], t["B1"]);
     },
     "A A1 B2 C C1"},
    {"InvertVisibleOnlyLeavesHiddenNodes",
     {},
     [](NamedTree& t) {
         t.tree.SetExpanded(t["A2"], false);
         t.tree.AddToSelection(t["A2a"]);
         t.tree.AddToSelection(t["A"]);
         t.tree.InvertSelection(true);
     },
     "A1 A2 A2a B B1 B2 C C1"},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeSelectionRange, ::testing::ValuesIn(kRangeCases), CaseName());

TEST(TreeSelection, WholeTreeOperationsNeedMultiSelect)
{
    NamedTree t;
    makeTree(t);
    t.tree.SetSelectionOptions({});
    t.tree.SelectAll(false);
    t.tree.InvertSelection(false);
    EXPECT_EQ(t.tree.SelectedCount(), 0u);
}

TEST(TreeSelection, InvertingAFullSelectionEmptiesItWithOneChange)
{
    NamedTree t;
    makeTree(t);
    t.tree.SetSelectionOptions({toMultiSelect, toAlwaysSelectNode});
    t.tree.SelectAll(false);
    t.tree.RemoveFromSelection(t["C1"]);
    t.tree.AddToSelection(t["C1"]);
    int changes = 0;
    t.tree.OnChange = [&](LazyTreeModel&, PLazyNode n) { changes += n == nullptr ? 1 : 100; };
    t.tree.InvertSelection(false);
    EXPECT_EQ(t.tree.SelectedCount(), 0u);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(t.tree.NextNodeToSelect(), nullptr);
}

TEST(TreeSelection, TheNextNodeToSelectPrefersSiblingsThenTheParent)
{
    NamedTree t;
    makeTree(t);
    t.tree.SetSelectionOptions({toAlwaysSelectNode});
    t.tree.SetSelected(t["B1"], true);
    t.tree.SetSelected(t["B1"], false);
    EXPECT_EQ(t.tree.NextNodeToSelect(), t["B2"]);
    t.tree.SetSelected(t["B2"], true);
    t.tree.SetSelected(t["B2"], false);
    EXPECT_EQ(t.tree.NextNodeToSelect(), t["B1"]);
    t.tree.SetSelected(t["C1"], true);
    t.tree.SetSelected(t["C1"], false);
    EXPECT_EQ(t.tree.NextNodeToSelect(), t["C"]);
}

TEST(TreeSelection, FreeingANodeClearsEveryReferenceToIt)
{
    NamedTree t;
    makeTree(t);
    t.tree.HandleClickSelection(nullptr, t["B1"], false, false, false);
    t.tree.setCheckNode(t["B1"]);
    t.tree.setHotNode(t["B1"]);
    ASSERT_EQ(t.tree.RangeAnchor(), t["B1"]);
    PLazyNode b1 = t["B1"];
    t.forget(b1);
    t.tree.DeleteNode(b1);
    EXPECT_EQ(t.tree.RangeAnchor(), nullptr);
    EXPECT_EQ(t.tree.checkNode(), nullptr);
    EXPECT_EQ(t.tree.SelectedCount(), 0u);
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
}

}  // namespace
}  // namespace zfw::test
