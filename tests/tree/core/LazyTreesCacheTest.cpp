// The position cache and the shared worker that rebuilds it. Widget-free, so that the threaded
// cases run under ThreadSanitizer (the Qt libraries are not instrumented).

#include "tree/core/LazyTreesCache.h"
#include "tree/core/LazyTreesWorker.h"

#include "TreeFixture.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace zfw::test {
namespace {

using namespace std::chrono_literals;
constexpr auto kWait = 30s;

// ----- the worker's protocol, with jobs the test controls ----------------------------------

// Lets a job block until the test releases it, and tells the test that it has started.
class Gate {
public:
    void arrive()
    {
        std::lock_guard lock(m_mutex);
        m_arrived = true;
        m_cv.notify_all();
    }
    void waitArrived()
    {
        std::unique_lock lock(m_mutex);
        ASSERT_TRUE(m_cv.wait_for(lock, kWait, [&] { return m_arrived; }));
    }
    void open()
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_cv.notify_all();
    }
    // Blocks until opened or until `stop`; polls the flag as a rebuild does.
    bool waitOpenOr(const std::atomic<bool>& stop)
    {
        std::unique_lock lock(m_mutex);
        while (!m_open && !stop.load())
            m_cv.wait_for(lock, 1ms);
        return m_open;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_arrived = false;
    bool m_open = false;
};

TEST(TreeWorker, RunsQueuedJobsOnceEachAndHandsOutEveryOutcomeOnce)
{
    TreeWorker worker;
    Gate gate;
    std::atomic<int> runsA{0};
    std::atomic<int> runsB{0};
    TreeWorkerJob blocker([&](const std::atomic<bool>& stop) {
        gate.arrive();
        return gate.waitOpenOr(stop);
    });
    TreeWorkerJob a([&](const std::atomic<bool>&) {
        ++runsA;
        return true;
    });
    TreeWorkerJob b([&](const std::atomic<bool>&) {
        ++runsB;
        return false;
    });
    ASSERT_TRUE(worker.schedule(blocker));
    gate.waitArrived();
    // Queued twice while the worker is busy: one run.
    ASSERT_TRUE(worker.schedule(a));
    ASSERT_TRUE(worker.schedule(a));
    ASSERT_TRUE(worker.schedule(b));
    EXPECT_EQ(worker.takeOutcome(a), TreeJobOutcome::None) << "still queued";
    gate.open();
    ASSERT_TRUE(worker.waitUntilIdle(kWait));
    EXPECT_EQ(runsA.load(), 1);
    EXPECT_EQ(runsB.load(), 1);
    EXPECT_EQ(worker.takeOutcome(blocker), TreeJobOutcome::Finished);
    EXPECT_EQ(worker.takeOutcome(a), TreeJobOutcome::Finished);
    EXPECT_EQ(worker.takeOutcome(a), TreeJobOutcome::None) << "collected once";
    EXPECT_EQ(worker.takeOutcome(b), TreeJobOutcome::Stopped);
}

TEST(TreeWorker, AThrowingJobEndsOnlyItsOwnRun)
{
    TreeWorker worker;
    std::atomic<int> finishedCalls{0};
    TreeWorkerJob bad([](const std::atomic<bool>&) -> bool { throw std::runtime_error("x"); });
    bad.finished = [&] { ++finishedCalls; };
    TreeWorkerJob good([](const std::atomic<bool>&) { return true; });
    ASSERT_TRUE(worker.schedule(bad));
    ASSERT_TRUE(worker.waitUntilIdle(kWait));
    EXPECT_EQ(worker.takeOutcome(bad), TreeJobOutcome::Failed);
    EXPECT_EQ(finishedCalls.load(), 1) << "the closing notice comes also after a failure";
    ASSERT_TRUE(worker.schedule(good));
    ASSERT_TRUE(worker.waitUntilIdle(kWait));
    EXPECT_EQ(worker.takeOutcome(good), TreeJobOutcome::Finished);
}

TEST(TreeWorker, WithdrawReturnsOnlyAfterTheRunningJobHasLeft)
{
    TreeWorker worker;
    Gate gate;
    std::atomic<bool> inside{false};
    TreeWorkerJob job([&](const std::atomic<bool>& stop) {
        inside = true;
        gate.arrive();
        const bool done = gate.waitOpenOr(stop);
        std::this_thread::sleep_for(5ms);  // late leaving must still be waited for
        inside = false;
        return done;
    });
    ASSERT_TRUE(worker.schedule(job));
    gate.waitArrived();
    EXPECT_EQ(worker.withdraw(job), TreeJobOutcome::Stopped);
    EXPECT_FALSE(inside.load());
    EXPECT_EQ(worker.takeOutcome(job), TreeJobOutcome::None);
}

TEST(TreeWorker, StoppingWithWorkQueuedDropsItAndRefusesMore)
{
    auto worker = std::make_unique<TreeWorker>();
    Gate gate;
    std::atomic<int> laterRuns{0};
    std::atomic<int> finishedCalls{0};
    TreeWorkerJob running([&](const std::atomic<bool>& stop) {
        gate.arrive();
        return gate.waitOpenOr(stop);
    });
    std::vector<std::unique_ptr<TreeWorkerJob>> queued;
    for (int i = 0; i < 3; ++i) {
        queued.push_back(std::make_unique<TreeWorkerJob>([&](const std::atomic<bool>&) {
            ++laterRuns;
            return true;
        }));
        queued.back()->finished = [&] { ++finishedCalls; };
    }
    ASSERT_TRUE(worker->schedule(running));
    gate.waitArrived();
    for (auto& job : queued)
        ASSERT_TRUE(worker->schedule(*job));
    worker->stop();
    EXPECT_EQ(laterRuns.load(), 0);
    EXPECT_EQ(finishedCalls.load(), 3);
    EXPECT_EQ(worker->takeOutcome(running), TreeJobOutcome::Stopped);
    for (auto& job : queued)
        EXPECT_EQ(worker->takeOutcome(*job), TreeJobOutcome::Dropped);
    EXPECT_TRUE(worker->isStopped());
    EXPECT_FALSE(worker->schedule(*queued[0]));
    EXPECT_EQ(worker->withdraw(*queued[0]), TreeJobOutcome::None);
    worker.reset();  // a second stop in the destructor
}

// ----- trees: the cache against an independent reference ------------------------------------

struct Row {
    PLazyNode node;
    std::int64_t top;
    std::int64_t height;
};

// The shown rows computed from the links alone: children of an expanded, visible node are
// shown (before it with children above); a filtered node has no row of its own unless filtered
// nodes are shown, but its children do.
void collectRows(const LazyTreeModel& tree, PLazyNode parent, std::vector<Row>& rows,
                 std::int64_t& top)
{
    const auto& paint = tree.options().PaintOptions;
    const bool above = paint.contains(toChildrenAbove);
    for (PLazyNode c = parent->FirstChild; c; c = c->NextSibling) {
        if (!c->has(vsVisible))
            continue;
        const bool ownRow = !c->has(vsFiltered) || paint.contains(toShowFilteredNodes);
        auto addOwn = [&] {
            if (ownRow) {
                rows.push_back({c, top, c->NodeHeight});
                top += c->NodeHeight;
            }
        };
        if (!above)
            addOwn();
        if (c->has(vsExpanded))
            collectRows(tree, c, rows, top);
        if (above)
            addOwn();
    }
}

std::vector<Row> referenceRows(const LazyTreeModel& tree)
{
    std::vector<Row> rows;
    std::int64_t top = 0;
    collectRows(tree, tree.RootNode(), rows, top);
    return rows;
}

// The row covering tree position y per the reference, or nil below the last row.
PLazyNode referenceNodeAt(const std::vector<Row>& rows, std::int64_t y)
{
    for (const Row& r : rows) {  // linear on purpose: nothing shared with the code under test
        if (y < r.top + r.height)
            return r.node;
    }
    return nullptr;
}

struct Shape {
    const char* name;
    unsigned seed;
    bool childrenAbove;
    bool showFiltered;
    int minHeight;  // 0: some rows have no height
};

const Shape kShapes[] = {
    {"Plain", 1, false, false, 18},       {"VariedHeights", 2, false, false, 1},
    {"ZeroHeights", 3, false, false, 0},  {"ChildrenAbove", 4, true, false, 5},
    {"FilteredShown", 5, false, true, 5}, {"ChildrenAboveFilteredShown", 6, true, true, 0},
};

// A random tree of some 20,000 to 40,000 shown rows: four levels, random fan-out, most nodes
// expanded, a few hidden or filtered, random heights.
class RandomTree {
public:
    explicit RandomTree(const Shape& shape) : m_rng(shape.seed), m_shape(shape)
    {
        tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
        auto paint = tree.options().PaintOptions;
        if (shape.childrenAbove)
            paint.include(toChildrenAbove);
        if (shape.showFiltered)
            paint.include(toShowFilteredNodes);
        tree.SetPaintOptions(paint);
        tree.BeginUpdate();
        tree.SetRootNodeCount(150);
        for (PLazyNode n = tree.GetFirstNoInit(); n; n = n->NextSibling)
            grow(n, 1);
        tree.EndUpdate();
    }

