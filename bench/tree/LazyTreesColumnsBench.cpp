// Fitting a column to its contents, beside QTreeView's resizeColumnToContents on the same texts:
// - AutoFitColumn: 100,000 top-level rows in two columns (texts of 5 to 40 characters in the
//   second), an 800x600 view at the top; the second column is fitted to the rows in view
//   (ours smart, Qt with the header's contents precision 0) and to all rows (ours not smart, Qt
//   with precision -1).

#include "tree/LazyTreesHeader.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zfw;

constexpr int kRows = 100'000;

QString cellText(int row)
{
    return QStringLiteral("Value %1 ").arg(row) + QString(row % 36, QChar('x'));
}

struct OurColumns {
    std::unique_ptr<TLazyStringTree> tree = std::make_unique<TLazyStringTree>();

    OurColumns()
    {
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->OnGetText = [](TBaseLazyTree&, PLazyNode n, TColumnIndex column, TVSTTextType type,
                             QString& text) {
            if (type == ttNormal)
                text = column == 1 ? cellText(int(n->Index))
                                   : QStringLiteral("Row %1").arg(n->Index);
        };
        TLTHeader& header = tree->Header();
        header.Columns().Add().SetText("Name");
        header.Columns().Add().SetText("Value");
        header.SetOptions(header.Options() + TLTHeaderOptions{hoVisible});
        tree->SetRootNodeCount(kRows);
        tree->resize(800, 600);
        tree->show();
        QApplication::processEvents();
    }
};

struct QtColumns {
    QStandardItemModel model;
    QTreeView view;

    QtColumns()
    {
        model.setColumnCount(2);
        for (int r = 0; r < kRows; ++r)
            model.appendRow({new QStandardItem(QStringLiteral("Row %1").arg(r)),
                             new QStandardItem(cellText(r))});
        view.setRootIsDecorated(false);
        view.setUniformRowHeights(true);
        // Otherwise the last column fills the view whatever its contents.
        view.header()->setStretchLastSection(false);
        view.setModel(&model);
        view.resize(800, 600);
        view.show();
        QApplication::processEvents();
    }
};

template <class View>
View& cached()
{
    // Kept across runs and never destroyed: it would outlive the application object at exit.
    static auto* view = new View;
    return *view;
}

void BM_AutoFitColumn_Ours(benchmark::State& state)
{
    OurColumns& v = cached<OurColumns>();
    const bool smart = state.range(0) != 0;
    TLTHeader& header = v.tree->Header();
    for (auto _ : state) {
        header.Columns()[1].SetWidth(50);
        header.AutoFitColumns(false, smart ? smaAllColumns : smaNoColumn, 1, 1);
    }
    state.counters["width"] = header.Columns()[1].Width();
}

void BM_AutoFitColumn_Qt(benchmark::State& state)
{
    QtColumns& v = cached<QtColumns>();
    v.view.header()->setResizeContentsPrecision(int(state.range(0)));
    for (auto _ : state) {
        v.view.setColumnWidth(1, 50);
        v.view.resizeColumnToContents(1);
    }
    state.counters["width"] = v.view.columnWidth(1);
}

}  // namespace

BENCHMARK(BM_AutoFitColumn_Ours)->ArgName("smart")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AutoFitColumn_Qt)
    ->ArgName("precision")
    ->Arg(0)
    ->Arg(-1)
    ->Unit(benchmark::kMicrosecond);
