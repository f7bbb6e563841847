// Keys and drags in the running window: the key table with its steps and limits, key preview
// into the focused control, the track bars and edits that ignore or filter keys, and the
// mouse on the rendering surface.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "BrimloLogo.h"
#include "Reports.h"
#include "Vector3D.h"
#include "WindowFixture.h"

namespace {

// A key typed on whatever has the focus (the window itself when nothing has).
void Key(Qt::Key Code, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
  QWidget* target = QApplication::focusWidget();
  QTest::keyClick(target ? target : Form, Code, Modifiers);
}

// One mouse event on the surface, in its own logical coordinates.
void Mouse(QEvent::Type Type, Qt::MouseButton Button, Qt::MouseButtons Held, int X, int Y,
           Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
  const QPointF at(X, Y);
  QMouseEvent event(Type, at, Form->pbGL->mapToGlobal(at), Button, Held, Modifiers);
  QApplication::sendEvent(Form->pbGL, &event);
}

float Length(const TGLVector3f& V) {
  return std::sqrt(V.X * V.X + V.Y * V.Y + V.Z * V.Z);
}

}  // namespace

class InputTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
    Form->FSpeed = 3;
    VolumeScale = 1;
  }
};

TEST_F(InputTest, CtrlDoesNothingAndShiftedLettersActAsLetters) {
  Form->setFocus();
  const int frames = Form->FramesRequested;
  Key(Qt::Key_N, Qt::ControlModifier);
  Key(Qt::Key_F11, Qt::ControlModifier);
  EXPECT_FLOAT_EQ(Form->FSpeed, 3);
  EXPECT_FALSE(Form->ckbxSinglePort->isChecked());
  EXPECT_EQ(Form->FramesRequested, frames);  // not even a repaint

  Key(Qt::Key_N, Qt::ShiftModifier);
  EXPECT_FLOAT_EQ(Form->FSpeed, 2);
  Key(Qt::Key_F1, Qt::ControlModifier);
  EXPECT_TRUE(Answers.Messages.isEmpty());
  Key(Qt::Key_F3);  // not in the table: only the repaint
  // Shift's own key press is a key too: N with Shift, Shift and F3 repaint once each.
  EXPECT_EQ(Form->FramesRequested, frames + 3);
  Key(Qt::Key_F1);
  EXPECT_EQ(Answers.Messages, QStringList{KeyHelpReport()});
}

TEST_F(InputTest, SpeedKeysStepWithinTheirLimits) {
  for (int i = 0; i < 4; ++i) Key(Qt::Key_N);
  EXPECT_FLOAT_EQ(Form->FSpeed, 0);  // N never goes below 0
  Form->FSpeed = 3;
  Key(Qt::Key_R);
  EXPECT_FLOAT_EQ(Form->FSpeed, -3);
  Key(Qt::Key_M);
  EXPECT_FLOAT_EQ(Form->FSpeed, -2);
  Key(Qt::Key_N);  // -2 is below 1: left alone
  EXPECT_FLOAT_EQ(Form->FSpeed, -2);
  Form->FSpeed = 50;
  Key(Qt::Key_M);
  EXPECT_FLOAT_EQ(Form->FSpeed, 51);
  Key(Qt::Key_M);
  EXPECT_FLOAT_EQ(Form->FSpeed, 51);
  Form->FSpeed = 3;
}