    PLazyNode randomNode()
    {
        std::uint32_t index = pick(tree.TotalNodeCount());
        PLazyNode n = tree.GetFirstNoInit();
        // Skip whole subtrees using their counts, as the index is in document order.
        while (n && index > 0) {
            if (index >= n->TotalCount) {
                index -= n->TotalCount;
                n = n->NextSibling;
            } else {
                --index;
                n = n->FirstChild;
            }
        }
        return n;
    }

    // One random change of structure, expansion, visibility, filter or height.
    void mutate()
    {
        PLazyNode n = randomNode();
        if (!n)
            return;
        switch (pick(6)) {
        case 0: tree.ToggleNode(n); break;
        case 1: tree.SetNodeHeight(n, m_shape.minHeight + pick(30)); break;
        case 2: tree.SetVisible(n, !n->has(vsVisible)); break;
        case 3: tree.SetFiltered(n, !n->has(vsFiltered)); break;
        case 4: tree.DeleteNode(n); break;
        default: tree.SetChildCount(n, n->ChildCount + 1 + pick(30)); break;
        }
    }

    std::uint32_t pick(std::uint32_t below)
    {
        return below == 0 ? 0 : std::uniform_int_distribution<std::uint32_t>(0, below - 1)(m_rng);
    }

    ProbeTree tree;

private:
    void grow(PLazyNode node, int level)
    {
        tree.SetNodeHeight(node, m_shape.minHeight + pick(30));
        if (pick(100) < 4)
            tree.SetVisible(node, false);
        if (pick(100) < 4)
            tree.SetFiltered(node, true);
        if (level >= 4)
            return;
        const std::uint32_t children = pick(level == 1 ? 16 : 12);
        if (children == 0)
            return;
        tree.SetChildCount(node, children);
        for (PLazyNode c = node->FirstChild; c; c = c->NextSibling)
            grow(c, level + 1);
        if (pick(100) < 85)
            tree.ToggleNode(node);
    }

