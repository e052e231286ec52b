// The tree stream: saving and loading 1,000,000 nodes (the 10-level tree of the model
// benchmarks, every node made and initialised, 4 bytes of user data each through the events),
// with the stream's size per node as a counter.

#include "tree/core/LazyTrees.h"

#include <QBuffer>
#include <QtEndian>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zfw;

constexpr int kLevels = 10;
constexpr int kFanOut[kLevels - 1] = {3, 4, 4, 2, 5, 3, 4, 4, 3};

std::unique_ptr<LazyTreeModel> numberedTree(bool build)
{
    auto tree = std::make_unique<LazyTreeModel>();
    tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
    tree->SetNodeDataSize(4);
    tree->OnSaveNode = [](LazyTreeModel& t, PLazyNode n, QIODevice& s) {
        s.write(t.nodeData<char>(n), 4);
    };
    tree->OnLoadNode = [](LazyTreeModel& t, PLazyNode n, QIODevice& s) {
        s.read(t.nodeData<char>(n), 4);
    };
    if (!build)
        return tree;
    tree->OnInitNode = [](LazyTreeModel& t, PLazyNode, PLazyNode node, TLazyNodeInitStates& s) {
        *t.nodeData<std::uint32_t>(node) = node->Index + 1;
        if (t.GetNodeLevel(node) + 1 < std::uint32_t(kLevels))
            s.include(ivsHasChildren);
    };
    tree->OnInitChildren = [](LazyTreeModel& t, PLazyNode node, std::uint32_t& count) {
        count = kFanOut[t.GetNodeLevel(node)];
    };
    tree->SetRootNodeCount(10);
    tree->ValidateNode(nullptr, true);
    return tree;
}

QByteArray savedTree()
{
    static const QByteArray bytes = [] {
        auto tree = numberedTree(true);
        QBuffer out;
        out.open(QIODevice::ReadWrite);
        tree->SaveToStream(out, nullptr);
        return out.data();
    }();
    return bytes;
}

void BM_SaveTree_Ours(benchmark::State& state)
{
    auto tree = numberedTree(true);
    qint64 size = 0;
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::ReadWrite);
        tree->SaveToStream(out, nullptr);
        size = out.size();
    }
    state.counters["bytes_per_node"] = double(size) / tree->TotalNodeCount();
    state.SetItemsProcessed(state.iterations() * tree->TotalNodeCount());
}

void BM_LoadTree_Ours(benchmark::State& state)
{
    const QByteArray bytes = savedTree();
    for (auto _ : state) {
        auto tree = numberedTree(false);
        QBuffer in;
        in.setData(bytes);
        in.open(QIODevice::ReadOnly);
        tree->LoadFromStream(in);
        benchmark::DoNotOptimize(tree->TotalNodeCount());
        state.PauseTiming();  // freeing is not loading
        tree.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}

}  // namespace

BENCHMARK(BM_SaveTree_Ours)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadTree_Ours)->Unit(benchmark::kMillisecond)->Iterations(3);
