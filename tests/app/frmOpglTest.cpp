// The main window under a real display and Mesa: viewport cells, panel refresh, the animation
// step, reading the vector operands and the rendered frame itself.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "AppPaths.h"
#include "BrimloLogo.h"
#include "Messages.h"
#include "OpglLight.h"
#include "Units.h"
#include "WindowFixture.h"
#include "frmOpgl.h"

namespace {

// A pixel of the surface's last frame at GL window coordinates (origin bottom-left).
QColor FramePixel(const QImage& Frame, int X, int Y) {
  return Frame.pixelColor(X, Frame.height() - 1 - Y);
}

bool IsYellow(const QColor& C) {
  return C.red() > 150 && C.green() > 150 && C.blue() < C.red() - 60;
}

// Window coordinates of a world point under View, as the frame draws it.
QPointF Project(TGLView& View, float X, float Y, float Z) {
  Form->pbGL->makeCurrent();
  GLCamera->ApplyView(View);
  GLdouble model[16], projection[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  GLdouble wx = 0, wy = 0, wz = 0;
  gluProject(X, Y, Z, model, projection, viewport, &wx, &wy, &wz);
  return {wx, wy};
}

// Counts pixels around (X, Y) in window coordinates that satisfy Test.
template <class F>
int CountAround(const QImage& Frame, QPointF At, int Radius, F Test) {
  int found = 0;
  for (int dy = -Radius; dy <= Radius; ++dy)
    for (int dx = -Radius; dx <= Radius; ++dx) {
      const int x = qRound(At.x()) + dx, y = qRound(At.y()) + dy;
      if (x < 0 || y < 0 || x >= Frame.width() || y >= Frame.height()) continue;
      if (Test(FramePixel(Frame, x, y))) ++found;
    }
  return found;
}

}  // namespace

class MainFormTest : public WindowFixture {};

TEST_F(MainFormTest, StartUpSequenceLeavesTheWindowRunningAndThePanelFilled) {
  ASSERT_NE(Form->FGLContext.RC, nullptr) << "the surface got no rendering context";
  RecordProperty("GLVendor", GLManager->GetGLVendor().toStdString());
  RecordProperty("GLRenderer", GLManager->GetGLRenderer().toStdString());
  RecordProperty("GLVersion", GLManager->GetGLVersion().toStdString());
  EXPECT_EQ(Form->windowTitle(), QStringLiteral("Talven OpenGL Project"));
  EXPECT_EQ(CurrentView, &UserView);
  EXPECT_EQ(Form->Timer->interval(), 33);
  // The views were reset: perspective, the default eye, field of view 52.
  EXPECT_EQ(UserView.Projection, pmPerspective);
  EXPECT_FLOAT_EQ(UserView.Eye.X, 15);
  EXPECT_FLOAT_EQ(UserView.Eye.Y, 10);
  EXPECT_FLOAT_EQ(UserView.FOV, 52);
  EXPECT_EQ(TopView.Kind, vkTop);
  EXPECT_EQ(LeftView.Kind, vkLeft);
  // One orbit angle per light, whole degrees 0..359; lighting on.
  ASSERT_EQ(LightAngles.size(), 8u);
  for (float a : LightAngles) {
    EXPECT_GE(a, 0);
    EXPECT_LE(a, 359);
    EXPECT_EQ(a, std::floor(a));
  }
  Form->pbGL->makeCurrent();
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

  // "Projection Mode" starts at Frustum but shows the current view's Perspective after the
  // first refresh; the volume mode follows its variable (1) too.
  EXPECT_EQ(Form->rdgpPrjMode->ItemIndex(), 3);
  EXPECT_EQ(Form->rdgpVolumeMode->ItemIndex(), 1);
  EXPECT_EQ(Form->rdgpObjMode->ItemIndex(), 2);
  EXPECT_EQ(Form->edFov->text(), QStringLiteral("52.00"));
  EXPECT_EQ(Form->edProjectMats->text(), QString::number(GLManager->FMaxProjectionStack));
  EXPECT_EQ(Form->edModelMats->text(), QString::number(GLManager->FMaxModelviewStack));
  EXPECT_EQ(Form->edTextureMats->text(), QString::number(GLManager->FMaxTextureStack));
  EXPECT_EQ(Form->edColorMats->text(), QStringLiteral("0"));
  EXPECT_GT(GLManager->FMaxModelviewStack, 0);

  // Lists: eight lights, the 22 presets, the seven start-up textures.
  EXPECT_EQ(Form->edLIghtNum->text(), QStringLiteral("8"));
  ASSERT_EQ(Form->ckbxLights->count(), 8);
  EXPECT_EQ(Form->ckbxLights->item(7)->text(), QStringLiteral("Light7"));
  EXPECT_EQ(Form->ckbxLights->currentRow(), 0);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(Form->ckbxLights->Checked(i), GLLighter->IsLightOn(i)) << i;
    EXPECT_EQ(Form->ckbxLights->ItemColor(i), GLColorToColor(GLLighter->GetDiffuse(i))) << i;
  }
  ASSERT_EQ(Form->lbxOtherMaterials->count(), 22);
  EXPECT_EQ(Form->lbxOtherMaterials->item(6)->text(), MaterialNames[6]);
  EXPECT_EQ(Form->lbxOtherMaterials->ItemColor(6), GLColorToColor(MaterialPresets[6].Diffuse));
  EXPECT_EQ(Form->ckbxColorMaterial->isChecked(), GLBrimloLogo->FColorMaterial);
  EXPECT_EQ(Form->tkbarMixRate->value(), 3);  // 0.3 x 10
  if (QDir(QStringLiteral("Data")).exists()) {
    ASSERT_EQ(Form->lbxTextures->count(), 7);
    EXPECT_EQ(Form->lbxTextures->item(0)->text(), QStringLiteral("Block01"));
    EXPECT_EQ(Form->lbxTextures->item(6)->text(), QStringLiteral("TinNon"));
  }

