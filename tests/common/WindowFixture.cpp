#include "WindowFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "AppPaths.h"
#include "Messages.h"
#include "Units.h"

TMainForm* Form = nullptr;

namespace {
std::unique_ptr<QTemporaryDir> SettingsDir;
QString OldFolder;
TMessageHandler OldMessages;
}  // namespace

void WindowFixture::SetUpTestSuite() {
  SettingsDir = std::make_unique<QTemporaryDir>();
  AppPaths::SetSettingsFileName(SettingsDir->filePath(QStringLiteral("OpglProject.ini")));
  // The start-up textures are copied beside the program.
  OldFolder = QDir::currentPath();
  const QString bin = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
  if (QDir(bin + QStringLiteral("/Data")).exists()) QDir::setCurrent(bin);
  UnitStartup();
  Form = new TMainForm();
  MainForm = Form;
  Form->setWindowState(Qt::WindowNoState);
  Form->resize(900, 700);
  Form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form)) << "no display: run under xvfb-run";
  QTest::qWait(50);
}

void WindowFixture::TearDownTestSuite() {
  delete Form;
  Form = nullptr;
  MainForm = nullptr;
  UnitShutdown();
  QDir::setCurrent(OldFolder);
  AppPaths::SetSettingsFileName(QString());
  SettingsDir.reset();
}

void WindowFixture::SetUp() {
  ASSERT_NE(Form, nullptr);
  Form->Timer->stop();
  Form->Dialogs.Confirm = [this](const QString& Text) {
    Answers.Asked << Text;
    return Answers.Confirm;
  };
  Form->Dialogs.ChooseColor = [this](TColor& Chosen) {
    ++Answers.ColorDialogs;
    if (Answers.ColorChosen) Chosen = Answers.Color;
    return Answers.ColorChosen;
  };
  Form->Dialogs.ChoosePicture = [this](QFileDialog*, TPictureDialog& Request) {
    Answers.LastPicture = Request;
    if (!Answers.PictureChosen) return false;
    Request.FileName = Answers.FileName;
    Request.FilterIndex = Answers.FilterIndex;
    return true;
  };
  Form->Dialogs.ChooseSavePicture = [this](QString& FileName) {
    Answers.SaveSuggested << FileName;
    if (!Answers.SavePictureChosen) return false;
    FileName = Answers.SavePictureName;
    return true;
  };
  OldMessages = SetMessageHandler([this](const QString& Text) { Answers.Messages << Text; });
}

void WindowFixture::TearDown() {
  SetMessageHandler(OldMessages);
  if (Form) Form->Dialogs = RealDialogs(Form, Form->ColorDialog1);
}

QImage WindowFixture::Frame() {
  Form->Repaint();
  return Form->pbGL->grabFramebuffer();
}

void WindowFixture::ShowOnly(std::initializer_list<QCheckBox*> Boxes) {
  for (QCheckBox* box : Form->grpDisplay->findChildren<QCheckBox*>()) box->setChecked(false);
  for (QCheckBox* box : Boxes) box->setChecked(true);
}

QString WindowFixture::TempPath(const QString& Name) {
  return SettingsDir->filePath(Name);
}
