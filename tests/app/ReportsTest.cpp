// The information reports: each text byte for byte (lone CR line breaks), the values the window's
// buttons gather at the moment of the click, and the program's message box that shows them.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <functional>

#include "ManageOpgl.h"
#include "Messages.h"
#include "OpglLight.h"
#include "Reports.h"
#include "WindowFixture.h"

namespace {

// Sizes as "Volume Info" prints them.
QString Sizes(const TGLView& V) {
  return QString::asprintf("%.2f, %.2f, %.2f", double(V.Right) - V.Left, double(V.Top) - V.Bottom,
                           double(V.Far) - V.Near);
}

TVolumeSize Size(double W, double H, double D) {
  return {W, H, D};
}

// What the program's message box showed, read while it is open and then closed with OK.
struct TShownBox {
  bool Shown = false;
  QString Title, Text;
  QMessageBox::Icon Icon = QMessageBox::Information;
  QMessageBox::StandardButtons Buttons;
  int ButtonCount = 0;
  Qt::TextFormat Format = Qt::AutoText;
  QRect Frame, OkButton, Screen;
  bool Scrolls = false;
};

// Runs Action with the program's own message box as the message handler; the box is read and
// closed with its OK button as soon as it is up.
TShownBox ShowThroughRealBox(const std::function<void()>& Action) {
  TShownBox seen;
  const TMessageHandler previous = SetMessageHandler(ShowMessageBox);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    poll.stop();
    seen.Shown = true;
    seen.Title = box->windowTitle();
    seen.Text = box->text();
    seen.Icon = box->icon();
    seen.Buttons = box->standardButtons();
    seen.ButtonCount = static_cast<int>(box->buttons().size());
    seen.Format = box->textFormat();
    seen.Frame = box->frameGeometry();
    seen.Screen = box->screen()->availableGeometry();
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
      seen.OkButton = QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size());
      seen.Scrolls = box->findChild<QScrollArea*>() != nullptr;
      ok->click();
    }
  });
  poll.start(20);
  Action();
  poll.stop();
  SetMessageHandler(previous);
  return seen;
}

}  // namespace

class ReportsTest : public WindowFixture {};

TEST(ReportTexts, EachReportKeepsItsLayoutByteForByte) {
  EXPECT_EQ(OpenGLInfoReport("Mesa", "llvmpipe", "1.1", "GL_A GL_B"),
            "Vendor:Mesa \r\rRender:llvmpipe \r\rVersion:1.1 \r\rExtensions:GL_A GL_B");
  // Strings OpenGL did not give show as empty texts.
  EXPECT_EQ(OpenGLInfoReport({}, {}, {}, {}), "Vendor: \r\rRender: \r\rVersion: \r\rExtensions:");
  // An extension list of thousands of characters arrives whole.
  const QString many = QStringLiteral("GL_ARB_x ").repeated(1000);
  EXPECT_TRUE(OpenGLInfoReport("v", "r", "1", many).endsWith("\rExtensions:" + many));

  EXPECT_EQ(StackDepthReport(32, 16, 0, 10),
            "Projection:32 \r\rModelView:16 \r\rColor Stack:0 \r\rTexture Stack:10");

  TVolumeReportData data;
  data.ActiveView = QStringLiteral("Front");
  data.Viewport[0] = 3, data.Viewport[1] = 4, data.Viewport[2] = 500, data.Viewport[3] = 400;
  data.Current = Size(1, 2, 3);
  data.User = Size(4, 5, 6);
  data.Front = Size(7, 8, 9);
  data.Back = Size(10, 11, 12);
  data.Top = Size(13, 14, 15);
  data.Bottom = Size(16, 17, 18);
  data.Left = Size(19, 20, 21);
  data.Right = Size(22.125, -0.004, 1e30);
  EXPECT_EQ(VolumeReport(data),
            "Act View: Front \rViewPort:(3,4,500,400)\r\r"
            "Global : VolumeW, VolumeH, VolumeZ\r"
            "-----------------------------------------------------\r"
            "Camera(Default): 1.00, 2.00, 3.00\r\r"
            "View Side : LocalVW, LocalVH, LocalVZ\r"
            "-----------------------------------------------------\r"
            "User View : 4.00, 5.00, 6.00\r\r"
            "Front View : 7.00, 8.00, 9.00\r"
            "Back View : 10.00, 11.00, 12.00\r\r"
            "Top View : 13.00, 14.00, 15.00\r"
            "Bottom View : 16.00, 17.00, 18.00\r\r"
            "Left View : 19.00, 20.00, 21.00\r"
            "Right View : 22.12, -0.00, 1000000000000000019884624838656.00\r\r");

  EXPECT_EQ(VectorAngleReport(GLPoint4f(5, 5, 5, 0), GLPoint4f(0, 0, 5, 0), 54.7356),
            "v1(5.00,5.00,5.00) ^ v2(0.00,0.00,5.00) \r\r Angle: 54.74");
  // Six numbers of 39 digits each still leave the whole text, angle included.
  const float big = 3e38f;
  const QString digits = QStringLiteral("300000000549775575777803994281145270272.00");
  const QString minus = "-" + digits;
  EXPECT_EQ(VectorAngleReport(GLPoint4f(big, big, big, 0), GLPoint4f(-big, -big, -big, 0), 180),
            "v1(" + digits + "," + digits + "," + digits + ") ^ v2(" + minus + "," + minus + "," +
                minus + ") \r\r Angle: 180.00");

  EXPECT_EQ(LightReport(7, "  Light Ambient :  (0.0, 0.0, 0.0, 1.0)\r"),
            "Light7 Info:\r\r  Light Ambient :  (0.0, 0.0, 0.0, 1.0)\r");
}

