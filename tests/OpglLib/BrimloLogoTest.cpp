// The logo object: its settings section, axis toggles and the drawing of its parts.
#include <GL/gl.h>

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTextStream>
#include <cstring>

#include "AppPaths.h"
#include "BrimloLogo.h"
#include "CompiledDraw.h"
#include "FileOP.h"
#include "GLFixture.h"
#include "IniFile.h"

namespace {

bool Same(const TGLColor4f& A, const TGLColor4f& B) {
  return std::memcmp(&A, &B, sizeof A) == 0;
}

QString Hex(const TGLColor4f& C) {
  QString text;
  for (std::size_t b = 0; b < sizeof C; ++b)
    text +=
        QStringLiteral("%1").arg(reinterpret_cast<const uint8_t*>(&C)[b], 2, 16, QLatin1Char('0'));
  return text.toUpper();
}

int Covered(const QImage& Image) {
  int n = 0;
  for (int y = 0; y < Image.height(); ++y)
    for (int x = 0; x < Image.width(); ++x) n += Image.pixel(x, y) != qRgb(0, 0, 0);
  return n;
}

class BrimloLogoTest : public GLFixture {
 protected:
  void SetUp() override {
    GLFixture::SetUp();
    QFile::remove(AppPaths::SettingsFileName());
    TFileOpEX::Create();
  }
  void TearDown() override {
    if (GLBrimloLogo) TGLBrimloLogo::FreeInstance();
    TFileOpEX::FreeInstance();
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    GLFixture::TearDown();
  }
  void Scene() {
    LitOrthoScene();
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  }
  QImage Draw(void (TGLBrimloLogo::*Part)(float), float Angle) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    (GLBrimloLogo->*Part)(Angle);
    return ReadPixels();
  }
  QImage Ball() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GLBrimloLogo->DrawBall();
    return ReadPixels();
  }
};

}  // namespace

TEST_F(BrimloLogoTest, DefaultsAndAxisToggles) {
  TGLBrimloLogo::Create();
  TGLBrimloLogo& logo = *GLBrimloLogo;
  EXPECT_EQ(logo.FLogoWidth, 20.0f);
  EXPECT_EQ(logo.FScale, 1.0f);
  EXPECT_EQ(logo.FMaterialMode, mmUserDefine);
  EXPECT_EQ(std::memcmp(&logo.FPresetMaterial, &MaterialPresets[GoldPreset], 52), 0);
  EXPECT_EQ(logo.FShinese, 30.0f);
  EXPECT_TRUE(Same(logo.FClrAmbient, {0.02f, 0.02f, 0.02f, 0.5f}));
  EXPECT_TRUE(Same(logo.FClrDiffuse, {0.7f, 0.7f, 0.7f, 0.5f}));
  EXPECT_TRUE(Same(logo.FClrEmission, {0.1f, 0.1f, 0.1f, 0.5f}));
  EXPECT_TRUE(logo.FColorMaterial);
  EXPECT_FALSE(logo.FMixLogoColor);
  // The flags start false while the axis starts (0, 1, 0): the first Y keeps it.
  logo.ToggleRotateY();
  EXPECT_EQ(logo.FRotateAxis.Y, 1.0f);
  logo.ToggleRotateY();
  EXPECT_EQ(logo.FRotateAxis.Y, 0.0f);
  logo.ToggleRotateX();
  logo.ToggleRotateZ();
  EXPECT_TRUE(logo.FRotateAxis.X == 1 && logo.FRotateAxis.Y == 0 && logo.FRotateAxis.Z == 1);
  logo.ToggleRotateX();
  EXPECT_EQ(logo.FRotateAxis.X, 0.0f);
}

