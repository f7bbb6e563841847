// The program's shut-down when the settings file cannot be written: one message naming the
// file, whichever objects fail to save; after SIGTERM or SIGINT messages go to standard error
// instead of a box that nobody is there to dismiss.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "AppPaths.h"
#include "Messages.h"
#include "SignalQuit.h"
#include "TestFiles.h"
#include "Units.h"
#include "frmOpgl.h"

TEST(Shutdown, AFileThatCannotBeWrittenIsOneMessageNamingIt) {
  QTemporaryDir dir;
  WriteAll(dir.filePath("plain"), "x");
  const QString unwritable = dir.filePath("plain/OpglProject.ini");
  AppPaths::SetSettingsFileName(unwritable);
  QStringList messages;
  const TMessageHandler previous =
      SetMessageHandler([&](const QString& Text) { messages << Text; });
  UnitStartup();
  auto* form = new TMainForm();
  MainForm = form;
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form)) << "no display: run under xvfb-run";
  {
    // As the program ends: the window's colour lists and every unit save.
    const TMessageBatch oneMessageEach;
    MainForm = nullptr;
    delete form;
    UnitShutdown();
    EXPECT_TRUE(messages.isEmpty());
  }
  SetMessageHandler(previous);
  AppPaths::SetSettingsFileName(QString());
  EXPECT_EQ(messages, QStringList({"Unable to write to " + unwritable}));
}

TEST(Shutdown, ATerminationSignalSendsTheMessagesToStandardError) {
  QStringList boxes;
  const TMessageHandler previous = SetMessageHandler([&](const QString& Text) { boxes << Text; });
  QuitOnTerminationSignals();
  QWidget window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ShowMessage(QStringLiteral("before"));
  std::raise(SIGTERM);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000))
      << "the signal closes the windows";
  ShowMessage(QStringLiteral("after"));
  EXPECT_EQ(boxes, QStringList({"before"}));
  SetMessageHandler(previous);
}
