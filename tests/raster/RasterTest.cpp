// The raster object: averaging and stretching, power-of-two sizes, texture blocks, loading
// and saving, and a corpus of broken files.
#include <gtest/gtest.h>

#include <Magick++.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <array>
#include <numeric>
#include <random>
#include <vector>

#include "../../bench/StretchReference.h"
#include "AppPaths.h"
#include "Codecs.h"
#include "MagickEncode.h"
#include "Messages.h"
#include "Raster.h"

namespace {

class RasterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static QTemporaryDir settings;
    AppPaths::SetSettingsFileName(settings.filePath(QStringLiteral("Raster.ini")));
    Codecs::InitCodecs();
    TTavRaster::Create();
  }
  static void TearDownTestSuite() {
    TTavRaster::ReleaseInstance();
    AppPaths::SetSettingsFileName(QString());
  }
  void SetUp() override {
    FOldHandler = SetMessageHandler([this](const QString& Text) { Messages << Text; });
  }
  void TearDown() override { SetMessageHandler(FOldHandler); }

  QString Path(const QString& Name) const { return Dir.filePath(Name); }

  QTemporaryDir Dir;
  QStringList Messages;

 private:
  TMessageHandler FOldHandler;
};

// A 24-bit picture whose pixel (x, y) has blue, green, red given by F(x, y).
template <class F>
QImage Picture(int Width, int Height, F Color) {
  QImage image(Width, Height, QImage::Format_BGR888);
  for (int y = 0; y < Height; ++y) {
    uint8_t* row = image.scanLine(y);
    for (int x = 0; x < Width; ++x) {
      const std::array<uint8_t, 3> bgr = Color(x, y);
      std::copy(bgr.begin(), bgr.end(), row + 3 * x);
    }
  }
  return image;
}

QImage Plain(int Width, int Height, uint8_t B, uint8_t G, uint8_t R) {
  return Picture(Width, Height, [&](int, int) { return std::array<uint8_t, 3>{B, G, R}; });
}

// Shrinks a one-row picture whose column c has blue value Values[c] and returns the blue
// values of the Dest-wide result.
std::vector<int> ShrinkRow(const std::vector<uint8_t>& Values, int Dest) {
  QImage source = Picture(static_cast<int>(Values.size()), 1, [&](int x, int) {
    return std::array<uint8_t, 3>{Values[static_cast<std::size_t>(x)], 0, 0};
  });
  QImage dest(Dest, 1, QImage::Format_BGR888);
  TavRaster->StretchRaster(&source, &dest);
  std::vector<int> result;
  for (int i = 0; i < Dest; ++i) result.push_back(dest.constScanLine(0)[3 * i]);
  return result;
}

// What a one-row shrink gives when the boxes have the given widths, taken left to right.
std::vector<int> BoxAverages(const std::vector<uint8_t>& Values, const std::vector<int>& Widths) {
  std::vector<int> result;
  std::size_t start = 0;
  for (int w : Widths) {
    uint32_t sum = 0;
    for (int k = 0; k < w; ++k) sum += Values[start++];
    result.push_back(static_cast<int>((sum * (65535u / static_cast<uint32_t>(w))) >> 16));
  }
  return result;
}

// A row whose neighbouring columns all differ.
std::vector<uint8_t> Ramp(int Width) {
  std::vector<uint8_t> values(static_cast<std::size_t>(Width));
  for (int c = 0; c < Width; ++c)
    values[static_cast<std::size_t>(c)] = static_cast<uint8_t>(c * 7 + 3);
  return values;
}

// Repeats Pattern up to Count entries.
std::vector<int> Repeat(const std::vector<int>& Pattern, int Count) {
  std::vector<int> result;
  for (int i = 0; i < Count; ++i)
    result.push_back(Pattern[static_cast<std::size_t>(i) % Pattern.size()]);
  return result;
}

