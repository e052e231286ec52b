// Structure editing on a small named tree: after every operation of the table the model's
// consistency check must pass, and the document and visible orders must be as expected.
//
// Fixture (A and C expanded, A2 collapsed):
//   A          expanded
//     A1
//     A2       collapsed
//       A2a
//   B
//   C          expanded
//     C1

#include "TreeFixture.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::CaseName;
using test::NamedTree;

void makeFixture(NamedTree& t)
{
    t.build("A(A1 A2(A2a)) B C(C1)");
    t.tree.SetExpanded(t["A"], true);
    t.tree.SetExpanded(t["C"], true);
}

struct EditCase {
    const char* name;
    std::function<void(NamedTree&)> op;
    const char* documentOrder;
    const char* visibleOrder;
};

const EditCase kEditCases[] = {
    {"AddChildToRoot", [](NamedTree& t) { t.add(nullptr, "D"); }, "A A1 A2 A2a B C C1 D",
     "A A1 A2 B C C1 D"},
    {"AddChildBelowCollapsed", [](NamedTree& t) { t.add(t["A2"], "A2b"); },
     "A A1 A2 A2a A2b B C C1", "A A1 A2 B C C1"},
    {"AddChildBelowCollapsedGrandparent",
     [](NamedTree& t) {
         t.tree.SetExpanded(t["A2"], true);
         t.tree.SetExpanded(t["A"], false);
         t.add(t["A2a"], "X");
         t.tree.SetExpanded(t["A2a"], true);
     },
     "A A1 A2 A2a X B C C1", "A B C C1"},
    {"InsertBeforeFirstTopLevel",
     [](NamedTree& t) { t.names[t.tree.InsertNode(nullptr, amInsertBefore)] = "Z"; },
     "Z A A1 A2 A2a B C C1", "Z A A1 A2 B C C1"},
    {"InsertAfterSibling",
     [](NamedTree& t) { t.names[t.tree.InsertNode(t["A1"], amInsertAfter)] = "N"; },
     "A A1 N A2 A2a B C C1", "A A1 N A2 B C C1"},
    {"InsertBeforeSibling",
     [](NamedTree& t) { t.names[t.tree.InsertNode(t["C1"], amInsertBefore)] = "N"; },
     "A A1 A2 A2a B C N C1", "A A1 A2 B C N C1"},
    {"InsertChildFirst",
     [](NamedTree& t) { t.names[t.tree.InsertNode(t["A"], amAddChildFirst)] = "N"; },
     "A N A1 A2 A2a B C C1", "A N A1 A2 B C C1"},
    {"InsertChildLastOfLeaf",
     [](NamedTree& t) { t.names[t.tree.InsertNode(t["B"], amAddChildLast)] = "N"; },
     "A A1 A2 A2a B N C C1", "A A1 A2 B C C1"},
    {"DeleteLeaf",
     [](NamedTree& t) {
         PLazyNode n = t["A1"];
         t.forget(n);
         t.tree.DeleteNode(n);
     },
     "A A2 A2a B C C1", "A A2 B C C1"},
    {"DeleteSubtree",
     [](NamedTree& t) {
         PLazyNode n = t["A"];
         t.forget(n);
         t.tree.DeleteNode(n);
     },
     "B C C1", "B C C1"},
    {"DeleteOnlyChildCollapsesParent",
     [](NamedTree& t) {
         PLazyNode n = t["C1"];
         t.forget(n);
         t.tree.DeleteNode(n);
         t.add(t["C"], "C2");
     },
     "A A1 A2 A2a B C C2", "A A1 A2 B C"},
    {"DeleteChildren",
     [](NamedTree& t) {
         t.forget(t["A1"]);
         t.forget(t["A2"]);
         t.tree.DeleteChildren(t["A"]);
     },
     "A B C C1", "A B C C1"},
    {"SetChildCountGrows", [](NamedTree& t) { t.tree.SetChildCount(t["C"], 3); },
     "A A1 A2 A2a B C C1 * *", "A A1 A2 B C C1 * *"},
    {"SetChildCountShrinks",
     [](NamedTree& t) {
         t.forget(t["A2"]);
         t.tree.SetChildCount(t["A"], 1);
     },
     "A A1 B C C1", "A A1 B C C1"},
    {"SetChildCountZero",
     [](NamedTree& t) {
         t.forget(t["C1"]);
         t.tree.SetChildCount(t["C"], 0);
     },
     "A A1 A2 A2a B C", "A A1 A2 B C"},
    {"MoveNodeToOtherParent",
     [](NamedTree& t) { t.tree.MoveTo(t["A2"], t["C"], amAddChildLast, false); },
     "A A1 B C C1 A2 A2a", "A A1 B C C1 A2"},
    {"MoveNodeBeforeRootFirst",
     [](NamedTree& t) { t.tree.MoveTo(t["C1"], t["A"], amInsertBefore, false); },
     "C1 A A1 A2 A2a B C", "C1 A A1 A2 B C"},
    {"MoveIntoCollapsed",
     [](NamedTree& t) { t.tree.MoveTo(t["C"], t["A2"], amAddChildFirst, false); },
     "A A1 A2 C C1 A2a B", "A A1 A2 B"},
    {"MoveChildrenFirstKeepsOrder",
     [](NamedTree& t) { t.tree.MoveTo(t["A"], t["B"], amAddChildFirst, true); },
     "A B A1 A2 A2a C C1", "A B C C1"},
    {"MoveChildrenAfterSelfReverses",
     [](NamedTree& t) { t.tree.MoveTo(t["A"], t["A"], amInsertAfter, true); }, "A A2 A2a A1 B C C1",
     "A A2 A1 B C C1"},
    {"CopySubtree", [](NamedTree& t) { t.tree.CopyTo(t["A2"], t["B"], amInsertAfter, false); },
     "A A1 A2 A2a B * * C C1", "A A1 A2 B * C C1"},
    // Without a target the copy goes first below the root, whatever the mode.
    {"CopyExpandedSubtreeToNilTarget",
     [](NamedTree& t) { t.tree.CopyTo(t["A"], nullptr, amAddChildLast, false); },
     "* * * * A A1 A2 A2a B C C1", "* * * A A1 A2 B C C1"},
    {"CopyChildren", [](NamedTree& t) { t.tree.CopyTo(t["A"], t["C1"], amAddChildLast, true); },
     "A A1 A2 A2a B C C1 * * *", "A A1 A2 B C C1"},
    {"Collapse", [](NamedTree& t) { t.tree.SetExpanded(t["A"], false); }, "A A1 A2 A2a B C C1",
     "A B C C1"},
    {"ExpandNested", [](NamedTree& t) { t.tree.SetExpanded(t["A2"], true); }, "A A1 A2 A2a B C C1",
     "A A1 A2 A2a B C C1"},
    {"ExpandBelowCollapsed",
     [](NamedTree& t) {
         t.tree.SetExpanded(t["A"], false);
         t.tree.SetExpanded(t["A2"], true);
     },
     "A A1 A2 A2a B C C1", "A B C C1"},
    {"HideExpandedNode", [](NamedTree& t) { t.tree.SetVisible(t["A"], false); },
     "A A1 A2 A2a B C C1", "B C C1"},
    {"HideAllChildren",
     [](NamedTree& t) {
         t.tree.SetVisible(t["A1"], false);
         t.tree.SetVisible(t["A2"], false);
     },
     "A A1 A2 A2a B C C1", "A B C C1"},
    {"HideThenShow",
     [](NamedTree& t) {
         t.tree.SetVisible(t["C"], false);
         t.tree.SetVisible(t["C"], true);
     },
     "A A1 A2 A2a B C C1", "A A1 A2 B C C1"},
    {"HideBelowCollapsed",
     [](NamedTree& t) {
         t.tree.SetExpanded(t["C"], false);
         t.tree.SetVisible(t["C1"], false);
         t.tree.SetExpanded(t["C"], true);
     },
     "A A1 A2 A2a B C C1", "A A1 A2 B C"},
    {"FilterExpandedNodeShowsChildren", [](NamedTree& t) { t.tree.SetFiltered(t["A"], true); },
     "A A1 A2 A2a B C C1", "A1 A2 B C C1"},
    {"FilterLeafThenDelete",
     [](NamedTree& t) {
         t.tree.SetFiltered(t["C1"], true);
         PLazyNode n = t["C1"];
         t.forget(n);
         t.tree.DeleteNode(n);
     },
     "A A1 A2 A2a B C", "A A1 A2 B C"},
    {"NodeHeightChanges",
     [](NamedTree& t) {
         t.tree.SetNodeHeight(t["A2a"], 40);
         t.tree.SetNodeHeight(t["A1"], 7);
         t.tree.SetExpanded(t["A2"], true);
     },
     "A A1 A2 A2a B C C1", "A A1 A2 A2a B C C1"},
    {"FullExpandAndCollapse",
     [](NamedTree& t) {
         t.tree.FullExpand();
         t.tree.FullCollapse(t["A"]);
     },
     "A A1 A2 A2a B C C1", "A B C C1"},
    {"DeleteSelectedNodes",
     [](NamedTree& t) {
         t.tree.SetSelected(t["A"], true);
         t.tree.SetSelected(t["A2a"], true);
         t.tree.SetSelected(t["C1"], true);
         t.forget(t["A"]);
         t.forget(t["C1"]);
         t.tree.DeleteSelectedNodes();
     },
     "B C", "B C"},
    {"ClearEmptiesTree",
     [](NamedTree& t) {
         t.tree.SetSelected(t["B"], true);
         t.tree.SetFocusedNode(t["A1"]);
         t.names.clear();
         t.tree.Clear();
         t.add(nullptr, "N");
     },
     "N", "N"},
    {"UpdateBracketDefersHiddenFlags",
     [](NamedTree& t) {
         t.tree.BeginUpdate();
         t.tree.SetVisible(t["C1"], false);
         t.add(t["C"], "C2");
         t.tree.SetVisible(t["C2"], false);
         t.tree.EndUpdate();
     },
     "A A1 A2 A2a B C C1 C2", "A A1 A2 B C"},
};

