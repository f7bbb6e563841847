#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>

#include "AppPaths.h"
#include "FileOP.h"
#include "IniFile.h"
#include "RunBatch.h"
#include "TestFiles.h"
#include "ValueText.h"

namespace {

constexpr double Second = 1.0 / 86400.0;

TDateTime LocalDateTime(QDate Date, int Hour, int Minute, int Sec) {
  return static_cast<double>(QDate(1899, 12, 30).daysTo(Date)) +
         (Hour * 3600 + Minute * 60 + Sec) * Second;
}

// Sets the last-write time to a local wall-clock time.
void SetWritten(const QString& Name, const QDateTime& Local) {
  const timespec times[2] = {{Local.toSecsSinceEpoch(), 0}, {Local.toSecsSinceEpoch(), 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(Name).constData(), times, 0), 0);
}

mode_t Mode(const QString& Name) {
  struct stat st {};
  ::stat(QFile::encodeName(Name).constData(), &st);
  return st.st_mode & 07777;
}

class FileOPTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  TFileOpEX* Files = nullptr;
  void SetUp() override {
    AppPaths::SetSettingsFileName(Dir.filePath("test.ini"));
    TBatchRunner::Create();
    Files = TFileOpEX::Create();
  }
  void TearDown() override {
    TFileOpEX::ReleaseInstance();
    TBatchRunner::ReleaseInstance();
    TBatchRunner::SetEnvironment({});
    AppPaths::SetSettingsFileName(QString());
  }
  QString Path(const QString& Name) const { return Dir.filePath(Name); }
};

}  // namespace

TEST_F(FileOPTest, RunningExecutableTimesComeFromATemporaryCopyThatIsGone) {
  const QString exe = AppPaths::ExecutablePath();
  EXPECT_TRUE(Files->IsFileLocked(exe));  // a running program cannot be opened for writing
  TDateTime created = -1, accessed = -1, written = -1;
  ASSERT_TRUE(Files->GetFileTimes(exe, created, accessed, written));
  const QString copy = Files->TempCopyName();
  EXPECT_TRUE(copy.startsWith(QDir::tempPath() + '/')) << copy.toStdString();
  EXPECT_FALSE(QFileInfo::exists(copy));
  EXPECT_TRUE(QDir(QDir::tempPath())
                  .entryList({QFileInfo(copy).fileName() + "*"}, QDir::Files | QDir::Hidden)
                  .isEmpty());
  EXPECT_TRUE(QDir(QDir::tempPath())
                  .entryList({"." + QFileInfo(copy).fileName() + "*"}, QDir::Files | QDir::Hidden)
                  .isEmpty());
  // The copy keeps the executable's last-write time; it was itself made just now.
  const QDateTime modified = QFileInfo(exe).lastModified();
  const TDateTime expected =
      LocalDateTime(modified.date(), modified.time().hour(), modified.time().minute(),
                    modified.time().second() / 2 * 2);
  EXPECT_NEAR(written, expected, 0.1 * Second);
  EXPECT_NEAR(created, ValueText::Now(), 120 * Second);
  EXPECT_NEAR(accessed, ValueText::Now(), 120 * Second);
}