    std::mt19937 m_rng;
    Shape m_shape;
};

// Waits for the worker and takes the finished rebuild over, as the control's queued call does.
void settle(LazyTreeModel& tree, TreeWorker& worker)
{
    ASSERT_TRUE(worker.waitUntilIdle(kWait));
    tree.takeValidationResult();
}

// Compares every lookup the cache serves with the reference; `where` names the step.
void expectMatchesReference(RandomTree& t, const std::string& where)
{
    LazyTreeModel& tree = t.tree;
    ASSERT_EQ(tree.checkConsistency(), QString()) << where;
    const std::vector<Row> rows = referenceRows(tree);
    ASSERT_EQ(rows.size(), tree.visibleCount()) << where;
    if (tree.TreeStates().contains(tsUseCache)) {
        const TCache& cache = tree.positionCache();
        ASSERT_EQ(cache.size(), cacheEntryCount(std::uint32_t(rows.size()))) << where;
        for (std::size_t k = 0; k < cache.size(); ++k) {
            const Row& r = rows[k * CacheSpacing];
            EXPECT_EQ(cache[k].Node, r.node) << where << ": entry " << k;
            EXPECT_EQ(std::int64_t(cache[k].AbsoluteTop), r.top) << where << ": entry " << k;
        }
    }
    std::vector<std::int64_t> ys{0};
    const std::int64_t total = rows.empty() ? 0 : rows.back().top + rows.back().height;
    for (std::size_t k = 0; k < rows.size(); k += CacheSpacing) {
        ys.push_back(rows[k].top);
        ys.push_back(rows[k].top - 1);
        ys.push_back(rows[k].top + rows[k].height);
    }
    ys.push_back(total - 1);
    ys.push_back(total);
    for (int i = 0; i < 60; ++i)
        ys.push_back(t.pick(std::uint32_t(total + 40)));
    for (std::int64_t y : ys) {
        if (y < 0)
            continue;
        int top = -1;
        PLazyNode got = tree.GetNodeAt(0, int(y), false, top);
        PLazyNode want = referenceNodeAt(rows, y);
        EXPECT_EQ(got, want) << where << ": y " << y;
        if (got && got == want) {
            const auto it = std::find_if(rows.begin(), rows.end(),
                                         [&](const Row& r) { return r.node == got; });
            EXPECT_EQ(top, it->top) << where << ": top at y " << y;
        }
    }
    const bool cached = tree.TreeStates().contains(tsUseCache);
    for (int i = 0; i < 60 && !rows.empty(); ++i) {
        const std::size_t index = i == 0 ? rows.size() - 1 : t.pick(std::uint32_t(rows.size()));
        const Row& r = rows[index];
        EXPECT_EQ(tree.rowTop(r.node), r.top) << where << ": rowTop";
        if (!cached)
            continue;
        // The entry that starts the node's block, so that the walk from it is short.
        const Row& block = rows[index / CacheSpacing * CacheSpacing];
        std::uint32_t pos = 0;
        EXPECT_EQ(tree.FindInPositionCache(r.node, pos), block.node) << where << ": row " << index;
        EXPECT_EQ(std::int64_t(pos), block.top) << where << ": row " << index;
    }
}

void PrintTo(const Shape& c, std::ostream* os) { *os << c.name; }

class TreeCacheRandom : public ::testing::TestWithParam<Shape> {};

TEST_P(TreeCacheRandom, AnswersAsAFullWalkAfterEveryChange)
{
    RandomTree t(GetParam());
    auto worker = std::make_shared<TreeWorker>();
    t.tree.SetTreeWorker(worker);
    ASSERT_GT(t.tree.visibleCount(), 5 * CacheSpacing);
    settle(t.tree, *worker);
    ASSERT_TRUE(t.tree.TreeStates().contains(tsUseCache));
    expectMatchesReference(t, "built");
    for (int step = 0; step < 12; ++step) {
        t.mutate();
        settle(t.tree, *worker);
        expectMatchesReference(t, "after change " + std::to_string(step));
        if (::testing::Test::HasFailure())
            return;
    }
}

// Lookups and changes run while the worker rebuilds: a change takes the tree back mid-walk, a
// lookup meanwhile walks without the cache, and every answer stays right.
TEST_P(TreeCacheRandom, AnswersAsAFullWalkWhileTheWorkerValidates)
{
    RandomTree t(GetParam());
    auto worker = std::make_shared<TreeWorker>();
    t.tree.SetTreeWorker(worker);
    for (int step = 0; step < 25; ++step) {
        t.mutate();
        int top = 0;
        EXPECT_EQ(t.tree.GetNodeAt(0, 0, false, top), referenceNodeAt(referenceRows(t.tree), 0));
        if (step % 5 == 4) {
            expectMatchesReference(t, "racing, step " + std::to_string(step));
            if (::testing::Test::HasFailure())
                return;
        }
    }
    settle(t.tree, *worker);
    expectMatchesReference(t, "settled");
}

INSTANTIATE_TEST_SUITE_P(Tree, TreeCacheRandom, ::testing::ValuesIn(kShapes), CaseName{});

// ----- entry counts at the threshold --------------------------------------------------------

struct CountCase {
    const char* name;
    std::uint32_t rows;
    bool cached;
    std::uint32_t entries;
};

const CountCase kCounts[] = {
    {"AtTheThresholdNone", 2000, false, 0},
    {"OneAboveTwoEntries", 2001, true, 2},
    {"TwoFullBlocks", 4000, true, 2},
    {"OneMoreThirdEntry", 4001, true, 3},
};

void PrintTo(const CountCase& c, std::ostream* os) { *os << c.name; }

class TreeCacheCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(TreeCacheCount, BuildsOneEntryPer2000RowsAboveTheThreshold)
{
    const CountCase& c = GetParam();
    ProbeTree tree;
    tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
    auto worker = std::make_shared<TreeWorker>();
    tree.SetTreeWorker(worker);
    tree.SetRootNodeCount(c.rows);
    settle(tree, *worker);
    EXPECT_EQ(tree.TreeStates().contains(tsUseCache), c.cached);
    EXPECT_FALSE(tree.TreeStates().contains(tsValidating));
    if (!c.cached)
        return;
    ASSERT_EQ(tree.positionCache().size(), c.entries);
    for (std::uint32_t k = 0; k < c.entries; ++k)
        EXPECT_EQ(tree.positionCache()[k].Node->Index, k * CacheSpacing);
    // The last row and the position just below it.
    const PLazyNode last = tree.GetLastVisibleNoInit();
    const int height = tree.DefaultNodeHeight();
    EXPECT_EQ(tree.rowTop(last), std::int64_t(c.rows - 1) * height);
    int top = 0;
    EXPECT_EQ(tree.GetNodeAt(0, int(c.rows) * height - 1, false, top), last);
    EXPECT_EQ(tree.GetNodeAt(0, int(c.rows) * height, false, top), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Tree, TreeCacheCount, ::testing::ValuesIn(kCounts), CaseName{});

// ----- order of two nodes -------------------------------------------------------------------

struct OrderCase {
    const char* name;
    const char* node1;
    const char* node2;
    bool childrenAbove;  // option on and considered
    int sign;
};

const OrderCase kOrders[] = {
    {"Same", "A2", "A2", false, 0},
    {"SiblingsByIndex", "A1", "A2", false, -1},
    {"DescendantAfterAncestor", "A2a", "A", false, 1},
    {"AncestorBeforeDescendant", "A", "A2a", false, -1},
    {"DescendantBeforeAncestorWithChildrenAbove", "A2a", "A", true, -1},
    {"CousinsByTheirAncestors", "A2a", "B1", false, -1},
    {"DeeperNodeAfterEarlierShallowOne", "C1", "B", false, 1},
    {"CousinsUnchangedByChildrenAbove", "B1", "A2a", true, 1},
};

void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }

class TreeCompareOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(TreeCompareOrder, OrdersTwoNodes)
{
    const OrderCase& c = GetParam();
    NamedTree t;
    t.build("A(A1 A2(A2a)) B(B1) C(C1)");
    if (c.childrenAbove)
        t.tree.SetPaintOptions(t.tree.options().PaintOptions + TLTPaintOptions{toChildrenAbove});
    const int result = t.tree.ComparePositions(t[c.node1], t[c.node2], c.childrenAbove);
    EXPECT_EQ((result > 0) - (result < 0), c.sign);
}

INSTANTIATE_TEST_SUITE_P(Tree, TreeCompareOrder, ::testing::ValuesIn(kOrders), CaseName{});

TEST(TreeCache, ComparingNilIsRefused)
{
    NamedTree t;
    t.build("A");
    EXPECT_THROW(t.tree.ComparePositions(nullptr, t["A"], false), ELazyTreeAssertion);
}

// ----- the worker's lifecycle with trees ----------------------------------------------------

std::unique_ptr<ProbeTree> flatTree(std::uint32_t rows)
{
    auto tree = std::make_unique<ProbeTree>();
    tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
    tree->SetRootNodeCount(rows);
    return tree;
}

// The worker walks the rows while the main thread deletes them: every deletion takes the tree
// back first, so the walk never reaches a freed node (the sanitizer builds would report it).
// The deleted nodes have children: deleting those hands the tree to the worker again before
// the node itself is unlinked.
TEST(TreeCache, DeletingNodesTheWorkerWalksIsSafe)
{
    auto worker = std::make_shared<TreeWorker>();
    auto tree = flatTree(0);
    tree->BeginUpdate();
    tree->SetRootNodeCount(100'000);
    for (PLazyNode n = tree->GetFirstNoInit(); n; n = n->NextSibling) {
        tree->SetChildCount(n, 1);
        tree->ToggleNode(n);
    }
    tree->EndUpdate();
    tree->SetTreeWorker(worker);
    for (int i = 0; i < 30; ++i) {
        // Near where the walk starts, then where it ends.
        tree->DeleteNode(tree->RootNode()->FirstChild->NextSibling);
        tree->DeleteNode(tree->GetLastNoInit()->Parent);
        EXPECT_TRUE(tree->TreeStates().contains(tsValidating)) << "requeued after the change";
    }
    settle(*tree, *worker);
    ASSERT_TRUE(tree->TreeStates().contains(tsUseCache));
    const std::uint32_t rows = 2 * (100'000 - 60);
    ASSERT_EQ(tree->visibleCount(), rows);
    EXPECT_EQ(tree->positionCache().size(), cacheEntryCount(rows));
    // Row 2000k is the top-level node 1000k.
    EXPECT_EQ(tree->positionCache().back().Node->Index, (cacheEntryCount(rows) - 1) * 1000);
    EXPECT_EQ(tree->checkConsistency(), QString());
}

TEST(TreeCache, TwoTreesShareOneWorkerAndKeepApart)
{
    auto worker = std::make_shared<TreeWorker>();
    auto first = flatTree(60'000);
    auto second = flatTree(9'000);
    first->SetTreeWorker(worker);
    second->SetTreeWorker(worker);
    // Taking one tree back leaves the other one queued or running.
    first->SetNodeHeight(first->GetFirstNoInit(), 40);
    settle(*first, *worker);
    second->takeValidationResult();
    ASSERT_TRUE(first->TreeStates().contains(tsUseCache));
    ASSERT_TRUE(second->TreeStates().contains(tsUseCache));
    EXPECT_EQ(first->positionCache().size(), 30u);
    EXPECT_EQ(second->positionCache().size(), 5u);
    EXPECT_EQ(first->positionCache()[1].AbsoluteTop, 40u + 1999u * 18u);
    EXPECT_EQ(second->positionCache()[1].AbsoluteTop, 2000u * 18u);
    EXPECT_EQ(LazyTreeModel::TreeFromNode(second->positionCache()[4].Node), second.get());
}

TEST(TreeCache, DestroyingATreeWhileTheWorkerRunsIt)
{
    auto worker = std::make_shared<TreeWorker>();
    for (int i = 0; i < 10; ++i) {
        auto doomed = flatTree(100'000);
        doomed->SetTreeWorker(worker);
        doomed.reset();
    }
    auto survivor = flatTree(5'000);
    survivor->SetTreeWorker(worker);
    settle(*survivor, *worker);
    EXPECT_TRUE(survivor->TreeStates().contains(tsUseCache)) << "the worker serves on";
}

TEST(TreeCache, TheLastTreeReleasesTheWorker)
{
    auto worker = std::make_shared<TreeWorker>();
    std::weak_ptr<TreeWorker> watch = worker;
    auto tree = flatTree(50'000);
    tree->SetTreeWorker(std::move(worker));
    tree.reset();
    EXPECT_TRUE(watch.expired());
}

TEST(TreeCache, StoppingTheWorkerWithTreesQueued)
{
    auto worker = std::make_shared<TreeWorker>();
    std::vector<std::unique_ptr<ProbeTree>> trees;
    for (int i = 0; i < 4; ++i) {
        trees.push_back(flatTree(80'000));
        trees.back()->SetTreeWorker(worker);
    }
    worker->stop();
    for (auto& tree : trees) {
        tree->takeValidationResult();
        const TLazyTreeStates states = tree->TreeStates();
        EXPECT_FALSE(states.contains(tsValidating));
        // Whichever tree had been finished before the stop keeps its cache; the others walk.
        const PLazyNode last = tree->GetLastNoInit();
        EXPECT_EQ(tree->rowTop(last), 79'999 * 18);
        int top = 0;
        EXPECT_EQ(tree->GetNodeAt(0, 79'999 * 18, false, top), last);
    }
    // A stopped worker takes nothing more.
    trees[0]->SetNodeHeight(trees[0]->GetFirstNoInit(), 30);
    EXPECT_FALSE(trees[0]->TreeStates().contains(tsValidating));
    EXPECT_FALSE(trees[0]->TreeStates().contains(tsUseCache));
    EXPECT_EQ(trees[0]->rowTop(trees[0]->GetLastNoInit()), 79'998 * 18 + 30);
}

// A node that is filtered by its own initialisation loses its row; the cache built before
// must not stay in use.
TEST(TreeCache, FilteringDuringInitialisationInvalidatesTheCache)
{
    auto worker = std::make_shared<TreeWorker>();
    auto tree = flatTree(5'000);
    tree->OnInitNode = [](LazyTreeModel&, PLazyNode, PLazyNode node, TLazyNodeInitStates& s) {
        if (node->Index == 10)
            s.include(ivsFiltered);
    };
    tree->SetTreeWorker(worker);
    settle(*tree, *worker);
    ASSERT_TRUE(tree->TreeStates().contains(tsUseCache));
    PLazyNode tenth = tree->GetFirstNoInit();
    while (tenth->Index != 10)
        tenth = tenth->NextSibling;
    tree->InitNode(tenth);
    ASSERT_EQ(tree->visibleCount(), 4'999u);
    settle(*tree, *worker);
    ASSERT_TRUE(tree->TreeStates().contains(tsUseCache));
    EXPECT_EQ(tree->positionCache()[1].Node->Index, 2001u) << "one row less above";
    EXPECT_EQ(tree->rowTop(tree->GetLastNoInit()), 4'998 * 18);
}

TEST(TreeCache, ChangingPaintOptionsTakesTheTreeBackFirst)
{
    auto worker = std::make_shared<TreeWorker>();
    NamedTree t;
    t.tree.SetTreeWorker(worker);
    t.tree.SetRootNodeCount(3'000);
    PLazyNode first = t.tree.GetFirstNoInit();
    t.tree.SetChildCount(first, 2);
    t.tree.ToggleNode(first);
    // Children above changes the shown order while the rebuild may be running.
    t.tree.SetPaintOptions(t.tree.options().PaintOptions + TLTPaintOptions{toChildrenAbove});
    settle(t.tree, *worker);
    ASSERT_TRUE(t.tree.TreeStates().contains(tsUseCache));
    EXPECT_EQ(t.tree.positionCache()[0].Node, first->FirstChild);
    EXPECT_EQ(t.tree.positionCache()[1].Node->Index, 1998u);
    EXPECT_EQ(t.tree.rowTop(first), 2 * 18);
}

}  // namespace
}  // namespace zfw::test