class EditTable : public ::testing::TestWithParam<EditCase> {};

TEST_P(EditTable, KeepsInvariantsAndOrder)
{
    NamedTree t;
    makeFixture(t);
    ASSERT_EQ(t.tree.checkConsistency().toStdString(), "");
    GetParam().op(t);
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
    EXPECT_EQ(t.documentOrder(), GetParam().documentOrder);
    EXPECT_EQ(t.visibleOrder(), GetParam().visibleOrder);
    // Every row must also leave a tree that empties cleanly.
    t.tree.Clear();
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
    EXPECT_EQ(t.tree.RootNode()->TotalCount, 1u);
    EXPECT_EQ(t.tree.RootNode()->TotalHeight, std::uint32_t(t.tree.DefaultNodeHeight()));
}

INSTANTIATE_TEST_SUITE_P(Tree, EditTable, ::testing::ValuesIn(kEditCases), CaseName());

TEST(TreeEdit, NewTreeHasOnlyTheRoot)
{
    LazyTreeModel tree;
    EXPECT_EQ(tree.RootNode()->TotalCount, 1u);
    EXPECT_EQ(tree.RootNode()->TotalHeight, std::uint32_t(tree.DefaultNodeHeight()));
    EXPECT_TRUE(tree.IsEmpty());
    EXPECT_EQ(tree.GetFirst(), nullptr);
    PLazyNode n = tree.AddChild(nullptr);
    EXPECT_EQ(n->Index, 0u);
    EXPECT_EQ(tree.RootNode()->TotalCount, 2u);
    EXPECT_EQ(LazyTreeModel::TreeFromNode(n), &tree);
    EXPECT_EQ(tree.GetNodeLevel(tree.AddChild(n)), 1u);
}

