#include "config/UUpdateDevice.h"

#include "common/ProjectXml.h"
#include "common/UComon.h"
#include "config/UBoot.h"
#include "config/USaveBincc.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QWidget>

namespace zfw {

bool Check_Config_LoraWAN(const ProgramState& s, QString* fileError)
{
    if (fileError)
        fileError->clear();
    auto unreadable = [fileError](const ProjectXmlLoad& load) {
        if (fileError)
            *fileError = load.message;
        return false;
    };

    int payloadSize = 0;
    const ProjectXmlLoad parGen = loadProjectXml(s.File_ParGen);
    if (!parGen.missing()) {
        if (!parGen.ok())
            return unreadable(parGen);
        payloadSize = childIntDef(parGen.root, u"LoRa_Payload_Size", 0);
    }

    const ProjectXmlLoad rules = loadProjectXml(s.File_LoRaWAN_SetAccess);
    if (rules.missing())
        return true;
    if (!rules.ok())
        return unreadable(rules);
    // A file without an uplink table has no uplink rules to check; the compiler reports the
    // missing table itself.
    const QDomElement uplink = childElement(rules.root, u"LoRaWAN_Uplink");
    // Rows are selected exactly as the compiler selects them. The check used to look only at
    // rules whose "Enable" was exactly "Y", so a hand-edited " Y", "y" or a rule without the
    // attribute reached the device unchecked.
    for (const QDomElement& row : rowElements(uplink)) {
        if (!loRaRowEnabled(row))
            continue;
        const int numByte = attributeIntDef(row, u"NumByte", -1);
        if (numByte < 0 || numByte > payloadSize - 2)
            return false;
    }
    return true;
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
