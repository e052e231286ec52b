// The string tree beside QTreeView painting and scrolling the same rows, and ticking a branch
// beside QTreeWidget with auto-tristate items:
// - PaintPage: a full repaint of an 800x600 view at the top, middle and bottom of 1,000,
//   100,000 and 1,000,000 expanded rows (parents of 99 children each), every row with a check
//   box, tree lines and its level's icon;
// - ScrollPageDown: 100 PgDn presses from the top of 100,000 rows, each followed by a paint;
// - CheckBranch: ticking (and in the next iteration unticking) a node with 10,000 descendants.

#include "tree/LazyTreesString.h"
#include "tree/core/LazyTreesWorker.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTreeView>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

using namespace zfw;

constexpr int kChildren = 99;

QImage levelIcon(QColor c)
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(c);
    return img;
}

struct OurView {
    std::unique_ptr<TLazyStringTree> tree = std::make_unique<TLazyStringTree>();
    TImageList icons{16, 16};

    explicit OurView(int rows)
    {
        icons.Add(levelIcon(Qt::red));
        icons.Add(levelIcon(Qt::blue));
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetMiscOptions(tree->options().MiscOptions + TLTMiscOptions{toCheckSupport});
        tree->SetAnimationDuration(0);
        tree->SetImages(&icons);
        tree->OnGetText = [](TBaseLazyTree& t, PLazyNode n, TColumnIndex, TVSTTextType type,
                             QString& text) {
            if (type == ttNormal)
                text = (n->Parent == t.RootNode() ? QStringLiteral("Slave %1")
                                                  : QStringLiteral("Record %1"))
                           .arg(n->Index);
        };
        tree->OnGetImageIndex = [](TBaseLazyTree& t, PLazyNode n, TLTImageKind kind, TColumnIndex,
                                   bool&, int& index) {
            if (kind == ikNormal || kind == ikSelected)
                index = n->Parent == t.RootNode() ? 0 : 1;
        };
        tree->OnInitNode = [](LazyTreeModel& t, PLazyNode parent, PLazyNode node,
                              TLazyNodeInitStates& s) {
            if (!parent) {
                node->CheckType = ctTriStateCheckBox;
                s.include(ivsHasChildren);
                s.include(ivsExpanded);
            } else {
                node->CheckType = ctCheckBox;
                node->CheckState = node->Index % 3 == 0 ? csCheckedNormal : csUncheckedNormal;
            }
        };
        tree->OnInitChildren = [](LazyTreeModel&, PLazyNode, std::uint32_t& count) {
            count = kChildren;
        };
        tree->BeginUpdate();
        tree->SetRootNodeCount(std::uint32_t(rows / (kChildren + 1)));
        tree->FullExpand();
        tree->EndUpdate();
        tree->SetTreeWorker(std::make_shared<TreeWorker>());
        tree->resize(800, 600);
        tree->show();
        QApplication::processEvents();
    }
    void moveTo(double part)
    {
        const std::int64_t range = tree->RangeY() - tree->viewport()->height();
        tree->SetOffsetY(-int(double(range) * part));
        QApplication::processEvents();
    }
};

struct QtView {
    QStandardItemModel model;
    QTreeView view;

    explicit QtView(int rows)
    {
        const QIcon top(QPixmap::fromImage(levelIcon(Qt::red)));
        const QIcon child(QPixmap::fromImage(levelIcon(Qt::blue)));
        QList<QStandardItem*> parents;
        for (int p = 0; p < rows / (kChildren + 1); ++p) {
            auto* parent = new QStandardItem(top, QStringLiteral("Slave %1").arg(p));
            parent->setCheckable(true);
            parent->setAutoTristate(true);
            QList<QStandardItem*> children;
            for (int c = 0; c < kChildren; ++c) {
                auto* item = new QStandardItem(child, QStringLiteral("Record %1").arg(c));
                item->setCheckable(true);
                item->setCheckState(c % 3 == 0 ? Qt::Checked : Qt::Unchecked);
                children.append(item);
            }
            parent->appendRows(children);
            parents.append(parent);
        }
        model.invisibleRootItem()->appendRows(parents);
        view.setHeaderHidden(true);
        view.setUniformRowHeights(true);
        view.setModel(&model);
        view.expandAll();
        view.resize(800, 600);
        view.show();
        QApplication::processEvents();
    }
    void moveTo(double part)
    {
        QScrollBar* bar = view.verticalScrollBar();
        bar->setValue(int(bar->maximum() * part));
        QApplication::processEvents();
    }
};

