#pragma once
// The main window's step "BACnet EDE File": asks where to save the gateway's EDE file and
// writes it. The main window of this build hides the step's button; the step is kept whole
// so that showing the button is all it takes.

#include <QDateTime>
#include <QString>

class QWidget;

namespace zfw {

class IUserDialogs;
struct ProgramState;

// The save dialog starts in the project folder; ".csv" is appended unless the name ends in
// it (any case); an existing file is replaced only after Yes. Returns true when the file was
// written; a failure is shown to the user.
bool BACnet_EDE_File(IUserDialogs& dialogs, const ProgramState& state, const QDateTime& now,
                     QWidget* parent = nullptr);

}  // namespace zfw
