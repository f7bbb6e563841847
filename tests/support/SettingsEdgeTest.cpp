// Settings values at their edges: signs, long hexadecimal forms, huge date-times, a save of a
// file full of blank lines, a save that the disk refuses, and the stale keys a run clears.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <csignal>
#include <limits>

#include "AppPaths.h"
#include "IniFile.h"
#include "RunBatch.h"
#include "ValueText.h"

namespace {

QByteArray ReadAll(const QString& Name) {
  QFile file(Name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& Name, const QByteArray& Bytes) {
  QFile file(Name);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(Bytes), Bytes.size());
}

}  // namespace

TEST(SettingsEdgeTest, SignsAndLongHexadecimalForms) {
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("edge.ini"));
  WriteAll(name,
           "[S]\nminus=-1\nminusTwo=-2\nminusZero=-0\nplus=+1\nzeros=$000000000010\n"
           "zerosAll=0x0000000FFFFFFFF\nnine=$100000000\nnineZeros=0X0000000000\n"
           "minusHex=-$10\nlonely=-\n");
  TIniFile ini(name);
  // Any non-zero value is true, whatever its sign.
  EXPECT_TRUE(ini.ReadBool("S", "minus", false));
  EXPECT_TRUE(ini.ReadBool("S", "minusTwo", false));
  EXPECT_FALSE(ini.ReadBool("S", "minusZero", true));
  EXPECT_TRUE(ini.ReadBool("S", "plus", false));
  EXPECT_TRUE(ini.ReadBool("S", "lonely", true));  // the default
  EXPECT_FALSE(ini.ReadBool("S", "lonely", false));
  EXPECT_EQ(ini.ReadInteger("S", "minus", 0), -1);
  // Leading zeros beyond eight digits still read as the value; nine significant digits do not.
  EXPECT_EQ(ini.ReadInteger("S", "zeros", 7), 16);
  EXPECT_EQ(ini.ReadInteger("S", "zerosAll", 7), -1);
  EXPECT_EQ(ini.ReadInteger("S", "nine", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "nineZeros", 7), 0);
  EXPECT_EQ(ini.ReadInteger("S", "minusHex", 7), -16);
}

TEST(SettingsEdgeTest, DateTimesOutsideTheCalendarAreHeldAtItsEnds) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ValueText::ToQDateTime(1e300).date(), QDate(9999, 12, 31));
  EXPECT_EQ(ValueText::ToQDateTime(inf).date(), QDate(9999, 12, 31));
  EXPECT_EQ(ValueText::ToQDateTime(-1e300).date(), QDate(1, 1, 1));
  EXPECT_EQ(ValueText::ToQDateTime(-inf).date(), QDate(1, 1, 1));
  EXPECT_EQ(ValueText::ToQDateTime(nan), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
  EXPECT_FALSE(ValueText::DateTimeToStr(1e300).isEmpty());
  // Inside the range nothing changes: day 2 at six in the morning.
  EXPECT_EQ(ValueText::ToQDateTime(2.25), QDateTime(QDate(1900, 1, 1), QTime(6, 0)));
}

// Runs of blank lines shrink to one and the file ends with a line break; a file of hundreds of
// kilobytes of comments between blank lines saves like any other.
TEST(SettingsEdgeTest, SaveCollapsesBlankLinesInOnePass) {
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("blank.ini"));
  QByteArray text = "[A]\nk=1\n\n\n\n\n[B]\nk=2";
  QByteArray comments;
  for (int i = 0; i < 40000; ++i) comments += ";c\n\n\n";
  WriteAll(name, text + "\n\n\n\n" + comments + "[C]\nk=3\n");
  {
    TIniFile ini(name);
    ini.WriteInteger("B", "k", 5);
    ini.UpdateFile();
  }
  const QByteArray saved = ReadAll(name);
  EXPECT_FALSE(saved.contains("\n\n\n"));
  EXPECT_TRUE(saved.startsWith("[A]\nk=1\n\n[B]\nk=5\n"));
  EXPECT_TRUE(saved.endsWith("k=3\n"));
  TIniFile again(name);
  EXPECT_EQ(again.ReadInteger("C", "k", 0), 3);
}

// The disk refuses the write (the process may not grow a file past a few bytes, as on a full
// file system): the save reports the file and the previous file stays whole.
TEST(SettingsEdgeTest, FullDiskKeepsThePreviousFile) {
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("full.ini"));
  const QByteArray before = "[Keep]\nkey=old value\n";
  WriteAll(name, before);
  TIniFile ini(name);
  ini.WriteString("Keep", "key", QString(4096, 'x'));
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 512;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  QString message;
  try {
    ini.UpdateFile();
  } catch (const EIniFileException& e) {
    message = e.Message();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(message, QStringLiteral("Unable to write to %1").arg(name));
  EXPECT_EQ(ReadAll(name), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"full.ini"}));
}

// A run without a debugger clears the project keys an earlier run left, up to the 256th of
// each list; keys beyond the lists are not the runner's and stay.
TEST(SettingsEdgeTest, StaleProjectKeysAreClearedToTheLast) {
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("stale.ini"));
  AppPaths::SetSettingsFileName(name);
  WriteAll(name,
           "[Project Info]\nFFullProjectSearchPaths0=a\nFFullProjectSearchPaths255=b\n"
           "FFullProjectSearchPaths256=c\n[Delphi IDE Info]\nFDelphiSearchPaths255=d\n"
           "FDelphiSearchPaths256=e\n[Talven Units]\nU0=f\nU255=g\nU256=h\n");
  TBatchRunner::Create();
  TBatchRunner::ReleaseInstance();
  AppPaths::SetSettingsFileName(QString());
  TIniFile ini(name);
  for (const auto& [section, key] : {std::pair{"Project Info", "FFullProjectSearchPaths0"},
                                     {"Project Info", "FFullProjectSearchPaths255"},
                                     {"Delphi IDE Info", "FDelphiSearchPaths255"},
                                     {"Talven Units", "U0"},
                                     {"Talven Units", "U255"}})
    EXPECT_FALSE(ini.ValueExists(section, key)) << key;
  EXPECT_EQ(ini.ReadString("Project Info", "FFullProjectSearchPaths256", ""), "c");
  EXPECT_EQ(ini.ReadString("Delphi IDE Info", "FDelphiSearchPaths256", ""), "e");
  EXPECT_EQ(ini.ReadString("Talven Units", "U256", ""), "h");
}
