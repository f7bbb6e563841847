#pragma once
// The program's command line: --help and --version; Qt's own options (-platform, -style, ...)
// pass through to the application object. It is read before any window exists, so that
// --help and --version also work without a display.
#include <QString>
#include <QStringList>

struct TCommandLine {
  bool Start = true;  // false: print Output and Error, then end with ExitCode
  int ExitCode = 0;
  QString Output;  // for standard output
  QString Error;   // for standard error
};

// Arguments as the process got them, the program's name first.
TCommandLine ParseCommandLine(const QStringList& Arguments, const QString& Version);

// The version embedded in the running executable ("1.0.0.0").
QString ProgramVersion();