TEST_F(RasterTest, PixelFormatNamesAndMapping) {
  const char* const expected[9] = {"Device", "1bit",  "4bit",  "8bit",  "15bit",
                                   "16bit",  "24bit", "32bit", "Custom"};
  for (int i = 0; i < 9; ++i) EXPECT_STREQ(PixelFormatNames[i], expected[i]);
  EXPECT_EQ(PixelFormatOf(QImage()), pfDevice);
  EXPECT_EQ(PixelFormatOf(QImage(2, 2, QImage::Format_Mono)), pf1bit);
  EXPECT_EQ(PixelFormatOf(QImage(2, 2, QImage::Format_Indexed8)), pf8bit);
  EXPECT_EQ(PixelFormatOf(QImage(2, 2, QImage::Format_RGB555)), pf15bit);
  EXPECT_EQ(PixelFormatOf(QImage(2, 2, QImage::Format_RGB16)), pf16bit);
  EXPECT_EQ(PixelFormatOf(QImage(2, 2, QImage::Format_BGR888)), pf24bit);
  EXPECT_EQ(PixelFormatOf(QImage(2, 2, QImage::Format_ARGB32)), pf32bit);
  EXPECT_EQ(PixelFormatOf(QImage(2, 2, QImage::Format_RGBA64)), pfCustom);
}

TEST_F(RasterTest, AveragingArithmetic) {
  // Own size: boxes of one pixel, u = 65535, so v becomes v - 1 and 0 stays 0.
  QImage own = Picture(3, 2, [](int x, int y) {
    return std::array<uint8_t, 3>{static_cast<uint8_t>(x * 100 + y), 255, 0};
  });
  QImage same(3, 2, QImage::Format_RGB32);  // switched to 24 bits by the call
  TavRaster->StretchRaster(&own, &same);
  ASSERT_EQ(same.format(), QImage::Format_BGR888);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      const uint8_t* p = same.constScanLine(y) + 3 * x;
      const int blue = x * 100 + y;
      EXPECT_EQ(p[0], blue == 0 ? 0 : blue - 1);
      EXPECT_EQ(p[1], 254);
      EXPECT_EQ(p[2], 0);
    }

  // 4 x 4 white into 2 x 2: sums of 1020, u = 16383, every channel 254.
  QImage white = Plain(4, 4, 255, 255, 255);
  QImage half(2, 2, QImage::Format_BGR888);
  TavRaster->StretchRaster(&white, &half);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(half.pixel(x, y), qRgb(254, 254, 254));

  // The source picture was switched to 24 bits in place.
  QImage rgb32(4, 4, QImage::Format_RGB32);
  rgb32.fill(Qt::gray);
  QImage small(2, 2, QImage::Format_BGR888);
  TavRaster->StretchRaster(&rgb32, &small);
  EXPECT_EQ(rgb32.format(), QImage::Format_BGR888);
}

TEST_F(RasterTest, BoxWidthsFollowTheSinglePrecisionRatio) {
  // 10 -> 3: r is just below 10/3, boxes 3, 3, 3 and the last column is never read.
  EXPECT_EQ(ShrinkRow(Ramp(10), 3), BoxAverages(Ramp(10), {3, 3, 3}));
  std::vector<uint8_t> lastOnly(10, 0);
  lastOnly[9] = 255;
  EXPECT_EQ(ShrinkRow(lastOnly, 3), (std::vector<int>{0, 0, 0}));
  // Box contents: the first box is columns 0..2, the second 3..5.
  EXPECT_EQ(ShrinkRow({30, 60, 90, 3, 3, 3, 0, 0, 0, 0}, 3),
            (std::vector<int>{(180 * 21845) >> 16, (9 * 21845) >> 16, 0}));

  // 300 -> 200: 1, 2, 1, 2, ...
  EXPECT_EQ(ShrinkRow(Ramp(300), 200), BoxAverages(Ramp(300), Repeat({1, 2}, 200)));
  // 640 -> 480: 1, 1, 2, 1, 1, 2, ...
  EXPECT_EQ(ShrinkRow(Ramp(640), 480), BoxAverages(Ramp(640), Repeat({1, 1, 2}, 480)));

  // Rows walk from the top, 10 rows into boxes of 3, 3, 3: row 9 is not read either.
  QImage tall = Picture(1, 10, [](int, int y) {
    return std::array<uint8_t, 3>{static_cast<uint8_t>(y == 9 ? 255 : y < 3 ? 90 : 0), 0, 0};
  });
  QImage column(1, 3, QImage::Format_BGR888);
  TavRaster->StretchRaster(&tall, &column);
  EXPECT_EQ(column.constScanLine(0)[0], (270 * 21845) >> 16);
  EXPECT_EQ(column.constScanLine(1)[0], 0);
  EXPECT_EQ(column.constScanLine(2)[0], 0);
}

