#pragma once
// The "Update Device UDP" step: the configuration check, the compilation of the bank files,
// then the update window, which starts the external update program itself. The main window
// calls these with its own state and windows.

#include <QString>

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

}  // namespace zfw
