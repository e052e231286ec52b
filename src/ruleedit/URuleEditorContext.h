#pragma once
// What a rule editor window needs from the program, handed to it when it is made: the
// language table, the options and the project's file paths (all read when used, so that a
// change of language, options or project is seen at once), the copied-row buffer every rule
// grid shares, the build's identity, and the dialogs with the file pickers.

#include <QString>

namespace zfw {

struct ProgramState;
class IUserDialogs;

struct RuleEditorContext {
    // Language table, Opt_Jump_Field_Tables, Opt_Double_Click_Auto_Size, the File_ paths and
    // Copy_Row_Buffer; not owned, lives as long as the window.
    ProgramState* state = nullptr;
    // The build's software code shown in the title band.
    QString buildCode;
    // Messages, questions, modal windows and the file pickers. Not owned.
    IUserDialogs* dialogs = nullptr;
};

}  // namespace zfw
