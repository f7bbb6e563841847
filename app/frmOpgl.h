#pragma once
// The main window.
#include <QMainWindow>

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* Parent = nullptr);
};

extern TMainForm* MainForm;