TEST_F(FileOPTest, PlainFileTimesInTwoSecondStepsAndReadOnlyCleared) {
  const QString name = Path("plain.dat");
  WriteAll(name, "data");
  SetWritten(name, QDateTime(QDate(2024, 5, 6), QTime(10, 15, 33)));
  Files->SetFileAttr(name, 0);
  ASSERT_EQ(Mode(name) & S_IWUSR, 0u);
  EXPECT_FALSE(Files->IsFileLocked(name));

  TDateTime created = -1, accessed = -1, written = -1;
  ASSERT_TRUE(Files->GetFileTimes(name, created, accessed, written));
  EXPECT_TRUE(Files->TempCopyName().isEmpty());  // read in place, no copy
  EXPECT_NEAR(written, LocalDateTime(QDate(2024, 5, 6), 10, 15, 32), 0.1 * Second);
  EXPECT_NEAR(accessed, written, 0.1 * Second);
  EXPECT_NEAR(created, ValueText::Now(), 120 * Second);
  EXPECT_NE(Mode(name) & S_IWUSR, 0u);  // the read-only attribute stays cleared
  EXPECT_EQ(ReadAll(name), "data");

  // Outside the DOS years an output keeps its value; the others are still converted.
  SetWritten(name, QDateTime(QDate(1975, 1, 1), QTime(12, 0)));
  written = -7;
  ASSERT_TRUE(Files->GetFileTimes(name, created, accessed, written));
  EXPECT_EQ(written, -7);
  EXPECT_NEAR(created, ValueText::Now(), 120 * Second);
  SetWritten(name, QDateTime(QDate(2108, 1, 1), QTime(12, 0)));
  ASSERT_TRUE(Files->GetFileTimes(name, created, accessed, written));
  EXPECT_EQ(written, -7);
  SetWritten(name, QDateTime(QDate(2107, 12, 31), QTime(23, 59, 59)));
  ASSERT_TRUE(Files->GetFileTimes(name, created, accessed, written));
  EXPECT_NEAR(written, LocalDateTime(QDate(2107, 12, 31), 23, 59, 58), 0.1 * Second);

  created = accessed = written = -3;
  EXPECT_FALSE(Files->GetFileTimes(Path("missing.dat"), created, accessed, written));
  EXPECT_FALSE(Files->GetFileTimes(QString(), created, accessed, written));
  EXPECT_FALSE(Files->GetFileTimes(Dir.path(), created, accessed, written));  // a folder
  EXPECT_EQ(written, -3);
}

TEST_F(FileOPTest, VersionReadFromTheFileItself) {
  QString text = "stale";
  ASSERT_TRUE(Files->GetFileVersionText(OPGL_SAMPLE_FIXED, text));
  EXPECT_EQ(text, "1.2.3.4");  // no string table: the fixed version
  uint16_t major = 0, minor = 0, release = 0, build = 0;
  ASSERT_TRUE(Files->GetFileVersionNumbers(OPGL_SAMPLE_FIXED, major, minor, release, build));
  EXPECT_EQ(std::vector<int>({major, minor, release, build}), std::vector<int>({1, 2, 3, 4}));

  ASSERT_TRUE(Files->GetFileVersionText(OPGL_SAMPLE_TEXT, text));
  EXPECT_EQ(text, "5.6 beta \"two\"");  // the file-version string wins
  ASSERT_TRUE(Files->GetFileVersionNumbers(OPGL_SAMPLE_TEXT, major, minor, release, build));
  EXPECT_EQ(std::vector<int>({major, minor, release, build}), std::vector<int>({5, 6, 7, 8}));

  ASSERT_TRUE(Files->GetFileVersionText(OPGL_PROGRAM, text));
  EXPECT_EQ(text, "1.0.0.0");

  // Files without our note: this test program, another format, nothing at all.
  EXPECT_FALSE(Files->GetFileVersionText(AppPaths::ExecutablePath(), text));
  EXPECT_TRUE(text.isEmpty());
  WriteAll(Path("notes.txt"), "not a program");
  EXPECT_FALSE(Files->GetFileVersionText(Path("notes.txt"), text));
  EXPECT_FALSE(Files->GetFileVersionText(Path("missing"), text));
  major = 9;
  EXPECT_FALSE(Files->GetFileVersionNumbers(Path("missing"), major, minor, release, build));
  EXPECT_EQ(major, 9);

  // Cut or scrambled copies of a program with a note never read past their end.
  const QByteArray sample = ReadAll(OPGL_SAMPLE_FIXED);
  ASSERT_GT(sample.size(), 4096);
  WriteAll(Path("cut"), sample.left(sample.size() / 2));
  EXPECT_FALSE(Files->GetFileVersionText(Path("cut"), text));
  // A note claiming more description bytes than its section holds is not believed.
  const qsizetype owner = sample.indexOf(QByteArray("OpglProject\0", 12));
  ASSERT_GE(owner, 12);
  QByteArray oversized = sample;
  const uint32_t claimed = 0x7FFFFFF0;
  oversized.replace(owner - 8, 4, reinterpret_cast<const char*>(&claimed), 4);
  WriteAll(Path("oversized"), oversized);
  EXPECT_FALSE(Files->GetFileVersionText(Path("oversized"), text));
  uint32_t state = 12345;
  for (int round = 0; round < 300; ++round) {
    QByteArray scrambled = sample;
    for (int i = 0; i < 8; ++i) {
      state = state * 134775813u + 1;
      // Mostly the ELF header and the section table at the end, where the offsets live.
      const qsizetype at = (i % 2) ? (state >> 8) % 64 : sample.size() - 1 - (state >> 8) % 2048;
      scrambled[at] = static_cast<char>(state >> 24);
    }
    WriteAll(Path("scrambled"), scrambled);
    Files->GetFileVersionText(Path("scrambled"), text);
  }
}

