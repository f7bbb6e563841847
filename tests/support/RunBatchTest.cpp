#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <stdexcept>

#include "AppPaths.h"
#include "IniFile.h"
#include "RegistryLookup.h"
#include "RunBatch.h"
#include "TestFiles.h"
#include "Units.h"

namespace {

// A project folder "proj" holding OpglProject.dpr, with the executable in "proj/bin" (so the
// project file is found above the executable's folder) and the settings file beside it.
class RunBatchTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  QString Project;
  bool Debugger = true;
  QString DelphiRoot;
  QString SearchPath;

  void SetUp() override {
    Project = Dir.filePath("proj") + '/';
    ASSERT_TRUE(QDir().mkpath(Project + "bin"));
    AppPaths::SetSettingsFileName(Project + "bin/OpglProject.ini");
    TBatchRunner::SetEnvironment(
        {[this] { return Debugger; },
         [this](const QString& key, const QString& name) {
           if (key.compare("software\\borland\\delphi\\7.0", Qt::CaseInsensitive) == 0 &&
               name == "RootDir")
             return DelphiRoot;
           if (key == "Software\\Borland\\Delphi\\7.0\\Library" && name == "Search Path")
             return SearchPath;
           return QString();
         },
         Project + "bin/OpglProject"});
  }
  void TearDown() override {
    UnitShutdown();
    TBatchRunner::ReleaseInstance();
    TBatchRunner::SetEnvironment({});
    TIniFile::SetBeforeCommitHook({});
    AppPaths::SetSettingsFileName(QString());
  }
  QString Settings() const { return AppPaths::SettingsFileName(); }
};

}  // namespace

TEST_F(RunBatchTest, WithoutADebuggerStaleProjectKeysGoAndHigherNumbersStay) {
  Debugger = false;
  WriteAll(Project + "OpglProject.dpr", "program OpglProject;");
  const QByteArray config = "-E\"elsewhere\"\n";
  WriteAll(Project + "OpglProject.cfg", config);
  {
    TIniFile ini(Settings());
    for (const char* key : {"FFullProjectName", "FFullProjectExePath", "FFullProjectDcuPath",
                            "SearchPathNum", "FFullProjectSearchPaths0",
                            "FFullProjectSearchPaths255", "FFullProjectSearchPaths256", "Mine"})
      ini.WriteString("Project Info", key, "x");
    for (const char* key :
         {"FDelphiRoot", "DelphiSearchPathNum", "FDelphiSearchPaths7", "FDelphiSearchPaths300"})
      ini.WriteString("Delphi IDE Info", key, "x");
    for (const char* key : {"UnitNum", "U0", "U5", "U255", "U256", "u1000"})
      ini.WriteString("Talven Units", key, "x");
    ini.UpdateFile();
  }
  TBatchRunner::Create();
  EXPECT_TRUE(BatchRunner->FFullProjectName.isEmpty());  // no project work without a debugger
  EXPECT_FALSE(BatchRunner->FCurrentUser.isEmpty());
  TBatchRunner::ReleaseInstance();

  TIniFile ini(Settings());
  for (const char* key :
       {"FFullProjectName", "FFullProjectExePath", "FFullProjectDcuPath", "SearchPathNum",
        "FFullProjectSearchPaths0", "FFullProjectSearchPaths255"})
    EXPECT_FALSE(ini.ValueExists("Project Info", key)) << key;
  for (const char* key : {"FDelphiRoot", "DelphiSearchPathNum", "FDelphiSearchPaths7"})
    EXPECT_FALSE(ini.ValueExists("Delphi IDE Info", key)) << key;
  for (const char* key : {"UnitNum", "U0", "U5", "U255"})
    EXPECT_FALSE(ini.ValueExists("Talven Units", key)) << key;
  EXPECT_TRUE(ini.ValueExists("Project Info", "FFullProjectSearchPaths256"));
  EXPECT_TRUE(ini.ValueExists("Project Info", "Mine"));
  EXPECT_TRUE(ini.ValueExists("Delphi IDE Info", "FDelphiSearchPaths300"));
  EXPECT_TRUE(ini.ValueExists("Talven Units", "U256"));
  EXPECT_TRUE(ini.ValueExists("Talven Units", "u1000"));
  EXPECT_FALSE(ini.ReadString("Application Info", "FCurrentUser", "").isEmpty());
  EXPECT_TRUE(ini.ValueExists("TBatchRunner", "mBatchRunner"));
  EXPECT_EQ(ReadAll(Project + "OpglProject.cfg"), config);
  EXPECT_FALSE(QFileInfo::exists(Project + "TalvenLib"));
}

