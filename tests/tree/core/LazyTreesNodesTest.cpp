// Lazy initialisation (each node exactly once, only when needed), user data, the update and
// synchronisation brackets and the change notices.

#include "TreeFixture.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <map>

namespace zfw {
namespace {

using test::CaseName;

// A tree whose nodes all have three children, down to `depth` levels, counted as it goes.
struct LazyCounting {
    LazyTreeModel tree;
    std::map<PLazyNode, int> initNode;
    std::map<PLazyNode, int> initChildren;
    int depth = 3;

    LazyCounting()
    {
        tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree.OnInitNode = [this](LazyTreeModel& t, PLazyNode, PLazyNode n, TLazyNodeInitStates& s) {
            ++initNode[n];
            if (int(t.GetNodeLevel(n)) < depth - 1)
                s.include(ivsHasChildren);
        };
        tree.OnInitChildren = [this](LazyTreeModel&, PLazyNode n, std::uint32_t& count) {
            ++initChildren[n];
            count = 3;
        };
        tree.SetRootNodeCount(3);
    }
    int totalInits() const
    {
        int sum = 0;
        for (const auto& [n, c] : initNode) {
            EXPECT_EQ(c, 1) << "a node was initialised twice";
            sum += c;
        }
        return sum;
    }
};

struct LazyCase {
    const char* name;
    std::function<void(LazyTreeModel&)> op;
    int nodesInitialised;
    std::uint32_t nodesCreated;
};

const LazyCase kLazyCases[] = {
    {"NothingTouched", [](LazyTreeModel&) {}, 0, 3},
    {"NoInitWalkOverAll",
     [](LazyTreeModel& t) {
         for (PLazyNode n = t.GetFirstNoInit(); n; n = t.GetNextNoInit(n)) {}
     },
     0, 3},
    {"GetFirstOnly", [](LazyTreeModel& t) { t.GetFirst(); }, 1, 3},
    {"FirstChildAsksChildren", [](LazyTreeModel& t) { t.GetFirstChild(t.GetFirst()); }, 2, 6},
    {"VisibleWalkStaysAtTopLevel",
     [](LazyTreeModel& t) {
         for (PLazyNode n = t.GetFirstVisible(); n; n = t.GetNextVisible(n)) {}
     },
     3, 3},
    {"FullWalkInitialisesAll",
     [](LazyTreeModel& t) {
         for (PLazyNode n = t.GetFirst(); n; n = t.GetNext(n)) {}
     },
     39, 39},
    {"FullWalkTwiceStillOnce",
     [](LazyTreeModel& t) {
         for (int i = 0; i < 2; ++i)
             for (PLazyNode n = t.GetFirst(); n; n = t.GetNext(n)) {}
     },
     39, 39},
    {"ExpandOneNode", [](LazyTreeModel& t) { t.SetExpanded(t.GetFirstNoInit(), true); }, 1, 6},
    {"AbsoluteIndexOfLastTopLevel",
     [](LazyTreeModel& t) { t.AbsoluteIndex(t.RootNode()->LastChild); }, 3, 3},
    {"LastNodeOfTree", [](LazyTreeModel& t) { t.GetLast(); }, 3, 9},
    {"ValidateRecursive", [](LazyTreeModel& t) { t.ValidateNode(nullptr, true); }, 39, 39},
    {"InitRecursiveOneLevel", [](LazyTreeModel& t) { t.InitRecursive(nullptr, 1, false); }, 3, 3},
    {"FullExpand", [](LazyTreeModel& t) { t.FullExpand(); }, 39, 39},
};

class LazyTable : public ::testing::TestWithParam<LazyCase> {};

TEST_P(LazyTable, InitialisesOnlyWhatIsNeededAndOnlyOnce)
{
    LazyCounting c;
    GetParam().op(c.tree);
    EXPECT_EQ(c.totalInits(), GetParam().nodesInitialised);
    EXPECT_EQ(c.tree.TotalNodeCount(), GetParam().nodesCreated);
    for (const auto& [n, count] : c.initChildren)
        EXPECT_EQ(count, 1) << "children asked twice";
    EXPECT_EQ(c.tree.checkConsistency().toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Tree, LazyTable, ::testing::ValuesIn(kLazyCases), CaseName());

TEST(TreeNodes, InitAnsweringExpandedExpandsAndAsksChildren)
{
    LazyTreeModel tree;
    tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
    int children = 0;
    tree.OnInitNode = [](LazyTreeModel& t, PLazyNode, PLazyNode n, TLazyNodeInitStates& s) {
        if (t.GetNodeLevel(n) == 0)
            s = {ivsHasChildren, ivsExpanded};
    };
    tree.OnInitChildren = [&](LazyTreeModel&, PLazyNode, std::uint32_t& count) {
        ++children;
        count = 4;
    };
    tree.SetRootNodeCount(2);
    PLazyNode first = tree.GetFirst();
    EXPECT_TRUE(first->has(vsExpanded));
    EXPECT_EQ(first->ChildCount, 4u);
    EXPECT_EQ(children, 1);
    EXPECT_EQ(tree.visibleCount(), 6u);
    EXPECT_EQ(tree.checkConsistency().toStdString(), "");
}

TEST(TreeNodes, InitAnsweringFilteredTakesTheRowOut)
{
    LazyTreeModel tree;
    tree.OnInitNode = [](LazyTreeModel&, PLazyNode, PLazyNode n, TLazyNodeInitStates& s) {
        if (n->Index == 1)
            s.include(ivsFiltered);
    };
    tree.SetRootNodeCount(3);
    for (PLazyNode n = tree.GetFirst(); n; n = tree.GetNext(n)) {}
    EXPECT_EQ(tree.visibleCount(), 2u);
    EXPECT_EQ(tree.checkConsistency().toStdString(), "");
    tree.ReinitNode(nullptr, true);
    EXPECT_EQ(tree.visibleCount(), 2u);
    EXPECT_EQ(tree.checkConsistency().toStdString(), "");
}

TEST(TreeNodes, ResetNodeForgetsChildrenAndInitialisesAgain)
{
    LazyCounting c;
    PLazyNode first = c.tree.GetFirst();
    c.tree.SetExpanded(first, true);
    c.tree.ResetNode(first);
    EXPECT_FALSE(first->has(vsInitialized));
    EXPECT_EQ(first->ChildCount, 0u);
    EXPECT_EQ(c.tree.checkConsistency().toStdString(), "");
    c.initNode.clear();
    c.tree.GetFirstChild(first);
    EXPECT_EQ(first->ChildCount, 3u);
    EXPECT_EQ(c.tree.checkConsistency().toStdString(), "");
}

TEST(TreeNodes, ReinitOfUninitialisedNodeOnlyClearsStates)
{
    LazyCounting c;
    PLazyNode first = c.tree.GetFirstNoInit();
    c.tree.ReinitNode(first, false);
    EXPECT_FALSE(first->has(vsInitialized));
    EXPECT_EQ(c.totalInits(), 0);
}

TEST(TreeNodes, NodeDataAndLevels)
{
    LazyTreeModel tree;
    tree.SetNodeDataSize(0);
    tree.AddChild(nullptr);
    EXPECT_THROW(tree.GetNodeData(tree.GetFirst()), ELazyTreeAssertion);

    LazyTreeModel data;
    data.SetNodeDataSize(int(sizeof(void*)));
    int value = 42;
    PLazyNode n = data.AddChild(nullptr, &value);
    EXPECT_EQ(*data.nodeData<int*>(n), &value);
    int other = 7;
    n->SetData(&other);
    EXPECT_EQ(*data.nodeData<int*>(n), &other);
    EXPECT_TRUE(n->has(vsOnFreeNodeCallRequired));
    PLazyNode small = tree.GetFirst();
    EXPECT_THROW(small->SetData(&other), ELazyTreeAssertion);
    EXPECT_EQ(data.GetNodeData(nullptr), nullptr);
    EXPECT_EQ(data.GetNodeData(data.RootNode()), nullptr);
    EXPECT_THROW(data.SetNodeDataSize(16), ELazyTreeAssertion);
    EXPECT_THROW(LazyTreeModel::TreeFromNode(nullptr), ELazyTreeAssertion);
}

TEST(TreeNodes, NodeDataSizeAskedOnFirstNode)
{
    LazyTreeModel tree;
    tree.OnGetNodeDataSize = [](LazyTreeModel&, int& size) { size = 24; };
    tree.AddChild(nullptr);
    EXPECT_EQ(tree.NodeDataSize(), 24);
}

TEST(TreeNodes, UpdateEventsNest)
{
    LazyTreeModel tree;
    std::vector<TLTUpdateState> seen;
    tree.OnUpdating = [&](LazyTreeModel&, TLTUpdateState s) { seen.push_back(s); };
    tree.BeginUpdate();
    tree.BeginUpdate();
    tree.EndUpdate();
    tree.EndUpdate();
    tree.EndUpdate();
    const std::vector<TLTUpdateState> expected{usBegin, usUpdate, usUpdate, usEnd, usEnd};
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(tree.IsUpdating());
}

TEST(TreeNodes, StructureChangesInsideUpdateAccumulate)
{
    test::NamedTree t;
    t.build("A B");
    std::vector<std::pair<PLazyNode, TChangeReason>> notices;
    t.tree.OnStructureChange = [&](LazyTreeModel&, PLazyNode n, TChangeReason r) {
        notices.emplace_back(n, r);
    };
    t.tree.BeginUpdate();
    t.add(t["A"], "A1");
    t.tree.DeleteNode(t["B"]);
    t.tree.EndUpdate();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].first, nullptr);
    EXPECT_EQ(notices[0].second, crAccumulated);
    t.tree.EndUpdate();
    EXPECT_EQ(notices.size(), 1u);
}

TEST(TreeNodes, ShrinkingChildCountNotifiesEachDeletionThenOnce)
{
    LazyTreeModel tree;
    tree.SetRootNodeCount(5);
    std::vector<TChangeReason> reasons;
    tree.OnStructureChange = [&](LazyTreeModel&, PLazyNode, TChangeReason r) {
        reasons.push_back(r);
    };
    tree.SetChildCount(nullptr, 2);
    const std::vector<TChangeReason> expected{crChildDeleted, crChildDeleted, crChildDeleted,
                                              crChildAdded};
    EXPECT_EQ(reasons, expected);
}

TEST(TreeNodes, StateChangesAreReported)
{
    LazyTreeModel tree;
    std::vector<std::pair<TLazyTreeStates, TLazyTreeStates>> changes;
    tree.OnStateChange = [&](LazyTreeModel&, TLazyTreeStates e, TLazyTreeStates l) {
        changes.emplace_back(e, l);
    };
    tree.BeginSynch();
    tree.BeginSynch();
    tree.EndSynch();
    EXPECT_TRUE(tree.TreeStates().contains(tsSynchMode));
    tree.EndSynch();
    EXPECT_FALSE(tree.TreeStates().contains(tsSynchMode));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_TRUE(changes[0].first.contains(tsSynchMode));
    EXPECT_TRUE(changes[1].second.contains(tsSynchMode));
}

TEST(TreeNodes, OperationsCountAndCancel)
{
    LazyTreeModel tree;
    EXPECT_THROW(tree.EndOperation(okSortTree), ELazyTreeAssertion);
    tree.CancelOperation();
    EXPECT_FALSE(tree.OperationCanceled());
    tree.BeginOperation(okExpand);
    tree.CancelOperation();
    EXPECT_TRUE(tree.OperationCanceled());
    tree.EndOperation(okExpand);
    EXPECT_FALSE(tree.OperationCanceled());
}

TEST(TreeNodes, InternalDataOnlyBeforeNodes)
{
    class Derived : public LazyTreeModel {
    public:
        std::size_t reserve(std::size_t n) { return AllocateInternalData(n); }
    } tree;
    EXPECT_EQ(tree.reserve(3), 0u);
    EXPECT_EQ(tree.reserve(4), 4u);
    tree.AddChild(nullptr);
    EXPECT_THROW(tree.reserve(4), ELazyTreeAssertion);
    EXPECT_EQ(tree.checkConsistency().toStdString(), "");
}

}  // namespace
}  // namespace zfw

