#include <QApplication>

#include "GOpglVariable.h"
#include "Messages.h"
#include "Reports.h"
#include "SignalQuit.h"
#include "Units.h"
#include "frmOpgl.h"

int main(int argc, char* argv[]) {
  MaskFPUExceptions();
  QApplication app(argc, argv);
  SetMessageHandler(ShowMessageBox);
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