TEST_F(InputTest, VolumeAndScaleKeysClampAndShowTheVolume) {
  Form->ckbxShowVolume->setChecked(false);
  VolumeScale = 9.97f;
  Key(Qt::Key_W);  // 10.02 is over 10: 5
  EXPECT_FLOAT_EQ(VolumeScale, 5);
  EXPECT_TRUE(Form->ckbxShowVolume->isChecked());
  EXPECT_FLOAT_EQ(UserView.Right - UserView.Left, 200);
  EXPECT_EQ(Form->edVolumeW->text(), QStringLiteral("200.00"));
  EXPECT_EQ(Form->edVolumeD->text(), QStringLiteral("200.00"));

  VolumeScale = 0.12f;
  Key(Qt::Key_Q);  // 0.07 becomes 0.1; an edge of 4 leaves the volumes as they are
  EXPECT_FLOAT_EQ(VolumeScale, 0.1f);
  EXPECT_FLOAT_EQ(UserView.Far - UserView.Near, 200);
  Key(Qt::Key_W);
  EXPECT_FLOAT_EQ(VolumeScale, 0.15f);
  EXPECT_FLOAT_EQ(UserView.Far - UserView.Near, 6);
  VolumeScale = 1;
  Form->ScaleViewVolumes(1);

  Form->FObjectScale = 5.95f;
  Key(Qt::Key_S);
  EXPECT_FLOAT_EQ(Form->FObjectScale, 6);
  EXPECT_FLOAT_EQ(GLBrimloLogo->FScale, 6);
  Form->FObjectScale = 0.25f;
  Key(Qt::Key_A);
  EXPECT_FLOAT_EQ(Form->FObjectScale, 0.2f);
  EXPECT_FLOAT_EQ(GLBrimloLogo->FScale, 0.2f);
  Key(Qt::Key_S);
  EXPECT_FLOAT_EQ(Form->FObjectScale, 0.3f);
  Form->FObjectScale = 1;
  GLBrimloLogo->FScale = 1;
  Form->ckbxShowVolume->setChecked(false);
}

TEST_F(InputTest, ToggleKeysSwitchTheScene) {
  // H hides the extras and shows the logo without the ball; pressed again it shows them.
  ShowOnly({Form->ckbxShowBall, Form->ckbxShowCube, Form->ckbxShowPts});
  ASSERT_TRUE(Form->FExtrasVisible);
  Key(Qt::Key_H);
  EXPECT_FALSE(Form->FExtrasVisible);
  EXPECT_TRUE(Form->ckbxShowFrame->isChecked());
  EXPECT_FALSE(Form->ckbxShowBall->isChecked());
  for (QCheckBox* box : {Form->ckbxShowCube, Form->ckbxShowWorldAxis, Form->ckbxShowEyeLine,
                         Form->ckbxShowVolume, Form->ckbxShowPts})
    EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
  Key(Qt::Key_H);
  EXPECT_TRUE(Form->FExtrasVisible);
  for (QCheckBox* box : {Form->ckbxShowCube, Form->ckbxShowWorldAxis, Form->ckbxShowEyeLine,
                         Form->ckbxShowVolume, Form->ckbxShowPts})
    EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
  EXPECT_TRUE(Form->ckbxShowFrame->isChecked());
  EXPECT_FALSE(Form->ckbxShowBall->isChecked());

  // J switches polygon stippling and loads a pattern that starts with 0xAA.
  Form->pbGL->makeCurrent();
  const bool stippled = glIsEnabled(GL_POLYGON_STIPPLE);
  Key(Qt::Key_J);
  Form->pbGL->makeCurrent();
  EXPECT_NE(glIsEnabled(GL_POLYGON_STIPPLE), stippled);
  GLubyte mask[128] = {};
  glGetPolygonStipple(mask);
  EXPECT_EQ(mask[0], 0xAA);
  EXPECT_EQ(std::memcmp(mask, PolygonStippleMask(), 128), 0);
  Key(Qt::Key_J);
  Form->pbGL->makeCurrent();
  EXPECT_EQ(glIsEnabled(GL_POLYGON_STIPPLE), stippled);

  // P and V step their radio groups, B the blending, F11 the viewports, Space the timer.
  Form->rdgpObjMode->SetItemIndex(2);
  Key(Qt::Key_P);
  EXPECT_EQ(Form->rdgpObjMode->ItemIndex(), 0);
  EXPECT_EQ(ObjectPolygonMode, 0);
  Key(Qt::Key_P);
  EXPECT_EQ(ObjectPolygonMode, 1);
  Form->rdgpObjMode->SetItemIndex(2);
  Form->rdgpVolumeMode->SetItemIndex(1);
  Key(Qt::Key_V);
  EXPECT_EQ(VolumePolygonMode, 2);
  Form->rdgpVolumeMode->SetItemIndex(1);
  const bool blend = Form->ckbxBlend->isChecked();
  Key(Qt::Key_B);
  EXPECT_NE(Form->ckbxBlend->isChecked(), blend);
  EXPECT_EQ(GLManager->FBlend, !blend);
  Key(Qt::Key_B);
  Key(Qt::Key_F11);
  EXPECT_TRUE(Form->ckbxSinglePort->isChecked());
  Key(Qt::Key_F11);
  EXPECT_FALSE(Form->ckbxSinglePort->isChecked());
  Key(Qt::Key_Space);
  EXPECT_TRUE(Form->Timer->isActive());
  Key(Qt::Key_Space);
  EXPECT_FALSE(Form->Timer->isActive());
  const bool rotateX = GLBrimloLogo->FRotateX;
  Key(Qt::Key_X);
  EXPECT_NE(GLBrimloLogo->FRotateX, rotateX);
  Key(Qt::Key_X);
  ShowOnly({Form->ckbxShowCube, Form->ckbxShowLights, Form->ckbxRobot});
}

