// Opening and saving the S7 rule editor's tables on a full file (512 read + 512 write rules,
// every list column filled) through the window-free model.

#include "config/core/US7RuleSpec.h"
#include "ruleedit/core/URuleRowTools.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace zfw;

// A full S7_Protocol.xml, written by the model itself.
struct FullS7File {
    QTemporaryDir dir;
    QString path;

    FullS7File() : path(dir.filePath(QStringLiteral("S7_Protocol.xml")))
    {
        RuleFile f(s7RuleSpec());
        for (std::size_t t = 0; t < f.tables.size(); ++t) {
            RuleTable& table = f.tables[t];
            const bool write = t == 1;
            for (int r = 1; r < table.rowCount(); ++r) {
                QStringList cells = {"Y",
                                     "192.168.1." + QString::number(1 + r % 10),
                                     "102",
                                     "S71500",
                                     "0",
                                     "1",
                                     "Word",
                                     "DB",
                                     QString::number(r),
                                     "Direct peripheral access (P)",
                                     QString::number(r * 2),
                                     "3",
                                     "1000"};
                if (write)
                    cells += {"Y", "N"};
                cells += {QString::number(r % 1500), "5", "N", "Y", "rule " + QString::number(r)};
                for (int c = 0; c < cells.size(); ++c)
                    table.setCell(c + 1, r, cells[c]);
            }
        }
        if (!saveRuleFile(f, path).ok)
            path.clear();
    }
};

FullS7File& fullFile()
{
    static FullS7File f;
    return f;
}

// Opening: the tables with their Position lists of 1500 items, cleared, then loaded.
void BM_S7OpenFullFile(benchmark::State& state)
{
    const QString path = fullFile().path;
    if (path.isEmpty()) {
        state.SkipWithError("cannot write the input file");
        return;
    }
    QStringList buffer;
    for (auto _ : state) {
        RuleEditorModel editor(path, buffer);
        const RuleLoadReport report = editor.open(s7RuleSpec());
        benchmark::DoNotOptimize(report.status);
        if (editor.file().tables[1].ruleCount() != 512)
            state.SkipWithError("the file did not load in full");
    }
}
BENCHMARK(BM_S7OpenFullFile)->Unit(benchmark::kMillisecond);

// OK on the loaded tables: the fifteen checks of every rule, then the file written atomically.
void BM_S7CheckAndSaveFullFile(benchmark::State& state)
{
    const QString source = fullFile().path;
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("S7_Protocol.xml"));
    QStringList buffer;
    RuleEditorModel editor(source, buffer);
    editor.open(s7RuleSpec());
    for (auto _ : state) {
        if (!Controllo_dati(editor.file()).ok()) {
            state.SkipWithError("the full file does not pass its checks");
            return;
        }
        if (!saveRuleFile(editor.file(), target).ok) {
            state.SkipWithError("cannot save");
            return;
        }
    }
}
BENCHMARK(BM_S7CheckAndSaveFullFile)->Unit(benchmark::kMillisecond);

}  // namespace