TEST_F(RasterTest, ShrinkMatchesTheBoxByBoxArithmetic) {
  // Odd sizes and ratios just off whole numbers: byte for byte.
  std::mt19937 random(11);
  const std::array<int, 4> sizes[] = {{37, 23, 11, 7},
                                      {101, 99, 100, 33},
                                      {640, 17, 480, 17},
                                      {333, 250, 1, 249},
                                      {255, 255, 254, 3}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(testing::Message()
                 << size[0] << "x" << size[1] << " -> " << size[2] << "x" << size[3]);
    QImage source = Picture(size[0], size[1], [&](int, int) {
      return std::array<uint8_t, 3>{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                                    static_cast<uint8_t>(random())};
    });
    QImage dest(size[2], size[3], QImage::Format_BGR888);
    TavRaster->StretchRaster(&source, &dest);
    EXPECT_EQ(dest, ReferenceShrink(source, size[2], size[3]));
  }
}

TEST_F(RasterTest, LargeBoxesStillAverage) {
  // 65535 div n is 0 for boxes above 65535 pixels; such boxes keep their average instead of
  // turning black.
  QImage big = Plain(600, 600, 200, 100, 50);
  QImage one(1, 1, QImage::Format_BGR888);
  TavRaster->StretchRaster(&big, &one);
  EXPECT_EQ(one.pixel(0, 0), qRgb(50, 100, 200));
}

TEST_F(RasterTest, EnlargingCopiesNearestPixels) {
  // 100 x 50 into 200 x 25 takes the stretching path: values are copied, not averaged.
  QImage source = Picture(100, 50, [](int x, int y) {
    return std::array<uint8_t, 3>{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 200};
  });
  QImage dest(200, 25, QImage::Format_BGR888);
  TavRaster->StretchRaster(&source, &dest);
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 200; ++x) {
      const uint8_t* p = dest.constScanLine(y) + 3 * x;
      ASSERT_EQ(p[0], x / 2);
      ASSERT_EQ(p[1], y * 2);
      ASSERT_EQ(p[2], 200);
    }
  // Empty pictures: nothing happens.
  QImage empty;
  TavRaster->StretchRaster(&empty, &dest);
  TavRaster->StretchRaster(&source, nullptr);
  EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(RasterTest, ResizeRefusesBadSizes) {
  QImage picture = Plain(10, 8, 1, 2, 3);
  TavRaster->ResizeRaster(&picture, 0, 5);
  TavRaster->ResizeRaster(&picture, 5, 0);
  EXPECT_EQ(picture.size(), QSize(10, 8));
  EXPECT_TRUE(Messages.isEmpty());
  for (const QSize& bad : {QSize(-1, 5), QSize(5, -3), QSize(40000, 2), QSize(20000, 20000)}) {
    Messages.clear();
    TavRaster->ResizeRaster(&picture, bad.width(), bad.height());
    EXPECT_EQ(picture.size(), QSize(10, 8));
    EXPECT_EQ(picture.format(), QImage::Format_BGR888);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains(QString::number(bad.width())));
  }
  TavRaster->ResizeRaster(&picture, 5, 4);
  EXPECT_EQ(picture.size(), QSize(5, 4));
  EXPECT_EQ(picture.pixel(2, 2), qRgb(2, 1, 0));  // 4-pixel boxes: 4v * 16383 >> 16 = v - 1
  TavRaster->ResizeRaster(nullptr, 5, 5);
}

