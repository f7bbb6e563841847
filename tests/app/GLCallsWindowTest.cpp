// The "GL Calls" window in the running program: opening it, the calls it shows for the start-up
// state, drags going through the panel's controls, the copy and save of the C file, the picture
// left as it was while its own settings are OpenGL's defaults, and its settings section.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <cstring>

#include "AppPaths.h"
#include "BrimloLogo.h"
#include "GLCalls.h"
#include "GLCallsWindow.h"
#include "IniFile.h"
#include "NumberText.h"
#include "OpglLight.h"
#include "TestFiles.h"
#include "WindowFixture.h"

namespace {

TGLCallsView* View() {
  return GLCalls->Window()->View();
}

// The first cell of the shown text that Pick accepts.
template <class F>
TGLCallsCell FindCell(F Pick) {
  for (const TGLCallsCell& cell : View()->Text().Cells)
    if (Pick(cell)) return cell;
  ADD_FAILURE() << "no such cell";
  return {};
}

TGLCallsCell CellOf(TEdit Edit, int Light = -1, int Component = 0) {
  return FindCell([&](const TGLCallsCell& c) {
    return c.Rule && c.Rule->Edit == Edit && c.Light == Light && c.Component == Component;
  });
}

void SendMouse(QEvent::Type Type, Qt::MouseButton Button, Qt::MouseButtons Held, QPoint At) {
  QWidget* target = View()->viewport();
  QMouseEvent event(Type, QPointF(At), target->mapToGlobal(QPointF(At)), Button, Held,
                    Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

// Presses on the cell, moves the mouse by each of Moves pixels up in turn, releases.
void DragCell(const TGLCallsCell& Cell, std::initializer_list<int> Moves) {
  const QPoint start = View()->CellRect(Cell).center();
  SendMouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, start);
  for (int up : Moves)
    SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start - QPoint(0, up));
  SendMouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, start - QPoint(0, 0));
}

std::string Joined() {
  return View()->Text().Joined();
}

bool SameLight(const TGLLight& A, const TGLLight& B) {
  return std::memcmp(&A, &B, sizeof A) == 0;
}

}  // namespace

class GLCallsWindowTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    SavedAngles = LightAngles;
    LightAngles = {10, 55, 100, 145, 190, 235, 280, 325};
    Form->FAngle = 30;
  }
  void TearDown() override {
    if (GLCalls) {
      GLCalls->SetExtras(TGLCallsExtras());
      GLCalls->Close();
    }
    LightAngles = SavedAngles;
    Form->FAngle = 0;
    WindowFixture::TearDown();
  }
  // Opens the window and shows the frame just drawn.
  void Show() {
    if (!GLCalls->IsOpen()) GLCalls->Open();
    Frame();
    GLCalls->Window()->ShowRecord();
  }
  std::vector<float> SavedAngles;
};

TEST_F(GLCallsWindowTest, F2AndTheButtonOpenAndCloseItBesideTheScene) {
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
  Form->edFov->setFocus();  // a panel control holding the focus
  const int frames = Form->FramesRequested;
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
  ASSERT_TRUE(GLCalls->IsOpen());
  EXPECT_GT(Form->FramesRequested, frames);                 // repainted, as after every key
  EXPECT_EQ(Form->edFov->text(), QStringLiteral("52.00"));  // the key reached no control
  QWidget* window = GLCalls->Window();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("GL Calls"));
  EXPECT_FALSE(window->isModal());
  EXPECT_TRUE(window->isWindow());
  // Beside the scene: clear of the control panel.
  EXPECT_GE(window->geometry().left(),
            Form->Panel1->mapToGlobal(QPoint(Form->Panel1->width(), 0)).x());
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClick(focus ? focus : Form, Qt::Key_F2);
  EXPECT_FALSE(GLCalls->IsOpen());
  Form->activateWindow();
  Form->setFocus();
  QTest::keyClick(Form, Qt::Key_F2);
  EXPECT_TRUE(GLCalls->IsOpen());
  GLCalls->Close();

  QTest::mouseClick(Form->btnGLCalls, Qt::LeftButton);
  EXPECT_TRUE(GLCalls->IsOpen());
  QTest::mouseClick(Form->btnGLCalls, Qt::LeftButton);
  EXPECT_FALSE(GLCalls->IsOpen());

  // The button sits in the free space of the top row: without it (hidden, it takes no room)
  // the row's controls stand where they stand with it.
  QWidget* const row[] = {Form->ckbxSinglePort, Form->sbSellAll, Form->sbUnSelAll,
                          Form->grpDisplay};
  auto places = [&] {
    Form->Panel12->layout()->activate();
    std::vector<QRect> r;
    for (QWidget* w : row) r.push_back(w->geometry());
    return r;
  };
  const std::vector<QRect> with = places();
  Form->btnGLCalls->hide();
  const std::vector<QRect> without = places();
  Form->btnGLCalls->show();
  EXPECT_EQ(with, without);
  EXPECT_EQ(places(), with);
  for (QWidget* w : row)
    EXPECT_FALSE(Form->btnGLCalls->geometry().intersects(w->geometry()))
        << w->objectName().toStdString();
}