TEST(TreeEdit, MoveOntoOwnDescendantIsRefusedAndChangesNothing)
{
    NamedTree t;
    makeFixture(t);
    try {
        t.tree.MoveTo(t["A"], t["A2a"], amAddChildLast, false);
        FAIL() << "no error";
    } catch (const ELazyTreeError& e) {
        EXPECT_STREQ(e.what(), "Target node cannot be a child node of the node to be moved.");
        EXPECT_EQ(e.helpContext(), 2001);
    }
    EXPECT_EQ(t.documentOrder(), "A A1 A2 A2a B C C1");
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
}

TEST(TreeEdit, ReadOnlyTreeRefusesEveryChangeButStillGetsLazyChildren)
{
    NamedTree t;
    makeFixture(t);
    t.tree.OnInitNode = [](LazyTreeModel&, PLazyNode, PLazyNode, TLazyNodeInitStates& s) {
        s.include(ivsHasChildren);
    };
    t.tree.OnInitChildren = [](LazyTreeModel&, PLazyNode, std::uint32_t& count) { count = 2; };
    PLazyNode fresh = t.tree.InsertNode(t["B"], amInsertAfter);
    t.names[fresh] = "F";
    t.tree.SetMiscOptions(t.tree.options().MiscOptions + TLTMiscOptions{toReadOnly});

    EXPECT_EQ(t.tree.AddChild(nullptr), nullptr);
    EXPECT_EQ(t.tree.InsertNode(t["B"], amInsertBefore), nullptr);
    t.tree.DeleteNode(t["B"]);
    t.tree.SetChildCount(t["C"], 5);
    t.tree.MoveTo(t["B"], t["C"], amAddChildLast, false);
    EXPECT_EQ(t.tree.CopyTo(t["B"], t["C"], amAddChildLast, false), nullptr);
    t.tree.Clear();
    EXPECT_EQ(t.documentOrder(), "A A1 A2 A2a B F C C1");

    t.tree.SetExpanded(fresh, true);
    EXPECT_EQ(fresh->ChildCount, 2u);
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
}