TEST_F(RunBatchTest, UnderADebuggerTheProjectIsPreparedRecordedAndTheUnitsCopied) {
  DelphiRoot = Dir.filePath("d7") + '/';
  SearchPath = "$(DELPHI)/Lib;$(delphi)/Imports;";
  WriteAll(Project + "OpglProject.dpr", "program OpglProject;");
  WriteAll(Project + "OpglProject.cfg", "-$A8\r\n-cc\r\n-LE\"c:\\bpl\"\r\n");
  WriteAll(Project + "OpglProject.dof",
           "[Compiler]\nA=8\n\n[Directories]\nOutputDir=\nUnitOutputDir=gone\n"
           "SearchPath=$(DELPHI)\\Lib\n");

  UnitStartup();
  ASSERT_NE(BatchRunner, nullptr);
  EXPECT_EQ(BatchRunner->FIdeExeName, Dir.filePath("d7") + "/Bin/Delphi32.exe");
  const QString root = Dir.filePath("d7") + '/';
  EXPECT_EQ(BatchRunner->FDelphiSearchPaths, QStringList({root + "/Lib", root + "/Imports", ""}));
  EXPECT_EQ(BatchRunner->FFullProjectName, Project + "OpglProject.dpr");
  EXPECT_EQ(BatchRunner->FFullProjectExePath, Project + "ReleaseOpglProject/");
  EXPECT_EQ(BatchRunner->FFullProjectDcuPath, Project + "DcusOpglProject/");
  EXPECT_EQ(BatchRunner->FProjectSearchPaths, QStringList({Project}));  // from the empty -U""
  for (const char* folder : {"TalvenLib", "ReleaseOpglProject", "DcusOpglProject"})
    EXPECT_TRUE(QFileInfo(Project + folder).isDir()) << folder;
  EXPECT_EQ(ReadAll(Project + "OpglProject.cfg"),
            "-$A8\r\n-cc\r\n-LE\"c:\\bpl\"\r\n-E\"ReleaseOpglProject/\"\r\n"
            "-N\"DcusOpglProject/\"\r\n-U\"\"\r\n-O\"\"\r\n-I\"\"\r\n-R\"\"\r\n");
  TIniFile options(Project + "OpglProject.dof");
  EXPECT_EQ(options.ReadString("Directories", "OutputDir", ""), "ReleaseOpglProject/");
  EXPECT_EQ(options.ReadString("Directories", "UnitOutputDir", ""), "DcusOpglProject/");
  EXPECT_EQ(options.ReadString("Directories", "SearchPath", ""), "$(DELPHI)\\Lib");
  EXPECT_EQ(options.ReadString("Compiler", "A", ""), "8");

  const QStringList six{"RunBatch", "FileOP", "Vector3D", "ManageOpgl", "OpglLight", "OpglCamera"};
  EXPECT_EQ(BatchRunner->UnitList(), six);
  BatchRunner->RegisterUnit("opglcamera");
  EXPECT_EQ(BatchRunner->UnitList(), six);

  // Two compiled units are there; the copies of the missing four are skipped.
  WriteAll(Project + "DcusOpglProject/RunBatch.dcu", "run batch unit");
  WriteAll(Project + "DcusOpglProject/FileOP.dcu", "file op unit");
  WriteAll(Project + "TalvenLib/FileOP.dcu", "older");
  BatchRunner->FCurrentUser = "TALVEN";
  UnitShutdown();
  EXPECT_EQ(BatchRunner, nullptr);
  EXPECT_EQ(ReadAll(Project + "TalvenLib/RunBatch.dcu"), "run batch unit");
  EXPECT_EQ(ReadAll(Project + "TalvenLib/FileOP.dcu"), "file op unit");
  EXPECT_EQ(QDir(Project + "TalvenLib").entryList(QDir::Files | QDir::Hidden).size(), 2);

  TIniFile ini(Settings());
  EXPECT_EQ(ini.ReadString("Project Info", "FFullProjectName", ""), Project + "OpglProject.dpr");
  EXPECT_EQ(ini.ReadString("Project Info", "FFullProjectExePath", ""),
            Project + "ReleaseOpglProject/");
  EXPECT_EQ(ini.ReadString("Project Info", "FFullProjectDcuPath", ""),
            Project + "DcusOpglProject/");
  EXPECT_EQ(ini.ReadInteger("Project Info", "SearchPathNum", -1), 1);
  EXPECT_EQ(ini.ReadString("Project Info", "FFullProjectSearchPaths0", ""), Project);
  EXPECT_EQ(ini.ReadString("Delphi IDE Info", "FDelphiRoot", ""), root);
  EXPECT_EQ(ini.ReadInteger("Delphi IDE Info", "DelphiSearchPathNum", -1), 3);
  EXPECT_EQ(ini.ReadString("Delphi IDE Info", "FDelphiSearchPaths1", ""), root + "/Imports");
  EXPECT_TRUE(ini.ValueExists("Delphi IDE Info", "FDelphiSearchPaths2"));
  EXPECT_EQ(ini.ReadInteger("Talven Units", "UnitNum", -1), 6);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(ini.ReadString("Talven Units", QStringLiteral("U%1").arg(i), ""), six[i]);
  EXPECT_FALSE(ini.ValueExists("Talven Units", "U6"));
}

