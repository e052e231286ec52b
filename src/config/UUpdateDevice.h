#pragma once
// The "Update Device UDP" step: the configuration check, the compilation of the bank files,
// the update window, and the start of the external update program. The main window calls
// these with its own state and windows.

#include <QString>

#include <cstdint>

class QWidget;

namespace zfw {

struct ProgramState;
class TFBoot;

// True when every enabled LoRaWAN uplink rule of the active project fits the LoRa payload
// size of ParGen.xml (0 to payload size - 2 data bytes). A rule is enabled exactly when the
// image compiler takes it. False with *fileError set (naming the file) when a project file
// exists but cannot be read as XML; *fileError stays empty when the rules do not fit.
bool Check_Config_LoraWAN(const ProgramState& s, QString* fileError = nullptr);

// The whole step: the check (text 30 when the rules do not fit), the compilation and the
// bank files, then boot in its Ethernet mode, shown modally. Any failure is shown in a
// message box over parent and stops the step before the update window opens. A null boot
// window ends the step after the bank files.
void Update_Device(ProgramState& s, TFBoot* boot, QWidget* parent);

enum class StartProgramResult {
    Finished,      // the program ran and ended within the limit
    NotStarted,    // it could not be started (text 1106 shown)
    StillRunning,  // it was still running at the limit and is left running (text 1107 shown)
};

inline constexpr int kStartProgramLimitMs = 150000;

// Starts NomeSW with the command-line parameters of Parameter, in Dir_Exe where the
// operation list lies, and waits until it ends or limitMs have passed. tipo asks for a
// hidden window when not 0; programs on this system have no such start option, so it is
// accepted and has no effect. While waiting, window (when given) keeps painting but takes
// no input.
StartProgramResult Start_Program(const ProgramState& s, const QString& NomeSW,
                                 const QString& Parameter, std::uint8_t tipo,
                                 QWidget* window = nullptr, int limitMs = kStartProgramLimitMs);

// The external update program: Ethernet_Update in the program's folder.
QString defaultUpdateProgram(const ProgramState& s);

}  // namespace zfw
