#pragma once
// Where the running program lives and where its settings file is.
#include <QString>

namespace AppPaths {
// Full path of the running executable.
QString ExecutablePath();
// File name of the executable without folder and extension.
QString ApplicationName();
// Folder of the executable, ending in '/'.
QString ApplicationFolder();
// The executable's path with its extension replaced by ".ini".
QString SettingsFileName();
// Points the settings file elsewhere (tests); an empty name restores the default.
void SetSettingsFileName(const QString& fileName);
}  // namespace AppPaths
