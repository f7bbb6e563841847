// Material presets, the material modes and the logo parts' surface set-up.
#include <GL/gl.h>

#include <QFile>
#include <array>

#include "AppPaths.h"
#include "BrimloLogo.h"
#include "GLFixture.h"
#include "MaterialDefine.h"

namespace {

using TRGBA = std::array<GLfloat, 4>;

TRGBA Material(GLenum Face, GLenum Param) {
  TRGBA v{-9, -9, -9, -9};
  glGetMaterialfv(Face, Param, v.data());
  return v;
}

TRGBA Rgba(const TGLColor4f& C) {
  return {C.R, C.G, C.B, C.A};
}

class MaterialDefineTest : public GLFixture {
 protected:
  void SetUp() override {
    GLFixture::SetUp();
    QFile::remove(AppPaths::SettingsFileName());
    TGLBrimloLogo::Create();
    glDisable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  }
  void TearDown() override {
    TGLBrimloLogo::FreeInstance();
    glDisable(GL_COLOR_MATERIAL);
    GLFixture::TearDown();
  }
  // Both faces hold the same material.
  void ExpectMaterial(GLenum Param, const TRGBA& Expected) {
    for (GLenum face : {GL_FRONT, GL_BACK}) {
      const TRGBA v = Material(face, Param);
      for (int k = 0; k < 4; ++k) EXPECT_FLOAT_EQ(v[k], Expected[k]) << Param << " " << k;
    }
  }
  void ExpectShininess(GLfloat Expected) {
    for (GLenum face : {GL_FRONT, GL_BACK})
      EXPECT_FLOAT_EQ(Material(face, GL_SHININESS)[0], Expected);
  }
};

}  // namespace

TEST(MaterialPresets, NamesAndValues) {
  const char* names[] = {"Brass",        "Bronze",          "Polished_Bronze",
                         "Chrome",       "Copper",          "Polished_Copper",
                         "Gold",         "Polished_Gold",   "Pewter",
                         "Silver",       "Polished_Silver", "Emerald",
                         "Jade",         "Obsidian",        "Pearl",
                         "Ruby",         "Turquoise",       "Black_Plastic",
                         "Black_Rubber", "Yellow Rubber",   "Red Plastic",
                         "cyan rubber"};
  ASSERT_EQ(MaterialNames.size(), 22u);
  for (int i = 0; i < 22; ++i) EXPECT_EQ(MaterialNames[i], QString::fromLatin1(names[i])) << i;
  // A few rows in full, and the list colour of each preset.
  const TGLMaterial& gold = MaterialPresets[GoldPreset];
  EXPECT_EQ(gold.Shininess, 0.512f);
  EXPECT_EQ(Rgba(gold.Ambient), (TRGBA{0.24725f, 0.1995f, 0.0745f, 0.5f}));
  EXPECT_EQ(Rgba(gold.Diffuse), (TRGBA{0.75164f, 0.60648f, 0.22648f, 0.5f}));
  EXPECT_EQ(Rgba(gold.Specular), (TRGBA{0.628281f, 0.555802f, 0.366065f, 0.5f}));
  EXPECT_EQ(Rgba(MaterialPresets[14].Diffuse), (TRGBA{1, 0.829f, 0.829f, 0.922f}));
  EXPECT_EQ(MaterialPresets[8].Shininess, 0.0984615f);
  EXPECT_EQ(Rgba(MaterialPresets[21].Specular), (TRGBA{0.04f, 0.7f, 0.7f, 0.5f}));
  EXPECT_EQ(Rgba(MaterialPresets[13].Ambient), (TRGBA{0.05375f, 0.05f, 0.06625f, 0.82f}));
  EXPECT_EQ(GLColorToColor(MaterialPresets[0].Diffuse), 0x1D91C7);
  EXPECT_EQ(GLColorToColor(MaterialPresets[20].Diffuse), 0x000080);
  const float timesOneTwentyEight[22] = {
      35.71f, 32.77f, 98.3f,  98.3f,  16.38f, 65.54f, 65.54f, 106.5f, 12.6f, 65.54f, 114.7f,
      98.3f,  16.38f, 49.15f, 14.42f, 98.3f,  16.38f, 40.96f, 12.8f,  10.0f, 32.0f,  10.0f};
  for (int i = 0; i < 22; ++i)
    EXPECT_NEAR(MaterialPresets[i].Shininess * 128, timesOneTwentyEight[i], 0.05) << i;
}

TEST_F(MaterialDefineTest, PresetLeavesEmissionAlone) {
  const TGLColor4f glow{0.1f, 0.2f, 0.3f, 0.4f};
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &glow.R);
  ApplyPresetMaterial(MaterialPresets[14]);  // Pearl
  ExpectShininess(14.41792f);
  ExpectMaterial(GL_AMBIENT, {0.25f, 0.20725f, 0.20725f, 0.922f});
  ExpectMaterial(GL_DIFFUSE, {1, 0.829f, 0.829f, 0.922f});
  ExpectMaterial(GL_SPECULAR, {0.296648f, 0.296648f, 0.296648f, 0.922f});
  ExpectMaterial(GL_EMISSION, Rgba(glow));
}

