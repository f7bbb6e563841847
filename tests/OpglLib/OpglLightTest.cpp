// The light table: its default lights, stored form, OpenGL state, report and light pass.
#include <GL/gl.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstring>

#include "AppPaths.h"
#include "FileOP.h"
#include "GLFixture.h"
#include "IniFile.h"
#include "OpglLight.h"

namespace {

TGLLight Light(int i, uint8_t Type, float Alpha, int R, int G, int B, float CutOff,
               TGLPoint4f Position, TGLPoint4f Direction) {
  TGLLight l;
  std::memset(&l, 0, sizeof l);
  l.ID = 0x4000 + i;
  l.Enabled = 1;
  l.LightType = Type;
  l.Ambient = {0.3f, 0.3f, 0.3f, Alpha};
  l.Diffuse = {R / 255.0f, G / 255.0f, B / 255.0f, 0.5f};
  l.Specular = {1, 1, 1, Alpha};
  l.CutOff = CutOff;
  l.Exponent = 0.01f;
  l.Position = Position;
  l.Direction = Direction;
  return l;
}

// The default table with centre (0, 0, 0, 1) and radius 10.
TGLLights ExpectedDefaults() {
  const TGLPoint4f none{0, 0, 0, 0};
  return {Light(0, 0, 0, 170, 255, 85, 33, {20, 20, 20, 1}, none),
          Light(1, 1, 1, 255, 85, 170, 32, {20, 20, -20, 1}, none),
          Light(2, 2, 1, 255, 170, 85, 34, {-20, -20, -20, 1}, {20, 20, 20, 1}),
          Light(3, 1, 1, 85, 255, 170, 32, {-20, 20, 20, 1}, none),
          Light(4, 1, 1, 170, 255, 85, 35, {-20, 20, -20, 1}, none),
          Light(5, 1, 1, 85, 170, 85, 22, {20, -20, 20, 1}, none),
          Light(6, 1, 1, 85, 85, 85, 20, {20, -20, -20, 1}, none),
          Light(7, 1, 1, 85, 170, 170, 33, {-20, -20, 20, 1}, none)};
}

void ExpectSameBytes(const TGLLights& Actual, const TGLLights& Expected) {
  ASSERT_EQ(Actual.size(), Expected.size());
  for (std::size_t i = 0; i < Actual.size(); ++i)
    EXPECT_EQ(std::memcmp(&Actual[i], &Expected[i], sizeof(TGLLight)), 0) << "light " << i;
}

std::array<GLfloat, 4> LightValue(GLenum Light, GLenum Param) {
  std::array<GLfloat, 4> v{-9, -9, -9, -9};
  glGetLightfv(Light, Param, v.data());
  return v;
}

class OpglLightTest : public GLFixture {
 protected:
  void SetUp() override {
    GLFixture::SetUp();
    QFile::remove(AppPaths::SettingsFileName());
    TFileOpEX::Create();
    TGLLighter::Create();
  }
  void TearDown() override {
    if (GLLighter) TGLLighter::FreeInstance();
    TFileOpEX::FreeInstance();
    glDisable(GL_LIGHTING);
    GLFixture::TearDown();
  }
};

}  // namespace

