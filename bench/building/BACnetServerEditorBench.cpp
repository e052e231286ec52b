// The BACnet server objects editor on a full file (2,000 read + 2,000 write objects, the
// Position lists of 1,500 items): opening it until it is shown and painted, and OK until the
// file is written. Run with QT_QPA_PLATFORM=offscreen (set here when unset).

#include "BenchApp.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/building/UBACnetSlaveSetAccess.h"
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

// A full valid file shows no message; any shown is an error of the run.
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
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const FileDialogRequest&, QWidget*) override
    {
        return std::nullopt;
    }
    bool choosePrinter(PrintSetup&, int, QWidget*) override { return false; }
    int shown = 0;
};

// A project folder with the full file (2,000 objects per table) for the opening, and the
// largest file the object limit lets OK save (1,000 per table, 2,000 in all).
struct FullServerProject {
    QTemporaryDir dir;
    CountingDialogs dialogs;
    std::unique_ptr<TFBACnetSlaveSetAccess> form;
    QByteArray fullFile;
    QByteArray okFile;
    bool ok = false;

    FullServerProject()
    {
        ensureApp();
        services().dialogs = &dialogs;
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = dir.path();
        s.File_ParGen = dir.filePath(QStringLiteral("ParGen.xml"));
        s.File_BACnet_Slave_SetAccess = dir.filePath(QStringLiteral("BACnet_Slave_SetAccess.xml"));
        fullFile = objectsFile(2000);
        okFile = objectsFile(1000);
        ok = write(fullFile);
        form = std::make_unique<TFBACnetSlaveSetAccess>(
            RuleEditorContext{&s, QStringLiteral("CODE"), &dialogs});
    }

    static QByteArray objectsFile(int perTable)
    {
        QByteArray xml = "<BACnet_to_Modbus>";
        for (const char* table : {"BACnet_in_Read", "BACnet_in_Write"}) {
            xml += QByteArray("<") + table + ">";
            for (int r = 0; r < perTable; ++r)
                xml += "<row Data_Type=\"Analog Value\" Eng_Unit=\"62\" Position=\""
                       + QByteArray::number(r % 1496) + "\" Bit=\"0\" Length=\"4\" Swap=\"N\" "
                       "Mnemonic=\"Object_" + QByteArray::number(r) + "\"/>";
            xml += QByteArray("</") + table + ">";
        }
        return xml + "</BACnet_to_Modbus>";
    }

    static bool write(const QByteArray& bytes)
    {
        QFile f(programState().File_BACnet_Slave_SetAccess);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
};

FullServerProject& project()
{
    static FullServerProject p;
    return p;
}

// Opening: the general parameters, the file read, 4,000 rows of 8 cells shown with their
// Position lists, the window painted.
void BM_BACnetServerEditorOpenFullFile(benchmark::State& state)
{
    FullServerProject& p = project();
    if (!p.ok) {
        state.SkipWithError("cannot write the full file");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        if (!FullServerProject::write(p.fullFile)) {
            state.SkipWithError("cannot write the full file");
            return;
        }
        state.ResumeTiming();
        p.form->hide();
        p.form->show();
        p.form->repaint();
        if (p.form->ruleFile()->tables[1].ruleCount() != 2000 || p.dialogs.shown != 0) {
            state.SkipWithError("the file did not load in full");
            return;
        }
    }
}
BENCHMARK(BM_BACnetServerEditorOpenFullFile)->Unit(benchmark::kMillisecond);

// OK on the opened window: the grids' texts taken back, every object checked, the file
// written atomically and the window closed. The tables hold 1,000 objects each, the most
// the object limit lets through.
void BM_BACnetServerEditorOkFullFile(benchmark::State& state)
{
    FullServerProject& p = project();
    if (!p.ok) {
        state.SkipWithError("cannot write the full file");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        if (!FullServerProject::write(p.okFile)) {
            state.SkipWithError("cannot write the file");
            return;
        }
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
BENCHMARK(BM_BACnetServerEditorOkFullFile)->Unit(benchmark::kMillisecond);

}  // namespace
