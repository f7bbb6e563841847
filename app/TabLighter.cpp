// Handlers of the "GLLighter" tab: the light list and the selected light's colours, spot
// cone, position and direction.
#include <GL/gl.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "OpglLight.h"
#include "Vector3D.h"
#include "frmOpgl.h"

namespace {

// A stored value as a track-bar position: rounded half to even, kept inside the bar's range
// (a value far out of range or not a number must not reach the integer conversion).
int BarPosition(const QSlider* Bar, float Value) {
  if (std::isnan(Value)) return Bar->minimum();
  const double clamped =
      std::clamp(static_cast<double>(Value), double(Bar->minimum()), double(Bar->maximum()));
  return static_cast<int>(std::nearbyint(clamped));
}

}  // namespace

void TMainForm::ckbxLightOnClick(QObject*) {
  if (ckbxLightOn->isChecked())
    GLLighter->LightingOn();
  else
    GLLighter->LightingOff();
  Repaint();
}

void TMainForm::SpeedButton1Click(QObject*) {
  for (int k = 0; k < ckbxLights->count(); ++k) {
    ckbxLights->SetChecked(k, true);
    // Straight to OpenGL: the light's own switch follows when IsLightOn next reads it.
    if (const GLenum id = GLLighter->GetLightID(k)) glEnable(id);
  }
  ckbxLights->viewport()->update();
  Repaint();
}

void TMainForm::SpeedButton2Click(QObject*) {
  for (int k = 0; k < ckbxLights->count(); ++k) {
    ckbxLights->SetChecked(k, false);
    GLLighter->SetLightOn(k, false);
  }
  ckbxLights->viewport()->update();
  Repaint();
}

void TMainForm::SpeedButton3Click(QObject*) {
  if (Dialogs.Confirm(QStringLiteral("Reset all to default Colors?")) == mrNo) return;
  TGLLights lights;
  GLLighter->MakeDefaultLights(lights, GLPoint4f(0, 0, 0, 1), 10);
  GLLighter->ApplyLights(lights);
  FillLightList();
  Repaint();
}

void TMainForm::ckbxLightsClick(QObject*) {
  const int i = ckbxLights->ItemIndex();
  if (i < 0) return;
  GLLighter->SetLightOn(i, ckbxLights->Checked(i));
  rdgpLightColor->SetItemIndex(1);
  rdgpLightColorClick(rdgpLightColor);
  ckbxLights->viewport()->update();
  // Each control whose value changes writes it back to the light through its own handler.
  tkbarCutOff->setValue(BarPosition(tkbarCutOff, GLLighter->GetCutOff(i)));
  tkbarFallOff->setValue(BarPosition(tkbarFallOff, GLLighter->GetExponent(i)));
  rdgpLightType->SetItemIndex(GLLighter->GetLightType(i));
  const TGLPoint4f P = GLLighter->GetLightPosition(i);
  edPosX->setText(FormatText("%.1f", P.X));
  edPosY->setText(FormatText("%.1f", P.Y));
  edPosZ->setText(FormatText("%.1f", P.Z));
  const TGLPoint4f D = GLLighter->GetSpotDirection(i);
  edDirX->setText(FormatText("%.1f", D.X));
  edDirY->setText(FormatText("%.1f", D.Y));
  edDirZ->setText(FormatText("%.1f", D.Z));
  edLightDist->setText(FormatText("%.2f", GLVector->Distance(P, UserView.ViewPt)));
  Repaint();
}

void TMainForm::ChangeColor1Click(QObject*) {
  const int i = ckbxLights->ItemIndex();
  if (i < 0) return;  // no light to colour
  TColor color = 0;
  if (!Dialogs.ChooseColor(color)) return;
  ckbxLights->SetItemColor(i, color);
  GLLighter->SetDiffuse(i, GLLighter->ColorToGLColor(color));
  Repaint();
}

void TMainForm::rdgpLightColorClick(QObject*) {
  const int i = ckbxLights->ItemIndex();
  if (i < 0) return;
  TColor C = 0;
  switch (rdgpLightColor->ItemIndex()) {
    case 0:
      C = GLLighter->GLColorToColor(GLLighter->GetAmbient(i));
      break;
    case 1:
      C = GLLighter->GLColorToColor(GLLighter->GetDiffuse(i));
      break;
    case 2:
      C = GLLighter->GLColorToColor(GLLighter->GetSpecular(i));
      break;
    default:
      return;
  }
  btnLightColor->SetColor(C);
  btnLightColor->SetFontColor(InverseColor(C));
  // Each bar that moves writes the colour of the three bars into the light.
  LightBars().Show(C);
}

void TMainForm::tkbarColor(QObject*) {
  const TColor C = LightBars().Read();
  btnLightColor->SetColor(C);
  btnLightColor->SetFontColor(InverseColor(C));
  const int i = ckbxLights->ItemIndex();
  const int part = rdgpLightColor->ItemIndex();
  if (part == 1) ckbxLights->SetItemColor(i, C);
  const TGLColor4f color = GLLighter->ColorToGLColor(C);
  if (part == 0)
    GLLighter->SetAmbient(i, color);
  else if (part == 1)
    GLLighter->SetDiffuse(i, color);
  else if (part == 2)
    GLLighter->SetSpecular(i, color);
  Repaint();
}

void TMainForm::rdgpLightTypeClick(QObject*) {
  const int i = ckbxLights->ItemIndex();
  const int type = rdgpLightType->ItemIndex();
  if (i < 0 || type < 0) return;  // no light to change
  GLLighter->SetLightType(i, static_cast<TGLLightType>(type));
  Repaint();
}

void TMainForm::tkbarCutOffChange(QObject*) {
  const int i = ckbxLights->ItemIndex();
  if (i < 0) return;
  const float V = static_cast<float>(tkbarCutOff->value());
  edShineDia->setText(FormatText("%.2f", V));
  GLLighter->SetCutOff(i, V);
  Repaint();
}

void TMainForm::tkbarFallOffChange(QObject*) {
  const int i = ckbxLights->ItemIndex();
  if (i < 0) return;
  const float V = static_cast<float>(tkbarFallOff->value());
  edFallOff->setText(FormatText("%.2f", V));
  GLLighter->SetExponent(i, V);
  Repaint();
}

void TMainForm::SpeedButton6Click(QObject*) {
  const int i = ckbxLights->ItemIndex();
  if (i < 0) return;
  if (Dialogs.Confirm(FormatText("Appy new position to Light%d", i)) == mrNo) return;
  auto number = [](const QLineEdit* Edit) { return static_cast<float>(StrToFloat(Edit->text())); };
  // The position is set before the direction's texts are read.
  const TGLPoint4f P{number(edPosX), number(edPosY), number(edPosZ), 1};
  GLLighter->SetLightPosition(i, P);
  const TGLPoint4f D{number(edDirX), number(edDirY), number(edDirZ), 1};
  GLLighter->SetSpotDirection(i, D);
  Repaint();
}

void TMainForm::ckbxLightTwoSideClick(QObject*) {
  GLLighter->SetTwoSide(ckbxLightTwoSide->isChecked());
  RenderFrame();
}