TEST_F(GLCallsWindowTest, StartUpCallsHoldTheNumbersAReaderCanCheck) {
  Show();
  const std::string text = Joined();
  const TGLView& u = UserView;
  // gluPerspective(fovy, width / height, near, far): the eye stands sqrt(15²+10²+15²) =
  // 23.4521 from the view point, the 40-deep volume around it: near 3.45208, far 43.4521.
  const std::string aspect = ShownNumber(double(u.Width) / double(u.Height));
  EXPECT_NE(text.find("gluPerspective(52, " + aspect + ", 3.45208, 43.4521);  /* aspect = " +
                      std::to_string(u.Width) + " / " + std::to_string(u.Height) + " */"),
            std::string::npos)
      << text;
  // The default eye and view point; the up vector is (0, 1, 0) made square to the line of
  // sight: (-150, 450, -150) / 497.49.
  EXPECT_NE(text.find("gluLookAt(15, 10, 15, 0, 0, 0, -0.301511, 0.904534, -0.301511);"),
            std::string::npos);
  EXPECT_NE(text.find("glViewport(" + std::to_string(u.X) + ", " + std::to_string(u.Y) + ", " +
                      std::to_string(u.Width) + ", " + std::to_string(u.Height) + ");"),
            std::string::npos);
  EXPECT_NE(text.find("glClearColor(0, 0, 0, 0.5);"), std::string::npos);
  // The projection's second row: 1 / tan(26 degrees) = 2.0503.
  const std::array<double, 16>& p = GLCalls->Record().Value(FindRow(GL_PROJECTION_MATRIX));
  EXPECT_NEAR(p[5], 1 / std::tan(26 * M_PI / 180), 1e-6);
  EXPECT_NEAR(p[0], p[5] * u.Height / u.Width, 1e-6);
  EXPECT_NEAR(p[10], -(43.4521 + 3.45208) / (43.4521 - 3.45208), 1e-4);
  EXPECT_EQ(p[11], -1);
  EXPECT_NE(text.find("|           0      2.0503           0           0 |"), std::string::npos);
  // The model-view's third row: the line of sight, (15, 10, 15) / 23.4521, and the distance.
  const std::array<double, 16>& m = GLCalls->Record().Value(FindRow(GL_MODELVIEW_MATRIX));
  EXPECT_NEAR(m[2], 15 / std::sqrt(550.0), 1e-6);
  EXPECT_NEAR(m[14], -std::sqrt(550.0), 1e-5);

  EXPECT_NE(text.find("glEnable(GL_LIGHTING);"), std::string::npos);
  // Light 0 stands at (20, 20, 20): the light pass moves there and gives the origin; OpenGL
  // holds it in eye coordinates, the model-view times (20, 20, 20, 1).
  EXPECT_NE(
      text.find("glTranslatef(20, 20, 20);\nglLightfv(GL_LIGHT0, GL_POSITION, {0, 0, 0, 1});"),
      std::string::npos);
  const std::array<double, 16>& held = GLCalls->Record().Value(FindRow(GL_POSITION, 0));
  for (int r = 0; r < 3; ++r)
    EXPECT_NEAR(held[std::size_t(r)],
                m[std::size_t(r)] * 20 + m[std::size_t(4 + r)] * 20 + m[std::size_t(8 + r)] * 20 +
                    m[std::size_t(12 + r)],
                1e-4);
  // The spot light is given (-20, -20, -20) after moving there, aimed at (20, 20, 20).
  EXPECT_NE(text.find("glTranslatef(-20, -20, -20);\nglLightfv(GL_LIGHT2, GL_POSITION, {-20, "
                      "-20, -20, 1});"),
            std::string::npos);
  EXPECT_NE(text.find("glLightfv(GL_LIGHT2, GL_SPOT_DIRECTION, {20, 20, 20});"), std::string::npos);
  // Light 1 orbits: two turns by its angle before the move.
  EXPECT_NE(text.find("glRotatef(55, 1, 0, 0.5);  /* its orbit */\nglRotatef(-55, 0, 1, 0);"),
            std::string::npos);
  EXPECT_NE(text.find("/*   Robot: "), std::string::npos);

  // The other projections: the calls name the User view's volume, the matrices are the ones
  // the OpenGL reference pages give for them.
  for (int mode : {0, 1, 2}) {
    SCOPED_TRACE(mode);
    Form->rdgpPrjMode->SetItemIndex(mode);
    Show();
    const double l = u.Left, r = u.Right, b = u.Bottom, t = u.Top;
    const double n = mode == 0 ? -1 : std::max(0.5, double(u.Near)), f = mode == 0 ? 1 : u.Far;
    const std::string box =
        ShownNumber(l) + ", " + ShownNumber(r) + ", " + ShownNumber(b) + ", " + ShownNumber(t);
    const char* call[] = {"gluOrtho2D(", "glOrtho(", "glFrustum("};
    EXPECT_NE(
        Joined().find(call[mode] + box +
                      (mode == 0 ? "" : ", " + ShownNumber(n) + ", " + ShownNumber(f)) + ");"),
        std::string::npos)
        << Joined().substr(0, 600);
    const std::array<double, 16>& q = GLCalls->Record().Value(FindRow(GL_PROJECTION_MATRIX));
    const double near2 = mode == 2 ? 2 * n : 2;
    EXPECT_NEAR(q[0], near2 / (r - l), 1e-6);
    EXPECT_NEAR(q[5], near2 / (t - b), 1e-6);
    if (mode == 2) {
      EXPECT_NEAR(q[8], (r + l) / (r - l), 1e-6);
      EXPECT_NEAR(q[9], (t + b) / (t - b), 1e-6);
      EXPECT_NEAR(q[10], -(f + n) / (f - n), 1e-6);
      EXPECT_EQ(q[11], -1);
      EXPECT_NEAR(q[14], -2 * f * n / (f - n), 1e-5);
    } else {
      EXPECT_NEAR(q[10], -2 / (f - n), 1e-6);
      EXPECT_NEAR(q[12], -(r + l) / (r - l), 1e-6);
      EXPECT_NEAR(q[13], -(t + b) / (t - b), 1e-6);
      EXPECT_NEAR(q[14], -(f + n) / (f - n), 1e-6);
    }
  }
  Form->rdgpPrjMode->SetItemIndex(3);

  // Another view, chosen in the window.
  GLCalls->Window()->ViewBox()->setCurrentIndex(5);  // Top
  Frame();
  GLCalls->Window()->ShowRecord();
  EXPECT_NE(Joined().find("/* The Top view"), std::string::npos);
  EXPECT_NE(Joined().find("gluLookAt(0, 23.4521, 0, 0, 0, 0, 0, 0, -1);"), std::string::npos);
  // The side views' eyes follow the User view: no cell there.
  for (const TGLCallsCell& cell : View()->Text().Cells)
    EXPECT_TRUE(cell.Rule->Edit != TEdit::Eye && cell.Rule->Edit != TEdit::Fov);
  GLCalls->Window()->ViewBox()->setCurrentIndex(0);
}

