#pragma once
// Where the running program lives, where its settings file is and where its start-up files are.
#include <QString>

namespace AppPaths {
// Full path of the running executable.
QString ExecutablePath();
// File name of the executable without folder and extension.
QString ApplicationName();
// Folder of the executable, ending in '/'.
QString ApplicationFolder();
// The settings file, chosen once on the first call (see ChooseSettingsFile) and kept for the
// whole run, for reading and writing alike; its first save makes its folder when missing.
QString SettingsFileName();
// Points the settings file elsewhere (tests); an empty name restores the chosen one.
void SetSettingsFileName(const QString& fileName);

// The file beside the executable (ExecutableFolder, ending in '/') named Name + ".ini" while
// that folder, and the file when it exists, can be written; otherwise Name/Name.ini in the
// user's configuration folder ConfigFolder. An installed copy in a system folder so keeps one
// settings file per user, and a copy in a folder of the user's own keeps it beside itself.
QString ChooseSettingsFile(const QString& ExecutableFolder, const QString& Name,
                           const QString& ConfigFolder);
// The user's configuration folder: $XDG_CONFIG_HOME, by default ~/.config.
QString UserConfigFolder();

// A start-up file given relative to the working folder ("Data/Test.jpg"): that file when it
// exists, else the same name beside the executable, else in the installed share/<name>/ found
// from the executable's folder (../share/<name>/). RelativePath itself when none exists.
QString FindStartupFile(const QString& RelativePath);
// The same for an executable named Name in ExecutableFolder (ending in '/').
QString FindStartupFile(const QString& RelativePath, const QString& ExecutableFolder,
                        const QString& Name);
}  // namespace AppPaths
