// F12 saves the rendering surface, all its views as shown, as a PNG picture of the surface's
// device pixels; a failed write says so and leaves no file and no half-written picture.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QLineEdit>
#include <QTest>
#include <csignal>

#include "TestFiles.h"
#include "WindowFixture.h"

namespace {

// F12 on whatever has the focus (the window itself when nothing has).
void PressF12() {
  QWidget* target = QApplication::focusWidget();
  QTest::keyClick(target ? target : Form, Qt::Key_F12);
}

QImage Rgb(const QImage& Picture) {
  return Picture.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class ViewPictureTest : public WindowFixture {};

TEST_F(ViewPictureTest, F12SavesEveryViewAtTheSurfacesDevicePixelSize) {
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
  const QString name = TempPath(QStringLiteral("views.png"));
  Answers.SavePictureName = name;
  // The key works wherever the focus is; the edit that holds it gets nothing typed.
  Form->edX1->setFocus();
  const QString text = Form->edX1->text();
  const int frames = Form->FramesRequested;
  PressF12();
  EXPECT_GT(Form->FramesRequested, frames) << "the window repaints after the key";
  EXPECT_EQ(Form->edX1->text(), text);
  ASSERT_EQ(Answers.SaveSuggested.size(), 1);
  EXPECT_TRUE(Answers.SaveSuggested[0].endsWith(QStringLiteral(".png")));
  EXPECT_TRUE(Answers.Messages.isEmpty()) << Answers.Messages.join('|').toStdString();

  QImageReader reader(name);
  EXPECT_EQ(reader.format(), "png");
  const QImage saved = reader.read();
  ASSERT_FALSE(saved.isNull());
  const qreal ratio = Form->pbGL->devicePixelRatioF();
  // ViewPictureTestHiDPI runs this at twice the size: the picture has the device pixels.
  if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
    EXPECT_DOUBLE_EQ(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
  }
  EXPECT_EQ(saved.size(),
            QSize(qRound(Form->pbGL->width() * ratio), qRound(Form->pbGL->height() * ratio)));
  const QImage frame = Rgb(Frame());
  EXPECT_EQ(saved.size(), frame.size());
  EXPECT_TRUE(Rgb(saved) == frame) << "the picture is not the frame shown";

  // The next picture is suggested where the last one went.
  Answers.SavePictureChosen = false;
  PressF12();
  ASSERT_EQ(Answers.SaveSuggested.size(), 2);
  EXPECT_EQ(Answers.SaveSuggested[1], name);
}

TEST_F(ViewPictureTest, CancelledDialogWritesNothing) {
  Answers.SavePictureChosen = false;
  Answers.SavePictureName = TempPath(QStringLiteral("cancelled.png"));
  PressF12();
  EXPECT_EQ(Answers.SaveSuggested.size(), 1);
  EXPECT_FALSE(QFile::exists(Answers.SavePictureName));
  EXPECT_TRUE(Answers.Messages.isEmpty());
}

TEST_F(ViewPictureTest, FailedWriteSaysSoAndLeavesTheOldFileWhole) {
  // A folder that does not exist.
  const QString nowhere = TempPath(QStringLiteral("missing/views.png"));
  Answers.SavePictureName = nowhere;
  PressF12();
  EXPECT_EQ(Answers.Messages, QStringList({"Unable to write to " + nowhere}));
  EXPECT_FALSE(QFile::exists(nowhere));

  // A disk that fills up part-way: the picture already there stays as it was, and no
  // temporary file is left beside it.
  const QString folder = TempPath(QStringLiteral("full"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString name = folder + QStringLiteral("/views.png");
  WriteAll(name, "the picture saved before");
  Answers.Messages.clear();
  Answers.SavePictureName = name;
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 2000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  PressF12();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldSignal);
  EXPECT_EQ(Answers.Messages, QStringList({"Unable to write to " + name}));
  EXPECT_EQ(ReadAll(name), "the picture saved before");
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({"views.png"}));
}