TEST_F(RasterTest, PowersOfTwo) {
  const std::pair<int, int> table[] = {
      {-5, 1},    {0, 1},    {1, 1},     {2, 2},     {3, 4},     {5, 4},     {6, 8},      {12, 16},
      {100, 128}, {96, 128}, {200, 256}, {300, 256}, {383, 256}, {384, 512}, {1025, 1024}};
  for (const auto& [n, power] : table) EXPECT_EQ(TavRaster->NearestPowerOf2(n), power) << n;

  QImage p(4, 8, QImage::Format_RGB32);
  EXPECT_TRUE(TavRaster->IsPowerOf2Size(&p));
  QImage one(1, 4, QImage::Format_RGB32);
  EXPECT_FALSE(TavRaster->IsPowerOf2Size(&one));  // 1 does not count
  QImage odd(4, 6, QImage::Format_RGB32);
  EXPECT_FALSE(TavRaster->IsPowerOf2Size(&odd));
  EXPECT_FALSE(TavRaster->IsPowerOf2Size(nullptr));
  QImage none;
  EXPECT_FALSE(TavRaster->IsPowerOf2Size(&none));
  EXPECT_TRUE(TavRaster->IsRasterEmpty(&none));
  EXPECT_TRUE(TavRaster->IsRasterEmpty(nullptr));

  QImage q = Plain(300, 200, 9, 9, 9);
  TavRaster->ResizeToPowerOf2(&q);
  EXPECT_EQ(q.size(), QSize(256, 256));
}

TEST_F(RasterTest, TexImageRowsBottomFirstInRedGreenBlue) {
  // 100 x 60: bottom-left quarter (50, 100, 200) in R G B, the rest grey.
  QImage picture = Picture(100, 60, [](int x, int y) {
    return (x < 50 && y >= 30) ? std::array<uint8_t, 3>{200, 100, 50}
                               : std::array<uint8_t, 3>{128, 128, 128};
  });
  TTexImage tex;
  ASSERT_TRUE(TavRaster->RasterToTexImage(&picture, tex));
  EXPECT_EQ(picture.size(), QSize(128, 64));  // the caller's picture was resized
  EXPECT_EQ(tex.Format, tfRGB);
  EXPECT_EQ(tex.Width, 128);
  EXPECT_EQ(tex.Height, 64);
  ASSERT_NE(tex.Pixels, nullptr);
  EXPECT_EQ(tex.Width * tex.Height * 3, 24576);
  EXPECT_EQ(tex.Pixels[0], 50);
  EXPECT_EQ(tex.Pixels[1], 100);
  EXPECT_EQ(tex.Pixels[2], 200);
  // The last row is the picture's top row.
  const uint8_t* top = tex.Pixels + (64 - 1) * 128 * 3;
  EXPECT_EQ(top[0], 128);
  // Every row is packed with no padding: row 1 starts right after 128 pixels of row 0.
  EXPECT_EQ(tex.Pixels[128 * 3], 50);
  TavRaster->FreeTexImage(tex);
  EXPECT_EQ(tex.Pixels, nullptr);
  EXPECT_EQ(tex.Width, 0);

  // Already powers of two: no averaging, so values stay as they are.
  QImage exact = Plain(4, 2, 7, 8, 9);
  ASSERT_TRUE(TavRaster->RasterToTexImage(&exact, tex));
  EXPECT_EQ(std::vector<uint8_t>(tex.Pixels, tex.Pixels + 3), (std::vector<uint8_t>{9, 8, 7}));
  TavRaster->FreeTexImage(tex);

  QImage empty;
  tex.Width = 5;
  EXPECT_FALSE(TavRaster->RasterToTexImage(&empty, tex));
  EXPECT_EQ(tex.Width, 0);
  EXPECT_EQ(tex.Pixels, nullptr);
}

