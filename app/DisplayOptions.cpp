// Handlers of "Display Options" above the tabs.
#include <QCheckBox>

#include "ManageOpgl.h"
#include "frmOpgl.h"

void TMainForm::ckbxSinglePortClick(QObject*) {
  UpdateLayout();
}

void TMainForm::ckbxShowWorldAxisClick(QObject*) {
  // DrawScene reads the boxes.
  Repaint();
}

void TMainForm::ckbxShowXZplaneClick(QObject*) {
  GLManager->FShowXZPlane = ckbxShowXZplane->isChecked();
  Repaint();
}

void TMainForm::ckbxShowPtsClick(QObject*) {
  Repaint();
}

void TMainForm::sbSellAllClick(QObject*) {
  // Each box that changes raises its own handler; one already checked raises nothing.
  for (QCheckBox* box : grpDisplay->findChildren<QCheckBox*>()) box->setChecked(true);
}

void TMainForm::sbUnSelAllClick(QObject*) {
  for (QCheckBox* box : grpDisplay->findChildren<QCheckBox*>()) box->setChecked(false);
}
