#include "frmOpgl.h"

TMainForm* MainForm = nullptr;

TMainForm::TMainForm(QWidget* Parent) : QMainWindow(Parent) {
  setWindowTitle(QStringLiteral("Talven OpenGL Project"));
  resize(1024, 768);
}
