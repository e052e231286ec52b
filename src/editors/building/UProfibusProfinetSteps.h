#pragma once
// The main window's PROFIBUS GSD and PROFINET XML steps: read the counts of ParGen.xml, ask
// where to write, confirm overwriting, write the description file. Hidden in this build's
// main window, kept apart from it so that they can be run and tested on their own.

#include <QString>

class QWidget;

namespace zfw {

struct ProgramState;
class IUserDialogs;

enum class DescriptionStep {
    Written,
    NoParGen,   // text 1104 shown, nothing written
    Cancelled,  // a dialog was cancelled or a question answered No
    Failed,     // the file could not be written (the user was told)
};

// Writes the GSD of the active project's counts.
DescriptionStep Create_GSD_File(const ProgramState& s, IUserDialogs& dialogs, QWidget* parent);

// Writes the GSDML named FileName (no folder) into the folder the user chooses.
DescriptionStep Create_GSDML_File(const QString& FileName, const ProgramState& s,
                                  IUserDialogs& dialogs, QWidget* parent);

}  // namespace zfw