TEST_F(GLCallsWindowTest, FieldOfViewDragMovesTheBarAndStopsAtItsLimits) {
  Show();
  const TGLCallsCell fov = CellOf(TEdit::Fov);
  ASSERT_NE(fov.Rule, nullptr);
  EXPECT_EQ(View()->Text().Lines[std::size_t(fov.Line)].substr(std::size_t(fov.Column),
                                                               std::size_t(fov.Length)),
            "52");
  // The cell's range is the bar's.
  EXPECT_EQ(fov.Rule->Min, Form->tkbarFov->minimum());
  EXPECT_EQ(fov.Rule->Max, Form->tkbarFov->maximum());
  DragCell(fov, {4, 8, 12});  // three steps up, four pixels a step
  EXPECT_EQ(Form->tkbarFov->value(), 55);
  EXPECT_EQ(UserView.FOV, 55);
  EXPECT_EQ(Form->edFov->text(), QStringLiteral("55.00"));
  Show();
  EXPECT_NE(Joined().find("gluPerspective(55, "), std::string::npos);

  DragCell(CellOf(TEdit::Fov), {4000});
  EXPECT_EQ(Form->tkbarFov->value(), 120);
  EXPECT_EQ(UserView.FOV, 120);
  Show();
  DragCell(CellOf(TEdit::Fov), {-4000});
  EXPECT_EQ(Form->tkbarFov->value(), 5);
  EXPECT_EQ(UserView.FOV, 5);
  Form->tkbarFov->setValue(52);
  EXPECT_EQ(UserView.FOV, 52);

  // The volume's numbers step the volume scale through the camera tab's > and < buttons.
  Show();
  Form->ckbxShowVolume->setChecked(false);
  const float volume = VolumeScale;
  DragCell(CellOf(TEdit::VolumeSize), {4, 8, 4});  // up two steps, back one
  EXPECT_FLOAT_EQ(VolumeScale, volume + VolumeScaleStep);
  EXPECT_TRUE(Form->ckbxShowVolume->isChecked());  // as the buttons do
  VolumeScale = 1;
  Form->ScaleViewVolumes(1);
  Form->ckbxShowVolume->setChecked(false);
  // The object scale, as keys A and S set it, within 0.2 and 6.
  Show();
  DragCell(CellOf(TEdit::ObjectScale), {8});
  EXPECT_FLOAT_EQ(Form->FObjectScale, 1.2f);
  EXPECT_FLOAT_EQ(GLBrimloLogo->FScale, 1.2f);
  Show();
  DragCell(CellOf(TEdit::ObjectScale), {-400});
  EXPECT_FLOAT_EQ(Form->FObjectScale, 0.2f);
  Form->FObjectScale = GLBrimloLogo->FScale = 1;

  // The eye: the User view moves and the camera tab shows it.
  Show();
  DragCell(CellOf(TEdit::Eye, -1, 0), {8});  // two steps of 0.25
  EXPECT_FLOAT_EQ(UserView.Eye.X, 15.5f);
  EXPECT_EQ(Form->edEX->text(), QStringLiteral("15.50"));
  UserView.Eye.X = 15;
  GLCamera->AlignUpVector(UserView);
}