  // Status bar after the refresh.
  EXPECT_EQ(Form->StatusBar1->PanelCount(), 8);
  EXPECT_EQ(Form->StatusBar1->PanelText(1), QStringLiteral("FOV:52.0"));
  EXPECT_EQ(Form->StatusBar1->PanelText(2),
            QStringLiteral("D:23.5, e(15.0,10.0,15.0)->v(0.0,0.0,0.0)"));
  EXPECT_EQ(Form->StatusBar1->PanelText(3), QStringLiteral("Perspective"));
  // Each panel is its given width, or wider where its text needs it (the eye and view point
  // in this platform's fonts).
  const int widths[] = {100, 70, 200, 70, 100, 70, 100, 50};
  for (int i = 0; i < 8; ++i) {
    const auto* panel =
        Form->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
    ASSERT_NE(panel, nullptr);
    const int need = panel->sizeHint().width();
    EXPECT_EQ(Form->StatusBar1->PanelWidth(i), std::max(widths[i], need)) << i;
  }
}

TEST_F(MainFormTest, MultipleViewportsFillThreeByThreeCellsFromTheBottomLeft) {
  Form->ckbxSinglePort->setChecked(false);
  auto cellsFor = [](int Width, int Height) {
    Form->pbGL->setFixedSize(Width, Height);
    QTest::qWait(20);
    EXPECT_EQ(Form->pbGL->width(), Width);
    EXPECT_EQ(Form->pbGL->height(), Height);
    Form->LayoutViewports();
  };
  const qreal r = Form->pbGL->devicePixelRatioF();
  auto px = [r](int V) { return static_cast<int>(std::lround(V * r)); };
  auto expectCell = [&](const TGLView& V, int X, int Y, int W, int H, const char* Name) {
    EXPECT_EQ(V.X, px(X)) << Name;
    EXPECT_EQ(V.Y, px(Y)) << Name;
    EXPECT_EQ(V.Width, std::max(1, px(W))) << Name;
    EXPECT_EQ(V.Height, std::max(1, px(H))) << Name;
  };

  // 300 x 240: cells of 300 div 3 - 9 = 91 by 240 div 3 - 9 = 71, 6-pixel gaps.
  cellsFor(300, 240);
  expectCell(FrontView, 3, 3, 91, 71, "Front");
  expectCell(BackView, 100, 3, 91, 71, "Back");
  expectCell(UserView, 197, 3, 91, 71, "User");
  expectCell(TopView, 3, 80, 91, 71, "Top");
  expectCell(BottomView, 100, 80, 91, 71, "Bottom");
  expectCell(LeftView, 3, 157, 91, 71, "Left");
  expectCell(RightView, 100, 157, 91, 71, "Right");

  // Below 30 pixels the cells shrink to one pixel.
  cellsFor(29, 20);
  expectCell(FrontView, 3, 3, 1, 1, "Front");
  expectCell(UserView, 15, 3, 1, 1, "User");
  expectCell(RightView, 9, 9, 1, 1, "Right");  // row bottom 15 + 2 x (20 div 3 - 9)

  // The single mode gives the whole surface to the current view.
  cellsFor(300, 240);
  Form->ckbxSinglePort->setChecked(true);
  expectCell(UserView, 3, 3, 300, 240, "User alone");
  Form->ckbxSinglePort->setChecked(false);

  Form->pbGL->setMinimumSize(1, 1);
  Form->pbGL->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  QTest::qWait(20);
  Form->LayoutViewports();
}

