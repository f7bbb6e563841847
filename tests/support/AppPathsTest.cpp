// Where an installed copy keeps its settings and finds its start-up files: beside the
// executable while that folder can be written (root, the build folder), else in the user's
// configuration folder, made on the first save; the start-up files from the working folder,
// beside the executable, then the installed share folder.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

#include "AppPaths.h"
#include "IniFile.h"
#include "Messages.h"
#include "TestFiles.h"

namespace {

// Runs Job as an ordinary user and returns what it gives: in a child process that has become
// nobody when the tests run as root (root may write anywhere), else here, with Folder (when
// given) made read-only for the time of the job.
QString AsOrdinaryUser(const QString& Folder, const std::function<QString()>& Job) {
  if (::geteuid() != 0) {
    const QFile::Permissions old = QFile::permissions(Folder);
    if (!Folder.isEmpty())
      QFile::setPermissions(Folder, old & ~(QFile::WriteOwner | QFile::WriteUser));
    const QString result = Job();
    if (!Folder.isEmpty()) QFile::setPermissions(Folder, old);
    return result;
  }
  int pipe[2];
  if (::pipe(pipe) != 0) return QStringLiteral("no pipe");
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe[0]);
    const gid_t nogroup = 65534;
    if (::setgroups(0, nullptr) != 0 || ::setresgid(nogroup, nogroup, nogroup) != 0 ||
        ::setresuid(65534, 65534, 65534) != 0)
      _exit(2);
    const QByteArray answer = Job().toUtf8();
    [[maybe_unused]] const auto written = ::write(pipe[1], answer.constData(), answer.size());
    _exit(0);
  }
  ::close(pipe[1]);
  QByteArray answer;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, n);
  ::close(pipe[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return QStringLiteral("child failed");
  return QString::fromUtf8(answer);
}

class AppPathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    // Readable by everybody, like /usr/bin; only its owner may write.
    QFile::setPermissions(Dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::ExeOther);
    Bin = Dir.filePath(QStringLiteral("bin"));
    Config = Dir.filePath(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(Bin));
    QFile::setPermissions(Bin, QFile::permissions(Dir.path()));
  }
  QTemporaryDir Dir;
  QString Bin, Config;
};

}  // namespace

