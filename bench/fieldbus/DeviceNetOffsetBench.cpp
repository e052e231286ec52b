// The DeviceNet byte offset window: choosing a slave and back, where each change stores the
// byte grids into the slave left and fills them from the slave chosen. Arg: the input bytes
// of the first slave (65,535, the most a slave has, and 64); the second slave has 64 input
// and 64 output bytes. Run with QT_QPA_PLATFORM=offscreen (set here when unset).

#include "BenchApp.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/fieldbus/UDeviceNetOffset.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QFile>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zfw;

// Any message box is an error of the run.
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

void BM_DeviceNetChooseSlaveAndBack(benchmark::State& state)
{
    bench::ensureApp();
    QTemporaryDir dir;
    CountingDialogs dialogs;
    ProgramState& s = programState();
    Fill_Default_Language(s);
    s.Dir_Project = dir.path();
    Set_Files(s);
    QFile net(s.File_DNETM_Net);
    if (!net.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the slave list");
        return;
    }
    net.write("<DNET_Net><row ID=\"1\" NB_IN=\"" + QByteArray::number(state.range(0))
              + "\" NB_OUT=\"64\" Mnemonic=\"\"/><row ID=\"2\" NB_IN=\"64\" NB_OUT=\"64\" "
                "Mnemonic=\"\"/></DNET_Net>");
    net.close();
    TFDefOffset form(RuleEditorContext{&s, QStringLiteral("CODE"), &dialogs});
    form.show();
    for (auto _ : state) {
        form.ACG_DN_Slaves->MoveCurrentCell(0, 2, true, true);
        form.ACG_DN_Slaves->MoveCurrentCell(0, 1, true, true);
    }
    if (dialogs.shown != 0 || form.ACG_ByteIN->RowCount() != state.range(0) + 1)
        state.SkipWithError("the slaves were not shown");
}
BENCHMARK(BM_DeviceNetChooseSlaveAndBack)->Arg(64)->Arg(65535)->Unit(benchmark::kMillisecond);

}  // namespace