TEST_F(MainFormTest, TimerStepsTheAngleAndResetsItAtAFullTurn) {
  const float oldSpeed = Form->FSpeed;
  const std::vector<float> oldAngles = LightAngles;

  Form->FSpeed = 3;
  Form->FAngle = 354;
  Form->TimerTimer(Form->Timer);
  EXPECT_FLOAT_EQ(Form->FAngle, 357);
  Form->TimerTimer(Form->Timer);
  EXPECT_FLOAT_EQ(Form->FAngle, 0);  // 360 is reset, not wrapped

  Form->FSpeed = -3;
  Form->FAngle = 0;
  Form->TimerTimer(Form->Timer);
  EXPECT_FLOAT_EQ(Form->FAngle, -3);
  Form->FAngle = -357;
  Form->TimerTimer(Form->Timer);
  EXPECT_FLOAT_EQ(Form->FAngle, 0);

  // Light angles: the absolute value is taken before 360 is subtracted.
  LightAngles = {359, -358, 10};
  Form->FSpeed = 3;
  Form->TimerTimer(Form->Timer);
  EXPECT_FLOAT_EQ(LightAngles[0], 2);
  EXPECT_FLOAT_EQ(LightAngles[2], 13);
  LightAngles = {359, -358, 10};
  Form->FSpeed = -3;
  Form->TimerTimer(Form->Timer);
  EXPECT_FLOAT_EQ(LightAngles[0], 356);
  EXPECT_FLOAT_EQ(LightAngles[1], 1);

  // Panel 5 shows the angle after a tick; panel 6 keeps the angle of the last refresh.
  Form->FSpeed = 3;
  Form->FAngle = 30;
  Form->RefreshStatusBar();
  EXPECT_EQ(Form->StatusBar1->PanelText(5), QStringLiteral("Scale:1.0"));
  EXPECT_EQ(Form->StatusBar1->PanelText(6), QStringLiteral("Angle:30.0"));
  Form->TimerTimer(Form->Timer);
  EXPECT_EQ(Form->StatusBar1->PanelText(5), QStringLiteral("Angle:33.0"));
  EXPECT_EQ(Form->StatusBar1->PanelText(6), QStringLiteral("Angle:30.0"));
  Form->RefreshStatusBar();
  EXPECT_EQ(Form->StatusBar1->PanelText(5), QStringLiteral("Scale:1.0"));
  EXPECT_EQ(Form->StatusBar1->PanelText(6), QStringLiteral("Angle:33.0"));

  Form->FSpeed = oldSpeed;
  Form->FAngle = 0;
  LightAngles = oldAngles;
}