TEST(ReportTexts, KeyHelpHoldsTheChineseLinesAsUtf8) {
  const QByteArray expected =
      "F11: \xe5\x96\xae/\xe5\xa4\x9a\xe8\xa6\x96\xe6\xa1\x86\xe5\x88\x87\xe6\x8f\x9b\r\r"
      "glOrtho():  \r"
      "  \xe5\xb9\xb3\xe8\xa1\x8c\xe7\x84\xa1\xe9\x80\x8f\xe8\xa6\x96\xe7\x9a\x84 Volume "
      "\xe6\x8a\x95\xe5\xb0\x84,\xe7\x89\xa9\xe9\xab\x94\xe9\x95\xb7\xe5\xaf\xac\xe6\xaf\x94"
      "\xe9\x9a\xa8 View Volume \xe8\xae\x8a\xe5\xbd\xa2\r"
      "glFrustum():  \r"
      "  \xe5\xb9\xb3\xe8\xa1\x8c\xe6\x9c\x89\xe9\x80\x8f\xe8\xa6\x96\xe7\x9a\x84 Volume "
      "\xe6\x8a\x95\xe5\xb0\x84,\xe7\x89\xa9\xe9\xab\x94\xe9\x95\xb7\xe5\xaf\xac\xe6\xaf\x94"
      "\xe9\x9a\xa8 View Volume \xe8\xae\x8a\xe5\xbd\xa2\r"
      "glPerspective():  \r"
      "  \xe9\x80\x8f\xe8\xa6\x96\xe6\x8a\x95\xe5\xb0\x84,\xe7\x89\xa9\xe9\xab\x94\xe9\x95\xb7"
      "\xe5\xaf\xac\xe6\xaf\x94\xe4\xb8\x8d\xe9\x9a\xa8 View Volume \xe8\xae\x8a\xe5\xbd\xa2\r\r"
      "V: Volume Mode\r\r"
      "P: Polygon Mode\r\r"
      "B: Blend On/Off\r\r"
      "I/O: Move(Eye) In/Out\r\r"
      "Q/W: Volume Size Scale Up/Dn\r\r"
      "XYZ: X,Y,Z rotation\r\r"
      "H: Show/Hide\r\r"
      "Space: Pause\r\r"
      "R: Reverse\r\r"
      "A/S: Scale Up/Dn Objects\r\r"
      "M/N: Speed Up/Dn\r\r";
  EXPECT_EQ(KeyHelpReport().toUtf8(), expected);
  // Characters, not bytes: the first line is 12 characters long.
  EXPECT_EQ(KeyHelpReport().indexOf(QChar(13)), 12);
}