TEST(LightRecord, LayoutAndPalette) {
  EXPECT_EQ(sizeof(TGLLight), 94u);
  EXPECT_EQ(offsetof(TGLLight, Enabled), 4u);
  EXPECT_EQ(offsetof(TGLLight, LightType), 5u);
  EXPECT_EQ(offsetof(TGLLight, Ambient), 6u);
  EXPECT_EQ(offsetof(TGLLight, Diffuse), 22u);
  EXPECT_EQ(offsetof(TGLLight, Specular), 38u);
  EXPECT_EQ(offsetof(TGLLight, CutOff), 54u);
  EXPECT_EQ(offsetof(TGLLight, Exponent), 58u);
  EXPECT_EQ(offsetof(TGLLight, Position), 62u);
  EXPECT_EQ(offsetof(TGLLight, Direction), 78u);

  // The generator: S := S * 134775813 + 1, Random(n) the high half of S * n.
  RandSeed = 0;
  EXPECT_EQ(Random(100), 0u);  // S = 1
  EXPECT_EQ(RandSeed, 1u);
  EXPECT_EQ(Random(0x80000000u), 67387907u);  // S = 134775814
  RandSeed = 0xFFFFFFFFu;
  Random(10);
  EXPECT_EQ(RandSeed, 0xFFFFFFFFu * 134775813u + 1u);

  const TColorArray palette = MakeColorArray(8);
  const TColorArray expected = {0x55FFAA, 0xAA55FF, 0x55AAFF, 0xAAFF55,
                                0x55FFAA, 0x55AA55, 0x555555, 0xAAAA55};
  EXPECT_EQ(palette, expected);
  EXPECT_EQ(MakeColorArray(60).size(), 60u);
  EXPECT_EQ(MakeColorArray(60), MakeColorArray(60));
  EXPECT_TRUE(MakeColorArray(0).empty());
  EXPECT_EQ(MakeColorArray(1).size(), 1u);
}

TEST(LightTable, DefaultsWithoutContextOrSettings) {
  // The program creates the light manager before any rendering context exists.
  QTemporaryDir dir;
  AppPaths::SetSettingsFileName(dir.filePath(QStringLiteral("none.ini")));
  TGLLighter::Create();
  ExpectSameBytes(GLLighter->FLights, ExpectedDefaults());
  TGLLights fresh(3);
  GLLighter->MakeDefaultLights(fresh, GLPoint4f(0, 0, 0, 1), 10);
  ExpectSameBytes(fresh, ExpectedDefaults());
  GLLighter->ClearLights();  // nothing to save
  TGLLighter::FreeInstance();
  EXPECT_EQ(GLLighter, nullptr);
  AppPaths::SetSettingsFileName(QString());
}

TEST_F(OpglLightTest, DefaultTableInContextAndReset) {
  ASSERT_EQ(GLLighter->GetMaxLights(), 8);
  ExpectSameBytes(GLLighter->FLights, ExpectedDefaults());
  // A reset after edits restores positions, cut-offs and types too.
  GLLighter->SetCutOff(2, 77);
  GLLighter->SetLightType(4, ltSpotLight);
  GLLighter->SetLightPosition(6, GLPoint4f(1, 2, 3, 1));
  TGLLights table;
  GLLighter->MakeDefaultLights(table, GLPoint4f(0, 0, 0, 1), 10);
  GLLighter->ApplyLights(table);
  ExpectSameBytes(GLLighter->FLights, ExpectedDefaults());
  EXPECT_EQ(LightValue(GL_LIGHT2, GL_SPOT_CUTOFF)[0], 34.0f);
  // An empty table changes nothing.
  GLLighter->ApplyLights(TGLLights{});
  EXPECT_EQ(GLLighter->FLights.size(), 8u);
}

TEST_F(OpglLightTest, SettingsRoundTripAllEightRecords) {
  GLLighter->SetAmbient(0, GLColor4f(0.1f, 0.2f, 0.3f, 0.4f));
  GLLighter->SetCutOff(3, 250);  // stored although OpenGL refuses it
  GLLighter->SetExponent(5, 42.5f);
  GLLighter->SetLightPosition(7, GLPoint4f(-1.5f, 2.25f, 1e-7f, 1));
  GLLighter->SetLightType(6, ltDirectLight);
  GLLighter->FLights[1].Enabled = 0;
  const TGLLights saved = GLLighter->FLights;
  TGLLighter::FreeInstance();

  TIniFile ini(AppPaths::SettingsFileName());
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("TGLLighter"), QStringLiteral("LightNum"), -1), 7);
  EXPECT_TRUE(ini.ValueExists(QStringLiteral("TGLLighter"), QStringLiteral("mGLLighter")));
  const QRegularExpression hex(QStringLiteral("^[0-9A-F]{188}$"));
  for (int i = 0; i < 8; ++i) {
    const QString text =
        ini.ReadString(QStringLiteral("TGLLighter"), QStringLiteral("FLights%1").arg(i), QString());
    EXPECT_TRUE(hex.match(text).hasMatch()) << text.toStdString();
  }
  // Light 0's record starts with its ID 0x4000 little-endian, then Enabled and the type.
  EXPECT_TRUE(ini.ReadString(QStringLiteral("TGLLighter"), QStringLiteral("FLights0"), QString())
                  .startsWith(QStringLiteral("004000000100")));

  TGLLighter::Create();
  ExpectSameBytes(GLLighter->FLights, saved);
}