template <class View>
View& cached(int rows)
{
    // One view of each kind at a time, kept across runs; never destroyed, since it would
    // outlive the application object at exit.
    static auto* views = new std::map<int, std::unique_ptr<View>>;
    auto& slot = (*views)[rows];
    if (!slot) {
        for (auto it = views->begin(); it != views->end();)
            it = it->first == rows ? std::next(it) : views->erase(it);
        slot = std::make_unique<View>(rows);
    }
    return *slot;
}

void BM_PaintPage_Ours(benchmark::State& state)
{
    OurView& v = cached<OurView>(int(state.range(0)));
    v.moveTo(double(state.range(1)) / 2);
    for (auto _ : state)
        v.tree->viewport()->repaint();
}

void BM_PaintPage_Qt(benchmark::State& state)
{
    QtView& v = cached<QtView>(int(state.range(0)));
    v.moveTo(double(state.range(1)) / 2);
    for (auto _ : state)
        v.view.viewport()->repaint();
}

void pageDown(QWidget* target, QWidget* paint)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    paint->repaint();
}

void BM_ScrollPageDown_Ours(benchmark::State& state)
{
    OurView& v = cached<OurView>(100'000);
    for (auto _ : state) {
        state.PauseTiming();
        v.moveTo(0);
        v.tree->SetFocusedNode(v.tree->GetFirst());
        state.ResumeTiming();
        for (int i = 0; i < 100; ++i)
            pageDown(v.tree.get(), v.tree->viewport());
    }
}

void BM_ScrollPageDown_Qt(benchmark::State& state)
{
    QtView& v = cached<QtView>(100'000);
    for (auto _ : state) {
        state.PauseTiming();
        v.moveTo(0);
        v.view.setCurrentIndex(v.model.index(0, 0));
        state.ResumeTiming();
        for (int i = 0; i < 100; ++i)
            pageDown(&v.view, v.view.viewport());
    }
}

// A node with 100 children of 99 children each: 10,000 descendants.
void BM_CheckBranch_Ours(benchmark::State& state)
{
    TLazyStringTree tree;
    tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
    tree.BeginUpdate();
    PLazyNode top = tree.AddChild(nullptr);
    tree.SetCheckType(top, ctTriStateCheckBox);
    for (int i = 0; i < 100; ++i) {
        PLazyNode mid = tree.AddChild(top);
        tree.SetCheckType(mid, ctTriStateCheckBox);
        for (int k = 0; k < kChildren; ++k)
            tree.SetCheckType(tree.AddChild(mid), ctCheckBox);
    }
    tree.EndUpdate();
    bool on = true;
    for (auto _ : state) {
        tree.SetCheckState(top, on ? csCheckedNormal : csUncheckedNormal);
        on = !on;
    }
    benchmark::DoNotOptimize(tree.CheckedCount());
}

void BM_CheckBranch_Qt(benchmark::State& state)
{
    QTreeWidget tree;
    auto* top = new QTreeWidgetItem(&tree, QStringList(QStringLiteral("top")));
    top->setFlags(top->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
    top->setCheckState(0, Qt::Unchecked);
    for (int i = 0; i < 100; ++i) {
        auto* mid = new QTreeWidgetItem(top, QStringList(QStringLiteral("mid")));
        mid->setFlags(mid->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
        mid->setCheckState(0, Qt::Unchecked);
        for (int k = 0; k < kChildren; ++k) {
            auto* leaf = new QTreeWidgetItem(mid, QStringList(QStringLiteral("leaf")));
            leaf->setFlags(leaf->flags() | Qt::ItemIsUserCheckable);
            leaf->setCheckState(0, Qt::Unchecked);
        }
    }
    bool on = true;
    for (auto _ : state) {
        top->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
        on = !on;
    }
    benchmark::DoNotOptimize(top->child(99)->child(98)->checkState(0));
}

void pageArgs(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"rows", "at"});
    for (int rows : {1'000, 100'000, 1'000'000})
        for (int at : {0, 1, 2})
            b->Args({rows, at});
}

}  // namespace

BENCHMARK(BM_PaintPage_Ours)->Apply(pageArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintPage_Qt)->Apply(pageArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollPageDown_Ours)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ScrollPageDown_Qt)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CheckBranch_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckBranch_Qt)->Unit(benchmark::kMicrosecond);
