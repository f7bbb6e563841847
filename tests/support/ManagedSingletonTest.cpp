#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "AppPaths.h"
#include "FileOP.h"
#include "IniFile.h"
#include "ManagedSingleton.h"
#include "RunBatch.h"

namespace {

class TCounted;
TCounted* Counted = nullptr;
int Saves = 0;
int Frees = 0;

const TManagedTraits CountedTraits{"CountedUnit", "mCounted", true,  false,
                                   false,         false,      false, false};

class TCounted : public TManagedSingleton<TCounted, &Counted> {
 public:
  QString ClassName() const override { return QStringLiteral("TCounted"); }
  void SaveSettings() override { ++Saves; }
  void FreeMembers() override { ++Frees; }

 protected:
  const TManagedTraits& Traits() const override { return CountedTraits; }
};

struct SettingsInTempDir {
  QTemporaryDir Dir;
  SettingsInTempDir() { AppPaths::SetSettingsFileName(Dir.filePath("test.ini")); }
  ~SettingsInTempDir() { AppPaths::SetSettingsFileName(QString()); }
};

}  // namespace

TEST(ManagedSingleton, OnlyTheLastFreeSavesAndClears) {
  SettingsInTempDir settings;
  Saves = Frees = 0;
  TCounted* first = TCounted::Create();
  ASSERT_EQ(Counted, first);
  TCounted* second = TCounted::Create();
  EXPECT_EQ(second, first);
  EXPECT_EQ(TCounted::InstanceCount, 2);
  second->Free();
  EXPECT_EQ(Saves, 0);
  EXPECT_EQ(Counted, first);
  EXPECT_EQ(TCounted::InstanceCount, 1);
  first->Free();
  EXPECT_EQ(Saves, 1);
  EXPECT_EQ(Frees, 1);
  EXPECT_EQ(Counted, nullptr);
  EXPECT_EQ(TCounted::InstanceCount, 0);
  TCounted::ReleaseInstance();  // nothing left to release
  EXPECT_EQ(Saves, 1);
}

TEST(ManagedSingleton, IdentityFilledAndUnitAnnouncedOnce) {
  SettingsInTempDir settings;
  TBatchRunner::Create();
  TCounted::Create();
  EXPECT_EQ(Counted->FUnitName, "CountedUnit");
  EXPECT_EQ(Counted->mApplicationPath, AppPaths::ApplicationFolder());
  EXPECT_TRUE(Counted->mApplicationPath.endsWith('/'));
  EXPECT_EQ(Counted->mApplicationName, AppPaths::ApplicationName());
  EXPECT_TRUE(Counted->FProjectName.isEmpty());  // not a scene class
  BatchRunner->RegisterUnit("countedunit");
  EXPECT_EQ(BatchRunner->UnitList(), QStringList({"RunBatch", "CountedUnit"}));
  TCounted::ReleaseInstance();
  TBatchRunner::ReleaseInstance();
  EXPECT_EQ(BatchRunner, nullptr);
}

TEST(ManagedSingleton, FileUtilitiesBuildBothLevelsAndStreamRecords) {
  SettingsInTempDir settings;
  TBatchRunner::Create();
  TFileOpEX* files = TFileOpEX::Create();
  EXPECT_EQ(static_cast<TRegisterEX*>(files), RegisterEX);
  EXPECT_EQ(TFileOpEX::InstanceCount, 1);
  EXPECT_EQ(TRegisterEX::InstanceCount, 1);
  EXPECT_EQ(BatchRunner->UnitList(), QStringList({"RunBatch", "FileOP"}));

  const unsigned char record[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  TMemoryStream* stream = files->BufferToStream(record, sizeof record);
  EXPECT_EQ(stream->Position(), 0u);
  unsigned char back[16] = {};
  files->StreamToBuffer(back, *stream, sizeof back);
  EXPECT_EQ(std::memcmp(back, record, sizeof back), 0);
  delete stream;
  TMemoryStream* twelve = files->BufferToStream(record, 12);
  EXPECT_THROW(files->StreamToBuffer(back, *twelve, 16), EReadError);
  delete twelve;

  TFileOpEX::ReleaseInstance();
  EXPECT_EQ(FileOpEX, nullptr);
  EXPECT_EQ(RegisterEX, nullptr);
  TIniFile ini(AppPaths::SettingsFileName());
  EXPECT_TRUE(ini.ValueExists("TFileOpEX", "mFileOpEX"));
  EXPECT_TRUE(ini.ValueExists("TFileOpEX", "mRegisterEX"));
  TBatchRunner::ReleaseInstance();
}