TEST_F(MainFormTest, ReadVectorPointsKeepsP1WhenOnlyAP2TextIsBad) {
  QStringList shown;
  TMessageHandler previous = SetMessageHandler([&](const QString& T) { shown << T; });
  QLineEdit* edits[] = {Form->edX1, Form->edy1, Form->edz1, Form->edx2, Form->edy2, Form->edz2};
  auto type = [&](std::initializer_list<const char*> Texts) {
    int i = 0;
    for (const char* t : Texts) edits[i++]->setText(QString::fromLatin1(t));
  };

  type({"1", "2", "3", "4", "5", "6"});
  Form->ReadVectorPoints();
  EXPECT_FLOAT_EQ(Point1.Z, 3);
  EXPECT_FLOAT_EQ(Point2.X, 4);
  EXPECT_FLOAT_EQ(Point1.W, 0);

  // A bad P2 text: the new P1 is kept, P2 stays as it was, the message names the text.
  type({"-1.5", "2.5", "7", "9", "1.2.3", "9"});
  try {
    Form->ReadVectorPoints();
    ADD_FAILURE() << "no conversion error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("'1.2.3' is not a valid floating point value"));
  }
  EXPECT_FLOAT_EQ(Point1.X, -1.5f);
  EXPECT_FLOAT_EQ(Point1.Z, 7);
  EXPECT_FLOAT_EQ(Point2.X, 4);
  EXPECT_FLOAT_EQ(Point2.Y, 5);

  // A bad P1 text changes neither point; through the dispatcher it becomes a message box.
  type({"", "0", "0", "0", "0", "0"});
  Form->Dispatch([&] { Form->ReadVectorPoints(); });
  type({"-", "0", "0", "0", "0", "0"});
  Form->Dispatch([&] { Form->ReadVectorPoints(); });
  ASSERT_EQ(shown.size(), 2);
  EXPECT_EQ(shown[0], QStringLiteral("'' is not a valid floating point value"));
  EXPECT_EQ(shown[1], QStringLiteral("'-' is not a valid floating point value"));
  EXPECT_FLOAT_EQ(Point1.X, -1.5f);
  EXPECT_FLOAT_EQ(Point2.X, 4);

  SetMessageHandler(previous);
  type({"5.0", "5.0", "5.0", "0.0", "0.0", "5.0"});
  Form->ReadVectorPoints();
}

