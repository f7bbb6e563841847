// The texture list on a real GL context: names, index rule, texture objects and their state.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <QCoreApplication>
#include <QFile>
#include <QOpenGLWidget>

#include "Codecs.h"
#include "GLFixture.h"
#include "OpglTexture.h"
#include "Raster.h"

namespace {

class OpglTextureTest : public GLFixture {
 public:
  static void SetUpTestSuite() {
    GLFixture::SetUpTestSuite();
    Codecs::InitCodecs();
    TTavRaster::Create();
    TGLTexturer::Create();
  }
  static void TearDownTestSuite() {
    MakeCurrent();
    TGLTexturer::ReleaseInstance();
    TTavRaster::ReleaseInstance();
    GLFixture::TearDownTestSuite();
  }

 protected:
  void SetUp() override {
    GLFixture::SetUp();
    GLTexturer->ClearTextures();
  }

  static QStringList Names() {
    QStringList names;
    for (int i = 0; i < GLTexturer->GetTextureCount(); ++i)
      names << GLTexturer->GetTexture(i)->Name;
    return names;
  }

  static QString DataFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/");
  }
};

QImage Plain(int Width, int Height, QRgb Color) {
  QImage image(Width, Height, QImage::Format_RGB32);
  image.fill(Color);
  return image;
}

TEST_F(OpglTextureTest, PictureEntriesAreNamedByTheirIndex) {
  QImage picture = Plain(8, 8, qRgb(10, 20, 30));
  ASSERT_TRUE(GLTexturer->AddTextureFromGraphic(&picture));
  ASSERT_TRUE(GLTexturer->AddTextureFromGraphic(&picture));
  EXPECT_EQ(Names(), (QStringList{"TBitmap0", "TBitmap1"}));
  EXPECT_EQ(GLTexturer->GetTexture(0)->Source, QStringLiteral("TBitmap"));
  const GLuint first = GLTexturer->GetTexture(0)->TextureID;
  EXPECT_NE(first, 0u);
  EXPECT_TRUE(glIsTexture(first));

  // Deleting TBitmap0 and adding again gives a second TBitmap1: the number is the index.
  GLTexturer->DeleteTexture(0);
  EXPECT_FALSE(glIsTexture(first));
  ASSERT_TRUE(GLTexturer->AddTextureFromGraphic(&picture));
  EXPECT_EQ(Names(), (QStringList{"TBitmap1", "TBitmap1"}));

  // Out of range: nothing.
  EXPECT_EQ(GLTexturer->GetTexture(-1), nullptr);
  EXPECT_EQ(GLTexturer->GetTexture(2), nullptr);
  GLTexturer->DeleteTexture(2);
  GLTexturer->DeleteTexture(-1);
  EXPECT_EQ(GLTexturer->GetTextureCount(), 2);

  // Missing or empty pictures add nothing.
  QImage empty;
  EXPECT_FALSE(GLTexturer->AddTextureFromGraphic(&empty));
  EXPECT_FALSE(GLTexturer->AddTextureFromGraphic(nullptr));
  EXPECT_EQ(GLTexturer->GetTextureCount(), 2);

  // Without a current rendering context nothing is added.
  Widget()->doneCurrent();
  EXPECT_TRUE(GLTexturer->AddTextureFromGraphic(&picture));
  EXPECT_EQ(GLTexturer->GetTextureCount(), 2);
  MakeCurrent();

  const GLuint a = GLTexturer->GetTexture(0)->TextureID, b = GLTexturer->GetTexture(1)->TextureID;
  GLTexturer->ClearTextures();
  EXPECT_EQ(GLTexturer->GetTextureCount(), 0);
  EXPECT_FALSE(glIsTexture(a));
  EXPECT_FALSE(glIsTexture(b));
  EXPECT_EQ(PendingGLError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(OpglTextureTest, TextureObjectState) {
  // 300 x 200 becomes 256 x 256 (nearest powers of two), and the picture itself changes.
  QImage picture = Plain(300, 200, qRgb(200, 100, 50));
  ASSERT_TRUE(GLTexturer->AddTextureFromGraphic(&picture));
  EXPECT_EQ(picture.size(), QSize(256, 256));
  const TGLTexture* entry = GLTexturer->GetTexture(0);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->Width, 256);
  EXPECT_EQ(entry->Height, 256);

  // Left bound, with linear filters, mipmaps down to 1 x 1 and the default wrap.
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), entry->TextureID);
  GLint value = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
  EXPECT_EQ(value, 256);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &value);
  EXPECT_EQ(value, 256);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
  EXPECT_EQ(value, 3);  // three components, as asked
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 8, GL_TEXTURE_WIDTH, &value);
  EXPECT_EQ(value, 1);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
  EXPECT_EQ(value, GL_REPEAT);

  // The texels are the picture's red, green, blue (the height grows, so pixels are copied).
  std::vector<uint8_t> texels(256 * 256 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  EXPECT_EQ(texels[0], 200);
  EXPECT_EQ(texels[1], 100);
  EXPECT_EQ(texels[2], 50);

  // A picture 1 pixel wide stays 1 wide; its packed 3-byte rows arrive intact.
  QImage thin(1, 4, QImage::Format_RGB32);
  for (int y = 0; y < 4; ++y) thin.setPixel(0, y, qRgb(10 * y + 5, 7, 9));
  ASSERT_TRUE(GLTexturer->AddTextureFromGraphic(&thin));
  const TGLTexture* thinEntry = GLTexturer->GetTexture(1);
  EXPECT_EQ(thinEntry->Width, 1);
  EXPECT_EQ(thinEntry->Height, 4);
  std::vector<uint8_t> column(4 * 3);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, column.data());
  // Bottom row first; the 1-pixel boxes of the size check take one off each value.
  EXPECT_EQ(column[0], 34);
  EXPECT_EQ(column[9], 4);
  EXPECT_EQ(PendingGLError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(OpglTextureTest, StartupFilesAndFileEntries) {
  EXPECT_EQ(PlatformPath(QStringLiteral("Data\\Block01.jpg")), QStringLiteral("Data/Block01.jpg"));
  for (const char* file : StartupTextureFiles)
    ASSERT_TRUE(
        GLTexturer->AddTextureFromFile(DataFolder() + PlatformPath(QString::fromLatin1(file))));
  EXPECT_EQ(Names(),
            (QStringList{"Block01", "Block02", "Metal01", "Stone01", "Stone02", "Test", "TinNon"}));
  const TGLTexture* block = GLTexturer->GetTexture(0);
  EXPECT_EQ(block->Source, DataFolder() + QStringLiteral("Data/Block01.jpg"));
  EXPECT_EQ(block->Width, 256);  // 320 x 240
  EXPECT_EQ(block->Height, 256);
  const TGLTexture* stone = GLTexturer->GetTexture(4);
  EXPECT_EQ(stone->Width, 512);  // 400 x 300
  EXPECT_EQ(stone->Height, 256);

  // Missing or undecodable files add nothing and still report true.
  EXPECT_TRUE(GLTexturer->AddTextureFromFile(TempPath(QStringLiteral("missing.jpg"))));
  QFile broken(TempPath(QStringLiteral("broken.jpg")));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a picture at all");
  broken.close();
  EXPECT_TRUE(GLTexturer->AddTextureFromFile(broken.fileName()));
  EXPECT_EQ(GLTexturer->GetTextureCount(), 7);
  EXPECT_EQ(PendingGLError(), static_cast<unsigned>(GL_NO_ERROR));
}

}  // namespace