TEST_F(FileOPTest, AttributesLocksAndCopies) {
  const QString name = Path("file.txt");
  WriteAll(name, "first");
  ::chmod(QFile::encodeName(name).constData(), 0640);
  Files->SetFileAttr(name, 0);
  EXPECT_EQ(Mode(name), 0440u);
  for (int mode : {2, 3, 4, -1, 100}) {
    Files->SetFileAttr(name, mode);
    EXPECT_EQ(Mode(name), 0440u) << mode;
  }
  Files->SetFileAttr(name, 1);
  EXPECT_EQ(Mode(name), 0640u);
  for (int mode : {2, 3, 4}) {
    Files->SetFileAttr(name, mode);
    EXPECT_EQ(Mode(name), 0640u) << mode;
  }
  Files->SetFileAttr(Path("missing"), 0);  // nothing to do
  EXPECT_FALSE(QFileInfo::exists(Path("missing")));

  EXPECT_FALSE(Files->IsFileLocked(name));
  EXPECT_FALSE(Files->IsFileLocked(Path("missing")));
  EXPECT_TRUE(Files->IsFileLocked(Dir.path()));

  // Replaces a write-protected destination, keeps the last-write time, makes missing folders;
  // names far longer than 128 characters work.
  SetWritten(name, QDateTime(QDate(2020, 2, 29), QTime(8, 30, 17)));
  const QString longFolder = Path(QString(120, 'f') + "/" + QString(120, 'g'));
  const QString destination = longFolder + "/" + QString(200, 'd') + ".txt";
  ASSERT_TRUE(QDir().mkpath(longFolder));
  WriteAll(destination, "old contents");
  Files->SetFileAttr(destination, 0);
  ASSERT_TRUE(Files->ShellCopyFile(name, destination));
  EXPECT_EQ(ReadAll(destination), "first");
  EXPECT_EQ(QFileInfo(destination).lastModified(), QFileInfo(name).lastModified());
  EXPECT_EQ(QDir(longFolder).entryList(QDir::Files | QDir::Hidden).size(),
            1);  // nothing staged left
  ASSERT_TRUE(Files->ShellCopyFile(name, Path("new/deeper/copy.txt")));
  EXPECT_EQ(ReadAll(Path("new/deeper/copy.txt")), "first");

  // Failures keep what is there: a missing source, a file onto itself, a folder in the way.
  EXPECT_FALSE(Files->ShellCopyFile(Path("missing"), destination));
  EXPECT_EQ(ReadAll(destination), "first");
  EXPECT_FALSE(Files->ShellCopyFile(name, name));
  EXPECT_EQ(ReadAll(name), "first");
  ASSERT_TRUE(QDir().mkpath(Path("folder/inner")));
  EXPECT_FALSE(Files->ShellCopyFile(name, Path("folder")));
  EXPECT_TRUE(QFileInfo(Path("folder/inner")).isDir());
  EXPECT_FALSE(Files->ShellCopyFile(Path("folder"), destination));
  EXPECT_EQ(ReadAll(destination), "first");
}

