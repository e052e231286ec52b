// The node model beside QStandardItemModel building the same trees in the same run:
// - a flat list of 1,000,000 top-level nodes (our SetChildCount against appending items);
// - a 10-level tree of exactly 1,000,000 nodes (10 top-level nodes, then 3, 4, 4, 2, 5, 3, 4, 4
//   and 3 children per node level by level), ours made on demand by OnInitChildren and then
//   materialised completely, Qt's built item by item;
// - the last node of that tree and its position in document order, once built;
// - the views: our TBaseLazyTree beside QTreeView on that model, expanding everything, jumping
//   to the last row and jumping to an absolute pixel position (offscreen platform).
// Automatic sorting is off in our tree: with it, every EndUpdate sorts (and so initialises)
// the top level, which is a separate cost from building.

#include "tree/LazyTreesControl.h"
#include "tree/core/LazyTrees.h"
#include "tree/core/LazyTreesWorker.h"

#include <QApplication>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

using namespace zfw;

constexpr int kFlatCount = 1'000'000;
constexpr int kLevels = 10;
constexpr int kTopCount = 10;
// Children of a node on each level but the last: 10 + 30 + 120 + 480 + 960 + 4,800 + 14,400 +
// 57,600 + 230,400 + 691,200 = 1,000,000 nodes.
constexpr int kFanOut[kLevels - 1] = {3, 4, 4, 2, 5, 3, 4, 4, 3};

std::unique_ptr<LazyTreeModel> lazyTree()
{
    auto tree = std::make_unique<LazyTreeModel>();
    tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
    tree->OnInitNode = [](LazyTreeModel& t, PLazyNode, PLazyNode node, TLazyNodeInitStates& s) {
        if (t.GetNodeLevel(node) + 1 < std::uint32_t(kLevels))
            s.include(ivsHasChildren);
    };
    tree->OnInitChildren = [](LazyTreeModel& t, PLazyNode node, std::uint32_t& count) {
        count = kFanOut[t.GetNodeLevel(node)];
    };
    return tree;
}

void BM_BuildFlat_Ours(benchmark::State& state)
{
    for (auto _ : state) {
        auto tree = std::make_unique<LazyTreeModel>();
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetRootNodeCount(kFlatCount);
        benchmark::DoNotOptimize(tree->TotalNodeCount());
        state.PauseTiming();  // freeing is not building
        tree.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kFlatCount);
}

void BM_BuildFlat_Qt(benchmark::State& state)
{
    for (auto _ : state) {
        auto model = std::make_unique<QStandardItemModel>();
        QList<QStandardItem*> items;
        items.reserve(kFlatCount);
        for (int i = 0; i < kFlatCount; ++i)
            items.append(new QStandardItem());
        model->invisibleRootItem()->appendRows(items);
        benchmark::DoNotOptimize(model->rowCount());
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kFlatCount);
}

