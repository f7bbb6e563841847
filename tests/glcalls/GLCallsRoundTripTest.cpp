// The C round trip: the state the running program held for a view, exported as C, compiled with
// the system's C compiler as the window promises (-std=c99 -Wall -Wextra -Werror -c), linked
// into a small program that runs it in a fresh OpenGL context and reads every row of the state
// table back. Both matrices agree within 1e-6 relative, everything else exactly.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QProcess>
#include <QSlider>
#include <cmath>

#include "GLCalls.h"
#include "OpglLight.h"
#include "TestFiles.h"
#include "ValueDump.h"
#include "WindowFixture.h"

namespace {

struct TRun {
  int Exit = -1;
  QString Output, Errors;
};

TRun Run(const QString& Program, const QStringList& Arguments, const QString& Folder) {
  QProcess process;
  process.setWorkingDirectory(Folder);
  process.start(Program, Arguments);
  TRun run;
  if (!process.waitForFinished(60000)) return run;
  run.Exit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.Output = QString::fromLocal8Bit(process.readAllStandardOutput());
  run.Errors = QString::fromLocal8Bit(process.readAllStandardError());
  return run;
}

// Compiles, links and runs C in a fresh context; the state it read back.
void Replay(const std::string& C, const QString& Folder, TGLCallsRecord& Replayed) {
  QDir().mkpath(Folder);
  WriteAll(Folder + QStringLiteral("/state.c"), QByteArray::fromStdString(C));
  const TRun compile =
      Run(QStringLiteral(OPGL_CC),
          {QStringLiteral("-std=c99"), QStringLiteral("-Wall"), QStringLiteral("-Wextra"),
           QStringLiteral("-Werror"), QStringLiteral("-c"), QStringLiteral("state.c"),
           QStringLiteral("-o"), QStringLiteral("state.o")},
          Folder);
  ASSERT_EQ(compile.Exit, 0) << compile.Errors.toStdString();
  EXPECT_TRUE(compile.Errors.isEmpty()) << compile.Errors.toStdString();
  QStringList linking = {QStringLiteral(OPGL_REPLAY_OBJECT),
                         QStringLiteral("state.o"),
                         QStringLiteral(OPGL_GLCALLS_LIB),
                         QStringLiteral("-lGL"),
                         QStringLiteral("-lX11"),
                         QStringLiteral("-o"),
                         QStringLiteral("replay")};
  if (!QStringLiteral(OPGL_REPLAY_LINK).isEmpty()) linking << QStringLiteral(OPGL_REPLAY_LINK);
  const TRun link = Run(QStringLiteral(OPGL_CXX), linking, Folder);
  ASSERT_EQ(link.Exit, 0) << link.Errors.toStdString();
  const TRun replay = Run(Folder + QStringLiteral("/replay"), {}, Folder);
  ASSERT_EQ(replay.Exit, 0) << replay.Errors.toStdString();
  ASSERT_TRUE(ReadValues(replay.Output.toStdString(), Replayed)) << replay.Output.toStdString();
}

void ExpectSameState(const TGLCallsRecord& Held, const TGLCallsRecord& Replayed) {
  ASSERT_EQ(Held.LightCount, Replayed.LightCount);
  const std::vector<TStateRow>& rows = StateRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TStateRow& row = rows[i];
    if (row.Light >= Held.LightCount) continue;
    for (int k = 0; k < row.Count; ++k) {
      const double held = Held.Values[i][std::size_t(k)], got = Replayed.Values[i][std::size_t(k)];
      const std::string where = std::string(row.EnumName) + " light " + std::to_string(row.Light) +
                                " target " + std::to_string(row.Target) + " [" + std::to_string(k) +
                                "]";
      if (row.Count == 16)
        EXPECT_LE(std::fabs(held - got), 1e-6 * std::max(1.0, std::fabs(held))) << where;
      else
        EXPECT_EQ(held, got) << where;
    }
  }
  EXPECT_EQ(Held.Stipple, Replayed.Stipple);
}

double Held(const TGLCallsRecord& R, GLenum Name, int Light = -1, int K = 0) {
  return R.Value(FindRow(Name, Light))[std::size_t(K)];
}

}  // namespace

class GLCallsRoundTripTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    GLCalls->Open();
  }
  void TearDown() override {
    GLCalls->SetExtras(TGLCallsExtras());
    GLCalls->Close();
    WindowFixture::TearDown();
  }
  // The program's state for the chosen view, as the frame just held it.
  TGLCallsRecord Capture() {
    const int before = GLCalls->Captures();
    Frame();
    EXPECT_GT(GLCalls->Captures(), before) << "the frame captured nothing";
    return GLCalls->Record();
  }
  void RoundTrip(const char* Name) {
    SCOPED_TRACE(Name);
    const TGLCallsRecord held = Capture();
    TGLCallsRecord replayed;
    Replay(GLCalls->CText(), TempPath(QString::fromLatin1(Name)), replayed);
    if (HasFatalFailure()) return;
    ExpectSameState(held, replayed);
  }
};

TEST_F(GLCallsRoundTripTest, ExportedStateComesBackFromAFreshContext) {
  const char* projections[] = {"ortho2d", "ortho", "frustum", "perspective"};
  for (int mode = 0; mode < 4; ++mode) {
    Form->rdgpPrjMode->SetItemIndex(mode);
    ASSERT_EQ(Capture().Calls.Projection, mode);
    RoundTrip(projections[mode]);
  }

  // The spot light, turned and narrowed, with its colours from the panel.
  Form->ckbxLights->SetItemIndex(2);
  Form->tkbarCutOff->setValue(25);
  Form->tkbarFallOff->setValue(12);
  GLLighter->SetSpotDirection(2, GLPoint4f(1, -2, 0.5f, 1));
  const TGLCallsRecord spot = Capture();
  EXPECT_EQ(Held(spot, GL_SPOT_CUTOFF, 2), 25);
  EXPECT_EQ(Held(spot, GL_SPOT_EXPONENT, 2), 12);
  EXPECT_EQ(Held(spot, GL_LIGHT2, 2), 1);
  RoundTrip("spot");

  TGLCallsExtras fog;
  fog.Fog = true;
  fog.FogMode = GL_LINEAR;
  fog.FogStart = 10;
  fog.FogEnd = 55.5f;
  fog.FogDensity = 0.03f;
  const float colour[4] = {0.25f, 0.5f, 0.75f, 1};
  std::copy_n(colour, 4, fog.FogColor);
  fog.Attenuation[1][1] = 0.01f;
  fog.ShadeModel = GL_FLAT;
  fog.LocalViewer = true;
  GLCalls->SetExtras(fog);
  const TGLCallsRecord fogged = Capture();
  EXPECT_EQ(Held(fogged, GL_FOG), 1);
  EXPECT_EQ(Held(fogged, GL_FOG_MODE), GL_LINEAR);
  EXPECT_EQ(Held(fogged, GL_FOG_COLOR, -1, 2), 0.75);
  RoundTrip("fog");

  // A texture on the cube, its own filters and wrap, and coordinates made by OpenGL.
  ShowOnly({Form->ckbxShowCube, Form->ckbxShowLights});
  Form->lbxTextures->SetItemIndex(2);
  Form->ckbxAutoGenTexture->setChecked(true);
  TGLCallsExtras texture;
  texture.MinFilter = GL_NEAREST;
  texture.MagFilter = GL_NEAREST;
  texture.WrapS = GL_CLAMP;
  texture.TexEnvMode = GL_DECAL;
  GLCalls->SetExtras(texture);
  const TGLCallsRecord textured = Capture();
  EXPECT_NE(Held(textured, GL_TEXTURE_BINDING_2D), 0);
  EXPECT_EQ(Held(textured, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
  EXPECT_EQ(Held(textured, GL_TEXTURE_WRAP_S), GL_CLAMP);
  EXPECT_EQ(Held(textured, GL_TEXTURE_GEN_MODE, -1), GL_SPHERE_MAP);
  RoundTrip("texture");

  // With the polygon stipple of key J and the lights riding with the eye.
  int key = Qt::Key_J;
  Form->Dispatch([&] { Form->FormKeyDown(Form, key, Qt::NoModifier); });
  Form->ckbxAutoGenTexture->setChecked(false);
  TGLCallsExtras eye;
  eye.LightsBeforeLookAt = true;
  GLCalls->SetExtras(eye);
  RoundTrip("lights-before-lookat");
  Form->Dispatch([&] { Form->FormKeyDown(Form, key, Qt::NoModifier); });
}