TEST_F(ReportsTest, OpenGLInfoAndStackNumReportTheLiveContext) {
  Form->BitBtn1->click();
  ASSERT_EQ(Answers.Messages.size(), 1);
  const QString info = Answers.Messages[0];
  const auto text = [](GLenum Name) {
    return QString::fromLatin1(reinterpret_cast<const char*>(glGetString(Name)));
  };
  EXPECT_EQ(info, "Vendor:" + text(GL_VENDOR) + " \r\rRender:" + text(GL_RENDERER) +
                      " \r\rVersion:" + text(GL_VERSION) +
                      " \r\rExtensions:" + text(GL_EXTENSIONS));
  EXPECT_GT(info.size(), 1000);
  EXPECT_FALSE(info.contains('\n'));

  Form->BitBtn2->click();
  ASSERT_EQ(Answers.Messages.size(), 2);
  GLint projection = 0, modelview = 0, texture = 0;
  glGetIntegerv(GL_MAX_PROJECTION_STACK_DEPTH, &projection);
  glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &modelview);
  glGetIntegerv(GL_MAX_TEXTURE_STACK_DEPTH, &texture);
  ASSERT_GT(projection, 0);
  EXPECT_EQ(Answers.Messages[1], QString::asprintf("Projection:%d \r\rModelView:%d \r\rColor "
                                                   "Stack:0 \r\rTexture Stack:%d",
                                                   projection, modelview, texture));

  // The depths come from the render-state manager, each in its own place.
  TGLManager& manager = *GLManager;
  const int32_t kept[] = {manager.FMaxProjectionStack, manager.FMaxModelviewStack,
                          manager.FMaxTextureStack};
  manager.FMaxProjectionStack = 11;
  manager.FMaxModelviewStack = 22;
  manager.FMaxTextureStack = 44;
  Form->BitBtn2->click();
  manager.FMaxProjectionStack = kept[0];
  manager.FMaxModelviewStack = kept[1];
  manager.FMaxTextureStack = kept[2];
  ASSERT_EQ(Answers.Messages.size(), 3);
  EXPECT_EQ(Answers.Messages[2],
            "Projection:11 \r\rModelView:22 \r\rColor Stack:0 \r\rTexture Stack:44");
}

TEST_F(ReportsTest, VolumeInfoNamesEachSelectedViewWithItsOwnViewportAndSizes) {
  // One viewport: the view chosen in "View Selectrion" is the one drawn and reported.
  Form->ckbxSinglePort->setChecked(true);
  const TGLView saved[] = {UserView, FrontView, BackView, RightView, LeftView, TopView, BottomView};
  TGLView* const views[] = {&UserView, &FrontView, &BackView,  &RightView,
                            &LeftView, &TopView,   &BottomView};
  float extra = 1;
  for (TGLView* view : views) view->Near -= extra++;  // each view its own depth
  const char* const names[] = {"User", "Front", "Back", "Right", "Left", "Top", "Bottom"};
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(names[i]);
    Answers.Messages.clear();
    Form->rdgpCurView->SetItemIndex(i);
    ASSERT_EQ(CurrentView, views[i]);
    Frame();
    Form->BitBtn3->click();
    ASSERT_EQ(Answers.Messages.size(), 1);
    const TGLView& v = *views[i];
    EXPECT_TRUE(Answers.Messages[0].startsWith(QString::asprintf(
        "Act View: %s \rViewPort:(%d,%d,%d,%d)\r\r", names[i], v.X, v.Y, v.Width, v.Height)))
        << Answers.Messages[0].left(60).toStdString();
    EXPECT_TRUE(Answers.Messages[0].contains("\rCamera(Default): " + Sizes(v) + "\r\r"));
  }
  Form->rdgpCurView->SetItemIndex(0);
  Form->ckbxSinglePort->setChecked(false);
  for (int i = 0; i < 7; ++i) *views[i] = saved[i];
}