TEST(TreeEdit, DeletingTheFocusedNodeRemovesFocusAndMovingKeepsIt)
{
    NamedTree t;
    makeFixture(t);
    std::vector<PLazyNode> focusEvents;
    t.tree.OnFocusChanged = [&](LazyTreeModel&, PLazyNode n, TColumnIndex) {
        focusEvents.push_back(n);
    };
    t.tree.SetFocusedNode(t["A2"]);
    t.tree.MoveTo(t["A2"], t["B"], amAddChildFirst, false);
    EXPECT_EQ(t.tree.FocusedNode(), t["A2"]);
    PLazyNode b = t["B"];
    t.forget(b);
    t.tree.DeleteNode(b);
    EXPECT_EQ(t.tree.FocusedNode(), nullptr);
    ASSERT_EQ(focusEvents.size(), 2u);
    EXPECT_EQ(focusEvents.back(), nullptr);
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
}

TEST(TreeEdit, FreeingNodesClearsEveryReferenceOfTheTree)
{
    NamedTree t;
    makeFixture(t);
    PLazyNode a2a = t["A2a"];
    t.tree.setSearchNode(a2a);
    t.tree.setCheckNode(a2a);
    t.tree.setHotNode(a2a);
    t.tree.setRangeAnchor(t["A1"]);
    t.tree.setDragTarget(t["A2"]);
    PLazyNode a = t["A"];
    t.forget(a);
    t.tree.DeleteNode(a);
    EXPECT_EQ(t.tree.searchNode(), nullptr);
    EXPECT_EQ(t.tree.checkNode(), nullptr);
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
}

TEST(TreeEdit, DeleteSelectedNodesFreesEachNodeOnce)
{
    NamedTree t;
    makeFixture(t);
    t.tree.OnInitNode = [](LazyTreeModel&, PLazyNode, PLazyNode, TLazyNodeInitStates&) {};
    std::map<PLazyNode, int> freed;
    t.tree.OnFreeNode = [&](LazyTreeModel&, PLazyNode n) { ++freed[n]; };
    t.tree.ValidateNode(nullptr, true);
    t.tree.SetSelected(t["A"], true);
    t.tree.SetSelected(t["A2"], true);
    t.tree.SetSelected(t["A2a"], true);
    t.tree.DeleteSelectedNodes();
    EXPECT_EQ(freed.size(), 4u);
    for (const auto& [node, count] : freed)
        EXPECT_EQ(count, 1);
    EXPECT_EQ(t.tree.SelectedCount(), 0u);
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
    t.tree.OnFreeNode = nullptr;  // the counts die before the tree
}

TEST(TreeEdit, OnFreeNodeOnlyForInitialisedOrTouchedNodes)
{
    LazyTreeModel tree;
    tree.SetAutoOptions(tree.options().AutoOptions
                        - TLTAutoOptions{toAutoSort});  // sorting would initialise every node
    tree.SetNodeDataSize(8);
    int freed = 0;
    tree.OnFreeNode = [&](LazyTreeModel&, PLazyNode) { ++freed; };
    tree.SetRootNodeCount(3);
    tree.GetNodeData(tree.GetFirstNoInit());
    tree.Clear();
    EXPECT_EQ(freed, 1);
}

