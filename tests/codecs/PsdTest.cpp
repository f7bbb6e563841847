// Photoshop pictures: recognised by their signature and decoded (the flattened image) whatever
// the file is called.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "Codecs.h"

namespace {

void Put16(QByteArray& Out, int Value) {
  Out.append(static_cast<char>(Value >> 8)).append(static_cast<char>(Value));
}
void Put32(QByteArray& Out, uint32_t Value) {
  Put16(Out, static_cast<int>(Value >> 16));
  Put16(Out, static_cast<int>(Value & 0xFFFF));
}

// An uncompressed 8-bit RGB(A) file: header, three empty sections, then one plane per channel.
QByteArray Psd(int Width, int Height, int Channels, const QByteArray& Planes) {
  QByteArray out("8BPS");
  Put16(out, 1);
  out.append(6, '\0');
  Put16(out, Channels);
  Put32(out, static_cast<uint32_t>(Height));
  Put32(out, static_cast<uint32_t>(Width));
  Put16(out, 8);
  Put16(out, 3);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put16(out, 0);
  return out + Planes;
}

QString Write(const QTemporaryDir& Dir, const QString& Name, const QByteArray& Bytes) {
  const QString path = Dir.filePath(Name);
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(Bytes);
  return path;
}

}  // namespace

TEST(PsdTest, DecodesTheFlattenedImageByContent) {
  QTemporaryDir dir;
  // 3 x 2: red, green, blue over white, grey, black; planes R, G, B.
  const QByteArray planes = QByteArray::fromHex("FF0000FF8000") +
                            QByteArray::fromHex("00FF00FF8000") +
                            QByteArray::fromHex("0000FFFF8000");
  const QString name = Write(dir, QStringLiteral("layers.dat"), Psd(3, 2, 3, planes));
  EXPECT_EQ(Codecs::RecognizeFormat(name), QStringLiteral("PSD"));
  const QImage image = Codecs::Decode(name);
  ASSERT_EQ(image.size(), QSize(3, 2));
  EXPECT_FALSE(image.hasAlphaChannel());
  const QRgb expected[2][3] = {{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)},
                               {qRgb(255, 255, 255), qRgb(128, 128, 128), qRgb(0, 0, 0)}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(image.pixel(x, y), expected[y][x]) << x << "," << y;

  // A fourth channel is the picture's alpha.
  const QByteArray alpha =
      planes.left(6) + planes.mid(6, 6) + planes.mid(12, 6) + QByteArray::fromHex("FF80FF00FFFF");
  const QImage withAlpha = Codecs::Decode(Write(dir, QStringLiteral("a.psd"), Psd(3, 2, 4, alpha)));
  ASSERT_EQ(withAlpha.size(), QSize(3, 2));
  EXPECT_TRUE(withAlpha.hasAlphaChannel());
  EXPECT_EQ(qAlpha(withAlpha.pixel(1, 0)), 0x80);
}

TEST(PsdTest, BrokenAndOversizedFilesAreRefused) {
  QTemporaryDir dir;
  const QByteArray good = Psd(2, 2, 3, QByteArray(12, '\x40'));
  // A truncated header, a wrong version, and sides over the layer's limits.
  QByteArray badVersion = good;
  badVersion[5] = 2;
  const QByteArray cases[] = {good.left(20), badVersion, Psd(40000, 2, 3, QByteArray(12, '\0')),
                              Psd(20000, 20000, 3, QByteArray(12, '\0')), good.left(10)};
  int i = 0;
  for (const QByteArray& bytes : cases) {
    SCOPED_TRACE(i);
    const QString name = Write(dir, QStringLiteral("bad%1.psd").arg(i++), bytes);
    EXPECT_THROW(Codecs::Decode(name), Codecs::ECodecError);
  }
}
