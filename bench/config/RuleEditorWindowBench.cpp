// The S7 rule editor window on a full file (512 read + 512 write rules, every list column
// filled): opening it until it is shown and painted, and OK until the file is written.
// Run with QT_QPA_PLATFORM=offscreen (set here when unset).

#include "BenchApp.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "config/US7_Protocol_Set_Access.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QApplication>
#include <QFile>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zfw;

using zfw::bench::ensureApp;

// Message boxes would wait for a user; a full valid file shows none, and any shown is an
// error of the run.
class CountingDialogs final : public IUserDialogs {
public:
    TModalResult messageDlg(const QString&, TMsgDlgType, TMsgDlgButtons, QWidget*) override
    {
        ++shown;
        return mrNo;
    }
    TModalResult showModal(QDialog&) override { return mrCancel; }
    std::optional<QString> openFileName(const FileDialogRequest&, QWidget*) override
    {
        ++shown;
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const FileDialogRequest&, QWidget*) override
    {
        ++shown;
        return std::nullopt;
    }
    bool choosePrinter(PrintSetup&, int, QWidget*) override
    {
        ++shown;
        return false;
    }
    int shown = 0;
};

// A project folder whose S7_Protocol.xml is full, typed into the window's grids and saved by
// its OK.
struct FullS7Project {
    QTemporaryDir dir;
    CountingDialogs dialogs;
    std::unique_ptr<TFS7_Protocol_Set_Access> form;
    bool ok = false;

    FullS7Project()
    {
        ensureApp();
        services().dialogs = &dialogs;
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = dir.path();
        s.File_S7_Protocol = dir.filePath(QStringLiteral("S7_Protocol.xml"));
        form = std::make_unique<TFS7_Protocol_Set_Access>(
            RuleEditorContext{&s, QStringLiteral("CODE"), &dialogs});
        form->show();
        for (int t = 0; t < 2; ++t) {
            TRuleGrid* g = form->grid(t);
            for (int r = 1; r < g->RowCount(); ++r) {
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
                if (t == 1)
                    cells += {"Y", "N"};
                cells += {QString::number(r % 1500), "5", "N", "Y", "rule " + QString::number(r)};
                for (int c = 0; c < cells.size(); ++c)
                    g->SetCellEx(c + 1, r, cells[c]);
            }
        }
        form->Btn_OKClick();
        ok = form->result() == mrOk && dialogs.shown == 0;
    }
};

FullS7Project& project()
{
    static FullS7Project p;
    return p;
}

// Opening: ParGen-free preparation, the file read, 1026 rows of 19-21 cells shown, the
// window painted.
void BM_S7EditorOpenFullFile(benchmark::State& state)
{
    FullS7Project& p = project();
    if (!p.ok) {
        state.SkipWithError("cannot write the full file");
        return;
    }
    for (auto _ : state) {
        p.form->hide();
        p.form->show();
        p.form->repaint();
        if (p.form->ruleFile()->tables[1].ruleCount() != 512) {
            state.SkipWithError("the file did not load in full");
            return;
        }
    }
}
BENCHMARK(BM_S7EditorOpenFullFile)->Unit(benchmark::kMillisecond);

// OK on the opened window: the grids' texts taken back, the fifteen checks of all 1024 rules,
// the file written atomically and the window closed.
void BM_S7EditorOkFullFile(benchmark::State& state)
{
    FullS7Project& p = project();
    if (!p.ok) {
        state.SkipWithError("cannot write the full file");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        p.form->hide();
        p.form->show();
        state.ResumeTiming();
        p.form->Btn_OKClick();
        if (p.form->result() != mrOk || p.dialogs.shown != 0) {
            state.SkipWithError("OK did not save");
            return;
        }
    }
}
BENCHMARK(BM_S7EditorOkFullFile)->Unit(benchmark::kMillisecond);

// Start-up share of one editor window: made at start-up (Arg 0), the controls wait for the
// first showing; made whole (Arg 1), as at that showing.
void BM_S7EditorCreate(benchmark::State& state)
{
    FullS7Project& p = project();
    const RuleEditorContext context{&programState(), QStringLiteral("CODE"), &p.dialogs};
    for (auto _ : state) {
        TFS7_Protocol_Set_Access form(context);
        if (state.range(0))
            form.ensureBuilt();
        benchmark::DoNotOptimize(form.isBuilt());
    }
}
BENCHMARK(BM_S7EditorCreate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
