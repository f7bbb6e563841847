// Which handler each control's notification runs. Check boxes notify on every change of
// state, radio groups once per change of index and track bars on every change of position,
// from the user or from code alike; buttons, swatches and lists only on the user's click.
#include <QAction>
#include <QCheckBox>
#include <QMouseEvent>
#include <QSlider>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>

#include "GLCallsHook.h"
#include "frmOpgl.h"

void TMainForm::ConnectEvents() {
  connect(Timer, &QTimer::timeout, this, [this] { Dispatch([&] { TimerTimer(Timer); }); });
  connect(Splitter1, &QSplitter::splitterMoved, this,
          [this] { Dispatch([&] { Splitter1Moved(Splitter1); }); });
  pbGL->OnPaint = [this] { Dispatch([&] { FormPaint(pbGL); }); };
  pbGL->OnMouseDown = [this](QMouseEvent* E) {
    const QPoint at = E->position().toPoint();
    Dispatch([&] { pbGLMouseDown(pbGL, at.x(), at.y()); });
  };
  pbGL->OnMouseMove = [this](QMouseEvent* E) {
    const QPoint at = E->position().toPoint();
    Dispatch([&] { pbGLMouseMove(pbGL, E->buttons(), E->modifiers(), at.x(), at.y()); });
  };
  pbGL->OnMouseUp = [this](QMouseEvent* E) {
    const QPoint at = E->position().toPoint();
    Dispatch([&] { pbGLMouseUp(pbGL, E->modifiers(), at.x(), at.y()); });
  };

  // Every handler runs through Dispatch, with the control as its sender.
  auto on = [this](auto* Control, auto Signal, void (TMainForm::*Handler)(QObject*)) {
    connect(Control, Signal, this,
            [this, Control, Handler] { Dispatch([&] { (this->*Handler)(Control); }); });
  };
  const auto toggled = &QCheckBox::toggled;
  const auto moved = &QSlider::valueChanged;
  const auto radio = &TRadioGroup::Click;
  const auto speed = &QToolButton::clicked;
  const auto button = &QPushButton::clicked;
  const auto list = &TColorListBase::Click;

  // Display options.
  on(ckbxSinglePort, toggled, &TMainForm::ckbxSinglePortClick);
  for (QCheckBox* box : {ckbxShowFrame, ckbxShowBall, ckbxShowCube, ckbxShowWorldAxis,
                         ckbxShowVolume, ckbxShowEyeLine, ckbxShowLights, ckbxHand, ckbxRobot})
    on(box, toggled, &TMainForm::ckbxShowWorldAxisClick);
  on(ckbxShowXZplane, toggled, &TMainForm::ckbxShowXZplaneClick);
  on(ckbxShowPts, toggled, &TMainForm::ckbxShowPtsClick);
  on(sbSellAll, speed, &TMainForm::sbSellAllClick);
  on(sbUnSelAll, speed, &TMainForm::sbUnSelAllClick);
  connect(btnGLCalls, speed, this, [this] { Dispatch([] { ToggleGLCalls(); }); });

  // "GLManager".
  on(ckbxBlend, toggled, &TMainForm::ckbxBlendClick);
  on(rdgpObjMode, radio, &TMainForm::rdgpObjModeClick);
  on(rdgpVolumeMode, radio, &TMainForm::rdgpVolumeModeClick);
  on(stBkColor, &TStaticText::Click, &TMainForm::stBkColorClick);
  on(btnFontColor, button, &TMainForm::btnFontColorClick);

  // "GLCamera".
  on(rdgpPrjMode, radio, &TMainForm::rdgpPrjModeClick);
  on(rdgpCurView, radio, &TMainForm::rdgpCurViewClick);
  on(tkbarFov, moved, &TMainForm::tkbarFovChange);
  on(ckRemainPrjRatio, toggled, &TMainForm::ckRemainPrjRatioClick);
  on(sbScaleDn, speed, &TMainForm::sbScaleClick);
  on(sbScaleUp, speed, &TMainForm::sbScaleClick);
  on(btnResetViewVolume, button, &TMainForm::btnResetViewVolumeClick);
  on(sbDefaultVolume, speed, &TMainForm::sbDefaultVolumeClick);

  // "GLLighter".
  on(ckbxLightOn, toggled, &TMainForm::ckbxLightOnClick);
  on(SpeedButton1, speed, &TMainForm::SpeedButton1Click);
  on(SpeedButton2, speed, &TMainForm::SpeedButton2Click);
  on(SpeedButton3, speed, &TMainForm::SpeedButton3Click);
  on(ckbxLights, list, &TMainForm::ckbxLightsClick);
  on(ChangeColor1, &QAction::triggered, &TMainForm::ChangeColor1Click);
  on(rdgpLightColor, radio, &TMainForm::rdgpLightColorClick);
  for (QSlider* bar : {tkbarR, tkbarG, tkbarB}) on(bar, moved, &TMainForm::tkbarColor);
  on(rdgpLightType, radio, &TMainForm::rdgpLightTypeClick);
  on(tkbarCutOff, moved, &TMainForm::tkbarCutOffChange);
  on(tkbarFallOff, moved, &TMainForm::tkbarFallOffChange);
  on(SpeedButton6, speed, &TMainForm::SpeedButton6Click);
  on(ckbxLightTwoSide, toggled, &TMainForm::ckbxLightTwoSideClick);

  // "GLVector".
  on(SpeedButton4, speed, &TMainForm::SpeedButton4Click);
  on(rdgpVecOp, radio, &TMainForm::rdgpVecOpClick);

  // "Material".
  on(rdgpMaterial, radio, &TMainForm::rdgpMaterialClick);
  on(rdgpMtColor, radio, &TMainForm::rdgpMtColorClick);
  for (QSlider* bar : {tkbarMtR, tkbarmtG, tkBarMtB})
    on(bar, moved, &TMainForm::tkbarMtColorChange);
  on(tkbarShiness, moved, &TMainForm::tkbarShinessChange);
  on(lbxOtherMaterials, list, &TMainForm::lbxOtherMaterialsClick);
  on(ckbxColorMaterial, toggled, &TMainForm::ckbxColorMaterialClick);
  on(ckbxMixLogoColor, toggled, &TMainForm::ckbxMixLogoColorClick);
  on(tkbarMixRate, moved, &TMainForm::tkbarMixRateChange);

  // "TavRaster".
  on(Button3, button, &TMainForm::Button3Click);
  on(Button4, button, &TMainForm::Button4Click);
  on(Button5, button, &TMainForm::Button5Click);
  on(Button6, button, &TMainForm::Button6Click);
  on(Button7, button, &TMainForm::Button7Click);

  // "GLTexturer".
  on(Button8, button, &TMainForm::Button8Click);
  on(Button9, button, &TMainForm::Button9Click);
  on(Button10, button, &TMainForm::Button10Click);
  on(lbxTextures, list, &TMainForm::lbxTexturesClick);
  on(ckbxAutoGenTexture, toggled, &TMainForm::ckbxAutoGenTextureClick);

  // Reports.
  on(BitBtn1, button, &TMainForm::BitBtn1Click);
  on(BitBtn2, button, &TMainForm::BitBtn2Click);
  on(BitBtn3, button, &TMainForm::BitBtn3Click);
  on(BitBtn4, button, &TMainForm::BitBtn4Click);
  on(btnLightColor, button, &TMainForm::btnLightColorClick);
  on(btnMtColor, button, &TMainForm::btnLightColorClick);
}