TEST_F(MainFormTest, FrameShowsTheYellowCubeAndTheAxisColoursWhereTheCameraPutsThem) {
  Form->ckbxSinglePort->setChecked(true);
  ShowOnly({Form->ckbxShowCube, Form->ckbxShowWorldAxis});
  GLManager->FShowXZPlane = false;
  Form->FAngle = 180;  // the cube sits at (-12, 0, 0), behind the origin as seen from the eye
  const QImage frame = Frame();
  ASSERT_FALSE(frame.isNull());
  if (qEnvironmentVariableIsSet("OPGL_SAVE_FRAMES"))
    frame.save(QStringLiteral("/tmp/frame-cube.png"));

  const QPointF cube = Project(UserView, -12, 0, 0);
  EXPECT_GT(CountAround(frame, cube, 3, IsYellow), 30)
      << "cube centre " << cube.x() << "," << cube.y();
  // The axes run dashed from the origin along the positive directions.
  auto red = [](const QColor& C) { return C.red() > 200 && C.green() < 60 && C.blue() < 60; };
  auto green = [](const QColor& C) { return C.green() > 200 && C.red() < 60 && C.blue() < 60; };
  auto blue = [](const QColor& C) { return C.blue() > 200 && C.red() < 60 && C.green() < 60; };
  EXPECT_GT(CountAround(frame, Project(UserView, 5, 0, 0), 4, red), 0);
  EXPECT_GT(CountAround(frame, Project(UserView, 0, 5, 0), 4, green), 0);
  EXPECT_GT(CountAround(frame, Project(UserView, 0, 0, 5), 4, blue), 0);
  EXPECT_EQ(CountAround(frame, Project(UserView, 0, -5, 0), 4, green), 0);
  // The background is the canvas colour.
  EXPECT_EQ(FramePixel(frame, 10, frame.height() - 10), QColor(0, 0, 0));

  // A quarter turn later the cube has moved on to (0, 0, -12).
  Form->FAngle = 270;
  const QImage later = Frame();
  EXPECT_GT(CountAround(later, Project(UserView, 0, 0, -12), 3, IsYellow), 30);
  EXPECT_EQ(CountAround(later, cube, 3, IsYellow), 0);

  // Without the cube's box nothing yellow is left.
  Form->ckbxShowCube->setChecked(false);
  const QImage none = Frame();
  EXPECT_EQ(CountAround(none, Project(UserView, 0, 0, -12), 6, IsYellow), 0);

  Form->FAngle = 0;
  GLManager->FShowXZPlane = true;
  ShowOnly({Form->ckbxShowCube, Form->ckbxShowLights, Form->ckbxRobot});
  Form->ckbxSinglePort->setChecked(false);
}

TEST_F(MainFormTest, ShowSideFontWritesEachViewsNameInItsCell) {
  Form->ckbxSinglePort->setChecked(false);
  ShowOnly({});
  Form->LayoutViewports();
  auto fontPixels = [](const QImage& F, const TGLView& V) {
    int found = 0;
    for (int y = V.Y; y < V.Y + V.Height / 2; ++y)
      for (int x = V.X; x < V.X + V.Width / 2; ++x) {
        const QColor c = FramePixel(F, x, y);
        if (c.red() > 100 && c.green() > 100 && c.blue() < 60) ++found;
      }
    return found;
  };
  TGLView* views[] = {&UserView, &FrontView, &BackView,  &RightView,
                      &LeftView, &TopView,   &BottomView};

  Form->ckbxShowSideText->setChecked(false);
  const QImage plain = Frame();
  for (TGLView* v : views) EXPECT_EQ(fontPixels(plain, *v), 0) << ViewNames[v->Kind].toStdString();

  Form->ckbxShowSideText->setChecked(true);
  const QImage named = Frame();
  int widest = 0, narrowest = 1 << 30;
  for (TGLView* v : views) {
    const int n = fontPixels(named, *v);
    EXPECT_GT(n, 10) << ViewNames[v->Kind].toStdString();
    widest = std::max(widest, n);
    narrowest = std::min(narrowest, n);
  }
  EXPECT_NE(widest, narrowest) << "every cell shows the same text";
  // The two empty cells of the right column stay dark.
  TGLView empty = UserView;
  empty.Y = TopView.Y;
  EXPECT_EQ(fontPixels(named, empty), 0);

  Form->ckbxShowSideText->setChecked(false);
  ShowOnly({Form->ckbxShowCube, Form->ckbxShowLights, Form->ckbxRobot});
}

