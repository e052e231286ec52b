// The node model beside QStandardItemModel building the same trees in the same run:
// - a flat list of 1,000,000 top-level nodes (our SetChildCount against appending items);
// - a 10-level tree with four children per node (1,398,100 nodes), ours made on demand by
//   OnInitChildren and then materialised completely, Qt's built item by item;
// - the last node of that tree and its position in document order, once built.
// Automatic sorting is off in our tree: with it, every EndUpdate sorts (and so initialises)
// the top level, which is a separate cost from building.

#include "tree/LazyTrees.h"

#include <QStandardItemModel>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zfw;

constexpr int kFlatCount = 1'000'000;
constexpr int kLevels = 10;
constexpr int kBranching = 4;

std::unique_ptr<LazyTreeModel> lazyTree()
{
    auto tree = std::make_unique<LazyTreeModel>();
    tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
    tree->OnInitNode = [](LazyTreeModel& t, PLazyNode, PLazyNode node, TLazyNodeInitStates& s) {
        if (t.GetNodeLevel(node) + 1 < std::uint32_t(kLevels))
            s.include(ivsHasChildren);
    };
    tree->OnInitChildren = [](LazyTreeModel&, PLazyNode, std::uint32_t& count) {
        count = kBranching;
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
        tree->SetRootNodeCount(kBranching);
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
        tree->SetRootNodeCount(kBranching);
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
    for (int i = 0; i < kBranching; ++i) {
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
    tree->SetRootNodeCount(kBranching);
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

}  // namespace

BENCHMARK(BM_BuildFlat_Ours)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BuildFlat_Qt)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BuildTreeLazy_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildTreeFull_Ours)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildTreeFull_Qt)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LastNodeAndIndex_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LastNodeAndIndex_Qt)->Unit(benchmark::kMillisecond)->Iterations(3);