TEST_F(InputTest, KeysReachTheFocusedControlAfterTheWindow) {
  // An arrow in a radio group moves the camera and then the group's selection (the three
  // axes stand in one row).
  Form->ResetViews();
  Form->PageControl1->SetActivePageIndex(1);  // "GLCamera"
  const TGLPoint4f eye = UserView.Eye;
  auto buttons = Form->rdgpRotateAxis->findChildren<QRadioButton*>();
  ASSERT_EQ(buttons.size(), 3);
  Form->rdgpRotateAxis->SetItemIndex(1);
  buttons[1]->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), buttons[1]);
  Key(Qt::Key_Right);
  EXPECT_GT(GLVector->Distance(UserView.Eye, eye), 0.99f);  // moved right
  EXPECT_EQ(Form->rdgpRotateAxis->ItemIndex(), 2);
  Form->rdgpRotateAxis->SetItemIndex(1);

  // The camera bars ignore keys (the camera still moves); the mix-rate bar does not.
  Form->tkbarR->setFocus();
  const int red = Form->tkbarR->value();
  const TGLPoint4f before = UserView.Eye;
  Key(Qt::Key_Right);
  Key(Qt::Key_PageUp);
  Key(Qt::Key_Home);
  EXPECT_EQ(Form->tkbarR->value(), red);
  EXPECT_NE(UserView.Eye.X, before.X);
  Form->tkbarFov->setFocus();
  Key(Qt::Key_Left);
  EXPECT_EQ(Form->tkbarFov->value(), 52);
  Form->PageControl1->SetActivePageIndex(4);  // "Material", mixing allowed
  Form->ckbxColorMaterial->setChecked(false);
  Form->tkbarMixRate->setFocus();
  const int rate = Form->tkbarMixRate->value();
  Key(rate < 10 ? Qt::Key_Right : Qt::Key_Left);
  EXPECT_NE(Form->tkbarMixRate->value(), rate);
  Form->ckbxColorMaterial->setChecked(true);

  // The coordinate edits take digits, "-", "." and Backspace; a letter still acts on the
  // window first.
  Form->edX1->setFocus();
  Form->edX1->clear();
  QTest::keyClicks(Form->edX1, QStringLiteral("a1.-b2 e"));
  EXPECT_EQ(Form->edX1->text(), QStringLiteral("1.-2"));
  EXPECT_FLOAT_EQ(Form->FSpeed, 3);
  Key(Qt::Key_R);  // reverses the animation and types nothing
  EXPECT_FLOAT_EQ(Form->FSpeed, -3);
  EXPECT_EQ(Form->edX1->text(), QStringLiteral("1.-2"));
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Form->edX1->text(), QStringLiteral("1.-"));
  Key(Qt::Key_Tab);  // not a character: the focus moves on
  EXPECT_NE(QApplication::focusWidget(), Form->edX1);
  Form->edX1->setText(QStringLiteral("5.0"));
  Form->edVW->setFocus();
  Form->edVW->clear();
  QTest::keyClicks(Form->edVW, QStringLiteral("4x0"));
  EXPECT_EQ(Form->edVW->text(), QStringLiteral("40"));
  // An edit without the filter takes any character.
  Form->edBmpW->setFocus();
  Form->edBmpW->clear();
  QTest::keyClicks(Form->edBmpW, QStringLiteral("7k"));
  EXPECT_EQ(Form->edBmpW->text(), QStringLiteral("7k"));
  Form->FSpeed = 3;
  Form->setFocus();
  Form->ResetViews();
}