TEST_F(MainFormTest, ControlsSetFromCodeRaiseTheirHandlersOnlyWhenTheyChange) {
  // The refresh routines at start-up went through the handlers of what they changed.
  EXPECT_EQ(Form->edMixRate->text(), QStringLiteral("0.3"));
  EXPECT_FLOAT_EQ(GLBrimloLogo->FMixRate, 0.3f);
  EXPECT_FALSE(Form->pnlMixLogoColor->isEnabled());  // colour material is on
  EXPECT_TRUE(Form->pnlMtUserDefine->isEnabled());   // "User Define"

  // A new projection reaches all seven views and the status bar.
  Form->rdgpPrjMode->SetItemIndex(1);
  for (const TGLView* v :
       {&UserView, &FrontView, &BackView, &LeftView, &RightView, &TopView, &BottomView})
    EXPECT_EQ(v->Projection, pmOrtho) << ViewNames[v->Kind].toStdString();
  EXPECT_EQ(Form->StatusBar1->PanelText(3), QStringLiteral("Ortho"));
  Form->RefreshPanel();
  EXPECT_EQ(Form->rdgpPrjMode->ItemIndex(), 1);
  Form->rdgpPrjMode->SetItemIndex(3);
  EXPECT_EQ(UserView.Projection, pmPerspective);

  // "Show XZ Plane" follows its box only when the box changes.
  Form->ckbxShowXZplane->setChecked(true);
  EXPECT_TRUE(GLManager->FShowXZPlane);
  Form->ckbxShowXZplane->setChecked(false);
  EXPECT_FALSE(GLManager->FShowXZPlane);
  GLManager->FShowXZPlane = true;
  Form->ckbxShowXZplane->setChecked(false);  // no change, no handler
  EXPECT_TRUE(GLManager->FShowXZPlane);

  // "V" and "X" tick and untick the eleven display boxes, each through its own handler.
  Form->sbSellAll->click();
  for (QCheckBox* box : Form->grpDisplay->findChildren<QCheckBox*>())
    EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
  EXPECT_FALSE(Form->ckbxSinglePort->isChecked());  // not a display box
  GLManager->FShowXZPlane = false;
  Form->sbSellAll->click();  // nothing changes, nothing is raised
  EXPECT_FALSE(GLManager->FShowXZPlane);
  Form->sbUnSelAll->click();
  for (QCheckBox* box : Form->grpDisplay->findChildren<QCheckBox*>())
    EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();

  // Polygon modes and blending go through their groups and box.
  Form->rdgpObjMode->SetItemIndex(0);
  EXPECT_EQ(ObjectPolygonMode, 0);
  Form->rdgpObjMode->SetItemIndex(2);
  Form->rdgpVolumeMode->SetItemIndex(2);
  EXPECT_EQ(VolumePolygonMode, 2);
  Form->rdgpVolumeMode->SetItemIndex(1);
  Form->ckbxBlend->setChecked(true);
  EXPECT_TRUE(GLManager->FBlend);
  Form->pbGL->makeCurrent();
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  Form->ckbxBlend->setChecked(false);
  EXPECT_FALSE(GLManager->FBlend);

  // The material mode decides whether the user-defined panel can be used.
  Form->rdgpMaterial->SetItemIndex(5);
  EXPECT_EQ(GLBrimloLogo->FMaterialMode, mmOthers);
  EXPECT_FALSE(Form->pnlMtUserDefine->isEnabled());
  Form->rdgpMaterial->SetItemIndex(0);
  EXPECT_TRUE(Form->pnlMtUserDefine->isEnabled());

  ShowOnly({Form->ckbxShowCube, Form->ckbxShowLights, Form->ckbxRobot});
}