TEST_F(GLCallsWindowTest, LightColourDragGoesThroughTheSelectedLightsBars) {
  Show();
  Form->ckbxLights->SetItemIndex(1);
  Form->Dispatch([] { Form->ckbxLightsClick(Form->ckbxLights); });
  Form->rdgpLightColor->SetItemIndex(0);  // ambient shown: the drag switches to diffuse
  const TGLLights before = GLLighter->FLights;
  Show();
  const TGLCallsCell red = CellOf(TEdit::LightDiffuse, 1, 0);
  ASSERT_NE(red.Rule, nullptr);
  EXPECT_EQ(red.Value, double(before[1].Diffuse.R));
  DragCell(red, {-4, -8, -12});  // three steps of 1/255 down
  const int expected = static_cast<int>(std::lround(before[1].Diffuse.R * 255)) - 3;
  EXPECT_EQ(Form->rdgpLightColor->ItemIndex(), 1);
  EXPECT_EQ(Form->tkbarR->value(), expected);
  EXPECT_FLOAT_EQ(GLLighter->GetDiffuse(1).R, expected / 255.0f);
  for (std::size_t i = 0; i < before.size(); ++i)
    if (i != 1) {
      EXPECT_TRUE(SameLight(GLLighter->FLights[i], before[i])) << "light " << i;
    }
  Show();
  EXPECT_FLOAT_EQ(float(GLCalls->Record().Value(FindRow(GL_DIFFUSE, 1))[0]), expected / 255.0f);

  // A light that is not selected changes by itself; the bars stay, the list shows its colour.
  const TGLLights second = GLLighter->FLights;
  const int bar = Form->tkbarR->value();
  DragCell(CellOf(TEdit::LightDiffuse, 3, 0), {-4});
  EXPECT_EQ(Form->tkbarR->value(), bar);
  EXPECT_FLOAT_EQ(GLLighter->GetDiffuse(3).R, second[3].Diffuse.R - 1 / 255.0f);
  EXPECT_EQ(GLLighter->GetDiffuse(3).G, second[3].Diffuse.G);
  EXPECT_EQ(Form->ckbxLights->ItemColor(3), GLColorToColor(GLLighter->GetDiffuse(3)));
  for (std::size_t i = 0; i < second.size(); ++i)
    if (i != 3) {
      EXPECT_TRUE(SameLight(GLLighter->FLights[i], second[i])) << "light " << i;
    }

  // The light's place: the record moves and the selected light's edits follow.
  Show();
  Form->ckbxLights->SetItemIndex(0);
  Form->Dispatch([] { Form->ckbxLightsClick(Form->ckbxLights); });
  Show();
  DragCell(CellOf(TEdit::LightMove, 0, 2), {8});
  EXPECT_FLOAT_EQ(GLLighter->GetLightPosition(0).Z, 21);
  EXPECT_EQ(Form->edPosZ->text(), QStringLiteral("21.0"));
  Show();
  EXPECT_NE(Joined().find("glTranslatef(20, 20, 21);"), std::string::npos);
  GLLighter->FLights = before;
  Form->Dispatch([] { GLLighter->ApplyLights(GLLighter->FLights); });
}