TEST_F(InputTest, ArrowAndZoomKeysStepTheUserViewByOne) {
  Form->ResetViews();
  Form->setFocus();
  const TGLPoint4f eye = UserView.Eye;
  const float distance = GLVector->Distance(UserView.Eye, UserView.ViewPt);
  Key(Qt::Key_I);
  EXPECT_NEAR(GLVector->Distance(UserView.Eye, UserView.ViewPt), distance - 1, 1e-4);
  Key(Qt::Key_O);
  EXPECT_NEAR(GLVector->Distance(UserView.Eye, UserView.ViewPt), distance, 1e-4);
  Key(Qt::Key_PageUp);
  EXPECT_NEAR(GLVector->Distance(UserView.Eye, eye), 1, 1e-4);
  // The camera tab shows the current view after each step.
  EXPECT_EQ(Form->edEX->text(), FormatText("%.2f", CurrentView->Eye.X));
  Form->ResetViews();
}

TEST_F(InputTest, DragsMoveAndTurnTheUserViewOneStepPerEvent) {
  Form->ResetViews();
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, 17, 42);
  EXPECT_EQ(Form->StatusBar1->PanelText(0), QStringLiteral("(17,42)"));
  EXPECT_EQ(LastMousePos[0], 0);  // no button: nothing else

  // A right-drag event without movement walks one unit to the left on the ground.
  const TGLView start = UserView;
  const TGLVector3f F = VectorFromTo(start.Eye, start.ViewPt);
  const TGLVector3f R = GLVector->CrossProduct(F, GLVector3f(start.Up.X, start.Up.Y, start.Up.Z));
  Mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, 100, 100);
  EXPECT_EQ(DownMousePos[0], 100);
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::RightButton, 100, 100);
  TGLVector3f moved = VectorFromTo(start.Eye, UserView.Eye);
  EXPECT_NEAR(Length(moved), 1, 1e-4);
  EXPECT_NEAR(moved.Y, 0, 1e-6);
  EXPECT_LT(moved.X * R.X + moved.Z * R.Z, 0);  // against the right-hand direction
  EXPECT_NEAR(GLVector->Distance(UserView.Eye, UserView.ViewPt),
              GLVector->Distance(start.Eye, start.ViewPt), 1e-4);
  // Mainly upwards: one unit forward along the level line of sight, however far it went.
  const TGLPoint4f before = UserView.Eye;
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::RightButton, 102, 40);
  moved = VectorFromTo(before, UserView.Eye);
  EXPECT_NEAR(Length(moved), 1, 1e-4);
  EXPECT_GT(moved.X * F.X + moved.Z * F.Z, 0);
  EXPECT_EQ(LastMousePos[1], 40);
  Mouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, 102, 40);

  // A left-drag event without movement turns -3 degrees about the "Rotate Axis" axis.
  Form->ResetViews();
  TGLView expected = UserView;
  GLCamera->RotateAboutY(expected, -3);
  Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 50, 50);
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 50, 50);
  EXPECT_NEAR(UserView.Eye.X, expected.Eye.X, 1e-4);
  EXPECT_NEAR(UserView.Eye.Z, expected.Eye.Z, 1e-4);
  Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 50, 50);

  // The middle button zooms: in when moved up, out otherwise.
  Form->ResetViews();
  const float distance = GLVector->Distance(UserView.Eye, UserView.ViewPt);
  Mouse(QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, 50, 50);
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, 50, 20);
  EXPECT_NEAR(GLVector->Distance(UserView.Eye, UserView.ViewPt), distance - 1, 1e-4);
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, 50, 20);
  EXPECT_NEAR(GLVector->Distance(UserView.Eye, UserView.ViewPt), distance, 1e-4);
  Mouse(QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, 50, 20);
  Form->ResetViews();
}