TEST_F(ReportsTest, VolumeInfoGivesTheViewportLastSet) {
  // Seven views: User is current but Bottom is drawn last, so its cell is the GL viewport.
  ASSERT_FALSE(Form->ckbxSinglePort->isChecked());
  ASSERT_EQ(CurrentView, &UserView);
  // Every view its own sizes, so that a view printed in another's line shows.
  const TGLView saved[] = {UserView, FrontView, BackView, TopView, BottomView, LeftView, RightView};
  float extra = 1;
  for (TGLView* view :
       {&UserView, &FrontView, &BackView, &TopView, &BottomView, &LeftView, &RightView})
    view->Far += extra++;
  Frame();  // a frame drawn now, whatever the window's repaint throttling does
  Form->BitBtn3->click();
  ASSERT_EQ(Answers.Messages.size(), 1);
  const TGLView& b = BottomView;
  ASSERT_NE(b.X, UserView.X);
  const QString head =
      QString::asprintf("Act View: User \rViewPort:(%d,%d,%d,%d)\r\r", b.X, b.Y, b.Width, b.Height);
  const QString rule = QStringLiteral("-----------------------------------------------------\r");
  EXPECT_EQ(
      Answers.Messages[0],
      head + "Global : VolumeW, VolumeH, VolumeZ\r" + rule + "Camera(Default): " + Sizes(UserView) +
          "\r\rView Side : LocalVW, LocalVH, LocalVZ\r" + rule + "User View : " + Sizes(UserView) +
          "\r\rFront View : " + Sizes(FrontView) + "\rBack View : " + Sizes(BackView) +
          "\r\rTop View : " + Sizes(TopView) + "\rBottom View : " + Sizes(BottomView) +
          "\r\rLeft View : " + Sizes(LeftView) + "\rRight View : " + Sizes(RightView) + "\r\r");

  // One viewport: the current view's own rectangle, and the current view's sizes on top.
  Form->ckbxSinglePort->setChecked(true);
  Form->rdgpCurView->SetItemIndex(5);
  ASSERT_EQ(CurrentView, &TopView);
  Frame();
  Form->BitBtn3->click();
  ASSERT_EQ(Answers.Messages.size(), 2);
  EXPECT_TRUE(Answers.Messages[1].startsWith(
      QString::asprintf("Act View: Top \rViewPort:(%d,%d,%d,%d)\r\r", TopView.X, TopView.Y,
                        TopView.Width, TopView.Height)))
      << Answers.Messages[1].toStdString();
  EXPECT_TRUE(Answers.Messages[1].contains("\rCamera(Default): " + Sizes(TopView) + "\r\r"));
  EXPECT_EQ(TopView.X, 3);

  Form->rdgpCurView->SetItemIndex(0);
  Form->ckbxSinglePort->setChecked(false);
  UserView = saved[0], FrontView = saved[1], BackView = saved[2], TopView = saved[3];
  BottomView = saved[4], LeftView = saved[5], RightView = saved[6];
}

TEST_F(ReportsTest, VectorAngleReadsTheEditsOrStopsAtABadNumber) {
  QLineEdit* edits[] = {Form->edX1, Form->edy1, Form->edz1, Form->edx2, Form->edy2, Form->edz2};
  const char* start[] = {"5.0", "5.0", "5.0", "0.0", "0.0", "5.0"};
  for (int i = 0; i < 6; ++i) edits[i]->setText(start[i]);
  Form->BitBtn4->click();
  ASSERT_EQ(Answers.Messages.size(), 1);
  EXPECT_EQ(Answers.Messages[0], "v1(5.00,5.00,5.00) ^ v2(0.00,0.00,5.00) \r\r Angle: 54.74");

  // The operands are read at the click.
  Form->edx2->setText("-5");
  Form->edy2->setText("-5");
  Form->edz2->setText("-5");
  Form->BitBtn4->click();
  ASSERT_EQ(Answers.Messages.size(), 2);
  EXPECT_EQ(Answers.Messages[1], "v1(5.00,5.00,5.00) ^ v2(-5.00,-5.00,-5.00) \r\r Angle: 180.00");

  // Not a number: only the conversion message.
  Form->edz1->setText("5,x");
  Form->BitBtn4->click();
  ASSERT_EQ(Answers.Messages.size(), 3);
  EXPECT_EQ(Answers.Messages[2], "'5,x' is not a valid floating point value");
  for (int i = 0; i < 6; ++i) edits[i]->setText(start[i]);
}

