// Reading the table's rows from a real context: a fresh context reads as the table's defaults
// (so every query names the state it means), reading changes nothing, and the window's own
// additions at their starting values leave a context as OpenGL made it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <memory>

#include "GLCapture.h"
#include "GLFixture.h"

namespace {

// Rows whose fresh value is known and equal in both records.
void ExpectDefaults(const TGLCallsRecord& Got, const TGLCallsRecord& Expected) {
  const std::vector<TStateRow>& rows = StateRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i].HasDefault || rows[i].Light >= Got.LightCount) continue;
    for (int k = 0; k < rows[i].Count; ++k)
      EXPECT_FLOAT_EQ(float(Got.Values[i][std::size_t(k)]),
                      float(Expected.Values[i][std::size_t(k)]))
          << rows[i].EnumName << " light " << rows[i].Light << " target " << rows[i].Target << " ["
          << k << "]";
  }
}

class GLCaptureTest : public GLFixture {};

}  // namespace

TEST_F(GLCaptureTest, FreshContextReadsAsTheTablesDefaults) {
  QOffscreenSurface surface;
  surface.setFormat(Widget()->format());
  surface.create();
  QOpenGLContext context;
  context.setFormat(Widget()->format());
  ASSERT_TRUE(context.create());
  ASSERT_TRUE(context.makeCurrent(&surface));
  TGLCallsRecord fresh;
  CaptureState(fresh);
  EXPECT_EQ(fresh.LightCount, 8);
  ExpectDefaults(fresh, DefaultRecord());
  for (uint8_t byte : fresh.Stipple) EXPECT_EQ(byte, 0xFF);
  // The window's additions as they start send nothing a fresh context does not hold already
  // (the filters start at what the program's textures are made with).
  const TGLCallsExtras start;
  ApplyExtras(start, fresh.LightCount);
  TGLCallsRecord applied;
  CaptureState(applied);
  TGLCallsRecord expected = DefaultRecord();
  ExpectDefaults(applied, expected);
  ApplyTextureExtras(start);
  CaptureState(applied);
  expected.Set(FindRow(GL_TEXTURE_MIN_FILTER), {GL_LINEAR});
  ExpectDefaults(applied, expected);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  context.doneCurrent();
}

TEST_F(GLCaptureTest, ReadingChangesNothingAndExtrasReadBackAsSent) {
  LitOrthoScene();
  glPixelStorei(GL_PACK_ALIGNMENT, 8);
  const GLubyte mask[128] = {0xAA, 0x55, 0x0F};
  glPolygonStipple(mask);
  TGLCallsRecord first, second;
  CaptureState(first);
  CaptureState(second);
  EXPECT_EQ(first.Values, second.Values);
  EXPECT_EQ(first.Stipple[0], 0xAA);
  EXPECT_EQ(first.Stipple[2], 0x0F);
  EXPECT_EQ(first.Stipple[3], 0);
  GLint alignment = 0;
  glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 8);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  EXPECT_EQ(first.Value(FindRow(GL_LIGHTING))[0], 1);
  EXPECT_EQ(first.Value(FindRow(GL_LIGHT0, 0))[0], 1);
  EXPECT_EQ(first.Value(FindRow(GL_DEPTH_TEST))[0], 1);
  EXPECT_EQ(first.Value(FindRow(GL_PROJECTION_MATRIX))[0], 2.0 / 32);

  TGLCallsExtras e;
  e.Attenuation[5][2] = 0.25f;
  e.ModelAmbient[0] = 0.75f;
  e.LocalViewer = true;
  e.ShadeModel = GL_FLAT;
  e.Fog = true;
  e.FogMode = GL_EXP2;
  e.FogDensity = 0.125f;
  e.FogStart = -3;
  e.FogEnd = 77;
  e.FogColor[3] = 0.5f;
  e.TexEnvMode = GL_REPLACE;
  ApplyExtras(e, 8);
  TGLCallsRecord r;
  CaptureState(r);
  EXPECT_EQ(r.Value(FindRow(GL_QUADRATIC_ATTENUATION, 5))[0], 0.25);
  EXPECT_EQ(r.Value(FindRow(GL_QUADRATIC_ATTENUATION, 4))[0], 0);
  EXPECT_EQ(r.Value(FindRow(GL_LIGHT_MODEL_AMBIENT))[0], 0.75);
  EXPECT_EQ(r.Value(FindRow(GL_LIGHT_MODEL_LOCAL_VIEWER))[0], 1);
  EXPECT_EQ(r.Value(FindRow(GL_SHADE_MODEL))[0], GL_FLAT);
  EXPECT_EQ(r.Value(FindRow(GL_FOG))[0], 1);
  EXPECT_EQ(r.Value(FindRow(GL_FOG_MODE))[0], GL_EXP2);
  EXPECT_EQ(r.Value(FindRow(GL_FOG_DENSITY))[0], 0.125);
  EXPECT_EQ(r.Value(FindRow(GL_FOG_START))[0], -3);
  EXPECT_EQ(r.Value(FindRow(GL_FOG_END))[0], 77);
  EXPECT_EQ(r.Value(FindRow(GL_FOG_COLOR))[3], 0.5);
  EXPECT_EQ(r.Value(FindRow(GL_TEXTURE_ENV_MODE))[0], GL_REPLACE);
  ApplyExtras(TGLCallsExtras(), 8);
  glDisable(GL_LIGHTING);
  glDisable(GL_LIGHT0);
  glDisable(GL_DEPTH_TEST);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
