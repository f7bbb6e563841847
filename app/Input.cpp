// The keyboard and the mouse: the window's key table (it sees every key first), the track
// bars that ignore keys, the numeric filter of the coordinate edits, and dragging on the
// rendering surface to move, turn and zoom the User view or to set its field of view.
#include <GL/gl.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>

#include "BrimloLogo.h"
#include "GLCallsHook.h"
#include "Vector3D.h"
#include "ViewPicture.h"
#include "frmOpgl.h"

namespace {

// Rows of 0xAA and 0x55 bytes in turn: a checkerboard of single pixels.
const std::array<GLubyte, 128> StippleMask = [] {
  std::array<GLubyte, 128> mask{};
  for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = (i / 4) % 2 == 0 ? 0xAA : 0x55;
  return mask;
}();

}  // namespace

const unsigned char* PolygonStippleMask() {
  return StippleMask.data();
}

void TMainForm::CameraStep(void (TGLCamera::*Move)(TGLView&, float)) {
  (GLCamera->*Move)(UserView, 1.0f);
  rdgpCurViewClick(rdgpCurView);
}

void TMainForm::FormKeyDown(QObject*, int& Key, Qt::KeyboardModifiers Shift) {
  if (Shift & Qt::ControlModifier) return;
  switch (Key) {
    case Qt::Key_Escape:
      close();
      return;
    case Qt::Key_F1:
      ShowKeyHelp();
      break;
    case Qt::Key_F2:
      ToggleGLCalls();
      break;
    case Qt::Key_Space:
      if (Timer->isActive())
        Timer->stop();
      else
        Timer->start();
      break;
    case Qt::Key_F11:
      ckbxSinglePort->setChecked(!ckbxSinglePort->isChecked());
      break;
    case Qt::Key_F12:
      SaveViewPicture(pbGL, Dialogs);
      break;
    case Qt::Key_Left:
      CameraStep(&TGLCamera::MoveLeft);
      break;
    case Qt::Key_Right:
      CameraStep(&TGLCamera::MoveRight);
      break;
    case Qt::Key_Up:
      CameraStep(&TGLCamera::MoveUp);
      break;
    case Qt::Key_Down:
      CameraStep(&TGLCamera::MoveDown);
      break;
    case Qt::Key_PageUp:
      CameraStep(&TGLCamera::MoveForward);
      break;
    case Qt::Key_PageDown:
      CameraStep(&TGLCamera::MoveBackward);
      break;
    case Qt::Key_I:
      CameraStep(&TGLCamera::ZoomIn);
      break;
    case Qt::Key_O:
      CameraStep(&TGLCamera::ZoomOut);
      break;
    case Qt::Key_P:
      rdgpObjMode->SetItemIndex((rdgpObjMode->ItemIndex() + 1) % 3);
      ObjectPolygonMode = static_cast<uint8_t>(std::max(0, rdgpObjMode->ItemIndex()));
      break;
    case Qt::Key_V:
      rdgpVolumeMode->SetItemIndex((rdgpVolumeMode->ItemIndex() + 1) % 3);
      VolumePolygonMode = static_cast<uint8_t>(std::max(0, rdgpVolumeMode->ItemIndex()));
      break;
    case Qt::Key_B:
      ckbxBlend->setChecked(!ckbxBlend->isChecked());
      GLManager->SetBlend(ckbxBlend->isChecked());
      break;
    case Qt::Key_Q:
    case Qt::Key_W: {
      StepVolumeScale(Key == Qt::Key_Q ? -VolumeScaleStep : VolumeScaleStep);
      const TGLView& v = *CurrentView;
      edVolumeW->setText(FormatText("%.2f", v.Right - v.Left));
      edVolumeH->setText(FormatText("%.2f", v.Top - v.Bottom));
      edVolumeD->setText(FormatText("%.2f", v.Far - v.Near));
      break;
    }
    case Qt::Key_R:
      FSpeed = -FSpeed;
      break;
    case Qt::Key_M:
      if (FSpeed <= 50) FSpeed += 1;
      break;
    case Qt::Key_N:
      if (FSpeed >= 1) FSpeed -= 1;
      break;
    case Qt::Key_X:
      GLBrimloLogo->ToggleRotateX();
      break;
    case Qt::Key_Y:
      GLBrimloLogo->ToggleRotateY();
      break;
    case Qt::Key_Z:
      GLBrimloLogo->ToggleRotateZ();
      break;
    case Qt::Key_H:
      FExtrasVisible = !FExtrasVisible;
      ckbxShowFrame->setChecked(true);
      ckbxShowBall->setChecked(false);
      for (QCheckBox* box :
           {ckbxShowCube, ckbxShowWorldAxis, ckbxShowEyeLine, ckbxShowVolume, ckbxShowPts})
        box->setChecked(FExtrasVisible);
      break;
    case Qt::Key_J:
      if (glIsEnabled(GL_POLYGON_STIPPLE))
        glDisable(GL_POLYGON_STIPPLE);
      else
        glEnable(GL_POLYGON_STIPPLE);
      glPolygonStipple(PolygonStippleMask());
      break;
    case Qt::Key_S:
      FObjectScale = std::min(FObjectScale + 0.1f, 6.0f);
      GLBrimloLogo->FScale = FObjectScale;
      break;
    case Qt::Key_A:
      FObjectScale = std::max(FObjectScale - 0.1f, 0.2f);
      GLBrimloLogo->FScale = FObjectScale;
      break;
    default:
      break;
  }
  Repaint();
}

