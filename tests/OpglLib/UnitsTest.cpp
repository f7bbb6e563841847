#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "AppPaths.h"
#include "BrimloLogo.h"
#include "FileOP.h"
#include "GOpglVariable.h"
#include "IniFile.h"
#include "ManageOpgl.h"
#include "Messages.h"
#include "OpglCamera.h"
#include "OpglLight.h"
#include "OpglTexture.h"
#include "Raster.h"
#include "RunBatch.h"
#include "Units.h"
#include "Vector3D.h"

namespace {

QStringList Sections(const QString& name) {
  QFile f(name);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QStringList out;
  static const QRegularExpression header(QStringLiteral("^\\[(.*)\\]$"));
  for (const QByteArray& line : f.readAll().split('\n')) {
    const auto m = header.match(QString::fromUtf8(line).trimmed());
    if (m.hasMatch()) out << m.captured(1);
  }
  return out;
}

void WriteAll(const QString& name, const QByteArray& text) {
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

class UnitsTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  QString Name;
  void SetUp() override {
    Name = Dir.filePath("OpglProject.ini");
    AppPaths::SetSettingsFileName(Name);
  }
  void TearDown() override { AppPaths::SetSettingsFileName(QString()); }
};

}  // namespace

TEST_F(UnitsTest, FirstRunWritesEverySectionInShutDownOrder) {
  UnitStartup();
  EXPECT_EQ(BatchRunner->UnitList(), QStringList({"RunBatch", "FileOP", "Vector3D", "ManageOpgl",
                                                  "OpglLight", "OpglCamera"}));
  EXPECT_NE(GLQuadric, nullptr);
  UnitShutdown();
  EXPECT_EQ(GLQuadric, nullptr);
  for (void* global :
       {static_cast<void*>(BatchRunner), static_cast<void*>(FileOpEX), static_cast<void*>(GLVector),
        static_cast<void*>(GLManager), static_cast<void*>(GLLighter), static_cast<void*>(GLCamera),
        static_cast<void*>(TavRaster), static_cast<void*>(GLTexturer),
        static_cast<void*>(GLBrimloLogo)})
    EXPECT_EQ(global, nullptr);

  EXPECT_EQ(Sections(Name), QStringList({"TGLBrimloLogo", "TGLTexturer", "TTavRaster",
                                         "Application Info", "CopyRight", "TGLCamera", "TGLLighter",
                                         "TGLManager", "TGLVector", "TFileOpEX", "TBatchRunner"}));
  TIniFile ini(Name);
  EXPECT_EQ(ini.ReadString("Application Info", "mApplicationName", ""),
            AppPaths::ApplicationName());
  EXPECT_EQ(ini.ReadString("Application Info", "mApplicationPath", ""),
            AppPaths::ApplicationFolder());
  EXPECT_EQ(ini.ReadString("Application Info", "FProjectName", ""), AppPaths::ExecutablePath());
  EXPECT_FALSE(ini.ReadString("Application Info", "FCurrentUser", "").isEmpty());
  for (const char* key : {"Author", "Email", "Date"})
    EXPECT_FALSE(ini.ReadString("CopyRight", key, "").isEmpty()) << key;
  const std::pair<const char*, const char*> keys[] = {
      {"TGLBrimloLogo", "mGLBrimloLogo"}, {"TGLTexturer", "mGLTexturer"},
      {"TTavRaster", "mTavRaster"},       {"TGLCamera", "mGLCamera"},
      {"TGLLighter", "mGLLighter"},       {"TGLManager", "mGLManager"},
      {"TGLVector", "mGLVector"},         {"TFileOpEX", "mFileOpEX"},
      {"TFileOpEX", "mRegisterEX"},       {"TBatchRunner", "mBatchRunner"}};
  for (const auto& [section, key] : keys)
    EXPECT_EQ(ini.ReadString(section, key, ""), "0") << section << " " << key;
}

TEST_F(UnitsTest, StoredValuesComeBackAndStaleProjectKeysGo) {
  WriteAll(Name,
           "[Application Info]\nmApplicationPath=/somewhere/else/\n\n"
           "[TGLCamera]\nmGLCamera=0x10\n\n[TGLVector]\nmGLVector=letters\n\n"
           "[Project Info]\nFFullProjectName=/p/x.dpr\nSearchPathNum=1\n"
           "FFullProjectSearchPaths0=/p\nFFullProjectSearchPaths300=/keep\n\n"
           "[Talven Units]\nUnitNum=1\nU0=RunBatch\n\n[Other]\nKeep=1\n");
  UnitStartup();
  EXPECT_EQ(GLCamera->FSettingsTag, 16);
  EXPECT_EQ(GLVector->FSettingsTag, 0);
  EXPECT_EQ(GLCamera->mApplicationPath, "/somewhere/else/");
  UnitShutdown();
  TIniFile ini(Name);
  EXPECT_EQ(ini.ReadString("TGLCamera", "mGLCamera", ""), "16");
  EXPECT_EQ(ini.ReadString("TGLVector", "mGLVector", ""), "0");
  EXPECT_EQ(ini.ReadString("Application Info", "mApplicationPath", ""), "/somewhere/else/");
  EXPECT_FALSE(ini.ValueExists("Project Info", "FFullProjectName"));
  EXPECT_FALSE(ini.ValueExists("Project Info", "SearchPathNum"));
  EXPECT_FALSE(ini.ValueExists("Project Info", "FFullProjectSearchPaths0"));
  EXPECT_TRUE(ini.ValueExists("Project Info", "FFullProjectSearchPaths300"));
  EXPECT_FALSE(ini.ValueExists("Talven Units", "UnitNum"));
  EXPECT_FALSE(ini.ValueExists("Talven Units", "U0"));
  EXPECT_EQ(ini.ReadString("Other", "Keep", ""), "1");
}

TEST_F(UnitsTest, UnwritableSettingsAreReportedAndEveryObjectStillShutsDown) {
  WriteAll(Dir.filePath("file"), "x");
  const QString unwritable = Dir.filePath("file/OpglProject.ini");
  AppPaths::SetSettingsFileName(unwritable);
  QStringList messages;
  const TMessageHandler previous =
      SetMessageHandler([&](const QString& text) { messages << text; });
  UnitStartup();
  UnitShutdown();
  SetMessageHandler(previous);
  // One message per unit whose object saves settings.
  ASSERT_EQ(messages.size(), 9);
  for (const QString& m : messages) EXPECT_EQ(m, "Unable to write to " + unwritable);
  for (void* global :
       {static_cast<void*>(BatchRunner), static_cast<void*>(FileOpEX),
        static_cast<void*>(RegisterEX), static_cast<void*>(GLVector), static_cast<void*>(GLManager),
        static_cast<void*>(GLLighter), static_cast<void*>(GLCamera), static_cast<void*>(TavRaster),
        static_cast<void*>(GLTexturer), static_cast<void*>(GLBrimloLogo)})
    EXPECT_EQ(global, nullptr);
  EXPECT_EQ(GLQuadric, nullptr);
}