TEST_F(RunBatchTest, ConfigurationLinesKeptRepointedAndRead) {
  ASSERT_TRUE(QDir().mkpath(Project + "out"));
  WriteAll(Project + "OpglProject.dpr", "program OpglProject;");
  WriteAll(Project + "OpglProject.cfg",
           "-E\"out/\"\n-n\"missing/\"\n-u\"lib; ../shared/;/abs\"\n-\n\n-Ebroken\n");
  WriteAll(Project + "OpglProject.dof", "[Directories]\nOutputDir=out\n");
  WriteAll(Project + "bin/OpglProject.dpr", "program OpglProject;");  // the last candidate wins
  TBatchRunner::Create();
  EXPECT_EQ(BatchRunner->FFullProjectName, Project + "OpglProject.dpr");
  // The existing output folder stays; the missing unit folder and the quote-less line are
  // pointed at ours; a search line was there, so none are added.
  EXPECT_EQ(ReadAll(Project + "OpglProject.cfg"),
            "-E\"out/\"\n-N\"DcusOpglProject/\"\n-u\"lib; ../shared/;/abs\"\n-\n\n"
            "-E\"ReleaseOpglProject/\"\n");
  EXPECT_EQ(BatchRunner->FFullProjectDcuPath, Project + "DcusOpglProject/");
  EXPECT_EQ(BatchRunner->FFullProjectExePath, Project + "ReleaseOpglProject/");  // the last -E
  EXPECT_EQ(BatchRunner->FProjectSearchPaths,
            QStringList({Project + "lib", Dir.filePath("shared") + '/', "/abs"}));
  TIniFile options(Project + "OpglProject.dof");
  EXPECT_EQ(options.ReadString("Directories", "OutputDir", ""), "out");
  EXPECT_EQ(options.ReadString("Directories", "UnitOutputDir", ""), "DcusOpglProject/");
  EXPECT_TRUE(QFileInfo(Project + "shared").exists() == false);
}

