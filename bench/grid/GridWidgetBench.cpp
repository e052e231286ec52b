// The grid widget: painting one full viewport of a 100,000 x 10 grid beside a QTableView over a
// QStandardItemModel with the same texts, both rendered into an 800 x 600 image; and what one
// change of a cell, a width or a height costs the base grid at 100 and 100,000 rows (it must
// not grow with the rows). Run with QT_QPA_PLATFORM=offscreen; with ZFW_BENCH_DUMP set, the
// two pictures are saved as /tmp/bench_grid_paint_{ours,qt}.png for a look.

#include "BenchApp.h"

#include "grid/ExtGrid.h"

#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyleFactory>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kCols = 10;
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kColWidth = 64;
constexpr int kRowHeight = 21;

using zfw::bench::ensureApp;

QString cellText(int r, int c)
{
    return c == 0 ? QString::number(r) : QStringLiteral("v%1.%2").arg(r % 997).arg(c);
}

std::unique_ptr<zfw::TExtStringGrid> makeOurs(int rows)
{
    auto g = std::make_unique<zfw::TExtStringGrid>();
    g->SetScrollBars(zfw::ssBoth);
    g->SetColCount(kCols);
    g->SetRowCount(rows);
    g->SetDefaultColWidth(kColWidth);
    g->SetDefaultRowHeight(kRowHeight);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kCols; ++c)
            g->SetCellEx(c, r, cellText(r, c));
    g->resize(kWidth, kHeight);
    return g;
}

struct QtSide {
    QStandardItemModel model;
    QTableView view;
};

std::unique_ptr<QtSide> makeQt(int rows)
{
    auto q = std::make_unique<QtSide>();
    q->model.setRowCount(rows);
    q->model.setColumnCount(kCols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kCols; ++c)
            q->model.setData(q->model.index(r, c), cellText(r, c));
    q->view.setModel(&q->model);
    q->view.horizontalHeader()->setDefaultSectionSize(kColWidth);
    q->view.verticalHeader()->setDefaultSectionSize(kRowHeight);
    q->view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    q->view.resize(kWidth, kHeight);
    return q;
}

void BM_Paint_Ours(benchmark::State& state)
{
    ensureApp();
    auto grid = makeOurs(int(state.range(0)));
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    grid->render(&image);  // settles layout and scroll bars outside the timing
    if (qEnvironmentVariableIsSet("ZFW_BENCH_DUMP"))
        image.save(QStringLiteral("/tmp/bench_grid_paint_ours.png"));
    for (auto _ : state) {
        grid->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_Paint_Qt(benchmark::State& state)
{
    ensureApp();
    auto qt = makeQt(int(state.range(0)));
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    qt->view.render(&image);
    if (qEnvironmentVariableIsSet("ZFW_BENCH_DUMP"))
        image.save(QStringLiteral("/tmp/bench_grid_paint_qt.png"));
    for (auto _ : state) {
        qt->view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// A full repaint of the 100,000-row grids scrolled to an arbitrary place (row 61,237 at the
// top): the cost must be that of the rows on screen, wherever they are.
constexpr int kDeepRows = 100000;
constexpr int kDeepTop = 61237;

void BM_RepaintScrolled_Ours(benchmark::State& state)
{
    ensureApp();
    auto grid = makeOurs(kDeepRows);
    grid->SetTopRow(kDeepTop);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    grid->render(&image);
    for (auto _ : state) {
        grid->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_RepaintScrolled_Qt(benchmark::State& state)
{
    ensureApp();
    auto qt = makeQt(kDeepRows);
    qt->view.scrollTo(qt->model.index(kDeepTop, 0), QAbstractItemView::PositionAtTop);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    qt->view.render(&image);
    for (auto _ : state) {
        qt->view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// A rule editor's largest grid, 513 rows x 21 columns, scrolled from the top to the bottom a
// page at a time with a repaint after each step; one iteration is the whole way down.
constexpr int kPageRows = 513;
constexpr int kPageCols = 21;

void BM_ScrollPages_Ours(benchmark::State& state)
{
    ensureApp();
    auto g = std::make_unique<zfw::TExtStringGrid>();
    g->SetScrollBars(zfw::ssBoth);
    g->SetColCount(kPageCols);
    g->SetRowCount(kPageRows);
    g->SetDefaultColWidth(kColWidth);
    g->SetDefaultRowHeight(kRowHeight);
    for (int r = 0; r < kPageRows; ++r)
        for (int c = 0; c < kPageCols; ++c)
            g->SetCellEx(c, r, cellText(r, c));
    g->resize(kWidth, kHeight);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    g->render(&image);
    int pages = 0;
    for (auto _ : state) {
        g->SetTopRow(g->FixedRows());
        g->render(&image);
        pages = 1;
        while (g->TopRow() + g->VisibleRowCount() < kPageRows) {
            g->SetTopRow(
                std::min(g->TopRow() + g->VisibleRowCount(), kPageRows - g->VisibleRowCount()));
            g->render(&image);
            ++pages;
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["pages"] = pages;
}

void BM_ScrollPages_Qt(benchmark::State& state)
{
    ensureApp();
    QtSide q;
    q.model.setRowCount(kPageRows);
    q.model.setColumnCount(kPageCols);
    for (int r = 0; r < kPageRows; ++r)
        for (int c = 0; c < kPageCols; ++c)
            q.model.setData(q.model.index(r, c), cellText(r, c));
    q.view.setModel(&q.model);
    q.view.horizontalHeader()->setDefaultSectionSize(kColWidth);
    q.view.verticalHeader()->setDefaultSectionSize(kRowHeight);
    q.view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    q.view.setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    q.view.resize(kWidth, kHeight);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    q.view.render(&image);
    QScrollBar* bar = q.view.verticalScrollBar();
    int pages = 0;
    for (auto _ : state) {
        bar->setValue(0);
        q.view.render(&image);
        pages = 1;
        while (bar->value() < bar->maximum()) {
            bar->setValue(bar->value() + bar->pageStep());
            q.view.render(&image);
            ++pages;
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["pages"] = pages;
}

// One cell write, one width, one height on a grid of state.range(0) rows. The cells written
// lie near the end, out of view, where finding out that they need no repaint must stay cheap.
void BM_GridSetCell(benchmark::State& state)
{
    ensureApp();
    const int rows = int(state.range(0));
    auto grid = makeOurs(rows);
    const QString texts[2] = {QStringLiteral("a"), QStringLiteral("b")};
    int i = 0;
    for (auto _ : state) {
        grid->SetCellEx(3, rows - 1 - (i % 20), texts[i & 1]);
        ++i;
    }
}

void BM_GridSetColWidth(benchmark::State& state)
{
    ensureApp();
    auto grid = makeOurs(int(state.range(0)));
    int i = 0;
    for (auto _ : state)
        grid->SetColWidths(3, 60 + (i++ & 7));
}

void BM_GridSetRowHeight(benchmark::State& state)
{
    ensureApp();
    auto grid = makeOurs(int(state.range(0)));
    int i = 0;
    for (auto _ : state)
        grid->SetRowHeights(5, 18 + (i++ & 7));
}

BENCHMARK(BM_Paint_Ours)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint_Qt)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintScrolled_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintScrolled_Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollPages_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollPages_Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridSetCell)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridSetColWidth)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridSetRowHeight)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
