#include "config/UUpdateDevice.h"

#include "common/ProjectXml.h"
#include "common/UComon.h"
#include "config/UBoot.h"
#include "config/core/LoRaWanCheck.h"
#include "config/core/USaveBincc.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QWidget>

namespace zfw {

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
    if (!s.isProjectActive()) {
        dialogs.showError(QStringLiteral("No project is active"), parent);
        return;
    }
    // The step compiles the files of the state it was given, whichever state is current.
    const BinCompileResult images = compileBinImages(
        {s.File_ParGen, s.File_S7_Protocol, s.File_LoRaWAN_SetAccess});
    if (!images.ok()) {
        dialogs.showError(images.result.message, parent);
        return;
    }
    // Bank files that were not written used to go unnoticed, and the device was then updated
    // with the images of an earlier update or none; the step now stops with the reason.
    if (const FileResult r = saveBinImages(s.Dir_Project, images.bank1, images.bank2); !r) {
        dialogs.showError(r.message, parent);
        return;
    }
    if (!boot)
        return;
    boot->Form_Type = 1;
    dialogs.showModal(*boot);
}

}  // namespace zfw
