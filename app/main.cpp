#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "AppPaths.h"
#include "CommandLine.h"
#include "GOpglVariable.h"
#include "Messages.h"
#include "OpglTexture.h"
#include "Reports.h"
#include "SignalQuit.h"
#include "Units.h"
#include "frmOpgl.h"

namespace {

// OPGL_STARTUP_REPORT set: once the window is up, standard output gets the settings file in
// use and the texture list ("texture=Name|Source"). The package check reads it; it is the
// program's only environment variable and a test aid.
void PrintStartupReport() {
  std::printf("settings=%s\n", AppPaths::SettingsFileName().toUtf8().constData());
  for (int i = 0; GLTexturer && i < GLTexturer->GetTextureCount(); ++i)
    if (const TGLTexture* texture = GLTexturer->GetTexture(i))
      std::printf("texture=%s|%s\n", texture->Name.toUtf8().constData(),
                  texture->Source.toUtf8().constData());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
  MaskFPUExceptions();
  {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const TCommandLine line = ParseCommandLine(arguments, ProgramVersion());
    if (!line.Start) {
      std::fputs(line.Output.toLocal8Bit().constData(), stdout);
      std::fputs(line.Error.toLocal8Bit().constData(), stderr);
      return line.ExitCode;
    }
  }
  QApplication app(argc, argv);
  // Ties the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(OPGL_DESKTOP_ID));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(OPGL_DESKTOP_ID)));
  SetMessageHandler(ShowMessageBox);
  QuitOnTerminationSignals();

  UnitStartup();
  auto form = std::make_unique<TMainForm>();
  MainForm = form.get();
  form->show();
  if (qEnvironmentVariableIsSet("OPGL_STARTUP_REPORT")) QTimer::singleShot(0, PrintStartupReport);
  const int result = QApplication::exec();
  {
    // Every object saves its own section: a settings file that cannot be written is one
    // message, not one per object.
    const TMessageBatch oneMessageEach;
    MainForm = nullptr;
    form.reset();
    UnitShutdown();
  }
  return result;
}