TEST_F(BrimloLogoTest, SectionWithOnlyAmbientAndShortColours) {
  const TGLColor4f stored{0.25f, 0.5f, 0.75f, 1.0f};
  {
    TIniFile ini(AppPaths::SettingsFileName());
    ini.WriteString(QStringLiteral("TGLBrimloLogo"), QStringLiteral("FClrAmbient"), Hex(stored));
    ini.UpdateFile();
  }
  TGLBrimloLogo::Create();
  EXPECT_TRUE(Same(GLBrimloLogo->FClrAmbient, stored));
  EXPECT_TRUE(Same(GLBrimloLogo->FClrDiffuse, {0.7f, 0.7f, 0.7f, 0.5f}));
  EXPECT_TRUE(Same(GLBrimloLogo->FClrSpecular, {0.7f, 0.7f, 0.7f, 0.5f}));
  EXPECT_TRUE(Same(GLBrimloLogo->FClrEmission, {0.1f, 0.1f, 0.1f, 0.5f}));
  EXPECT_EQ(GLBrimloLogo->FShinese, 30.0f);
  EXPECT_EQ(GLBrimloLogo->FMixRate, 0.3f);
  TGLBrimloLogo::FreeInstance();

  // Fifteen bytes, or a broken digit early on, keep the default.
  {
    TIniFile ini(AppPaths::SettingsFileName());
    const QString s = QStringLiteral("TGLBrimloLogo");
    ini.WriteString(s, QStringLiteral("FClrAmbient"), Hex(stored).left(30));
    ini.WriteString(s, QStringLiteral("FClrDiffuse"), Hex(stored).replace(4, 1, QLatin1Char('G')));
    ini.WriteString(s, QStringLiteral("FClrSpecular"), Hex(stored).toLower());
    ini.WriteString(s, QStringLiteral("FShinese"), QStringLiteral("abc"));
    ini.UpdateFile();
  }
  TGLBrimloLogo::Create();
  EXPECT_TRUE(Same(GLBrimloLogo->FClrAmbient, {0.02f, 0.02f, 0.02f, 0.5f}));
  EXPECT_TRUE(Same(GLBrimloLogo->FClrDiffuse, {0.7f, 0.7f, 0.7f, 0.5f}));
  EXPECT_TRUE(Same(GLBrimloLogo->FClrSpecular, stored));
  EXPECT_EQ(GLBrimloLogo->FShinese, 30.0f);
}

TEST_F(BrimloLogoTest, SavedKeysInOrderAndReadBack) {
  TGLBrimloLogo::Create();
  GLBrimloLogo->FLogoWidth = 12.5f;
  GLBrimloLogo->FScale = 2.2f;
  GLBrimloLogo->FMixLogoColor = true;
  GLBrimloLogo->FMixRate = 0.7f;
  GLBrimloLogo->FClrEmission = {0.9f, 0.8f, 0.7f, 0.5f};
  GLBrimloLogo->FShinese = 64;
  GLBrimloLogo->FMaterialMode = mmMetal;  // not kept
  GLBrimloLogo->FColorMaterial = false;   // not kept
  TGLBrimloLogo::FreeInstance();

  QFile file(AppPaths::SettingsFileName());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QStringList keys;
  bool inSection = false;
  QString emission;
  for (const QString& line : QTextStream(&file).readAll().split(QLatin1Char('\n'))) {
    const QString l = line.trimmed();
    if (l.startsWith(QLatin1Char('[')))
      inSection = l == QStringLiteral("[TGLBrimloLogo]");
    else if (inSection && l.contains(QLatin1Char('='))) {
      keys << l.section(QLatin1Char('='), 0, 0);
      if (keys.last() == QStringLiteral("FClrEmission")) emission = l.section(QLatin1Char('='), 1);
    }
  }
  EXPECT_EQ(keys, (QStringList{"mGLBrimloLogo", "FLogoWidth", "FScale", "FMixLogoColor", "FMixRate",
                               "FClrAmbient", "FClrDiffuse", "FClrSpecular", "FClrEmission",
                               "FShinese"}));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{32}$")).match(emission).hasMatch());
  EXPECT_EQ(emission, Hex({0.9f, 0.8f, 0.7f, 0.5f}));

  TGLBrimloLogo::Create();
  EXPECT_EQ(GLBrimloLogo->FLogoWidth, 12.5f);
  EXPECT_FLOAT_EQ(GLBrimloLogo->FScale, 2.2f);
  EXPECT_TRUE(GLBrimloLogo->FMixLogoColor);
  EXPECT_FLOAT_EQ(GLBrimloLogo->FMixRate, 0.7f);
  EXPECT_TRUE(Same(GLBrimloLogo->FClrEmission, {0.9f, 0.8f, 0.7f, 0.5f}));
  EXPECT_EQ(GLBrimloLogo->FShinese, 64.0f);
  EXPECT_EQ(GLBrimloLogo->FMaterialMode, mmUserDefine);
  EXPECT_TRUE(GLBrimloLogo->FColorMaterial);
}

