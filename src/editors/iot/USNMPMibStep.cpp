#include "editors/iot/USNMPMibStep.h"

#include "common/UComon.h"
#include "editors/iot/core/USNMPMib.h"
#include "platform/Dialogs.h"

#include <QFileInfo>

namespace zfw {

namespace {

constexpr int kTextOverwrite = 1105;   // "File already exists. Do you want to overwrite?"
constexpr int kTextNotWritten = 6289;  // "The MIB was not written: row "
constexpr int kTextReadTable = 6290;
constexpr int kTextWriteTable = 6291;

int faultText(SnmpMibNameFault fault)
{
    switch (fault) {
    case SnmpMibNameFault::Characters: return 6292;
    case SnmpMibNameFault::TooLong: return 6293;
    case SnmpMibNameFault::Reserved: return 6294;
    case SnmpMibNameFault::Duplicate: return 6295;
    }
    return 6292;
}

QString problemMessage(const SnmpMibNameProblem& p, const ProgramState& state)
{
    return state.lang(kTextNotWritten) + QString::number(p.row)
           + state.lang(p.write ? kTextWriteTable : kTextReadTable) + QLatin1Char('"') + p.name
           + QLatin1Char('"') + state.lang(faultText(p.fault)) + QStringLiteral(" (")
           + displayPath(state.File_SNMP_Trap) + QLatin1Char(')');
}

}  // namespace

bool Save_MIB(IUserDialogs& dialogs, ProgramState& state, const MakerTexts& maker, QWidget* parent)
{
    FileDialogRequest SaveMIB;
    SaveMIB.folder = state.Dir_Project;
    SaveMIB.filter = QStringLiteral("Management Information Base (*.mib)|*.mib");
    SaveMIB.defaultSuffix = QStringLiteral("*.mib");
    // The question comes after ".mib" is appended, on the name really written.
    SaveMIB.confirmOverwrite = false;
    const std::optional<QString> chosen = dialogs.saveFileName(SaveMIB, parent);
    if (!chosen)
        return false;
    const QString path = snmpMibFileName(*chosen);
    if (QFileInfo::exists(path)
        && dialogs.messageDlg(state.lang(kTextOverwrite), TMsgDlgType::mtConfirmation, mbYes | mbNo,
                              parent)
               != mrYes)
        return false;
    const SnmpTrapLoad load = Load_SNMP_Trap_Lists(state.File_SNMP_Trap);
    state.SNMP_Trap_Read_Names = load.lists.SNMP_Trap_Read_Names;
    state.SNMP_Trap_Write_Names = load.lists.SNMP_Trap_Write_Names;
    if (!load.ok()) {
        dialogs.showError(load.error, parent);
        return false;
    }
    // Mended: a hand-edited agent file could give names that break the module, which was
    // written all the same; now nothing is written and the user learns which row to mend.
    if (const std::optional<SnmpMibNameProblem> p = checkSnmpMibNames(load.lists)) {
        dialogs.showError(problemMessage(*p, state), parent);
        return false;
    }
    const FileResult written = Write_MIB_File(path, load.lists, maker);
    if (!written.ok) {
        dialogs.showError(written.message, parent);
        return false;
    }
    return true;
}

}  // namespace zfw