// Only the top level: what a view needs before anything is expanded.
void BM_BuildTreeLazy_Ours(benchmark::State& state)
{
    for (auto _ : state) {
        auto tree = lazyTree();
        tree->SetRootNodeCount(kTopCount);
        benchmark::DoNotOptimize(tree->GetFirstVisible());
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
}

void BM_BuildTreeFull_Ours(benchmark::State& state)
{
    std::uint32_t nodes = 0;
    for (auto _ : state) {
        auto tree = lazyTree();
        tree->SetRootNodeCount(kTopCount);
        tree->ValidateNode(nullptr, true);
        nodes = tree->TotalNodeCount();
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    state.counters["nodes"] = nodes;
}

void addLevel(QStandardItem* parent, int level)
{
    const int count = level == 0 ? kTopCount : kFanOut[level - 1];
    for (int i = 0; i < count; ++i) {
        auto* item = new QStandardItem();
        if (level + 1 < kLevels)
            addLevel(item, level + 1);
        parent->appendRow(item);
    }
}

void BM_BuildTreeFull_Qt(benchmark::State& state)
{
    for (auto _ : state) {
        auto model = std::make_unique<QStandardItemModel>();
        addLevel(model->invisibleRootItem(), 0);
        benchmark::DoNotOptimize(model->rowCount());
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
}

void BM_LastNodeAndIndex_Ours(benchmark::State& state)
{
    auto tree = lazyTree();
    tree->SetRootNodeCount(kTopCount);
    tree->ValidateNode(nullptr, true);
    std::uint32_t index = 0;
    for (auto _ : state) {
        PLazyNode last = tree->GetLastNoInit();
        index = tree->AbsoluteIndex(last);
        benchmark::DoNotOptimize(index);
    }
    state.counters["index"] = index;
}

// Qt's model has no position in document order: the walk down the last rows, then the sum of
// the subtree sizes before the path, counted by visiting them.
int subtreeSize(const QStandardItem* item)
{
    int n = 1;
    for (int r = 0; r < item->rowCount(); ++r)
        n += subtreeSize(item->child(r));
    return n;
}

void BM_LastNodeAndIndex_Qt(benchmark::State& state)
{
    QStandardItemModel model;
    addLevel(model.invisibleRootItem(), 0);
    int index = 0;
    for (auto _ : state) {
        const QStandardItem* run = model.invisibleRootItem();
        index = -1;
        while (run->rowCount() > 0) {
            for (int r = 0; r + 1 < run->rowCount(); ++r)
                index += subtreeSize(run->child(r));
            run = run->child(run->rowCount() - 1);
            ++index;
        }
        benchmark::DoNotOptimize(index);
    }
    state.counters["index"] = index;
}

// ----- the views -----------------------------------------------------------------------------

// Our control on the 10-level tree with every node made (collapsed), shown offscreen. With a
// worker the position cache is rebuilt in the background after each change, as in the program.
struct OurView {
    std::shared_ptr<TreeWorker> worker;
    TBaseLazyTree tree;

    explicit OurView(bool cache)
    {
        tree.resize(400, 600);
        tree.SetAnimationDuration(0);
        tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree.OnInitNode = [](LazyTreeModel& t, PLazyNode, PLazyNode node, TLazyNodeInitStates& s) {
            if (t.GetNodeLevel(node) + 1 < std::uint32_t(kLevels))
                s.include(ivsHasChildren);
        };
        tree.OnInitChildren = [](LazyTreeModel& t, PLazyNode node, std::uint32_t& count) {
            count = kFanOut[t.GetNodeLevel(node)];
        };
        if (cache) {
            worker = std::make_shared<TreeWorker>();
            tree.SetTreeWorker(worker);
        }
        tree.SetRootNodeCount(kTopCount);
        tree.ValidateNode(nullptr, true);
        tree.show();
        QCoreApplication::processEvents();
    }

    // Waits for the background rebuild and takes it over (what the queued call does).
    void settle()
    {
        if (worker) {
            worker->waitUntilIdle(std::chrono::minutes(1));
            tree.takeValidationResult();
        }
    }
};

struct QtView {
    QStandardItemModel model;
    QTreeView view;

    explicit QtView(bool uniformRows)
    {
        addLevel(model.invisibleRootItem(), 0);
        view.setModel(&model);
        view.setUniformRowHeights(uniformRows);
        view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        view.resize(400, 600);
        view.show();
        QCoreApplication::processEvents();
    }

    QModelIndex lastIndex() const
    {
        QModelIndex last;
        while (model.rowCount(last) > 0)
            last = model.index(model.rowCount(last) - 1, 0, last);
        return last;
    }
};

void BM_FullExpand_Ours(benchmark::State& state)
{
    OurView v(true);
    for (auto _ : state) {
        v.tree.FullExpand();
        state.counters["rows"] = v.tree.visibleCount();
        state.PauseTiming();
        v.settle();  // the background rebuild is not part of the expand
        v.tree.FullCollapse();
        v.settle();
        state.ResumeTiming();
    }
}

void BM_FullExpand_Qt(benchmark::State& state)
{
    QtView v(state.range(0) != 0);
    for (auto _ : state) {
        v.view.expandAll();
        state.PauseTiming();
        state.counters["rows"] = v.view.verticalScrollBar()->maximum() / v.view.sizeHintForRow(0);
        v.view.collapseAll();
        state.ResumeTiming();
    }
}

// One iteration: to the last row of the expanded tree, then back to the first.
void BM_JumpToLast_Ours(benchmark::State& state)
{
    OurView v(state.range(0) != 0);
    v.tree.FullExpand();
    v.settle();
    PLazyNode first = v.tree.GetFirstVisibleNoInit();
    PLazyNode last = v.tree.GetLastVisibleNoInit();
    for (auto _ : state) {
        v.tree.ScrollIntoView(last, false);
        v.tree.ScrollIntoView(first, false);
    }
    state.counters["cache"] = v.tree.TreeStates().contains(tsUseCache) ? 1 : 0;
}

void BM_JumpToLast_Qt(benchmark::State& state)
{
    QtView v(state.range(0) != 0);
    v.view.expandAll();
    const QModelIndex first = v.model.index(0, 0);
    const QModelIndex last = v.lastIndex();
    for (auto _ : state) {
        v.view.scrollTo(last);
        v.view.scrollTo(first);
    }
}

// One iteration: the scroll position set to 30 % and then 70 % of the range, each time with
// the row now at the top. Both positions are moved on by 1,000 rows: 30 % and 70 % of the rows
// are multiples of 2,000, where our position cache has an entry and walks no row at all; half
// a block further is the average case.
constexpr int kHalfBlockRows = 1000;

void BM_JumpToPosition_Ours(benchmark::State& state)
{
    OurView v(state.range(0) != 0);
    v.tree.FullExpand();
    v.settle();
    const auto range = v.tree.RangeY();
    const int shift = kHalfBlockRows * v.tree.DefaultNodeHeight();
    const int p30 = int(range * 3 / 10) + shift;
    const int p70 = int(range * 7 / 10) + shift;
    for (auto _ : state) {
        v.tree.SetOffsetY(-p30);
        benchmark::DoNotOptimize(v.tree.TopNode());
        v.tree.SetOffsetY(-p70);
        benchmark::DoNotOptimize(v.tree.TopNode());
    }
    state.counters["cache"] = v.tree.TreeStates().contains(tsUseCache) ? 1 : 0;
}

void BM_JumpToPosition_Qt(benchmark::State& state)
{
    QtView v(state.range(0) != 0);
    v.view.expandAll();
    QScrollBar* bar = v.view.verticalScrollBar();
    const int shift = kHalfBlockRows * v.view.sizeHintForRow(0);
    const int p30 = int(std::int64_t(bar->maximum()) * 3 / 10) + shift;
    const int p70 = int(std::int64_t(bar->maximum()) * 7 / 10) + shift;
    for (auto _ : state) {
        bar->setValue(p30);
        benchmark::DoNotOptimize(v.view.indexAt(QPoint(1, 1)));
        bar->setValue(p70);
        benchmark::DoNotOptimize(v.view.indexAt(QPoint(1, 1)));
    }
}

}  // namespace

BENCHMARK(BM_BuildFlat_Ours)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BuildFlat_Qt)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BuildTreeLazy_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildTreeFull_Ours)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildTreeFull_Qt)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LastNodeAndIndex_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LastNodeAndIndex_Qt)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FullExpand_Ours)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FullExpand_Qt)
    ->ArgName("uniform")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_JumpToLast_Ours)->ArgName("cache")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JumpToLast_Qt)->ArgName("uniform")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JumpToPosition_Ours)->ArgName("cache")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JumpToPosition_Qt)->ArgName("uniform")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The views need an application; they run on the offscreen platform unless one is chosen.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
