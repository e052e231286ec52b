#include "editors/building/BACnetEdeStep.h"

#include "common/UComon.h"
#include "editors/building/core/BACnetEde.h"
#include "platform/Dialogs.h"

#include <QFileInfo>

namespace zfw {

namespace {

constexpr int kTextOverwrite = 1105;  // "File already exists. Do you want to overwrite?"

}  // namespace

bool BACnet_EDE_File(IUserDialogs& dialogs, const ProgramState& state, const QDateTime& now,
                     QWidget* parent)
{
    FileDialogRequest SD1;
    SD1.folder = state.Dir_Project;
    SD1.filter = QStringLiteral("CSV (MS-DOS) (*.csv)|*.csv");
    // The question comes after ".csv" is appended, on the name really written.
    SD1.confirmOverwrite = false;
    const std::optional<QString> chosen = dialogs.saveFileName(SD1, parent);
    if (!chosen)
        return false;
    QString path = *chosen;
    if (!path.right(4).toUpper().endsWith(QLatin1String(".CSV")))
        path += QLatin1String(".csv");
    if (QFileInfo::exists(path)
        && dialogs.messageDlg(state.lang(kTextOverwrite), TMsgDlgType::mtConfirmation,
                              mbYes | mbNo | mbCancel, parent)
               != mrYes)
        return false;
    const FileResult written = BACnet_EDE_Export(path, state.File_ParGen,
                                                 state.File_BACnet_Slave_SetAccess,
                                                 state.Project_Name, now);
    if (!written.ok) {
        dialogs.showError(written.message, parent);
        return false;
    }
    return true;
}

}  // namespace zfw
