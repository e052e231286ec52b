#pragma once
// The main window's step "SNMP MIB": asks where to save the MIB module of the project's SNMP
// agent objects and writes it. The main window of this build hides the step's button; the
// step is kept whole so that showing the button is all it takes.

#include "common/MakerTexts.h"

class QWidget;

namespace zfw {

class IUserDialogs;
struct ProgramState;

// The save dialog starts in the project folder; ".mib" is appended unless the name ends in it
// (any case); an existing file is replaced only after Yes, and on No the agent file is not
// even read. The name lists of the state are filled from File_SNMP_Trap. An agent file that
// cannot be read, a name the module cannot hold (the message names its row and table) and a
// failed write are shown to the user, and nothing is written. Returns true when the file was
// written.
bool Save_MIB(IUserDialogs& dialogs, ProgramState& state, const MakerTexts& maker,
              QWidget* parent = nullptr);

}  // namespace zfw