TEST_F(BrimloLogoTest, PartsTurnScaleAndRestoreState) {
  TGLBrimloLogo::Create();
  Scene();
  GLBrimloLogo->ToggleRotateX();  // axis (1, 1, 0)
  glDisable(GL_COLOR_MATERIAL);
  GLfloat before[16], after[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  const QImage frame0 = Draw(&TGLBrimloLogo::DrawLogoFrame, 0);
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);
  EXPECT_GT(Covered(frame0), 3000);
  // Beyond a full turn either way the part is drawn unturned; within it, turned.
  EXPECT_EQ(Draw(&TGLBrimloLogo::DrawLogoFrame, 400), frame0);
  EXPECT_EQ(Draw(&TGLBrimloLogo::DrawLogoFrame, -360.5f), frame0);
  EXPECT_NE(Draw(&TGLBrimloLogo::DrawLogoFrame, 30), frame0);
  // The studs turn the other way: +30 for the studs looks like -30 mirrored, never like +30.
  const QImage studs0 = Draw(&TGLBrimloLogo::DrawLogoHexagons, 0);
  EXPECT_GT(Covered(studs0), 500);
  EXPECT_EQ(Draw(&TGLBrimloLogo::DrawLogoHexagons, 361), studs0);
  // With no axis at all nothing turns.
  GLBrimloLogo->ToggleRotateX();
  GLBrimloLogo->ToggleRotateY();
  GLBrimloLogo->ToggleRotateY();
  EXPECT_EQ(Draw(&TGLBrimloLogo::DrawLogoFrame, 30), frame0);

  // Colour material was off before: the part's set-up state stays (on, with the part colour).
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  // It was on: on again afterwards, with black emission.
  GLBrimloLogo->FColorMaterial = false;
  GLBrimloLogo->FClrEmission = {0.3f, 0.3f, 0.3f, 0.5f};
  Ball();
  GLfloat emission[4];
  glGetMaterialfv(GL_FRONT, GL_EMISSION, emission);
  EXPECT_EQ(emission[0], 0.0f);
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));

  // The ball: radius W/3 whatever the angle, scaled with the logo.
  GLBrimloLogo->FColorMaterial = true;
  const int full = Covered(Ball());
  EXPECT_NEAR(full, 3.14159 * (20.0 / 3 * 10) * (20.0 / 3 * 10), full * 0.05);
  GLBrimloLogo->FScale = 0.5f;
  const int half = Covered(Ball());
  EXPECT_NEAR(static_cast<double>(half) / full, 0.25, 0.02);
  // A new width is drawn at its own size (the compiled geometry follows it).
  GLBrimloLogo->FScale = 1;
  GLBrimloLogo->FLogoWidth = 10;
  EXPECT_NEAR(static_cast<double>(Covered(Ball())) / full, 0.25, 0.02);
  GLBrimloLogo->FLogoWidth = 20;
  EXPECT_EQ(Covered(Ball()), full);
  EXPECT_EQ(PendingGLError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(BrimloLogoTest, CompiledPartsMatchDirectDrawing) {
  TGLBrimloLogo::Create();
  Scene();
  glEnable(GL_COLOR_MATERIAL);
  std::vector<QImage> compiled, direct;
  for (bool immediate : {false, true}) {
    SetImmediateDrawing(immediate);
    auto& images = immediate ? direct : compiled;
    images.push_back(Draw(&TGLBrimloLogo::DrawLogoFrame, 25));
    images.push_back(Draw(&TGLBrimloLogo::DrawLogoHexagons, 25));
    images.push_back(Ball());
  }
  SetImmediateDrawing(false);
  for (std::size_t i = 0; i < compiled.size(); ++i) EXPECT_EQ(compiled[i], direct[i]) << i;
}