TEST_F(RasterTest, SavesByExtension) {
  QImage picture = Picture(6, 4, [](int x, int y) {
    return std::array<uint8_t, 3>{static_cast<uint8_t>(x * 40), static_cast<uint8_t>(y * 60), 90};
  });
  for (const char* name : {"a.bmp", "b.BMP", "c.Bmp"}) {
    SCOPED_TRACE(name);
    const QString file = Path(QString::fromLatin1(name));
    ASSERT_TRUE(TavRaster->SaveRaster(file, &picture));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(2), QByteArray("BM"));
    QImage back;
    ASSERT_TRUE(TavRaster->LoadRaster(file, &back));
    EXPECT_EQ(back.convertToFormat(QImage::Format_BGR888), picture);
  }
  ASSERT_TRUE(TavRaster->SaveRaster(Path("d.JPG"), &picture));
  ASSERT_TRUE(TavRaster->SaveRaster(Path("e.gif"), &picture));
  QImage back;
  ASSERT_TRUE(TavRaster->LoadRaster(Path("d.JPG"), &back));
  EXPECT_EQ(back.size(), QSize(6, 4));
  ASSERT_TRUE(TavRaster->LoadRaster(Path("e.gif"), &back));
  EXPECT_EQ(back.size(), QSize(6, 4));

  // Other extensions and empty pictures write nothing.
  for (const char* name : {"f.wmf", "g.WMF", "h.png", "i.jpeg", "noextension"}) {
    EXPECT_FALSE(TavRaster->SaveRaster(Path(QString::fromLatin1(name)), &picture)) << name;
    EXPECT_FALSE(QFileInfo::exists(Path(QString::fromLatin1(name)))) << name;
  }
  QImage empty;
  EXPECT_FALSE(TavRaster->SaveRaster(Path("j.bmp"), &empty));
  EXPECT_FALSE(TavRaster->SaveAsJpg(Path("k.jpg"), nullptr));
  EXPECT_FALSE(QFileInfo::exists(Path("j.bmp")));
  // A folder that does not exist: false and no file.
  EXPECT_FALSE(TavRaster->SaveAsGif(Path("missing/l.gif"), &picture));
  EXPECT_FALSE(QFileInfo::exists(Path("missing/l.gif")));
  EXPECT_TRUE(Dir.isValid());
}

