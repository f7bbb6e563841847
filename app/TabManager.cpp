// Handlers of the "GLManager" tab: blending, polygon modes, canvas and font colours.
#include <QCheckBox>

#include "ManageOpgl.h"
#include "frmOpgl.h"

void TMainForm::ckbxBlendClick(QObject*) {
  GLManager->SetBlend(ckbxBlend->isChecked());
  Repaint();
}

void TMainForm::rdgpObjModeClick(QObject*) {
  const int index = rdgpObjMode->ItemIndex();
  if (index < 0) return;
  ObjectPolygonMode = static_cast<uint8_t>(index);
  Repaint();
}

void TMainForm::rdgpVolumeModeClick(QObject*) {
  const int index = rdgpVolumeMode->ItemIndex();
  if (index < 0) return;
  VolumePolygonMode = static_cast<uint8_t>(index);
  Repaint();
}

void TMainForm::stBkColorClick(QObject*) {
  TColor color = 0;
  if (!Dialogs.ChooseColor(color)) return;
  GLManager->SetCanvasColor(color);
  stBkColor->SetColor(color);
  stBkColor->SetFontColor(InverseColor(color));
  Repaint();
}

void TMainForm::btnFontColorClick(QObject*) {
  TColor color = 0;
  if (!Dialogs.ChooseColor(color)) return;
  GLManager->SetFontColor(color);
  btnFontColor->SetColor(color);
  btnFontColor->SetFontColor(InverseColor(color));
}
