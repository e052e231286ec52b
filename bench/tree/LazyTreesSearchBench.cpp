// One keystroke of incremental search through an expanded tree of 1,000,000 rows (1,000 parents
// of 999 children each), beside QTreeView::keyboardSearch on the same texts: every row reads
// "row <n>" except the row 900,000 down, "zeta <n>", and "z" is typed with the focus on the top
// row. Both sides ask for their texts on demand, made on each request (kept:0) or made once and
// shared (kept:1), and bring the hit into view; the repaint that follows is not timed.

#include "tree/LazyTreesString.h"
#include "tree/core/LazyTreesWorker.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QKeyEvent>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

namespace {

using namespace zfw;

constexpr int kParents = 1000;
constexpr int kChildren = 999;
constexpr int kTargetRow = 900000;

// Shared by both sides; one allocation per text.
QString rowText(int row)
{
    return (row == kTargetRow ? QLatin1String("zeta ") : QLatin1String("row "))
           + QString::number(row);
}

// The texts made once and handed out as shared copies, as an owner does that keeps each
// node's caption (the scan windows keep theirs in the nodes' data).
const QString& keptText(int row)
{
    static const auto* texts = [] {
        auto* all = new std::vector<QString>(std::size_t(kParents) * (kChildren + 1));
        for (std::size_t i = 0; i < all->size(); ++i)
            (*all)[i] = rowText(int(i));
        return all;
    }();
    return (*texts)[std::size_t(row)];
}

// Which of the two a run uses: 0 made on each request, 1 kept.
bool g_keptTexts = false;

QString textOf(int row) { return g_keptTexts ? keptText(row) : rowText(row); }

struct OurSearch {
    std::shared_ptr<TreeWorker> worker = std::make_shared<TreeWorker>();
    std::unique_ptr<TLazyStringTree> tree = std::make_unique<TLazyStringTree>();

    OurSearch()
    {
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetAnimationDuration(0);
        tree->SetBeeper(nullptr);
        tree->SetIncrementalSearch(isAll);
        tree->OnGetText = [](TBaseLazyTree& t, PLazyNode n, TColumnIndex, TVSTTextType type,
                             QString& text) {
            if (type != ttNormal)
                return;
            const int row = n->Parent == t.RootNode()
                                ? int(n->Index) * (kChildren + 1)
                                : int(n->Parent->Index) * (kChildren + 1) + 1 + int(n->Index);
            text = textOf(row);
        };
        tree->OnInitNode = [](LazyTreeModel&, PLazyNode parent, PLazyNode, TLazyNodeInitStates& s) {
            if (!parent) {
                s.include(ivsHasChildren);
                s.include(ivsExpanded);
            }
        };
        tree->OnInitChildren = [](LazyTreeModel&, PLazyNode, std::uint32_t& count) {
            count = kChildren;
        };
        tree->SetTreeWorker(worker);
        tree->BeginUpdate();
        tree->SetRootNodeCount(kParents);
        tree->FullExpand();
        tree->EndUpdate();
        tree->resize(800, 600);
        tree->show();
        QApplication::processEvents();
        settle();
    }
    void settle()
    {
        worker->waitUntilIdle(std::chrono::minutes(1));
        tree->takeValidationResult();
    }
    // The focus back on the top row and the search buffer forgotten, as after the timeout.
    void reset()
    {
        tree->StopTimer(TBaseLazyTree::SearchTimer);
        tree->SetIncrementalSearch(isNone);
        tree->SetIncrementalSearch(isAll);
        tree->ClearSelection();
        tree->SetFocusedNode(tree->GetFirst());
        QApplication::processEvents();
        settle();
    }
};

// The same rows computed on demand, as our tree's OnGetText does.
class RowModel final : public QAbstractItemModel {
public:
    QModelIndex index(int row, int column, const QModelIndex& parent) const override
    {
        if (column != 0 || row < 0)
            return {};
        if (!parent.isValid())
            return row < kParents ? createIndex(row, 0, quintptr(0)) : QModelIndex();
        if (parent.internalId() != 0 || row >= kChildren)
            return {};
        return createIndex(row, 0, quintptr(parent.row() + 1));
    }
    QModelIndex parent(const QModelIndex& child) const override
    {
        if (!child.isValid() || child.internalId() == 0)
            return {};
        return createIndex(int(child.internalId() - 1), 0, quintptr(0));
    }
    int rowCount(const QModelIndex& parent) const override
    {
        if (!parent.isValid())
            return kParents;
        return parent.internalId() == 0 ? kChildren : 0;
    }
    int columnCount(const QModelIndex&) const override { return 1; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const int row = index.internalId() == 0
                            ? index.row() * (kChildren + 1)
                            : int(index.internalId() - 1) * (kChildren + 1) + 1 + index.row();
        return textOf(row);
    }
};

struct QtSearch {
    RowModel model;
    QTreeView view;

    QtSearch()
    {
        view.setHeaderHidden(true);
        view.setUniformRowHeights(true);
        view.setModel(&model);
        // Each parent expanded by itself: the rows are laid out once, when first shown.
        for (int p = 0; p < kParents; ++p)
            view.expand(model.index(p, 0, {}));
        view.resize(800, 600);
        view.show();
        QApplication::processEvents();
        // The view's typed text is forgotten at once, so that every iteration starts afresh.
        QApplication::setKeyboardInputInterval(0);
    }
    void reset()
    {
        view.setCurrentIndex(model.index(0, 0, {}));
        view.scrollToTop();
        QApplication::processEvents();
    }
};

// One "z" key press, as the user types it.
void typeZ(QWidget& target)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
    QApplication::sendEvent(&target, &release);
}

// Built once and kept: the views must not outlive the application object at exit.
void BM_IncrementalSearch_Ours(benchmark::State& state)
{
    static auto* view = new OurSearch;
    g_keptTexts = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        view->reset();
        state.ResumeTiming();
        typeZ(*view->tree);
    }
    if (view->tree->GetText(view->tree->FocusedNode(), NoColumn) != rowText(kTargetRow))
        state.SkipWithError("the search missed the row");
}

void BM_IncrementalSearch_Qt(benchmark::State& state)
{
    static auto* view = new QtSearch;
    g_keptTexts = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        view->reset();
        state.ResumeTiming();
        typeZ(view->view);
    }
    if (view->view.currentIndex().data().toString() != rowText(kTargetRow))
        state.SkipWithError("the search missed the row");
}

}  // namespace

BENCHMARK(BM_IncrementalSearch_Ours)
    ->ArgName("kept")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(BM_IncrementalSearch_Qt)
    ->ArgName("kept")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
