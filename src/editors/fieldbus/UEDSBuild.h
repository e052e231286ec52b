#pragma once
// The main window's EDS action: the user picks where the CANopen EDS file goes, starting in
// the project folder, and the file is written there from the project's PDO and SDO server
// files; an existing file is replaced without a question.

#include <QString>

#include <optional>

class QWidget;

namespace zfw {

struct ProgramState;
class IClock;
class IFileDialogs;
class IUserDialogs;

// The path written; nullopt when the user cancelled or the file was refused or not written,
// which the dialogs have then told him. Warnings about the written file (PDOs left out) are
// shown too.
std::optional<QString> Build_EDS_File(const ProgramState& state, IFileDialogs& files,
                                      IUserDialogs& dialogs, const IClock& clock,
                                      QWidget* parent = nullptr);

}  // namespace zfw
