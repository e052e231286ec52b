#pragma once
// The program settings file: last project, last device address, language and options.

#include <QString>

namespace zfw {

struct ProgramState;

inline constexpr char kSettingsFileName[] = "Zandoveric.xml";
inline constexpr char kDefaultDeviceIpAddress[] = "192.168.2.205";

// Path of the settings file under Dir_Exe.
QString settingsFilePath(const ProgramState& s);

// Reads the settings into s. A missing, unreadable or malformed file gives every default;
// a missing element gives the default of that value only.
void Load_Settings(ProgramState& s);

// Writes the settings from s, replacing the file atomically. False when it cannot be
// written (the old file is then left as it was).
bool Save_Setting(const ProgramState& s);

}  // namespace zfw
