// The wired scan result of 250 slaves x 100 records (about 325,000 nodes with the detail
// lines) in the lazy string tree set up as the scan window does, beside a QTreeView over a
// QStandardItemModel holding the same texts and ticks: shown, expanded, unticked.

#include "editors/metering/core/MBusDecoder.h"
#include "editors/metering/core/MBusScanTexts.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QStandardItemModel>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zfw;

constexpr int kSlaves = 250;
constexpr int kRecords = 100;

// The one application of this executable, shared with the wireless benchmarks.
QApplication& widgetApplication()
{
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *app;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_metering";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

const TSlaveMBusList& slaves()
{
    static const TSlaveMBusList list = [] {
        TSlaveMBusList l;
        for (int s = 0; s < kSlaves; ++s) {
            auto slave = std::make_shared<TSlave_MBus>();
            slave->Primary_Addresss = s;
            slave->Secondary_Addresss = QStringLiteral("%1").arg(s, 8, 10, QLatin1Char('0'));
            for (int r = 0; r < kRecords; ++r) {
                TVariable_MBus v;
                v.ValueStr = QString::number(r * 10);
                slave->List_Var.push_back(v);
            }
            l.push_back(slave);
        }
        return l;
    }();
    return list;
}

struct TNodeText {
    QString text;
};

// The scan window's tree: texts made at initialisation in a typed record, tri-state ticks.
std::unique_ptr<TLazyStringTree> lazyTree(const TImageList& images)
{
    auto tree = std::make_unique<TLazyStringTree>();
    tree->resize(600, 400);
    tree->SetAnimationDuration(0);
    tree->SetNodeDataSize(int(sizeof(TNodeText)));
    tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
    tree->SetMiscOptions(tree->options().MiscOptions + TLTMiscOptions{toCheckSupport});
    tree->SetSelectionOptions(TLTSelectionOptions{toMultiSelect});
    tree->SetImages(&images);
    tree->OnInitNode = [](LazyTreeModel& t, PLazyNode parent, PLazyNode node,
                          TLazyNodeInitStates& states) {
        const std::uint32_t level = t.GetNodeLevel(node);
        QString text;
        if (level == 0) {
            text = slaveNodeText(*slaves()[node->Index]);
            states.include(ivsHasChildren);
        } else if (level == 1) {
            text = recordNodeText(slaves()[parent->Index]->List_Var[node->Index]);
            states.include(ivsHasChildren);
        } else {
            text = recordDetailTexts(
                slaves()[parent->Parent->Index]->List_Var[parent->Index])[node->Index];
        }
        new (t.GetNodeData(node)) TNodeText{std::move(text)};
        if (level < 2) {
            static_cast<TLazyStringTree&>(t).SetCheckType(node, ctTriStateCheckBox);
            node->CheckState = csCheckedNormal;
        }
    };
    tree->OnInitChildren = [](LazyTreeModel& t, PLazyNode node, std::uint32_t& count) {
        count = t.GetNodeLevel(node) == 0 ? kRecords : 12;
    };
    tree->OnFreeNode = [](LazyTreeModel& t, PLazyNode node) {
        t.nodeData<TNodeText>(node)->~TNodeText();
    };
    tree->OnGetText = [](TBaseLazyTree& t, PLazyNode node, TColumnIndex, TVSTTextType type,
                         QString& text) {
        if (type == ttNormal)
            text = t.nodeData<TNodeText>(node)->text;
    };
    tree->OnGetImageIndexEx = [&images](TBaseLazyTree& t, PLazyNode node, TLTImageKind kind,
                                        TColumnIndex, bool&, int& index, const TImageList*& list) {
        if (kind == ikNormal || kind == ikSelected) {
            index = int(t.GetNodeLevel(node));
            list = &images;
        }
    };
    return tree;
}

const TImageList& levelImages()
{
    static const TImageList images = [] {
        TImageList l(12, 12);
        for (QColor c : {QColor(0, 90, 170), QColor(0, 140, 60), QColor(140, 140, 140)}) {
            QImage img(12, 12, QImage::Format_ARGB32);
            img.fill(c);
            l.Add(img);
        }
        return l;
    }();
    return images;
}

struct QtView {
    QStandardItemModel model;
    QTreeView view;
    QtView()
    {
        view.resize(600, 400);
        view.setHeaderHidden(true);
        view.setUniformRowHeights(true);
        QStandardItem* root = model.invisibleRootItem();
        for (const auto& slave : slaves()) {
            auto* top = new QStandardItem(slaveNodeText(*slave));
            top->setCheckable(true);
            top->setCheckState(Qt::Checked);
            for (const TVariable_MBus& r : slave->List_Var) {
                auto* record = new QStandardItem(recordNodeText(r));
                record->setCheckable(true);
                record->setCheckState(Qt::Checked);
                for (const QString& d : recordDetailTexts(r))
                    record->appendRow(new QStandardItem(d));
                top->appendRow(record);
            }
            root->appendRow(top);
        }
        view.setModel(&model);
    }
};

void BM_ShowResultTree_Ours(benchmark::State& state)
{
    widgetApplication();
    for (auto _ : state) {
        auto tree = lazyTree(levelImages());
        tree->SetRootNodeCount(kSlaves);
        benchmark::DoNotOptimize(tree->viewport()->grab());
    }
}

void BM_ShowResultTree_Qt(benchmark::State& state)
{
    widgetApplication();
    for (auto _ : state) {
        QtView v;
        benchmark::DoNotOptimize(v.view.viewport()->grab());
    }
}

void BM_ExpandAll_Ours(benchmark::State& state)
{
    widgetApplication();
    for (auto _ : state) {
        state.PauseTiming();
        auto tree = lazyTree(levelImages());
        tree->SetRootNodeCount(kSlaves);
        state.ResumeTiming();
        tree->FullExpand();
        benchmark::DoNotOptimize(tree->viewport()->grab());
        state.counters["nodes"] = tree->TotalNodeCount();
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
}

void BM_ExpandAll_Qt(benchmark::State& state)
{
    widgetApplication();
    for (auto _ : state) {
        state.PauseTiming();
        auto v = std::make_unique<QtView>();
        state.ResumeTiming();
        v->view.expandAll();
        benchmark::DoNotOptimize(v->view.viewport()->grab());
        state.PauseTiming();
        v.reset();
        state.ResumeTiming();
    }
}

void BM_UntickAll_Ours(benchmark::State& state)
{
    widgetApplication();
    for (auto _ : state) {
        state.PauseTiming();
        auto tree = lazyTree(levelImages());
        tree->SetRootNodeCount(kSlaves);
        tree->FullExpand();
        state.ResumeTiming();
        for (PLazyNode s = tree->GetFirstChild(tree->RootNode()); s; s = tree->GetNextSibling(s))
            tree->SetCheckState(s, csUncheckedNormal);
        benchmark::DoNotOptimize(tree->viewport()->grab());
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
}

void BM_UntickAll_Qt(benchmark::State& state)
{
    widgetApplication();
    for (auto _ : state) {
        state.PauseTiming();
        auto v = std::make_unique<QtView>();
        v->view.expandAll();
        state.ResumeTiming();
        // No propagation in the plain model: every slave and every record by hand.
        QStandardItem* root = v->model.invisibleRootItem();
        for (int s = 0; s < root->rowCount(); ++s) {
            QStandardItem* slave = root->child(s);
            slave->setCheckState(Qt::Unchecked);
            for (int r = 0; r < slave->rowCount(); ++r)
                slave->child(r)->setCheckState(Qt::Unchecked);
        }
        benchmark::DoNotOptimize(v->view.viewport()->grab());
        state.PauseTiming();
        v.reset();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_ShowResultTree_Ours)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ShowResultTree_Qt)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExpandAll_Ours)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ExpandAll_Qt)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_UntickAll_Ours)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_UntickAll_Qt)->Unit(benchmark::kMillisecond)->Iterations(2);