// CRC of a PNG chunk (type and data).
uint32_t Crc32(const QByteArray& Bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (char c : Bytes) {
    crc ^= static_cast<uint8_t>(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

QByteArray BigEndian(uint32_t v) {
  QByteArray bytes(4, 0);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(v >> (24 - 8 * i));
  return bytes;
}

QByteArray PngChunk(const char* Type, const QByteArray& Data) {
  const QByteArray body = QByteArray(Type) + Data;
  return BigEndian(static_cast<uint32_t>(Data.size())) + body + BigEndian(Crc32(body));
}

TEST_F(RasterTest, BrokenFilesAreRefused) {
  // A noisy picture, so that the encoded files have a body worth cutting.
  std::mt19937 random(7);
  QImage noisy = Picture(64, 48, [&](int, int) {
    return std::array<uint8_t, 3>{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                                  static_cast<uint8_t>(random())};
  });
  std::vector<std::pair<QString, QByteArray>> corpus;
  corpus.emplace_back(QStringLiteral("empty.png"), QByteArray());
  corpus.emplace_back(QStringLiteral("empty.jpg"), QByteArray());
  for (const char* format : {"PNG", "GIF", "BMP", "TIFF"}) {
    const QByteArray whole = MagickEncode(noisy, format);
    const QString ext = QString::fromLatin1(format).toLower();
    corpus.emplace_back(QStringLiteral("half.") + ext, whole.left(whole.size() / 2));
    corpus.emplace_back(QStringLiteral("head.") + ext, whole.left(20));
  }
  QByteArray noise(4096, 0);
  for (char& c : noise) c = static_cast<char>(random());
  for (const char* ext : {"bmp", "jpg", "gif", "tga", "wmf", "tif", "pcx", "bin"})
    corpus.emplace_back(QStringLiteral("noise.") + QString::fromLatin1(ext), noise);
  // A tiny PNG that claims 50000 x 50000 pixels.
  QByteArray ihdr = BigEndian(50000) + BigEndian(50000) + QByteArray("\x08\x02\x00\x00\x00", 5);
  corpus.emplace_back(
      QStringLiteral("bomb.png"),
      QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", ihdr) + PngChunk("IEND", QByteArray()));

  for (const auto& [name, bytes] : corpus) {
    SCOPED_TRACE(name.toStdString());
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QImage target = Plain(3, 3, 1, 2, 3);
    const QImage before = target;
    EXPECT_FALSE(TavRaster->LoadRaster(Path(name), &target));
    EXPECT_EQ(target, before);
    TTexImage tex;
    EXPECT_FALSE(TavRaster->LoadTexImage(Path(name), tex));
    EXPECT_EQ(tex.Pixels, nullptr);
    EXPECT_EQ(tex.Width, 0);
  }
  QImage target;
  EXPECT_FALSE(TavRaster->LoadRaster(Path("does-not-exist.png"), &target));
  EXPECT_FALSE(TavRaster->LoadRaster(Dir.path(), &target));  // a folder
  TTexImage tex;
  tex.Width = 3;
  EXPECT_FALSE(TavRaster->LoadTexImage(Path("does-not-exist.png"), tex));
  EXPECT_EQ(tex.Width, 0);
}

TEST_F(RasterTest, TruncatedJpegStillLoads) {
  std::mt19937 random(3);
  QImage noisy = Picture(64, 64, [&](int, int) {
    return std::array<uint8_t, 3>{static_cast<uint8_t>(random()), 80, 160};
  });
  const QByteArray jpeg = Codecs::EncodeJpeg(noisy);
  QFile file(Path("cut.jpg"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(jpeg.left(jpeg.size() * 2 / 3));
  file.close();
  QImage picture;
  ASSERT_TRUE(TavRaster->LoadRaster(Path("cut.jpg"), &picture));
  EXPECT_EQ(picture.size(), QSize(64, 64));
}

TEST_F(RasterTest, CorruptJpegDataIsRefusedThoughTheDecoderFilledPixels) {
  // The start-up test pattern with a few bytes of its scan overwritten: the decoder warns
  // "Corrupt JPEG data: bad Huffman code" and still hands back a full picture of garbage.
  const QString damaged = QStringLiteral(OPGL_TEST_DATA "/BadHuffman.jpg");
  ASSERT_TRUE(QFileInfo::exists(damaged));
  try {
    Codecs::Decode(damaged);
    ADD_FAILURE() << "decoded";
  } catch (const Codecs::ECodecError& e) {
    EXPECT_NE(std::string(e.what()).find("Corrupt JPEG data"), std::string::npos) << e.what();
  }
  QImage picture = Picture(4, 4, [](int, int) { return std::array<uint8_t, 3>{1, 2, 3}; });
  EXPECT_FALSE(TavRaster->LoadRaster(damaged, &picture));
  EXPECT_EQ(picture.size(), QSize(4, 4));  // the picture shown stays as it was
  TTexImage tex;
  EXPECT_FALSE(TavRaster->LoadTexImage(damaged, tex));
  EXPECT_EQ(tex.Width, 0);
}

TEST_F(RasterTest, StartupTexturesLoad) {
  const QString data = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/Data/");
  const std::pair<const char*, QSize> files[] = {
      {"Block01.jpg", QSize(320, 240)}, {"Block02.jpg", QSize(256, 256)},
      {"Metal01.jpg", QSize(300, 300)}, {"Stone01.jpg", QSize(256, 256)},
      {"Stone02.jpg", QSize(400, 300)}, {"Test.jpg", QSize(256, 256)},
      {"TinNon.jpg", QSize(256, 256)}};
  for (const auto& [name, size] : files) {
    QImage picture;
    ASSERT_TRUE(TavRaster->LoadRaster(data + QString::fromLatin1(name), &picture)) << name;
    EXPECT_EQ(picture.size(), size) << name;
    EXPECT_EQ(PixelFormatOf(picture), pf24bit) << name;
  }
  // The test pattern's corners: red top-left, blue bottom-left.
  TTexImage tex;
  ASSERT_TRUE(TavRaster->LoadTexImage(data + QStringLiteral("Test.jpg"), tex));
  EXPECT_EQ(tex.Width, 256);
  EXPECT_LT(tex.Pixels[0], 40);
  EXPECT_GT(tex.Pixels[2], 215);  // bottom-left is blue
  const uint8_t* topLeft = tex.Pixels + 255 * 256 * 3;
  EXPECT_GT(topLeft[0], 215);
  EXPECT_LT(topLeft[2], 40);
  TavRaster->FreeTexImage(tex);
}

}  // namespace
