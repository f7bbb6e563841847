// The codec layer: recognition by content, decoding by extension, encoders, resource limits.
#include <gtest/gtest.h>

#include <Magick++.h>

#include <QFile>
#include <QTemporaryDir>

#include "Codecs.h"
#include "MagickEncode.h"

namespace {

// A small picture with a different colour in each quarter.
QImage Quarters(int Width, int Height) {
  QImage image(Width, Height, QImage::Format_RGB32);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) {
      const bool right = x >= Width / 2, bottom = y >= Height / 2;
      image.setPixel(x, y,
                     bottom ? (right ? qRgb(255, 255, 255) : qRgb(0, 0, 255))
                            : (right ? qRgb(0, 255, 0) : qRgb(255, 0, 0)));
    }
  return image;
}

void WriteFile(const QString& Name, const QByteArray& Bytes) {
  QFile file(Name);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(Bytes), Bytes.size());
}

class CodecsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Codecs::InitCodecs(); }
  QTemporaryDir Dir;
  QString Path(const QString& Name) const { return Dir.filePath(Name); }
};

TEST_F(CodecsTest, ResourceLimitsRefuseHugePictures) {
  EXPECT_EQ(MagickLib::GetMagickResourceLimit(MagickLib::PixelsResource), 100'000'000u);
  EXPECT_EQ(MagickLib::GetMagickResourceLimit(MagickLib::WidthResource), 32768u);
  EXPECT_EQ(MagickLib::GetMagickResourceLimit(MagickLib::HeightResource), 32768u);
  // A second start-up keeps them.
  Codecs::InitCodecs();
  EXPECT_EQ(MagickLib::GetMagickResourceLimit(MagickLib::WidthResource), 32768u);
}

TEST_F(CodecsTest, RecognisesFormatsByContentWhateverTheExtension) {
  const QImage picture = Quarters(16, 8);
  struct TCase {
    const char* Write;
    const char* Recognised;
    bool Lossless;
  };
  const TCase cases[] = {{"PNG", "PNG", true}, {"TIFF", "TIFF", true},  {"PCX", "PCX", true},
                         {"SGI", "SGI", true}, {"PPM", "PNM", true},    {"PGM", "PNM", false},
                         {"BMP", "BMP", true}, {"JPEG", "JPEG", false}, {"GIF", "GIF", true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Write);
    // A misleading extension: only the content may decide.
    const QString name = Path(QStringLiteral("picture_%1.dat").arg(c.Write));
    WriteFile(name, MagickEncode(picture, c.Write));
    EXPECT_EQ(Codecs::RecognizeFormat(name), QString::fromLatin1(c.Recognised));
    const QImage decoded = Codecs::Decode(name);
    ASSERT_EQ(decoded.size(), QSize(16, 8));
    if (c.Lossless) {
      EXPECT_EQ(decoded.pixel(0, 0), qRgb(255, 0, 0));
      EXPECT_EQ(decoded.pixel(15, 0), qRgb(0, 255, 0));
      EXPECT_EQ(decoded.pixel(0, 7), qRgb(0, 0, 255));
      EXPECT_EQ(decoded.pixel(15, 7), qRgb(255, 255, 255));
    }
  }
}

TEST_F(CodecsTest, TargaNeedsItsExtension) {
  const QByteArray tga = MagickEncode(Quarters(10, 6), "TGA");
  WriteFile(Path("picture.tga"), tga);
  WriteFile(Path("picture.dat"), tga);
  EXPECT_EQ(Codecs::RecognizeFormat(Path("picture.tga")), QString());
  const QImage decoded = Codecs::Decode(Path("picture.tga"));
  ASSERT_EQ(decoded.size(), QSize(10, 6));
  EXPECT_EQ(decoded.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(decoded.pixel(9, 5), qRgb(255, 255, 255));
  EXPECT_THROW(Codecs::Decode(Path("picture.dat")), Codecs::ECodecError);
}

TEST_F(CodecsTest, IconsByExtensionAndQtAsTheLastResort) {
  QImage icon = Quarters(16, 16).convertToFormat(QImage::Format_ARGB32);
  ASSERT_TRUE(icon.save(Path("picture.ico"), "ICO"));
  const QImage decoded = Codecs::Decode(Path("picture.ico"));
  ASSERT_EQ(decoded.size(), QSize(16, 16));
  EXPECT_EQ(decoded.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
  // No signature the library knows and an extension nobody maps: Qt's readers decide.
  ASSERT_TRUE(QFile::copy(Path("picture.ico"), Path("picture.icon")));
  EXPECT_EQ(Codecs::RecognizeFormat(Path("picture.icon")), QString());
  EXPECT_EQ(Codecs::Decode(Path("picture.icon")).size(), QSize(16, 16));
  // A text file is nothing to anyone.
  WriteFile(Path("notes.txt"), "just some words\n");
  EXPECT_THROW(Codecs::Decode(Path("notes.txt")), Codecs::ECodecError);
  EXPECT_THROW(Codecs::Decode(Path("absent.png")), Codecs::ECodecError);
}

TEST_F(CodecsTest, DecodedPixelFormats) {
  // Opaque pictures come as 24-bit blue-green-red rows, pictures with alpha as 32-bit.
  WriteFile(Path("opaque.png"), MagickEncode(Quarters(5, 3), "PNG"));
  EXPECT_EQ(Codecs::Decode(Path("opaque.png")).format(), QImage::Format_BGR888);
  QImage alpha(4, 4, QImage::Format_ARGB32);
  alpha.fill(qRgba(10, 20, 30, 128));
  ASSERT_TRUE(alpha.save(Path("alpha.png"), "PNG"));
  const QImage decoded = Codecs::Decode(Path("alpha.png"));
  EXPECT_EQ(decoded.format(), QImage::Format_ARGB32);
  EXPECT_EQ(qAlpha(decoded.pixel(1, 1)), 128);
  EXPECT_EQ(qRed(decoded.pixel(1, 1)), 10);
}

TEST_F(CodecsTest, EncodersWriteTheirFormats) {
  const QImage picture = Quarters(12, 6).convertToFormat(QImage::Format_BGR888);
  const QByteArray bmp = Codecs::EncodeBmp(picture);
  ASSERT_GE(bmp.size(), 54);
  EXPECT_EQ(bmp.left(2), QByteArray("BM"));
  EXPECT_EQ(static_cast<uint8_t>(bmp[28]), 24);  // bits a pixel of a 24-bit picture
  EXPECT_EQ(static_cast<uint8_t>(bmp[18]), 12);  // width
  const QByteArray jpeg = Codecs::EncodeJpeg(picture);
  EXPECT_EQ(jpeg.left(3), QByteArray("\xFF\xD8\xFF"));
  const QByteArray gif = Codecs::EncodeGif(picture);
  EXPECT_EQ(gif.left(4), QByteArray("GIF8"));
  for (const auto& [name, bytes] :
       {std::pair{"back.bmp", bmp}, {"back.jpg", jpeg}, {"back.gif", gif}}) {
    SCOPED_TRACE(name);
    WriteFile(Path(QString::fromLatin1(name)), bytes);
    const QImage decoded = Codecs::Decode(Path(QString::fromLatin1(name)));
    EXPECT_EQ(decoded.size(), QSize(12, 6));
  }
  EXPECT_THROW(Codecs::EncodeBmp(QImage()), Codecs::ECodecError);
  EXPECT_THROW(Codecs::EncodeJpeg(QImage()), Codecs::ECodecError);
}

}  // namespace