TEST_F(AppPathsTest, SettingsBesideAWritableProgramElseInTheUsersConfigurationFolder) {
  const QString beside = Bin + QStringLiteral("/OpglProject.ini");
  const QString user = Config + QStringLiteral("/OpglProject/OpglProject.ini");
  // Its owner (root, or the developer in the build folder) keeps the file beside the program.
  EXPECT_EQ(AppPaths::ChooseSettingsFile(Bin + '/', QStringLiteral("OpglProject"), Config), beside);
  // Anybody else: one file each in their own configuration folder.
  const QString chosen = AsOrdinaryUser(Bin, [&] {
    return AppPaths::ChooseSettingsFile(Bin + '/', QStringLiteral("OpglProject"), Config);
  });
  EXPECT_EQ(chosen, user);
  // A settings file beside the program that the user may not write is not the user's either,
  // even in a folder everybody may write.
  QFile::setPermissions(Bin, QFile::permissions(Bin) | QFile::WriteGroup | QFile::WriteOther);
  const QString chosenInOpenFolder = AsOrdinaryUser(QString(), [&] {
    return AppPaths::ChooseSettingsFile(Bin + '/', QStringLiteral("OpglProject"), Config);
  });
  EXPECT_EQ(chosenInOpenFolder, beside);
  WriteAll(beside, "[TGLCamera]\nmGLCamera=1\n");
  QFile::setPermissions(beside, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  const QString chosenBesideReadOnly = AsOrdinaryUser(QString(), [&] {
    return AppPaths::ChooseSettingsFile(Bin + '/', QStringLiteral("OpglProject"), Config);
  });
  EXPECT_EQ(chosenBesideReadOnly, user);
}

TEST_F(AppPathsTest, TheBuildFolderKeepsTheSettingsBesideTheProgramAsBefore) {
  const QString exe = QCoreApplication::applicationFilePath();
  const QString expected =
      QFileInfo(exe).absolutePath() + '/' + QFileInfo(exe).completeBaseName() + ".ini";
  EXPECT_EQ(AppPaths::SettingsFileName(), expected);
  // A test's own file wins while it is set, and the chosen one is back afterwards.
  AppPaths::SetSettingsFileName(Dir.filePath(QStringLiteral("x.ini")));
  EXPECT_EQ(AppPaths::SettingsFileName(), Dir.filePath(QStringLiteral("x.ini")));
  AppPaths::SetSettingsFileName(QString());
  EXPECT_EQ(AppPaths::SettingsFileName(), expected);
}

TEST_F(AppPathsTest, TheConfigurationFolderFollowsXdgConfigHomeElseTheHomeFolder) {
  const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
  const bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
  qputenv("HOME", Dir.path().toUtf8());
  qunsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(AppPaths::UserConfigFolder(), Dir.path() + QStringLiteral("/.config"));
  qputenv("XDG_CONFIG_HOME", Config.toUtf8());
  EXPECT_EQ(AppPaths::UserConfigFolder(), Config);
  qputenv("HOME", oldHome);
  if (hadConfig)
    qputenv("XDG_CONFIG_HOME", oldConfig);
  else
    qunsetenv("XDG_CONFIG_HOME");
}

TEST_F(AppPathsTest, FirstSaveMakesThePrivateFolderAndAFolderThatCannotBeMadeIsReported) {
  const QString name = Config + QStringLiteral("/OpglProject/OpglProject.ini");
  // Only the chosen settings file gets its folders made; any other missing folder stays a
  // failed save.
  const QString other = Dir.filePath(QStringLiteral("other/OpglProject.ini"));
  TIniFile::MakeFoldersFor(name);
  {
    TIniFile ini(other);
    ini.WriteInteger("TGLCamera", "mGLCamera", 7);
    EXPECT_THROW(ini.UpdateFile(), EIniFileException);
    EXPECT_FALSE(QFileInfo::exists(Dir.filePath(QStringLiteral("other"))));
  }
  {
    TIniFile ini(name);
    ini.WriteInteger("TGLCamera", "mGLCamera", 7);
    ini.UpdateFile();
  }
  EXPECT_EQ(ReadAll(name), "[TGLCamera]\nmGLCamera=7\n");
  for (const QString& folder : {Config, Config + QStringLiteral("/OpglProject")})
    EXPECT_EQ(QFile::permissions(folder) & 0x7077,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
        << folder.toStdString();
  // Below a plain file no folder can be made, not even by root.
  WriteAll(Dir.filePath(QStringLiteral("plain")), "x");
  const QString impossible = Dir.filePath(QStringLiteral("plain/config/OpglProject.ini"));
  TIniFile::MakeFoldersFor(impossible);
  TIniFile ini(impossible);
  ini.WriteInteger("TGLCamera", "mGLCamera", 7);
  try {
    ini.UpdateFile();
    FAIL() << "the save should fail";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message(), "Unable to write to " + impossible);
  }
  TIniFile::MakeFoldersFor(QString());
}

TEST_F(AppPathsTest, StartupFilesFromTheWorkingFolderThenBesideTheProgramThenShare) {
  const QString work = Dir.filePath(QStringLiteral("work"));
  const QString share = Dir.filePath(QStringLiteral("share/OpglProject/Data"));
  ASSERT_TRUE(QDir().mkpath(work + QStringLiteral("/Data")));
  ASSERT_TRUE(QDir().mkpath(Bin + QStringLiteral("/Data")));
  ASSERT_TRUE(QDir().mkpath(share));
  const QString old = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(work));
  const QString folder = Bin + '/';
  const auto find = [&](const char* File) {
    return AppPaths::FindStartupFile(QString::fromLatin1(File), folder,
                                     QStringLiteral("OpglProject"));
  };
  WriteAll(share + QStringLiteral("/A.jpg"), "share");
  WriteAll(share + QStringLiteral("/B.jpg"), "share");
  WriteAll(share + QStringLiteral("/C.jpg"), "share");
  WriteAll(Bin + QStringLiteral("/Data/A.jpg"), "beside");
  WriteAll(Bin + QStringLiteral("/Data/B.jpg"), "beside");
  WriteAll(work + QStringLiteral("/Data/A.jpg"), "work");
  EXPECT_EQ(find("Data/A.jpg"), "Data/A.jpg");
  EXPECT_EQ(find("Data/B.jpg"), Bin + QStringLiteral("/Data/B.jpg"));
  EXPECT_EQ(find("Data/C.jpg"), share + QStringLiteral("/C.jpg"));
  // Found nowhere: the name as given, which the texture list then skips.
  EXPECT_EQ(find("Data/D.jpg"), "Data/D.jpg");
  QDir::setCurrent(old);
}

TEST(MessageBatch, HoldsMessagesBackAndShowsEachTextOnceInOrder) {
  QStringList shown;
  const TMessageHandler previous = SetMessageHandler([&](const QString& Text) { shown << Text; });
  {
    const TMessageBatch batch;
    for (int i = 0; i < 12; ++i) ShowMessage(QStringLiteral("Unable to write to /x.ini"));
    ShowMessage(QStringLiteral("other"));
    {
      const TMessageBatch inner;
      ShowMessage(QStringLiteral("other"));
      ShowMessage(QStringLiteral("third"));
    }
    EXPECT_TRUE(shown.isEmpty());
  }
  SetMessageHandler(previous);
  EXPECT_EQ(shown, QStringList({"Unable to write to /x.ini", "other", "third"}));
  // Outside a batch every message is shown at once, repeated or not.
  shown.clear();
  SetMessageHandler([&](const QString& Text) { shown << Text; });
  ShowMessage(QStringLiteral("a"));
  ShowMessage(QStringLiteral("a"));
  SetMessageHandler(previous);
  EXPECT_EQ(shown, QStringList({"a", "a"}));
}
