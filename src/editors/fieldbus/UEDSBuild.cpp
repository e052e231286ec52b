#include "editors/fieldbus/UEDSBuild.h"

#include "common/UComon.h"
#include "editors/fieldbus/core/UEDSWriter.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

namespace zfw {

std::optional<QString> Build_EDS_File(const ProgramState& state, IFileDialogs& files,
                                      IUserDialogs& dialogs, const IClock& clock, QWidget* parent)
{
    FileDialogRequest request;
    request.folder = state.Dir_Project;
    request.filter = QStringLiteral("Electronic Data Sheet (*.eds)|*.eds");
    request.defaultSuffix = QStringLiteral("eds");
    request.confirmOverwrite = false;
    const std::optional<QString> target = files.saveFileName(request, parent);
    if (!target)
        return std::nullopt;
    const EdsResult r = Create_EDS_File(*target, state.File_PDO_CANopen,
                                        state.File_SDO_Server_CANopen, clock.now(), state);
    if (!r.ok()) {
        dialogs.showError(edsFaultMessage(r.fault, state), parent);
        return std::nullopt;
    }
    for (const QString& warning : r.warnings)
        dialogs.showWarning(warning, parent);
    return target;
}

}  // namespace zfw
