#include "CommandLine.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

#include "AppPaths.h"
#include "VersionNote.h"

namespace {

// Options that QGuiApplication and QApplication take for themselves, with a value or without.
const char* const QtOptionsWithValue[] = {"platform",      "platformpluginpath",
                                          "platformtheme", "plugin",
                                          "qmljsdebugger", "qwindowgeometry",
                                          "geometry",      "qwindowicon",
                                          "icon",          "qwindowtitle",
                                          "title",         "session",
                                          "display",       "name",
                                          "style",         "stylesheet"};
const char* const QtFlags[] = {"reverse", "widgetcount", "testability", "nograb", "dograb", "sync"};

void AddHidden(QCommandLineParser& Parser, const char* Name, bool TakesValue) {
  QCommandLineOption option(QString::fromLatin1(Name), QString(),
                            TakesValue ? QStringLiteral("value") : QString());
  option.setFlags(QCommandLineOption::HiddenFromHelp);
  Parser.addOption(option);
}

}  // namespace

TCommandLine ParseCommandLine(const QStringList& Arguments, const QString& Version) {
  const QString program =
      Arguments.isEmpty() ? QStringLiteral("OpglProject") : QFileInfo(Arguments[0]).fileName();
  QCommandLineParser parser;
  // Qt's options are single words after one dash ("-platform xcb").
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(
      QStringLiteral("An interactive bench for fixed-function OpenGL: cameras, projections,\n"
                     "lights, materials, textures and vectors."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Shows this help and ends."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Shows the version and ends."));
  parser.addOption(help);
  parser.addOption(version);
  for (const char* name : QtOptionsWithValue) AddHidden(parser, name, true);
  for (const char* name : QtFlags) AddHidden(parser, name, false);

  TCommandLine result;
  if (!parser.parse(Arguments)) {
    result.Start = false;
    result.ExitCode = 2;
    result.Error = QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                       .arg(program, parser.errorText());
    return result;
  }
  if (parser.isSet(help)) {
    result.Start = false;
    // Qt names the program by the application object, which does not exist yet.
    const QString text = parser.helpText();
    result.Output =
        QStringLiteral("Usage: %1 [options]").arg(program) + text.mid(text.indexOf('\n'));
  } else if (parser.isSet(version)) {
    result.Start = false;
    result.Output = QStringLiteral("%1 %2\n").arg(program, Version);
  }
  return result;
}

QString ProgramVersion() {
  VersionNote::TVersionInfo info;
  if (!VersionNote::Read(QFile::encodeName(AppPaths::ExecutablePath()).toStdString(), info))
    return QStringLiteral("(version unknown)");
  return QStringLiteral("%1.%2.%3.%4")
      .arg(info.VersionMS >> 16)
      .arg(info.VersionMS & 0xFFFF)
      .arg(info.VersionLS >> 16)
      .arg(info.VersionLS & 0xFFFF);
}