TEST_F(ReportsTest, BothLightButtonsReportTheLightSelectedOnTheLighterTab) {
  Form->ckbxLights->SetItemIndex(3);
  Form->btnLightColor->click();
  Form->btnMtColor->click();
  ASSERT_EQ(Answers.Messages.size(), 2);
  const QString info = GLLighter->GetLightInfo(GL_LIGHT3);
  EXPECT_EQ(info.count(QChar(13)), 10);
  EXPECT_EQ(Answers.Messages[0], "Light3 Info:\r\r" + info);
  EXPECT_EQ(Answers.Messages[1], Answers.Messages[0]);
  EXPECT_FALSE(Answers.Messages[0].contains('\n'));

  // The material tab's button names the lighter's selection, whatever material is chosen.
  Form->ckbxLights->SetItemIndex(0);
  Form->lbxOtherMaterials->setCurrentRow(5);
  Form->btnMtColor->click();
  ASSERT_EQ(Answers.Messages.size(), 3);
  EXPECT_EQ(Answers.Messages[2], "Light0 Info:\r\r" + GLLighter->GetLightInfo(GL_LIGHT0));

  // Nothing selected: no report.
  Form->ckbxLights->SetItemIndex(-1);
  Form->btnLightColor->click();
  Form->btnMtColor->click();
  EXPECT_EQ(Answers.Messages.size(), 3);
  Form->ckbxLights->SetItemIndex(0);
}

TEST_F(ReportsTest, KeyHelpGoesToTheMessageBox) {
  Form->ShowKeyHelp();
  ASSERT_EQ(Answers.Messages.size(), 1);
  EXPECT_EQ(Answers.Messages[0], KeyHelpReport());
}

TEST_F(ReportsTest, TheProgramsBoxHasNoIconOnlyOkAndShowsEachCrAsALineBreak) {
  const TShownBox stack = ShowThroughRealBox([] { Form->BitBtn2->click(); });
  ASSERT_TRUE(stack.Shown);
  EXPECT_FALSE(stack.Title.isEmpty());
  EXPECT_EQ(stack.Title, QApplication::applicationName());
  EXPECT_EQ(stack.Icon, QMessageBox::NoIcon);
  EXPECT_EQ(stack.Buttons, QMessageBox::Ok);
  EXPECT_EQ(stack.ButtonCount, 1);
  EXPECT_EQ(stack.Format, Qt::PlainText);
  EXPECT_EQ(stack.Text,
            QString::asprintf("Projection:%d \n\nModelView:%d \n\nColor Stack:0 "
                              "\n\nTexture Stack:%d",
                              GLManager->FMaxProjectionStack, GLManager->FMaxModelviewStack,
                              GLManager->FMaxTextureStack));
  EXPECT_FALSE(stack.Scrolls);
  EXPECT_TRUE(Answers.Messages.isEmpty());  // the box, not the test's handler, showed it

  // The extension list would make the box taller than the screen: it scrolls, OK stays on it.
  const TShownBox info = ShowThroughRealBox([] { Form->BitBtn1->click(); });
  ASSERT_TRUE(info.Shown);
  EXPECT_TRUE(info.Scrolls);
  EXPECT_TRUE(info.Text.startsWith("Vendor:"));
  EXPECT_LE(info.Frame.height(), info.Screen.height());
  EXPECT_TRUE(info.Screen.contains(info.OkButton)) << info.OkButton.y();

  // A CR/LF pair is one break, and markup is shown as it stands.
  const TShownBox plain = ShowThroughRealBox([] { ShowMessage("<b>1</b>\r\n2\r3"); });
  EXPECT_EQ(plain.Text, "<b>1</b>\n2\n3");
  EXPECT_EQ(plain.Format, Qt::PlainText);
}
