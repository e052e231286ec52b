// The KNX rule window on a full file (1024 rules, every column filled, Position lists of
// 1500 items), beside the S7 rule window on its full file (512 read + 512 write rules) in the
// same run: opening each until it is shown and painted, and OK until the file is written.
// Also the start-up share of the J1939, KNX and NMEA 2000 windows. Run with
// QT_QPA_PLATFORM=offscreen (set here when unset).

#include "BenchApp.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "config/US7_Protocol_Set_Access.h"
#include "editors/fieldbus/UJ1939Frames.h"
#include "editors/fieldbus/UKNXAccess.h"
#include "editors/fieldbus/UNMEAFrames.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QApplication>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

using namespace zfw;

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

// A project folder whose rule files are full: typed into the windows' grids and saved by
// their OK.
struct FullProject {
    QTemporaryDir dir;
    CountingDialogs dialogs;
    std::unique_ptr<TFKNXAccess> knx;
    std::unique_ptr<TFS7_Protocol_Set_Access> s7;
    bool ok = false;

    FullProject()
    {
        bench::ensureApp();
        services().dialogs = &dialogs;
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = dir.path();
        s.File_KNX_SetAccess = dir.filePath(QStringLiteral("KNX_SetAccess.xml"));
        s.File_S7_Protocol = dir.filePath(QStringLiteral("S7_Protocol.xml"));
        const RuleEditorContext context{&s, QStringLiteral("CODE"), &dialogs};
        knx = std::make_unique<TFKNXAccess>(context);
        s7 = std::make_unique<TFS7_Protocol_Set_Access>(context);
        fill(*knx, [](int, int r) {
            // Bit mode, one bit each: rule r takes byte r of the array.
            return QStringList{"Y",
                               "1.1." + QString::number(r % 256),
                               QString::number(1 + r % 31) + "/" + QString::number(r % 8) + "/"
                                   + QString::number(r % 256),
                               r % 2 ? "Write" : "Read",
                               "Normal",
                               "Swap16",
                               "1,5",
                               "N",
                               "N",
                               "N",
                               "Y",
                               "Y",
                               "1000",
                               QString::number(r),
                               QString::number(r % 8),
                               "1",
                               "5000",
                               "rule " + QString::number(r)};
        });
        fill(*s7, [](int t, int r) {
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
            return cells;
        });
        ok = knx->result() == mrOk && s7->result() == mrOk && dialogs.shown == 0;
    }

    static void fill(TRuleEditorFrame& form, const std::function<QStringList(int, int)>& rule)
    {
        form.show();
        for (int t = 0; t < form.tableCount(); ++t) {
            TRuleGrid* g = form.grid(t);
            for (int r = 1; r < g->RowCount(); ++r) {
                const QStringList cells = rule(t, r);
                for (int c = 0; c < cells.size(); ++c)
                    g->SetCellEx(c + 1, r, cells[c]);
            }
        }
        form.Btn_OKClick();
    }
};

FullProject& project()
{
    static FullProject p;
    return p;
}

TRuleEditorFrame* formOf(FullProject& p, int which)
{
    return which == 0 ? static_cast<TRuleEditorFrame*>(p.knx.get()) : p.s7.get();
}

int rulesOf(const TRuleEditorFrame& f)
{
    int n = 0;
    for (const RuleTable& t : f.ruleFile()->tables)
        n += t.ruleCount();
    return n;
}

// Opening: the descriptors with their Position lists, the file read, every row shown, the
// window painted. Arg 0 KNX (1024 rules), Arg 1 S7 (1024 rules).
void BM_RuleEditorOpenFullFile(benchmark::State& state)
{
    FullProject& p = project();
    if (!p.ok) {
        state.SkipWithError("cannot write the full files");
        return;
    }
    TRuleEditorFrame* f = formOf(p, int(state.range(0)));
    state.SetLabel(state.range(0) == 0 ? "KNX" : "S7");
    for (auto _ : state) {
        f->hide();
        f->show();
        f->repaint();
        if (rulesOf(*f) != 1024) {
            state.SkipWithError("the file did not load in full");
            return;
        }
    }
}
BENCHMARK(BM_RuleEditorOpenFullFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// OK on the opened window: the grids' texts taken back, every check of all 1024 rules, the
// file written atomically and the window closed.
void BM_RuleEditorOkFullFile(benchmark::State& state)
{
    FullProject& p = project();
    if (!p.ok) {
        state.SkipWithError("cannot write the full files");
        return;
    }
    TRuleEditorFrame* f = formOf(p, int(state.range(0)));
    state.SetLabel(state.range(0) == 0 ? "KNX" : "S7");
    for (auto _ : state) {
        state.PauseTiming();
        f->hide();
        f->show();
        state.ResumeTiming();
        f->Btn_OKClick();
        if (f->result() != mrOk || p.dialogs.shown != 0) {
            state.SkipWithError("OK did not save");
            return;
        }
    }
}
BENCHMARK(BM_RuleEditorOkFullFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Start-up share of the five J1939, KNX and NMEA 2000 windows, made as the main window makes
// them: their controls wait for the first showing.
void BM_J1939KnxNmeaWindowsCreate(benchmark::State& state)
{
    FullProject& p = project();
    const RuleEditorContext context{&programState(), QStringLiteral("CODE"), &p.dialogs};
    for (auto _ : state) {
        TFReceiveJ1939 a(context);
        TFTransmitJ1939 b(context);
        TFKNXAccess c(context);
        TFReceiveNMEA d(context);
        TFTransmitNMEA e(context);
        benchmark::DoNotOptimize(c.isBuilt());
    }
}
BENCHMARK(BM_J1939KnxNmeaWindowsCreate)->Unit(benchmark::kMicrosecond);

}  // namespace
