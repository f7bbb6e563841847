#include <QApplication>
#include <QMessageBox>

#include "GOpglVariable.h"
#include "Messages.h"
#include "SignalQuit.h"
#include "Units.h"
#include "frmOpgl.h"

int main(int argc, char* argv[]) {
  MaskFPUExceptions();
  QApplication app(argc, argv);
  SetMessageHandler([](const QString& text) {
    QString lines = text;
    QMessageBox::information(nullptr, QApplication::applicationName(), lines.replace('\r', '\n'));
  });
  QuitOnTerminationSignals();

  UnitStartup();
  int result = 0;
  {
    TMainForm form;
    MainForm = &form;
    form.show();
    result = QApplication::exec();
    MainForm = nullptr;
  }
  UnitShutdown();
  return result;
}