TEST_F(FileOPTest, TheRunningDevelopmentEnvironmentIsNeitherCopiedNorRead) {
  // A development environment installed under Dir, its executable running.
  const QString root = Path("delphi7");
  ASSERT_TRUE(QDir().mkpath(root + "/Bin"));
  const QString ide = root + "/Bin/Delphi32.exe";
  ASSERT_TRUE(QFile::copy("/bin/sleep", ide));
  TFileOpEX::ReleaseInstance();
  TBatchRunner::ReleaseInstance();
  // Shared, because the environment outlives this body: the tear-down still asks it.
  const auto debugger = std::make_shared<bool>(true);
  TBatchRunner::SetEnvironment({[debugger] { return *debugger; },
                                [root](const QString& key, const QString& name) {
                                  return key == "Software\\Borland\\Delphi\\7.0" &&
                                                 name == "RootDir"
                                             ? root + "/"
                                             : QString();
                                },
                                Path("bin/Program")});
  TBatchRunner::Create();
  Files = TFileOpEX::Create();
  ASSERT_EQ(BatchRunner->FIdeExeName, ide);

  QProcess running;
  running.start(ide, {"30"});
  ASSERT_TRUE(running.waitForStarted());
  ASSERT_TRUE(Files->IsFileLocked(ide));
  TDateTime created = -1, accessed = -1, written = -1;
  EXPECT_FALSE(Files->GetFileTimes(ide, created, accessed, written));
  EXPECT_FALSE(Files->GetFileTimes(ide.toUpper().replace("DELPHI7", "delphi7"), created, accessed,
                                   written));  // the name compares without case
  EXPECT_EQ(written, -1);
  EXPECT_FALSE(Files->ShellCopyFile(ide, Path("ide-copy")));
  EXPECT_FALSE(QFileInfo::exists(Path("ide-copy")));
  *debugger = false;  // without a debugger the copy is allowed, the times are still not read
  EXPECT_FALSE(Files->GetFileTimes(ide, created, accessed, written));
  EXPECT_EQ(written, -1);
  EXPECT_TRUE(Files->ShellCopyFile(ide, Path("ide-copy")));
  running.kill();
  running.waitForFinished();
  EXPECT_TRUE(Files->GetFileTimes(ide, created, accessed, written));  // no longer running
}

// The program run once in a folder of its own: its settings file gets the executable's file
// times and version, and no temporary copy is left behind.
TEST(FileOPFirstRun, SettingsFileHoldsTheExecutableTimesAndVersion) {
  QTemporaryDir dir, temp;
  const QString program = dir.filePath("OpglProject");
  ASSERT_TRUE(QFile::copy(OPGL_PROGRAM, program));
  QProcess process;
  process.setWorkingDirectory(dir.path());
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("TMPDIR", temp.path());
  process.setProcessEnvironment(environment);
  process.start(program, {});
  ASSERT_TRUE(process.waitForStarted());
  // Wait until the program handles SIGTERM itself (bit 15 of the caught signals).
  const QString status = QStringLiteral("/proc/%1/status").arg(process.processId());
  bool handles = false;
  for (int i = 0; i < 600 && !handles && process.state() == QProcess::Running; ++i) {
    for (const QByteArray& line : ReadAll(status).split('\n'))
      if (line.startsWith("SigCgt:"))
        handles = (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    if (!handles) QThread::msleep(50);
  }
  ASSERT_TRUE(handles);
  ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
  ASSERT_TRUE(process.waitForFinished(120000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);

  TIniFile ini(dir.filePath("OpglProject.ini"));
  const QString info = "Application Info";
  EXPECT_EQ(ini.ReadString(info, "Version", ""), "1.0.0.0");
  for (const char* key : {"Create Time", "Last Access", "Last Write"})
    EXPECT_GT(ini.ReadDateTime(info, key, 0), 40000) << key;  // a real date after 2009
  const QDateTime modified = QFileInfo(program).lastModified();
  EXPECT_NEAR(ini.ReadDateTime(info, "Last Write", 0),
              LocalDateTime(modified.date(), modified.time().hour(), modified.time().minute(),
                            modified.time().second() / 2 * 2),
              0.1 * Second);
  // (Qt keeps its runtime folder there too.)
  EXPECT_EQ(QDir(temp.path()).entryList({"fttmp*", ".fttmp*"}, QDir::AllEntries | QDir::Hidden),
            QStringList());
}