bool TMainForm::IsKeyDeafBar(const QObject* Control) const {
  for (const QSlider* bar : {tkbarFov, tkbarR, tkbarG, tkbarB, tkbarCutOff, tkbarFallOff, tkbarMtR,
                             tkbarmtG, tkBarMtB, tkbarShiness})
    if (Control == bar) return true;
  return false;
}

namespace {

// Tab and Shift+Tab move the focus on; a bar that dropped them would hold the keyboard.
bool MovesFocus(int Key) {
  return Key == Qt::Key_Tab || Key == Qt::Key_Backtab;
}

}  // namespace

void TMainForm::tkbarFovKeyDown(QObject*, int& Key) {
  if (!MovesFocus(Key)) Key = 0;
}

void TMainForm::tkbarFovKeyUp(QObject*, int& Key) {
  if (!MovesFocus(Key)) Key = 0;
}

void TMainForm::tkbarFovKeyPress(QObject*, QChar& Key) {
  Key = QChar(0);
}

bool TMainForm::IsNumericEdit(const QObject* Control) const {
  for (const QLineEdit* edit : {edVW, edVH, edVD, edPosX, edPosY, edPosZ, edDirX, edDirY, edDirZ,
                                edX1, edy1, edz1, edx2, edy2, edz2, edVec})
    if (Control == edit) return true;
  return false;
}

void TMainForm::edX1KeyPress(QObject*, QChar& Key) {
  const char16_t c = Key.unicode();
  const bool number = c == 8 || c == u'-' || c == u'.' || (c >= u'0' && c <= u'9');
  if (!number) Key = QChar(0);
}

void TMainForm::lbxOtherMaterialsKeyDown(QObject*, int&) {}

// ---- the rendering surface ------------------------------------------------------------------

void TMainForm::pbGLMouseDown(QObject*, int X, int Y) {
  LastMousePos[0] = DownMousePos[0] = X;
  LastMousePos[1] = DownMousePos[1] = Y;
}

void TMainForm::pbGLMouseMove(QObject*, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift,
                              int X, int Y) {
  StatusBar1->SetPanelText(0, FormatText("(%d,%d)", X, Y));
  const int lastX = LastMousePos[0], lastY = LastMousePos[1];
  const TGLVector3f F = VectorFromTo(UserView.Eye, UserView.ViewPt);  // line of sight
  const TGLVector3f R =
      GLVector->CrossProduct(F, GLVector3f(UserView.Up.X, UserView.Up.Y, UserView.Up.Z));
  const int DX = std::abs(X - lastX), DY = std::abs(Y - lastY);
  if (Buttons & Qt::RightButton) {
    // Walks on the ground plane: forward or back along the line of sight, or sideways.
    TGLVector3f D = DX < DY ? F : R;
    D.Y = 0;
    const float dist = DX < DY ? (Y < lastY ? 1.0f : -1.0f) : (X > lastX ? 1.0f : -1.0f);
    GLCamera->MoveAlong(UserView, D, dist);
  } else if (Buttons & Qt::LeftButton) {
    if (DX < DY || (Shift & Qt::ShiftModifier)) {
      GLCamera->RotateAboutAxis(UserView, GLPoint4f(R.X, R.Y, R.Z, 0), Y < lastY ? -3.0f : 3.0f);
    } else {
      const float angle = X > lastX ? 3.0f : -3.0f;
      switch (rdgpRotateAxis->ItemIndex()) {
        case 0:
          GLCamera->RotateAboutX(UserView, angle);
          break;
        case 1:
          GLCamera->RotateAboutY(UserView, angle);
          break;
        case 2:
          GLCamera->RotateAboutZ(UserView, angle);
          break;
        default:
          break;
      }
    }
  } else if (Buttons & Qt::MiddleButton) {
    if (Y < lastY)
      GLCamera->ZoomIn(UserView, 1);
    else
      GLCamera->ZoomOut(UserView, 1);
  } else {
    return;
  }
  LastMousePos[0] = X;
  LastMousePos[1] = Y;
  rdgpCurViewClick(rdgpCurView);
}

void TMainForm::pbGLMouseUp(QObject*, Qt::KeyboardModifiers Shift, int X, int Y) {
  if (!(Shift & Qt::ControlModifier) || !ckbxSinglePort->isChecked() ||
      rdgpPrjMode->ItemIndex() >= 4)
    return;
  // The dragged rectangle against the surface, along its tighter side.
  const double C = std::abs(X - DownMousePos[0]), D = std::abs(Y - DownMousePos[1]);
  const double W = pbGL->width(), H = pbGL->height();
  const double E = W / H >= C / D ? H / D : W / C;
  const bool zoomIn = X > DownMousePos[0] && Y > DownMousePos[1];
  const double fov = zoomIn ? UserView.FOV / E : UserView.FOV * E;
  // A rectangle of no size gives no ratio: the bar's minimum, as for any unusable value.
  int position = tkbarFov->minimum();
  if (std::isfinite(fov))
    position = static_cast<int>(
        std::nearbyint(std::clamp(fov, double(tkbarFov->minimum()), double(tkbarFov->maximum()))));
  tkbarFov->setValue(position);
  UserView.FOV = static_cast<float>(tkbarFov->value());
}