TEST_F(OpglLightTest, ShortOrBadKeysKeepTheDefaults) {
  TGLLighter::FreeInstance();
  {
    TIniFile ini(AppPaths::SettingsFileName());
    const QString s = QStringLiteral("TGLLighter");
    TGLLight odd = ExpectedDefaults()[4];
    odd.CutOff = 60;
    QString text;
    for (std::size_t b = 0; b < sizeof odd; ++b)
      text += QStringLiteral("%1").arg(reinterpret_cast<const uint8_t*>(&odd)[b], 2, 16,
                                       QLatin1Char('0'));
    ini.WriteString(s, QStringLiteral("FLights4"), text.toLower() + QStringLiteral("FFFF"));
    ini.WriteString(s, QStringLiteral("FLights1"), text.left(186));               // 93 bytes
    ini.WriteString(s, QStringLiteral("FLights2"), QStringLiteral("zz") + text);  // not hex
    ini.WriteString(s, QStringLiteral("FLights3"), QString());
    ini.WriteString(s, QStringLiteral("FLights9"), text);  // no such light
    ini.UpdateFile();
  }
  TGLLighter::Create();
  TGLLights expected = ExpectedDefaults();
  expected[4].CutOff = 60;
  ExpectSameBytes(GLLighter->FLights, expected);
}

TEST_F(OpglLightTest, SettersSendAndTypeChangesOnlyTheRecord) {
  GLLighter->LightingOn();
  EXPECT_TRUE(GLLighter->IsLightingOn());
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_AMBIENT), (std::array<GLfloat, 4>{0.3f, 0.3f, 0.3f, 1}));
  EXPECT_EQ(LightValue(GL_LIGHT5, GL_DIFFUSE)[1], 170 / 255.0f);

  // Type 0: the three alphas become 0 in the record, and nothing reaches OpenGL yet.
  GLLighter->SetLightType(1, ltDirectLight);
  EXPECT_EQ(GLLighter->GetLightType(1), ltDirectLight);
  EXPECT_EQ(GLLighter->GetAmbient(1).A, 0.0f);
  EXPECT_EQ(GLLighter->GetDiffuse(1).A, 0.0f);
  EXPECT_EQ(GLLighter->GetSpecular(1).A, 0.0f);
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_AMBIENT)[3], 1.0f);
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_DIFFUSE)[3], 0.5f);
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_SPECULAR)[3], 1.0f);
  GLLighter->SetLightOn(1, true);
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_AMBIENT)[3], 0.0f);
  EXPECT_EQ(LightValue(GL_LIGHT1, GL_SPECULAR)[3], 0.0f);
  GLLighter->SetLightType(1, ltSpotLight);
  EXPECT_EQ(GLLighter->GetDiffuse(1).A, 1.0f);

  // Switching off, and the switch read back from OpenGL.
  GLLighter->SetLightOn(3, false);
  EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
  GLLighter->FLights[3].Enabled = 1;
  EXPECT_FALSE(GLLighter->IsLightOn(3));
  EXPECT_EQ(GLLighter->FLights[3].Enabled, 0);
  EXPECT_FALSE(GLLighter->IsLightOn(11));  // light 3 again
  EXPECT_TRUE(GLLighter->IsLightOn(12));
}

