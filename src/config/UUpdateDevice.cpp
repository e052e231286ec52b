#include "config/UUpdateDevice.h"

#include "common/ProjectXml.h"
#include "common/TextUtil.h"
#include "common/UComon.h"
#include "config/UBoot.h"
#include "config/core/LoRaWanCheck.h"
#include "config/core/USaveBincc.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace zfw {

namespace {

constexpr int kExitPollMs = 10;

}  // namespace

bool Check_Config_LoraWAN(const ProgramState& s, QString* fileError)
{
    const LoRaWanCheckResult r = checkLoRaWanConfig(s.File_ParGen, s.File_LoRaWAN_SetAccess);
    if (fileError)
        *fileError = r.fileError;
    return r.ok;
}

void Update_Device(ProgramState& s, TFBoot* boot, QWidget* parent)
{
    IUserDialogs& dialogs = *services().dialogs;
    QString fileError;
    if (!Check_Config_LoraWAN(s, &fileError)) {
        dialogs.showError(fileError.isEmpty() ? s.lang(30) : fileError, parent);
        return;
    }
    // The compiler reads the current program state, which the caller's state is.
    if (const FileResult r = Compile_Bin(); !r) {
        dialogs.showError(r.message, parent);
        return;
    }
    // Bank files that were not written used to go unnoticed, and the device was then updated
    // with the images of an earlier update or none; the step now stops with the reason.
    if (const FileResult r = Save_Bin_Files(); !r) {
        dialogs.showError(r.message, parent);
        return;
    }
    if (!boot)
        return;
    boot->Form_Type = 1;
    dialogs.showModal(*boot);
}

QString defaultUpdateProgram(const ProgramState& s)
{
    return joinPath(s.Dir_Exe, QStringLiteral("Ethernet_Update"));
}

StartProgramResult Start_Program(const ProgramState& s, const QString& NomeSW,
                                 const QString& Parameter, std::uint8_t tipo, QWidget* window,
                                 int limitMs)
{
    Q_UNUSED(tipo);
    IUserDialogs& dialogs = *services().dialogs;
    QString error;
    std::unique_ptr<IRunningProcess> process = services().processLauncher->start(
        NomeSW, QProcess::splitCommand(Parameter), s.Dir_Exe, &error);
    // A program that could not be started used to be passed over in silence, and the user
    // took the update for done.
    if (!process) {
        dialogs.showError(s.lang(1106) + NomeSW + QLatin1Char('\n') + error, window);
        return StartProgramResult::NotStarted;
    }

    // The old wait blocked the GUI thread, so no window repainted for up to 150 s. The event
    // loop now runs while the window takes no input, which keeps the user from starting
    // anything else meanwhile.
    const bool wasEnabled = window && window->isEnabled();
    if (window)
        window->setEnabled(false);
    QElapsedTimer elapsed;
    elapsed.start();
    bool stillRunning = false;
    if (process->isRunning()) {
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(kExitPollMs);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!process->isRunning()) {
                loop.quit();
            } else if (elapsed.elapsed() >= limitMs) {
                stillRunning = true;
                loop.quit();
            }
        });
        poll.start();
        loop.exec();
    }
    if (window)
        window->setEnabled(wasEnabled);

    // The program is left running at the limit; the user is told so rather than being left
    // to believe the update ended.
    if (stillRunning) {
        dialogs.showInformation(s.lang(1107), window);
        return StartProgramResult::StillRunning;
    }
    return StartProgramResult::Finished;
}

}  // namespace zfw
