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

}  // namespace zfw