TEST_F(GLCallsWindowTest, ChoicesChangeTheWindowsOwnSettingsAndTheFrame) {
  Show();
  const QImage plain = Frame();
  const TGLCallsCell fog =
      FindCell([](const TGLCallsCell& c) { return c.Rule && c.Rule->Edit == TEdit::Fog; });
  EXPECT_EQ(View()->Text().Lines[std::size_t(fog.Line)].substr(std::size_t(fog.Column),
                                                               std::size_t(fog.Length)),
            "glDisable(GL_FOG)");
  // A click opens the choices; picking one switches fog on.
  DragCell(fog, {});
  QMenu* menu = View()->ChoiceMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[1]->text(), QStringLiteral("glEnable(GL_FOG)"));
  menu->actions()[1]->trigger();
  menu->hide();
  EXPECT_TRUE(GLCalls->Extras().Fog);
  Show();
  EXPECT_NE(Joined().find("glEnable(GL_FOG);"), std::string::npos);
  EXPECT_NE(Frame(), plain);  // fog of density 1 hides the scene

  // Dragging a choice steps through it: GL_SMOOTH up to GL_FLAT.
  DragCell(CellOf(TEdit::ShadeModel), {4});
  EXPECT_EQ(GLCalls->Extras().ShadeModel, GLenum(GL_FLAT));
  Show();
  EXPECT_NE(Joined().find("glShadeModel(GL_FLAT);"), std::string::npos);

  // Attenuation, with the keyboard: Tab to the cell, + steps it.
  const TGLCallsCell linear = CellOf(TEdit::Attenuation, 4, 1);
  const auto& cells = View()->Text().Cells;
  for (std::size_t i = 0; i < cells.size(); ++i)
    if (cells[i].Line == linear.Line && cells[i].Column == linear.Column)
      View()->SetCurrentCell(int(i) - 1);
  View()->setFocus();
  QTest::keyClick(View(), Qt::Key_Tab);
  QTest::keyClick(View(), Qt::Key_Plus);
  QTest::keyClick(View(), Qt::Key_Plus);
  EXPECT_FLOAT_EQ(GLCalls->Extras().Attenuation[4][1], 0.002f);  // one step; the second
  // press stepped from the value the text still showed
  Show();
  QTest::keyClick(View(), Qt::Key_Plus);
  EXPECT_FLOAT_EQ(GLCalls->Extras().Attenuation[4][1], 0.004f);
  EXPECT_EQ(GLCalls->Extras().Attenuation[3][1], 0);
  // Down at its floor it stays there.
  for (int i = 0; i < 5; ++i) {
    Show();
    QTest::keyClick(View(), Qt::Key_Minus);
  }
  EXPECT_EQ(GLCalls->Extras().Attenuation[4][1], 0);
}