TEST_F(MainFormTest, WindowFitsItsRestoredSizeAndKeepsCellsOnResize) {
  Form->ckbxSinglePort->setChecked(false);
  Form->resize(802, 656);
  QTest::qWait(50);
  EXPECT_LE(Form->height(), 656) << "the panel forces the window taller";
  // Resizing lays the cells out again for the new surface.
  EXPECT_EQ(UserView.Width, std::max(1L, std::lround((Form->pbGL->width() / 3 - 9) *
                                                     Form->pbGL->devicePixelRatioF())));
  Form->resize(900, 700);
  QTest::qWait(50);
  EXPECT_EQ(UserView.Width, std::max(1L, std::lround((Form->pbGL->width() / 3 - 9) *
                                                     Form->pbGL->devicePixelRatioF())));

  // Dragging the splitter narrows the surface; the cells follow when the drag ends.
  const int before = Form->pbGL->width();
  QWidget* handle = Form->Splitter1->handle(1);
  const QPoint grip(handle->width() / 2, handle->height() / 2);
  QTest::mousePress(handle, Qt::LeftButton, {}, grip);
  QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(60, 0)),
                   handle->mapToGlobal(QPointF(grip + QPoint(60, 0))), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(handle, &move);
  QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(60, 0));
  QTest::qWait(50);
  ASSERT_EQ(Form->pbGL->width(), before - 60);
  EXPECT_EQ(UserView.Width, std::max(1L, std::lround((Form->pbGL->width() / 3 - 9) *
                                                     Form->pbGL->devicePixelRatioF())));
}

TEST_F(MainFormTest, SceneHelpersRestoreTheStateTheyBorrow) {
  Form->pbGL->makeCurrent();
  auto integer = [](GLenum Name) {
    GLint v[4] = {0, 0, 0, 0};
    glGetIntegerv(Name, v);
    return v[0];
  };
  auto emission = [](GLenum Face) {
    GLfloat c[4];
    glGetMaterialfv(Face, GL_EMISSION, c);
    return QColor::fromRgbF(c[0], c[1], c[2], c[3]);
  };
  glMatrixMode(GL_MODELVIEW);
  const GLint depth = integer(GL_MODELVIEW_STACK_DEPTH);

  // The cube: polygon modes per face, texturing, generation and colour material come back.
  // (The box repaints, so it is checked before the state is set up.)
  Form->ckbxAutoGenTexture->setChecked(true);
  Form->pbGL->makeCurrent();
  glPolygonMode(GL_FRONT, GL_LINE);
  glPolygonMode(GL_BACK, GL_POINT);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_COLOR_MATERIAL);
  Form->DrawSatelliteCube();
  GLint modes[2];
  glGetIntegerv(GL_POLYGON_MODE, modes);
  EXPECT_EQ(modes[0], GL_LINE);
  EXPECT_EQ(modes[1], GL_POINT);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));  // off afterwards, whatever it was before
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
  GLint gen = 0;
  glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &gen);
  EXPECT_EQ(gen, GL_SPHERE_MAP);
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_EQ(emission(GL_FRONT), QColor::fromRgbF(0, 0, 0, 0.5));
  EXPECT_EQ(emission(GL_BACK), QColor::fromRgbF(0.5, 0.5, 0.5, 0.5));  // only the front is reset
  Form->ckbxAutoGenTexture->setChecked(false);

  // Texturing that was on stays on; colour material that was off stays off.
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_COLOR_MATERIAL);
  Form->DrawSatelliteCube();
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
  glDisable(GL_TEXTURE_2D);

  // The view volume: both faces get the front mode back, blending as it was, colour material on.
  Form->ckbxBlend->setChecked(true);  // repaints: set the state afterwards
  glPolygonMode(GL_FRONT, GL_FILL);
  glPolygonMode(GL_BACK, GL_LINE);
  glDisable(GL_BLEND);
  Form->DrawViewVolume();
  glGetIntegerv(GL_POLYGON_MODE, modes);
  EXPECT_EQ(modes[0], GL_FILL);
  EXPECT_EQ(modes[1], GL_FILL);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE);  // the blend function stays
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  Form->ckbxBlend->setChecked(false);

  // Lines: stipple off and the line width back afterwards.
  glLineWidth(4);
  Form->DrawPointsAndVectors();
  EXPECT_EQ(integer(GL_LINE_WIDTH), 4);
  EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
  Form->DrawEyeLine();
  EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
  glLineWidth(1);

  EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), depth);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