TEST_F(OpglLightTest, LightReportFormat) {
  GLLighter->LightingOn();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const GLfloat position[4] = {1, 2, 3, 1};
  const GLfloat direction[3] = {0.3f, -0.6f, 0.7f};
  glLightfv(GL_LIGHT2, GL_POSITION, position);
  glLightfv(GL_LIGHT2, GL_SPOT_DIRECTION, direction);
  const QString info = GLLighter->GetLightInfo(GL_LIGHT2);
  EXPECT_FALSE(info.contains(QLatin1Char('\n')));
  const QStringList lines = info.split(QLatin1Char('\r'));
  ASSERT_EQ(lines.size(), 11);  // ten lines, each ending in CR
  EXPECT_TRUE(lines[10].isEmpty());
  EXPECT_EQ(lines[0], QStringLiteral("  Light Ambient :  (0.3, 0.3, 0.3, 1.0)"));
  EXPECT_EQ(lines[1], QStringLiteral("  Light Diffuse :  (1.0, 0.7, 0.3, 0.5)"));
  EXPECT_EQ(lines[3], QStringLiteral("  Light Position :  (1.0, 2.0, 3.0, 1.0)"));
  // Fewer values leave the rest of the shared buffer as the earlier queries left it.
  EXPECT_EQ(lines[4], QStringLiteral("  Light Direction :  (0.3, -0.6, 0.7, 1.0)"));
  EXPECT_EQ(lines[5], QStringLiteral("  Light Exponent(FallOff) :  (0.0, -0.6, 0.7, 1.0)"));
  EXPECT_EQ(lines[6], QStringLiteral("  Light CutOff :  (34.0, -0.6, 0.7, 1.0)"));
  EXPECT_EQ(lines[7], QStringLiteral("  Light Const Attenuation :  (1.0, -0.6, 0.7, 1.0)"));
  EXPECT_EQ(lines[9], QStringLiteral("  Light Quaratic Attenuation :  (0.0, -0.6, 0.7, 1.0)"));

  EXPECT_TRUE(GLLighter->GetLightInfo(GL_LIGHT0 + 8).isEmpty());
  EXPECT_TRUE(GLLighter->GetLightInfo(GL_LIGHT0 - 1).isEmpty());
  EXPECT_TRUE(GLLighter->GetLightInfo(0).isEmpty());
  EXPECT_EQ(GLLighter->GetLightInfo(GL_LIGHT7).count(QLatin1Char('\r')), 10);
}

TEST_F(OpglLightTest, NegativeIndexTouchesNothing) {
  GLLighter->LightingOn();
  const TGLLights before = GLLighter->FLights;
  const auto ambient7 = LightValue(GL_LIGHT7, GL_AMBIENT);
  const auto cutoff7 = LightValue(GL_LIGHT7, GL_SPOT_CUTOFF);
  EXPECT_EQ(GLLighter->GetLightID(-1), 0u);
  EXPECT_EQ(GLLighter->GetLightID(9), static_cast<GLenum>(GL_LIGHT1));
  EXPECT_FALSE(GLLighter->IsLightOn(-1));
  const TGLColor4f fallback{0.2f, 0.2f, 0.2f, 1};
  for (const TGLColor4f& c :
       {GLLighter->GetAmbient(-1), GLLighter->GetDiffuse(-1), GLLighter->GetSpecular(-1)})
    EXPECT_EQ(std::memcmp(&c, &fallback, sizeof c), 0);
  EXPECT_EQ(GLLighter->GetCutOff(-1), 10.0f);
  EXPECT_EQ(GLLighter->GetExponent(-1), 0.0f);
  const TGLPoint4f p = GLLighter->GetLightPosition(-1), d = GLLighter->GetSpotDirection(-1);
  EXPECT_TRUE(p.X == 0 && p.Y == 0 && p.Z == 0 && p.W == 1);
  EXPECT_TRUE(d.X == 0 && d.Y == 0 && d.Z == 0 && d.W == -1);
  EXPECT_EQ(GLLighter->GetLightType(-1), ltDirectLight);
  GLLighter->SetAmbient(-1, clGLRed);
  GLLighter->SetDiffuse(-1, clGLRed);
  GLLighter->SetSpecular(-1, clGLRed);
  GLLighter->SetCutOff(-1, 5);
  GLLighter->SetExponent(-1, 5);
  GLLighter->SetLightPosition(-1, GLPoint4f(9, 9, 9, 9));
  GLLighter->SetSpotDirection(-1, GLPoint4f(9, 9, 9, 9));
  GLLighter->SetLightType(-1, ltSpotLight);
  GLLighter->SetLightOn(-1, false);
  GLLighter->SetLightOn(-9, false);
  ExpectSameBytes(GLLighter->FLights, before);
  EXPECT_EQ(LightValue(GL_LIGHT7, GL_AMBIENT), ambient7);
  EXPECT_EQ(LightValue(GL_LIGHT7, GL_SPOT_CUTOFF), cutoff7);
  EXPECT_TRUE(glIsEnabled(GL_LIGHT7));
  EXPECT_EQ(PendingGLError(), static_cast<unsigned>(GL_NO_ERROR));

  // An index past the table wraps onto it; an empty table answers with the fallbacks.
  GLLighter->SetCutOff(10, 45);
  EXPECT_EQ(GLLighter->GetCutOff(2), 45.0f);
  GLLighter->ClearLights();
  EXPECT_EQ(GLLighter->GetCutOff(2), 10.0f);
  EXPECT_FALSE(GLLighter->IsLightOn(0));
  GLLighter->SetCutOff(2, 50);
  GLLighter->DrawLights({0, 0, 0, 0, 0, 0, 0, 0}, true, true);
  EXPECT_TRUE(GLLighter->GetLightInfo(GL_LIGHT0).isEmpty());
  EXPECT_TRUE(GLLighter->FLights.empty());
}

