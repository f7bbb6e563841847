// Handlers of the "Material" tab: the material mode, the user-defined colours and shininess,
// the preset list and the logo's colour mixing.
#include <QCheckBox>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "BrimloLogo.h"
#include "MaterialDefine.h"
#include "OpglLight.h"
#include "frmOpgl.h"

namespace {

// The user-defined colour that "Material Color" selects, or nullptr.
TGLColor4f* EditedColor(int Index) {
  switch (Index) {
    case 0:
      return &GLBrimloLogo->FClrAmbient;
    case 1:
      return &GLBrimloLogo->FClrDiffuse;
    case 2:
      return &GLBrimloLogo->FClrSpecular;
    case 3:
      return &GLBrimloLogo->FClrEmission;
    default:
      return nullptr;
  }
}

// A preset colour on a swatch, with its four components as the hint.
void ShowPresetColor(TStaticText* Swatch, const TGLColor4f& C) {
  const TColor color = GLColorToColor(C);
  Swatch->SetColor(color);
  Swatch->SetFontColor(InverseColor(color));
  Swatch->setToolTip(FormatText("(%.3f, %.3f, %.3f, %.1f)", C.R, C.G, C.B, C.A));
}

}  // namespace

void TMainForm::rdgpMaterialClick(QObject*) {
  const int index = rdgpMaterial->ItemIndex();
  if (index < 0) return;
  GLBrimloLogo->FMaterialMode = static_cast<TMaterialMode>(index);
  pnlMtUserDefine->setEnabled(index == 0);
  Repaint();
}

void TMainForm::rdgpMtColorClick(QObject*) {
  const TGLColor4f* field = EditedColor(rdgpMtColor->ItemIndex());
  if (!field) return;
  const TColor C = GLLighter->GLColorToColor(*field);
  btnMtColor->SetColor(C);
  btnMtColor->SetFontColor(InverseColor(C));
  // Each bar that moves writes the colour back while "User Define" is the mode.
  MaterialBars().Show(C);
}

void TMainForm::tkbarMtColorChange(QObject*) {
  if (rdgpMaterial->ItemIndex() != 0) return;
  const TColor C = MaterialBars().Read();
  btnMtColor->SetColor(C);  // the caption keeps its colour
  if (TGLColor4f* field = EditedColor(rdgpMtColor->ItemIndex()))
    *field = GLLighter->ColorToGLColor(C);
  Repaint();
}

void TMainForm::tkbarShinessChange(QObject*) {
  edShinese->setText(FormatText("%.1f", static_cast<double>(tkbarShiness->value())));
  GLBrimloLogo->FShinese = static_cast<float>(StrToFloat(edShinese->text()));
  Repaint();
}

void TMainForm::lbxOtherMaterialsClick(QObject*) {
  const int k = lbxOtherMaterials->ItemIndex();
  if (k < 0 || k >= MaterialPresetCount) return;
  ckbxColorMaterial->setChecked(false);
  rdgpMaterial->SetItemIndex(mmOthers);
  GLBrimloLogo->FMaterialMode = mmOthers;
  const TGLMaterial& preset = MaterialPresets[static_cast<std::size_t>(k)];
  GLBrimloLogo->FPresetMaterial = preset;
  ShowPresetColor(stAmbient, preset.Ambient);
  ShowPresetColor(stDiffuse, preset.Diffuse);
  ShowPresetColor(stSpecular, preset.Specular);
  const double shininess = preset.Shininess * 128.0;
  const int S = static_cast<int>(std::nearbyint(std::clamp(shininess, 0.0, 255.0)));
  const TColor grey = S | (S << 8) | (S << 16);
  stShininess->SetColor(grey);
  stShininess->SetFontColor(InverseColor(grey));
  stShininess->setToolTip(FormatText("(%.3f)", shininess));
  RenderFrame();
}

void TMainForm::ckbxColorMaterialClick(QObject*) {
  GLBrimloLogo->FColorMaterial = ckbxColorMaterial->isChecked();
  pnlMixLogoColor->setEnabled(!ckbxColorMaterial->isChecked());
  RenderFrame();
}

void TMainForm::ckbxMixLogoColorClick(QObject*) {
  GLBrimloLogo->FMixLogoColor = ckbxMixLogoColor->isChecked();
  RenderFrame();
}

void TMainForm::tkbarMixRateChange(QObject*) {
  edMixRate->setText(FormatText("%.1f", tkbarMixRate->value() / 10.0));
  GLBrimloLogo->FMixRate = static_cast<float>(StrToFloat(edMixRate->text()));
  RenderFrame();
}