TEST_F(RunBatchTest, MissingOrUnreadableProjectFilesSkipTheirSteps) {
  // No project file at all: nothing is made.
  TBatchRunner::Create();
  EXPECT_TRUE(BatchRunner->FFullProjectName.isEmpty());
  EXPECT_EQ(BatchRunner->FIdeExeName, "/Bin/Delphi32.exe");  // no registry value
  EXPECT_TRUE(BatchRunner->FDelphiSearchPaths.isEmpty());
  TBatchRunner::ReleaseInstance();
  EXPECT_FALSE(QFileInfo::exists(Project + "TalvenLib"));
  {
    TIniFile ini(Settings());
    EXPECT_FALSE(ini.SectionExists("Delphi IDE Info"));  // no root, no section
    EXPECT_EQ(ini.ReadInteger("Talven Units", "UnitNum", -1), 1);
  }

  // A project beside the executable, with neither configuration nor options file: none is
  // created. Then a configuration and an options file that cannot be read as files.
  WriteAll(Project + "bin/OpglProject.dpr", "program OpglProject;");
  TBatchRunner::Create();
  EXPECT_EQ(BatchRunner->FFullProjectName, Project + "bin/OpglProject.dpr");
  EXPECT_EQ(BatchRunner->FFullProjectExePath, Project + "bin/");
  EXPECT_FALSE(QFileInfo::exists(Project + "bin/OpglProject.cfg"));
  EXPECT_FALSE(QFileInfo::exists(Project + "bin/OpglProject.dof"));
  TBatchRunner::ReleaseInstance();
  ASSERT_TRUE(QDir().mkpath(Project + "bin/OpglProject.cfg"));
  ASSERT_TRUE(QDir().mkpath(Project + "bin/OpglProject.dof"));
  TBatchRunner::Create();
  EXPECT_TRUE(QFileInfo(Project + "bin/OpglProject.cfg").isDir());
  EXPECT_TRUE(QFileInfo(Project + "bin/OpglProject.dof").isDir());
  TBatchRunner::ReleaseInstance();

  // An options rewrite that fails before its rename keeps the old file whole.
  const QByteArray options = "[Directories]\nOutputDir=nowhere\n";
  ASSERT_TRUE(QDir(Project + "bin").rmdir("OpglProject.dof"));
  WriteAll(Project + "bin/OpglProject.dof", options);
  TIniFile::SetBeforeCommitHook([] { throw std::runtime_error("interrupted"); });
  TBatchRunner::Create();
  TIniFile::SetBeforeCommitHook({});
  EXPECT_EQ(ReadAll(Project + "bin/OpglProject.dof"), options);
  EXPECT_EQ(QDir(Project + "bin").entryList({"OpglProject.dof*"}, QDir::Files | QDir::Hidden),
            QStringList({"OpglProject.dof"}));
}

TEST(RegistryLookup, FindsOnlyWhatTheFileMaps) {
  QTemporaryDir dir;
  const QString map = dir.filePath("registry.ini");
  EXPECT_TRUE(
      RegistryLookup::ReadRegString(map, "Software\\Borland\\Delphi\\7.0", "RootDir").isEmpty());
  const QByteArray text = "[Software\\Borland\\Delphi\\7.0]\nRootDir=/opt/d7\n";
  WriteAll(map, text);
  EXPECT_EQ(RegistryLookup::ReadRegString(map, "SOFTWARE\\borland\\Delphi\\7.0", "RootDir"),
            "/opt/d7");
  EXPECT_TRUE(
      RegistryLookup::ReadRegString(map, "Software\\Borland\\Delphi\\7.0\\Library", "Search Path")
          .isEmpty());
  EXPECT_TRUE(RegistryLookup::ReadRegString(dir.path(), "x", "y").isEmpty());  // a folder
  EXPECT_EQ(ReadAll(map), text);                                               // never written
  EXPECT_TRUE(RegistryLookup::DefaultFileName().endsWith("/OpglProject/registry.ini"));
  // This test program runs without a tracer.
  TBatchRunner::SetEnvironment({});
  if (!ReadAll("/proc/self/status").contains("TracerPid:\t0\n"))
    GTEST_SKIP() << "run under a debugger";
  EXPECT_FALSE(TBatchRunner::DebuggerAttached());
}
