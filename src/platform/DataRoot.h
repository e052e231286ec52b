#pragma once
// Where the program keeps its data (PROJECTS, LANGUAGE, MASTER, the settings file).

#include <QString>

namespace zfw {

// The folder of the program file when it is writable, as in a portable installation;
// otherwise (a system-wide installation is read-only) the per-user data folder, created when
// missing. No trailing separator.
QString resolveDataRoot(const QString& exeDir);

// True when a file can be created in dir.
bool isFolderWritable(const QString& dir);

}  // namespace zfw
