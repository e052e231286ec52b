// Filling 100,000 x 10 cells through the grid's cell store and reading them back, beside the
// same work on a QStandardItemModel with the same texts.

#include "grid/CellStore.h"

#include <QStandardItemModel>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 10;

// The texts of a rule table: short numbers and words, made once so that neither side pays
// for formatting.
const std::vector<QString>& texts()
{
    static const std::vector<QString> t = [] {
        std::vector<QString> v;
        v.reserve(std::size_t(kRows) * kCols);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                v.push_back(c == 0 ? QString::number(r)
                                   : QStringLiteral("v%1.%2").arg(r % 997).arg(c));
        return v;
    }();
    return t;
}

void fillOurs(zfw::CellStore& store)
{
    const auto& t = texts();
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            store.SetCellEx(c, r, t[std::size_t(r) * kCols + c]);
}

void fillQt(QStandardItemModel& model)
{
    const auto& t = texts();
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            model.setData(model.index(r, c), t[std::size_t(r) * kCols + c]);
}

void BM_Fill_Ours(benchmark::State& state)
{
    texts();
    for (auto _ : state) {
        zfw::CellStore store(kCols, kRows);
        fillOurs(store);
        benchmark::DoNotOptimize(store.GetGridCell(kCols - 1, kRows - 1));
    }
    state.SetItemsProcessed(state.iterations() * kRows * kCols);
}

void BM_Fill_Qt(benchmark::State& state)
{
    texts();
    for (auto _ : state) {
        QStandardItemModel model(kRows, kCols);
        fillQt(model);
        benchmark::DoNotOptimize(model.rowCount());
    }
    state.SetItemsProcessed(state.iterations() * kRows * kCols);
}

void BM_Read_Ours(benchmark::State& state)
{
    zfw::CellStore store(kCols, kRows);
    fillOurs(store);
    for (auto _ : state) {
        qsizetype total = 0;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                total += store.GetCellEx(c, r).size();
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kRows * kCols);
}

void BM_Read_Qt(benchmark::State& state)
{
    QStandardItemModel model(kRows, kCols);
    fillQt(model);
    for (auto _ : state) {
        qsizetype total = 0;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                total += model.data(model.index(r, c)).toString().size();
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kRows * kCols);
}

BENCHMARK(BM_Fill_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fill_Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_Qt)->Unit(benchmark::kMillisecond);

}  // namespace
