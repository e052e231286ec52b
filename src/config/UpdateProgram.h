#pragma once
// The external update program: where it lies, and its start with a bounded wait for its end
// that runs on the caller's event loop.

#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

namespace zfw {

class IClock;
class IProcessLauncher;
struct ProgramState;

// What the start and the wait use, handed in by the caller; a null member takes the one of
// services().
struct ProgramServices {
    IProcessLauncher* launcher = nullptr;  // not owned
    IClock* clock = nullptr;               // not owned
};

enum class StartProgramResult {
    Finished,      // the program ran and ended within the limit
    NotStarted,    // it could not be started (text 1106 shown)
    StillRunning,  // it was still running at the limit and is left running (text 1107 shown)
};

inline constexpr int kStartProgramLimitMs = 150000;

using StartProgramDone = std::function<void(StartProgramResult)>;

// Starts NomeSW with the command-line parameters of Parameter, in Dir_Exe where the
// operation list lies, and returns at once. tipo asks for a hidden window when not 0;
// programs on this system have no such start option, so it is accepted and has no effect.
// Every 10 ms the event loop looks whether the program has ended; done receives the outcome
// when it has, or when limitMs have passed on the given clock. Meanwhile window (when
// given) keeps painting but takes no input. A program that cannot be started is reported and
// done receives NotStarted before Start_Program returns. When window is destroyed before the
// end, the wait is given up and done is never called; the program runs on.
void Start_Program(const ProgramState& s, const QString& NomeSW, const QString& Parameter,
                   std::uint8_t tipo, QWidget* window, int limitMs, StartProgramDone done,
                   const ProgramServices& with = {});

// The external update program: Ethernet_Update in the program's folder.
QString defaultUpdateProgram(const ProgramState& s);

}  // namespace zfw