TEST_F(GLCallsWindowTest, PictureIsUnchangedWhileTheWindowsSettingsAreDefaults) {
  ShowOnly({Form->ckbxShowCube, Form->ckbxShowLights, Form->ckbxRobot, Form->ckbxShowFrame,
            Form->ckbxShowWorldAxis, Form->ckbxShowXZplane});
  Form->lbxTextures->SetItemIndex(5);
  QImage closed;
  for (bool single : {false, true}) {
    Form->ckbxSinglePort->setChecked(single);
    GLCalls->Close();
    ASSERT_EQ(GLCallsHook, nullptr);  // closed at defaults: the frame pays one test
    closed = Frame();
    GLCalls->Open();
    ASSERT_NE(GLCallsHook, nullptr);
    const QImage open = Frame();
    EXPECT_GT(GLCalls->Captures(), 0);
    EXPECT_TRUE(open == closed) << (single ? "single view" : "seven views");
  }
  // The same test sees a change: the lights given before gluLookAt light the scene anew.
  TGLCallsExtras eye;
  eye.LightsBeforeLookAt = true;
  GLCalls->SetExtras(eye);
  const QImage riding = Frame();
  GLCalls->SetExtras(TGLCallsExtras());
  EXPECT_FALSE(riding == Frame());
  // Closed with a setting of its own, the window still applies it.
  GLCalls->SetExtras(eye);
  GLCalls->Close();
  EXPECT_NE(GLCallsHook, nullptr);
  EXPECT_TRUE(Frame() == riding);
  // Back at the defaults the frame stops sending them, and OpenGL holds its defaults again.
  TGLCallsExtras flat;
  flat.ShadeModel = GL_FLAT;
  flat.Fog = true;
  GLCalls->SetExtras(flat);
  EXPECT_FALSE(Frame() == closed);
  GLCalls->SetExtras(TGLCallsExtras());
  EXPECT_EQ(GLCallsHook, nullptr);
  EXPECT_TRUE(Frame() == closed);
  Form->ckbxSinglePort->setChecked(false);
  Form->lbxTextures->SetItemIndex(-1);
}

