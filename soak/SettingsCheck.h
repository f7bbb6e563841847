#pragma once
// What a settings file must hold after any use of the program: every section the objects
// write, and, read back through the objects themselves, every value within its range.
#include <QString>
#include <QStringList>

// The problems found in FileName (empty when it is sound). The objects are started on a copy
// of the file, so the file itself is left as it is.
QStringList SettingsProblems(const QString& FileName);