namespace zfw {
namespace {

// A model with a window: notices wait for their timer unless the tree is in synchronous mode.
class WindowedTree : public LazyTreeModel {
public:
    std::map<int, int> running;  // timer id -> interval
    bool HandleAllocated() const override { return true; }
    void StartNoticeTimer(int id, int ms) override { running[id] = ms; }
    void StopNoticeTimer(int id) override { running.erase(id); }
    void fireTimer(int id)
    {
        if (id == StructureChangeTimer)
            DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
        else if (id == ChangeTimer)
            DoChange(FLastChangedNode);
    }
};

TEST(TreeNodes, DelayedNoticesWaitForTheirTimerExceptInSynchMode)
{
    WindowedTree tree;
    tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
    tree.SetChangeDelay(100);
    std::vector<TChangeReason> reasons;
    tree.OnStructureChange = [&](LazyTreeModel&, PLazyNode, TChangeReason r) {
        reasons.push_back(r);
    };
    PLazyNode a = tree.AddChild(nullptr);
    tree.AddChild(nullptr);
    EXPECT_TRUE(reasons.empty());
    ASSERT_EQ(tree.running.count(6), 1u);
    EXPECT_EQ(tree.running[6], 100);
    tree.fireTimer(6);
    ASSERT_EQ(reasons.size(), 1u);
    EXPECT_EQ(reasons[0], crAccumulated);
    EXPECT_FALSE(tree.TreeStates().contains(tsStructureChangePending));

    tree.DeleteNode(a);
    EXPECT_EQ(reasons.size(), 1u);
    tree.BeginSynch();  // delivers what is pending at once
    EXPECT_EQ(reasons.size(), 2u);
    tree.AddChild(nullptr);
    EXPECT_EQ(reasons.size(), 3u);
    tree.EndSynch();
    EXPECT_TRUE(tree.running.empty());
    tree.OnStructureChange = nullptr;
}

TEST(TreeNodes, RaisingInitHandlerLeavesNoTransientState)
{
    LazyTreeModel tree;
    tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
    tree.SetRootNodeCount(2);
    tree.OnInitNode = [](LazyTreeModel&, PLazyNode, PLazyNode, TLazyNodeInitStates&) {
        throw std::runtime_error("owner failed");
    };
    EXPECT_THROW(tree.GetFirst(), std::runtime_error);
    EXPECT_FALSE(tree.GetFirstNoInit()->has(vsInitializing));
    EXPECT_THROW(tree.SetExpanded(tree.GetFirstNoInit()->NextSibling, true), std::runtime_error);
    EXPECT_FALSE(tree.TreeStates().contains(tsToggling));
    EXPECT_EQ(tree.checkConsistency().toStdString(), "");
}

TEST(TreeNodes, RaisingChangeHandlerStillClosesTheUpdate)
{
    LazyTreeModel tree;
    tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
    tree.OnStructureChange = [](LazyTreeModel&, PLazyNode, TChangeReason) {
        throw std::runtime_error("owner failed");
    };
    tree.BeginUpdate();
    tree.AddChild(nullptr);
    EXPECT_THROW(tree.EndUpdate(), std::runtime_error);
    EXPECT_FALSE(tree.IsUpdating());
    EXPECT_FALSE(tree.TreeStates().contains(tsUpdating));
    tree.OnStructureChange = nullptr;
    EXPECT_EQ(tree.checkConsistency().toStdString(), "");
}

}  // namespace
}  // namespace zfw
