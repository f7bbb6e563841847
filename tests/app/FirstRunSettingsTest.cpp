// A first run of the whole window, with nothing opened but the main window: the settings file
// it leaves holds the same sections, keys and values as the program wrote before the
// "GL Calls" window existed, plus that window's own section.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "AppPaths.h"
#include "TestFiles.h"
#include "Units.h"
#include "frmOpgl.h"

namespace {

// The settings text with the values that differ between runs and machines (paths, times, the
// executable's version) replaced by '*', and the sections named in Without left out.
QString Masked(const QByteArray& Text, const QStringList& Without) {
  static const QStringList volatileKeys = {
      QStringLiteral("FProjectName"),     QStringLiteral("mApplicationName"),
      QStringLiteral("mApplicationPath"), QStringLiteral("Create Time"),
      QStringLiteral("Last Access"),      QStringLiteral("Last Write"),
      QStringLiteral("Version"),          QStringLiteral("Date"),
      QStringLiteral("FCurrentUser")};
  static const QRegularExpression header(QStringLiteral("^\\[(.*)\\]$"));
  QStringList out;
  bool skipping = false;
  for (const QString& raw : QString::fromUtf8(Text).split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    const auto section = header.match(line);
    if (section.hasMatch()) skipping = Without.contains(section.captured(1));
    if (skipping) continue;
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals > 0 && volatileKeys.contains(line.left(equals)))
      out << line.left(equals + 1) + QLatin1Char('*');
    else
      out << line;
  }
  while (!out.isEmpty() && out.back().isEmpty()) out.pop_back();
  return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

}  // namespace

TEST(FirstRunSettingsTest, SpecifiedSectionsAreWrittenAsBefore) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("OpglProject.ini"));
  AppPaths::SetSettingsFileName(file);
  const QString oldFolder = QDir::currentPath();
  const QString bin = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
  if (QDir(bin + QStringLiteral("/Data")).exists()) QDir::setCurrent(bin);
  UnitStartup();
  {
    TMainForm form;
    MainForm = &form;
    form.setWindowState(Qt::WindowNoState);
    form.resize(900, 700);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form)) << "no display: run under xvfb-run";
    QTest::qWait(100);
    MainForm = nullptr;
  }
  UnitShutdown();
  QDir::setCurrent(oldFolder);
  AppPaths::SetSettingsFileName(QString());

  const QString written = Masked(ReadAll(file), {QStringLiteral("TGLCallsWindow")});
  const QString before =
      Masked(ReadAll(QStringLiteral(OPGL_TEST_DATA "/FirstRunSettings.ini")), {});
  if (!qEnvironmentVariableIsEmpty("OPGL_SHOW_FIRST_RUN")) printf("%s", qPrintable(written));
  EXPECT_EQ(written.toStdString(), before.toStdString());
}