TEST_F(InputTest, CtrlDragSetsTheFieldOfViewFromTheRectangle) {
  Form->ckbxSinglePort->setChecked(true);
  Form->pbGL->setFixedSize(400, 300);
  QTest::qWait(20);
  auto drag = [](int X0, int Y0, int X1, int Y1, Qt::KeyboardModifiers Modifiers) {
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, X0, Y0, Modifiers);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, X1, Y1, Modifiers);
  };
  auto reset = [] {
    Form->tkbarFov->setValue(52);
    UserView.FOV = 52;
  };
  reset();
  drag(100, 100, 150, 125, Qt::ControlModifier);  // 52 / 8 = 6.5: 6, ties to even
  EXPECT_EQ(Form->tkbarFov->value(), 6);
  EXPECT_FLOAT_EQ(UserView.FOV, 6);
  EXPECT_EQ(Form->edFov->text(), QStringLiteral("6.00"));
  reset();
  drag(150, 125, 100, 100, Qt::ControlModifier);  // 52 x 8 = 416, held at 120
  EXPECT_FLOAT_EQ(UserView.FOV, 120);
  reset();
  drag(100, 100, 150, 100, Qt::ControlModifier);  // no height: 400 / 50 = 8 times
  EXPECT_FLOAT_EQ(UserView.FOV, 120);
  reset();
  drag(100, 100, 100, 130, Qt::ControlModifier);  // no width: 300 / 30 = 10 times
  EXPECT_FLOAT_EQ(UserView.FOV, 120);
  reset();
  UserView.FOV = 10;
  drag(100, 100, 100, 70, Qt::ControlModifier);  // 10 x 10 = 100
  EXPECT_FLOAT_EQ(UserView.FOV, 100);
  reset();
  Form->rdgpPrjMode->SetItemIndex(pmOrtho);
  drag(100, 100, 100, 100, Qt::ControlModifier);  // no rectangle: the bar's minimum
  EXPECT_EQ(Form->tkbarFov->value(), 5);
  EXPECT_FLOAT_EQ(UserView.FOV, 5);
  EXPECT_EQ(UserView.Projection, pmPerspective);

  // Without Ctrl, or with seven viewports, the release sets nothing.
  reset();
  drag(100, 100, 150, 125, Qt::NoModifier);
  EXPECT_FLOAT_EQ(UserView.FOV, 52);
  Form->ckbxSinglePort->setChecked(false);
  drag(100, 100, 150, 125, Qt::ControlModifier);
  EXPECT_FLOAT_EQ(UserView.FOV, 52);

  Form->rdgpPrjMode->SetItemIndex(pmPerspective);
  Form->pbGL->setMinimumSize(1, 1);
  Form->pbGL->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  QTest::qWait(20);
  Form->LayoutViewports();
}

TEST_F(InputTest, EscapeClosesTheWindow) {
  Form->setFocus();
  Key(Qt::Key_Escape);
  EXPECT_FALSE(Form->isVisible());
  Form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form));
}
