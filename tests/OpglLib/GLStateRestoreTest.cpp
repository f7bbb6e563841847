// Two pieces of GL work checked in numbers: the logo parts turn the stated way (read back
// through feedback mode), and a texture upload gives back every pixel-store setting it borrowed.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <cmath>
#include <vector>

#include "BrimloLogo.h"
#include "CompiledDraw.h"
#include "GLFixture.h"
#include "OpglTexture.h"
#include "Raster.h"

namespace {

class GLStateRestoreTest : public GLFixture {
 public:
  static void SetUpTestSuite() {
    GLFixture::SetUpTestSuite();
    TTavRaster::Create();
    TGLTexturer::Create();
    TGLBrimloLogo::Create();
  }
  static void TearDownTestSuite() {
    TGLBrimloLogo::FreeInstance();
    TGLTexturer::FreeInstance();
    TTavRaster::FreeInstance();
    GLFixture::TearDownTestSuite();
  }
};

// Object-space corners of everything Draw sends, through feedback under a 100-unit
// orthographic box on a 100 x 100 viewport (window = object + 50, depth = (50 - z) / 100).
std::vector<std::array<double, 3>> Corners(void (TGLBrimloLogo::*Draw)(float), float Angle) {
  glViewport(0, 0, 100, 100);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-50, 50, -50, 50, -50, 50);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  // Display lists in feedback mode crash this Mesa; the immediate path draws the same.
  SetImmediateDrawing(true);
  std::vector<GLfloat> buffer(1 << 18);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
  glRenderMode(GL_FEEDBACK);
  (GLBrimloLogo->*Draw)(Angle);
  const GLint used = glRenderMode(GL_RENDER);
  SetImmediateDrawing(false);
  std::vector<std::array<double, 3>> corners;
  for (GLint i = 0; i < used;) {
    const auto token = static_cast<GLenum>(buffer[static_cast<std::size_t>(i++)]);
    int n = 0;
    if (token == GL_POLYGON_TOKEN)
      n = static_cast<int>(buffer[static_cast<std::size_t>(i++)]);
    else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN)
      n = 2;
    else if (token == GL_POINT_TOKEN)
      n = 1;
    else
      ADD_FAILURE() << "unexpected feedback token " << token;
    for (int k = 0; k < n; ++k, i += 3) {
      const GLfloat* v = &buffer[static_cast<std::size_t>(i)];
      corners.push_back({v[0] - 50.0, v[1] - 50.0, 50.0 - 100.0 * v[2]});
    }
  }
  return corners;
}

}  // namespace

// About the default axis (0, 1, 0) the frame turns by +Angle and the studs by -Angle: each
// corner drawn at 40 degrees is the corner drawn at 0 turned by that much about Y.
TEST_F(GLStateRestoreTest, LogoPartsTurnTheirOwnWay) {
  GLBrimloLogo->FScale = 1;
  const struct {
    void (TGLBrimloLogo::*Draw)(float);
    double Sign;
  } parts[] = {{&TGLBrimloLogo::DrawLogoFrame, 1}, {&TGLBrimloLogo::DrawLogoHexagons, -1}};
  for (const auto& part : parts) {
    SCOPED_TRACE(part.Sign);
    const auto still = Corners(part.Draw, 0);
    const auto turned = Corners(part.Draw, 40);
    ASSERT_EQ(still.size(), turned.size());
    ASSERT_GT(still.size(), 24u);
    const double t = part.Sign * 40 * M_PI / 180;
    int wrong = 0;
    for (std::size_t k = 0; k < still.size(); ++k) {
      const auto& p = still[k];
      const double x = p[0] * std::cos(t) + p[2] * std::sin(t);
      const double z = -p[0] * std::sin(t) + p[2] * std::cos(t);
      if (std::abs(turned[k][0] - x) > 0.05 || std::abs(turned[k][1] - p[1]) > 0.05 ||
          std::abs(turned[k][2] - z) > 0.05)
        ++wrong;
    }
    EXPECT_EQ(wrong, 0);
  }
}

// The upload packs rows tightly for itself and gives the caller's pixel-store settings back.
TEST_F(GLStateRestoreTest, TextureUploadRestoresThePixelStore) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 7);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 2);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 3);
  QImage picture(3, 5, QImage::Format_RGB32);
  picture.fill(qRgb(200, 100, 50));
  ASSERT_TRUE(GLTexturer->AddTextureFromGraphic(&picture));
  GLint alignment = 0, rowLength = 0, skipRows = 0, skipPixels = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
  glGetIntegerv(GL_UNPACK_SKIP_ROWS, &skipRows);
  glGetIntegerv(GL_UNPACK_SKIP_PIXELS, &skipPixels);
  EXPECT_EQ(alignment, 8);
  EXPECT_EQ(rowLength, 7);
  EXPECT_EQ(skipRows, 2);
  EXPECT_EQ(skipPixels, 3);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  // The texture itself was read from the packed block: every texel is the picture's colour.
  const TGLTexture* texture = GLTexturer->GetTexture(GLTexturer->GetTextureCount() - 1);
  ASSERT_NE(texture, nullptr);
  glBindTexture(GL_TEXTURE_2D, texture->TextureID);
  GLint w = 0, h = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
  ASSERT_GT(w * h, 0);
  std::vector<GLubyte> texels(static_cast<std::size_t>(w * h * 3));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  for (std::size_t i = 0; i < texels.size(); i += 3) {
    ASSERT_NEAR(texels[i], 200, 1) << i / 3;
    ASSERT_NEAR(texels[i + 1], 100, 1) << i / 3;
    ASSERT_NEAR(texels[i + 2], 50, 1) << i / 3;
  }
  GLTexturer->DeleteTexture(GLTexturer->GetTextureCount() - 1);
}