TEST_F(GLCallsWindowTest, CopyAndSaveAsCThroughTheClipboardAndTheDialogs) {
  Show();
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  View()->ClearSelection();
  View()->setFocus();
  QTest::keyClick(View(), Qt::Key_C, Qt::ControlModifier);
  const QString c = QString::fromStdString(GLCalls->CText());
  EXPECT_EQ(clipboard->text(), c);
  EXPECT_TRUE(c.contains(QStringLiteral("void opgl_apply_state(void) {")));
  // With text selected, Ctrl+C copies the selection.
  View()->SelectAll();
  QTest::keyClick(View(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard->text().toStdString() + "\n", Joined());
  View()->ClearSelection();
  clipboard->clear();
  EXPECT_EQ(GLCalls->Window()->CopyButton()->text(), QStringLiteral("Copy as C"));
  EXPECT_EQ(GLCalls->Window()->SaveButton()->text(), QString::fromUtf8("Save as C\u2026"));
  QTest::mouseClick(GLCalls->Window()->CopyButton(), Qt::LeftButton);
  EXPECT_EQ(clipboard->text(), QString::fromStdString(GLCalls->CText()));

  Answers.FileName = TempPath(QStringLiteral("state.c"));
  QTest::mouseClick(GLCalls->Window()->SaveButton(), Qt::LeftButton);
  EXPECT_EQ(Answers.LastPicture.Title, QStringLiteral("Save as C"));
  EXPECT_EQ(ReadAll(Answers.FileName), QByteArray::fromStdString(GLCalls->CText()));
  Answers.PictureChosen = false;
  Answers.FileName = TempPath(QStringLiteral("cancelled.c"));
  EXPECT_FALSE(GLCalls->SaveAsC());
  EXPECT_FALSE(QFile::exists(Answers.FileName));
  Answers.PictureChosen = true;
  Answers.FileName = TempPath(QStringLiteral("no/such/folder/state.c"));
  EXPECT_FALSE(GLCalls->SaveAsC());
  EXPECT_EQ(Answers.Messages,
            QStringList{QStringLiteral("Unable to write to ") + Answers.FileName});
}

TEST_F(GLCallsWindowTest, SettingsSectionKeepsTheWindowAndRefusesBadValues) {
  TGLCallsExtras e;
  e.Fog = true;
  e.FogMode = GL_EXP2;
  e.FogDensity = 0.05f;
  e.ShadeModel = GL_FLAT;
  e.Attenuation[2][2] = 0.001f;
  e.ModelAmbient[1] = 0.5f;
  e.MinFilter = GL_NEAREST;
  e.LightsBeforeLookAt = true;
  GLCalls->SetExtras(e);
  GLCalls->SetChosenView(3);
  Show();
  GLCalls->SaveSettings();
  {
    TIniFile ini(AppPaths::SettingsFileName());
    EXPECT_TRUE(ini.ReadBool("TGLCallsWindow", "Open", false));
    EXPECT_EQ(ini.ReadInteger("TGLCallsWindow", "View", 0), 3);
    EXPECT_EQ(ini.ReadInteger("TGLCallsWindow", "ShadeModel", 0), GL_FLAT);
    EXPECT_EQ(ini.ReadInteger("TGLCallsWindow", "Width", 0), GLCalls->Window()->width());
    EXPECT_EQ(ini.ReadString("TGLCallsWindow", "mGLCallsWindow", ""), "0");
  }
  GLCalls->SetExtras(TGLCallsExtras());
  GLCalls->SetChosenView(0);
  GLCalls->LoadSettings();
  EXPECT_TRUE(GLCalls->Extras() == e);
  EXPECT_EQ(GLCalls->ChosenView(), 3);

  // Hand-edited nonsense keeps the defaults, value by value.
  {
    TIniFile ini(AppPaths::SettingsFileName());
    ini.WriteString("TGLCallsWindow", "FogDensity", "nan");
    ini.WriteString("TGLCallsWindow", "FogStart", "1e300");
    ini.WriteInteger("TGLCallsWindow", "ShadeModel", 12345);
    ini.WriteInteger("TGLCallsWindow", "MinFilter", GL_LINEAR_MIPMAP_LINEAR);
    ini.WriteString("TGLCallsWindow", "Attenuation2", "0000803F");
    ini.WriteString("TGLCallsWindow", "ModelAmbient", "zz");
    ini.WriteInteger("TGLCallsWindow", "View", 99);
    ini.WriteInteger("TGLCallsWindow", "Width", 999999);
    ini.UpdateFile();
  }
  GLCalls->LoadSettings();
  const TGLCallsExtras& got = GLCalls->Extras();
  EXPECT_EQ(got.FogDensity, 1);
  EXPECT_EQ(got.FogStart, 0);
  EXPECT_EQ(got.ShadeModel, GLenum(GL_SMOOTH));
  EXPECT_EQ(got.MinFilter, GLenum(GL_LINEAR));
  EXPECT_EQ(got.Attenuation[2][2], 0);
  EXPECT_EQ(got.ModelAmbient[1], 0.2f);
  EXPECT_TRUE(got.Fog);  // what was sound stays
  EXPECT_EQ(got.FogMode, GLenum(GL_EXP2));
  EXPECT_EQ(GLCalls->ChosenView(), 6);
  GLCalls->SetChosenView(0);
}

TEST_F(GLCallsWindowTest, MaterialDragChangesTheMaterialTheLastObjectWore) {
  ShowOnly({Form->ckbxShowCube, Form->ckbxShowLights, Form->ckbxRobot});
  const TGLMaterial preset = GLBrimloLogo->FPresetMaterial;
  Show();
  EXPECT_NE(Joined().find("/* the material, as the last object drawn (Robot) left it */"),
            std::string::npos);
  const TGLCallsCell diffuse = FindCell([](const TGLCallsCell& c) {
    return c.Rule && c.Rule->Edit == TEdit::MaterialDiffuse && c.Face == GL_FRONT &&
           c.Component == 1;
  });
  EXPECT_FLOAT_EQ(float(diffuse.Value), preset.Diffuse.G);
  DragCell(diffuse, {4, 8});
  EXPECT_FLOAT_EQ(GLBrimloLogo->FPresetMaterial.Diffuse.G, float(diffuse.Value + 2 / 255.0));
  EXPECT_EQ(Form->stDiffuse->Color(), GLColorToColor(GLBrimloLogo->FPresetMaterial.Diffuse));
  Show();
  EXPECT_FLOAT_EQ(float(GLCalls->Record().Value(FindRow(GL_DIFFUSE, -1, GL_BACK))[1]),
                  GLBrimloLogo->FPresetMaterial.Diffuse.G);
  // The presets hold no emission: that number is fixed here.
  EXPECT_FALSE(GLCalls->IsEditable(FindCell(
      [](const TGLCallsCell& c) { return c.Rule && c.Rule->Edit == TEdit::MaterialEmission; })));
  GLBrimloLogo->FPresetMaterial = preset;
  // The cube last: its material is the program's own.
  ShowOnly({Form->ckbxShowCube});
  Show();
  EXPECT_FALSE(GLCalls->IsEditable(CellOf(TEdit::Shininess)));
  ShowOnly({Form->ckbxShowCube, Form->ckbxShowLights, Form->ckbxRobot});
}