TEST(TreeEdit, CopyRefusedLeavesTargetUnchanged)
{
    NamedTree t;
    makeFixture(t);
    t.tree.OnNodeCopying = [](LazyTreeModel&, PLazyNode, PLazyNode, bool& allowed) {
        allowed = false;
    };
    EXPECT_EQ(t.tree.CopyTo(t["A"], t["C"], amAddChildLast, false), nullptr);
    EXPECT_EQ(t.documentOrder(), "A A1 A2 A2a B C C1");
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
}

TEST(TreeEdit, DeletingDuringIterationIsRefused)
{
    NamedTree t;
    makeFixture(t);
    EXPECT_THROW(t.tree.IterateSubtree(
                     nullptr,
                     [&](LazyTreeModel& tree, PLazyNode n, void*, bool&) { tree.DeleteNode(n); },
                     nullptr),
                 ELazyTreeAssertion);
    EXPECT_FALSE(t.tree.TreeStates().contains(tsIterating));
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
}

TEST(TreeEdit, InitialUserDataNeedsRoom)
{
    LazyTreeModel tree;
    tree.SetNodeDataSize(2);
    int value = 7;
    EXPECT_THROW(tree.AddChild(nullptr, &value), ELazyTreeAssertion);
    EXPECT_THROW(tree.InsertNode(nullptr, amAddChildLast, &value), ELazyTreeAssertion);
    EXPECT_EQ(tree.checkConsistency().toStdString(), "");
}

// Expanding everything visits leaves too and collapses children before their parents, each
// inside its own state; what lies after the last shown row stays as it is.
TEST(TreeEdit, FullExpandAndCollapseOrderAndStates)
{
    NamedTree t;
    makeFixture(t);
    std::vector<std::string> log;
    t.tree.OnExpanding = [&](LazyTreeModel& m, PLazyNode n, bool&) {
        log.push_back("+" + t.name(n) + (m.TreeStates().contains(tsExpanding) ? "" : "!"));
    };
    t.tree.OnCollapsing = [&](LazyTreeModel& m, PLazyNode n, bool&) {
        log.push_back("-" + t.name(n) + (m.TreeStates().contains(tsCollapsing) ? "" : "!"));
    };
    const auto joined = [&] {
        std::string s;
        for (const auto& e : log)
            s += (s.empty() ? "" : " ") + e;
        log.clear();
        return s;
    };
    t.tree.FullExpand();
    EXPECT_EQ(joined(), "+A1 +A2 +A2a +B +C1");
    EXPECT_FALSE(t.tree.TreeStates().contains(tsExpanding));
    t.tree.FullCollapse();
    EXPECT_EQ(joined(), "-C -A2 -A");
    EXPECT_FALSE(t.tree.TreeStates().contains(tsCollapsing));
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");

    // Below the last shown row: C's expanded child is left alone by a collapse of the tree.
    t.add(t["C1"], "C1a");
    t.tree.SetExpanded(t["C1"], true);
    t.tree.SetExpanded(t["C"], false);
    log.clear();
    t.tree.FullCollapse();
    EXPECT_EQ(joined(), "");
    EXPECT_TRUE(t.tree.Expanded(t["C1"]));
    t.tree.FullCollapse(t["C"]);
    EXPECT_EQ(joined(), "");
    EXPECT_TRUE(t.tree.Expanded(t["C1"]));

    // An empty tree does nothing, not even enter the states.
    LazyTreeModel empty;
    int states = 0;
    empty.OnStateChange = [&](LazyTreeModel&, TLazyTreeStates, TLazyTreeStates) { ++states; };
    empty.FullExpand();
    empty.FullCollapse();
    EXPECT_EQ(states, 0);
}

TEST(TreeEdit, LargeChildCountKeepsCounters)
{
    LazyTreeModel tree;
    tree.SetRootNodeCount(100000);
    EXPECT_EQ(tree.TotalNodeCount(), 100000u);
    EXPECT_EQ(tree.visibleCount(), 100000u);
    EXPECT_EQ(tree.AbsoluteIndex(tree.GetLast()), 99999u);
    tree.SetChildCount(tree.GetFirst(), 1000);
    tree.SetRootNodeCount(50000);
    EXPECT_EQ(tree.TotalNodeCount(), 51000u);
    EXPECT_EQ(tree.checkConsistency().toStdString(), "");
}

}  // namespace
}  // namespace zfw