TEST_F(OpglLightTest, LightPassPlacesLightsAndMarkers) {
  GLLighter->LightingOn();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_COLOR_MATERIAL);
  const std::vector<float> angles = {0, 90, 0, 180, 0, 0, 0, 0};
  GLLighter->DrawLights(angles, false, true);
  // Position 0 is the origin after a move to the light's position, given in eye coordinates.
  EXPECT_EQ(LightValue(GL_LIGHT0, GL_POSITION), (std::array<GLfloat, 4>{20, 20, 20, 1}));
  // The spot light's position is given after the move by itself: it stands at twice it.
  EXPECT_EQ(LightValue(GL_LIGHT2, GL_POSITION), (std::array<GLfloat, 4>{-40, -40, -40, 1}));
  const auto dir = LightValue(GL_LIGHT2, GL_SPOT_DIRECTION);
  EXPECT_FLOAT_EQ(dir[0], 20);
  EXPECT_FLOAT_EQ(dir[2], 20);
  EXPECT_EQ(LightValue(GL_LIGHT3, GL_POSITION), (std::array<GLfloat, 4>{-20, 20, 20, 1}));
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  GLfloat emission[4];
  glGetMaterialfv(GL_FRONT, GL_EMISSION, emission);
  EXPECT_EQ(emission[0], 0.0f);
  EXPECT_EQ(emission[3], 0.5f);

  // With "Rotate", light 3 orbits: 180 degrees about (0.5, 0, 1).
  GLLighter->DrawLights(angles, true, false);
  const auto p3 = LightValue(GL_LIGHT3, GL_POSITION);
  EXPECT_NEAR(p3[0], 28, 1e-4);
  EXPECT_NEAR(p3[1], -20, 1e-4);
  EXPECT_NEAR(p3[2], -4, 1e-4);
  EXPECT_EQ(LightValue(GL_LIGHT0, GL_POSITION), (std::array<GLfloat, 4>{20, 20, 20, 1}));

  // A switched-off light is not placed; with lighting off nothing happens at all.
  GLLighter->SetLightOn(0, false);
  glLoadIdentity();
  glTranslatef(1, 0, 0);
  GLLighter->DrawLights(angles, false, false);
  EXPECT_EQ(LightValue(GL_LIGHT0, GL_POSITION)[0], 20.0f);
  EXPECT_EQ(LightValue(GL_LIGHT5, GL_POSITION)[0], 21.0f);
  GLLighter->LightingOff();
  glTranslatef(1, 0, 0);
  GLLighter->DrawLights(angles, false, false);
  EXPECT_EQ(LightValue(GL_LIGHT5, GL_POSITION)[0], 21.0f);
  glLoadIdentity();
  glDisable(GL_COLOR_MATERIAL);
  EXPECT_EQ(PendingGLError(), static_cast<unsigned>(GL_NO_ERROR));
}
