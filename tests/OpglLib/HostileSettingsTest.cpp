// Settings files edited by hand or damaged: stored lights and colours that hold numbers which
// are not finite keep the defaults (and so are written back healed), and numbers far out of
// range are held where the program can use them.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <limits>

#include "AppPaths.h"
#include "BrimloLogo.h"
#include "FileOP.h"
#include "GOpglDefine.h"
#include "IniFile.h"
#include "ManageOpgl.h"
#include "OpglLight.h"
#include "ValueText.h"

namespace {

class HostileSettingsTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  QString File;
  void SetUp() override {
    File = Dir.filePath(QStringLiteral("hostile.ini"));
    AppPaths::SetSettingsFileName(File);
    TFileOpEX::Create();  // reads and writes the raw records
  }
  void TearDown() override {
    TFileOpEX::FreeInstance();
    AppPaths::SetSettingsFileName(QString());
  }
  void Write(const QString& Section, const QString& Key, const QString& Value) {
    TIniFile ini(File);
    ini.WriteString(Section, Key, Value);
    ini.UpdateFile();
  }
  QString Read(const QString& Section, const QString& Key) const {
    return TIniFile(File).ReadString(Section, Key, QString());
  }
};

template <typename T>
QString Hex(const T& Record) {
  return ValueText::BytesToHex(&Record, sizeof Record);
}
template <typename T>
bool Same(const T& A, const T& B) {
  return std::memcmp(&A, &B, sizeof A) == 0;
}

const float Inf = std::numeric_limits<float>::infinity();

}  // namespace

TEST_F(HostileSettingsTest, LightRecordsWithNonFiniteNumbersKeepTheDefaults) {
  TGLLighter::Create();
  TGLLights defaults;
  GLLighter->MakeDefaultLights(defaults, GLPoint4f(0, 0, 0, 1), 10);
  TGLLight infinite = defaults[3];
  infinite.Diffuse.R = Inf;
  TGLLight lastNumber = defaults[5];
  lastNumber.Direction.W = std::numeric_limits<float>::quiet_NaN();
  TGLLight changed = defaults[4];
  changed.CutOff = 45;
  TGLLighter::FreeInstance();

  const QString section = QStringLiteral("TGLLighter");
  Write(section, QStringLiteral("FLights2"), QString(188, 'F'));  // every number NaN
  Write(section, QStringLiteral("FLights3"), Hex(infinite));
  Write(section, QStringLiteral("FLights4"), Hex(changed));
  Write(section, QStringLiteral("FLights5"), Hex(lastNumber));
  TGLLighter::Create();
  EXPECT_TRUE(Same(GLLighter->FLights[2], defaults[2]));
  EXPECT_TRUE(Same(GLLighter->FLights[3], defaults[3]));
  EXPECT_TRUE(Same(GLLighter->FLights[4], changed));  // a sound record is taken
  EXPECT_TRUE(Same(GLLighter->FLights[5], defaults[5]));
  TGLLighter::FreeInstance();
  // Written back healed.
  EXPECT_EQ(Read(section, QStringLiteral("FLights2")), Hex(defaults[2]));
  EXPECT_EQ(Read(section, QStringLiteral("FLights3")), Hex(defaults[3]));
  EXPECT_EQ(Read(section, QStringLiteral("FLights5")), Hex(defaults[5]));
}

TEST_F(HostileSettingsTest, LogoColoursAndNumbersOutOfRange) {
  const QString section = QStringLiteral("TGLBrimloLogo");
  const TGLColor4f red{1, 0, 0, 0.5f};
  Write(section, QStringLiteral("FClrAmbient"), QStringLiteral("FFFFFFFF") + Hex(red).mid(8));
  Write(section, QStringLiteral("FClrDiffuse"), Hex(TGLColor4f{0.1f, 0.2f, 0.3f, Inf}));
  Write(section, QStringLiteral("FClrSpecular"), Hex(red));
  Write(section, QStringLiteral("FMixRate"), QStringLiteral("1E10"));
  Write(section, QStringLiteral("FShinese"), QStringLiteral("1000"));
  Write(section, QStringLiteral("FScale"), QStringLiteral("1E35"));
  TGLBrimloLogo::Create();
  EXPECT_TRUE(Same(GLBrimloLogo->FClrAmbient, TGLColor4f{0.02f, 0.02f, 0.02f, 0.5f}));
  EXPECT_TRUE(Same(GLBrimloLogo->FClrDiffuse, TGLColor4f{0.7f, 0.7f, 0.7f, 0.5f}));
  EXPECT_TRUE(Same(GLBrimloLogo->FClrSpecular, red));
  EXPECT_FLOAT_EQ(GLBrimloLogo->FMixRate, 1.0f);
  EXPECT_FLOAT_EQ(GLBrimloLogo->FShinese, 128.0f);
  EXPECT_FLOAT_EQ(GLBrimloLogo->FScale, 1.0f);
  TGLBrimloLogo::FreeInstance();

  Write(section, QStringLiteral("FMixRate"), QStringLiteral("-3"));
  Write(section, QStringLiteral("FShinese"), QStringLiteral("-1"));
  TGLBrimloLogo::Create();
  EXPECT_FLOAT_EQ(GLBrimloLogo->FMixRate, 0.0f);
  EXPECT_FLOAT_EQ(GLBrimloLogo->FShinese, 0.0f);
  TGLBrimloLogo::FreeInstance();
}

TEST_F(HostileSettingsTest, FontColourNotANumberKeepsTheDefault) {
  Write(QStringLiteral("TGLManager"), QStringLiteral("FFontColor"),
        QStringLiteral("0000807F") + Hex(TGLColor4f{0, 0, 0, 1}).mid(8));
  TGLManager::Create();
  EXPECT_TRUE(Same(GLManager->FFontColor, TGLColor4f{0.8f, 0.8f, 0, 1}));
  TGLManager::FreeInstance();
  Write(QStringLiteral("TGLManager"), QStringLiteral("FFontColor"), Hex(TGLColor4f{0, 0, 1, 1}));
  TGLManager::Create();
  EXPECT_EQ(GLManager->GetFontColor(), 0xFF0000);
  TGLManager::FreeInstance();
}

// Colour channels that are not numbers or are huge convert without undefined behaviour: NaN
// and infinities give 0, in-range channels keep their rounding and 8-bit wrap.
TEST(HostileColourTest, ChannelsAreClampedBeforeConversion) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(GLColorToColor({nan, Inf, -Inf, 1}), 0);
  EXPECT_EQ(GLColorToColor({3e38f, 0, 0, 1}), 0);
  EXPECT_EQ(GLColorToColor({1, 0.5f, 0, 1}), 0x0080FF);
  EXPECT_EQ(GLColorToColor({0, 0, 1.5f, 1}), (382 & 0xFF) << 16);
}