TEST_F(MaterialDefineTest, MaterialSentForEachMode) {
  TGLBrimloLogo& logo = *GLBrimloLogo;
  logo.FClrAmbient = {0.11f, 0.12f, 0.13f, 0.5f};
  logo.FClrDiffuse = {0.21f, 0.22f, 0.23f, 0.5f};
  logo.FClrSpecular = {0.31f, 0.32f, 0.33f, 0.5f};
  logo.FClrEmission = {0.41f, 0.42f, 0.43f, 0.5f};
  logo.FShinese = 52;
  const TRGBA black = Rgba(clGLBlack), white = Rgba(clGLWhite), dark = Rgba(clGLDarkGray);
  const struct {
    TMaterialMode Mode;
    TRGBA Ambient, Diffuse, Specular;
    GLfloat Shininess;
    TRGBA Emission;
  } modes[] = {
      {mmUserDefine, Rgba(logo.FClrAmbient), Rgba(logo.FClrDiffuse), Rgba(logo.FClrSpecular), 52,
       Rgba(logo.FClrEmission)},
      {mmNormal, black, white, black, 120, black},
      {mmPhone, black, white, white, 5, black},
      {mmMetal, black, white, white, 20, black},
      {mmPlastic, black, black, dark, 20, dark},
  };
  for (const auto& m : modes) {
    SCOPED_TRACE(static_cast<int>(m.Mode));
    logo.FMaterialMode = m.Mode;
    ApplyMaterialMode();
    ExpectMaterial(GL_AMBIENT, m.Ambient);
    ExpectMaterial(GL_DIFFUSE, m.Diffuse);
    ExpectMaterial(GL_SPECULAR, m.Specular);
    ExpectShininess(m.Shininess);
    ExpectMaterial(GL_EMISSION, m.Emission);
  }
  // "Others" sends nothing here; the surface set-up loads the chosen preset instead.
  logo.FMaterialMode = mmOthers;
  ApplyMaterialMode();
  ExpectMaterial(GL_DIFFUSE, black);
  ExpectMaterial(GL_EMISSION, dark);
  logo.FPresetMaterial = MaterialPresets[15];  // Ruby
  logo.FColorMaterial = false;
  ApplySurface(clLogoFrame);
  ExpectMaterial(GL_DIFFUSE, Rgba(MaterialPresets[15].Diffuse));
  ExpectShininess(MaterialPresets[15].Shininess * 128);
  ExpectMaterial(GL_EMISSION, dark);  // a preset has no emission of its own
  // An unknown mode (a corrupt value) sends nothing either.
  logo.FMaterialMode = static_cast<TMaterialMode>(9);
  ApplyMaterialMode();
  ExpectMaterial(GL_EMISSION, dark);
  EXPECT_EQ(PendingGLError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(MaterialDefineTest, SurfaceColourMaterialAndMixing) {
  TGLBrimloLogo& logo = *GLBrimloLogo;
  EXPECT_EQ(std::memcmp(&logo.FPresetMaterial, &MaterialPresets[GoldPreset], 52), 0);
  EXPECT_EQ(logo.FMixRate, 0.3f);

  // Colour material on: the part colour is current, and with it ambient and diffuse.
  logo.FMaterialMode = mmOthers;
  ApplySurface(clLogoHexagons);
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  GLfloat current[4];
  glGetFloatv(GL_CURRENT_COLOR, current);
  EXPECT_EQ((TRGBA{current[0], current[1], current[2], current[3]}), (TRGBA{0.8f, 0, 0, 1}));
  ExpectMaterial(GL_DIFFUSE, {0.8f, 0, 0, 1});
  ExpectMaterial(GL_SPECULAR, Rgba(MaterialPresets[GoldPreset].Specular));

  // Colour material off: black is current, the material stands.
  logo.FColorMaterial = false;
  logo.FMaterialMode = mmUserDefine;
  ApplySurface(clLogoHexagons);
  EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
  glGetFloatv(GL_CURRENT_COLOR, current);
  EXPECT_EQ(current[0], 0.0f);
  ExpectMaterial(GL_DIFFUSE, Rgba(logo.FClrDiffuse));

  // Mixing: Gold at rate 0.3 with the frame colour (0, 0, 0.8), in any mode.
  logo.FMixLogoColor = true;
  for (TMaterialMode mode : {mmUserDefine, mmMetal, mmOthers}) {
    logo.FMaterialMode = mode;
    ApplySurface(clLogoFrame);
    for (GLenum face : {GL_FRONT, GL_BACK}) {
      const TRGBA d = Material(face, GL_DIFFUSE);
      EXPECT_NEAR(d[0], 0.526148, 1e-6);
      EXPECT_NEAR(d[1], 0.424536, 1e-6);
      EXPECT_NEAR(d[2], 0.398536, 1e-6);
      EXPECT_EQ(d[3], 0.5f);
    }
  }
  EXPECT_EQ(PendingGLError(), static_cast<unsigned>(GL_NO_ERROR));
}
