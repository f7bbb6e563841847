// Recognition by content in a process that has decoded nothing yet: every format the codec
// layer claims is known from the start, not only after its decoder was first used.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include "Codecs.h"

namespace {

QByteArray QtEncode(const char* Format) {
  QImage image(8, 4, QImage::Format_RGB32);
  image.fill(qRgb(200, 40, 10));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, Format);
  EXPECT_TRUE(writer.write(image)) << Format;
  return bytes;
}

QByteArray Padded(QByteArray Head, qsizetype Size = 64) {
  if (Head.size() < Size) Head.append(Size - Head.size(), '\0');
  return Head;
}

}  // namespace

// Only the file's content names the format: the tests here write every file as ".dat" and call
// no decoder before recognising it.
TEST(CodecsFreshTest, RecognisesEveryClaimedFormatBeforeAnyDecode) {
  QTemporaryDir dir;
  QByteArray pcd(2048, '\0');
  pcd.append("PCD_IPI");
  pcd.append(64, '\0');
  const std::pair<const char*, QByteArray> cases[] = {
      {"PNG", QtEncode("png")},
      {"BMP", QtEncode("bmp")},
      {"JPEG", QtEncode("jpeg")},
      {"PNM", QtEncode("ppm")},
      {"GIF", Padded("GIF89a\x08\x00\x04\x00\x80\x00\x00")},
      {"TIFF", Padded(QByteArray("II*\0\x08\0\0\0", 8))},
      {"PCX", Padded(QByteArray("\x0a\x05\x01\x08", 4), 128)},
      {"SGI", Padded(QByteArray("\x01\xda\x00\x01", 4), 512)},
      {"RAS", Padded(QByteArray("\x59\xa6\x6a\x95", 4))},
      {"PCD", pcd},
      {"PSD", Padded(QByteArray("8BPS\0\x01", 6))}};
  for (const auto& [format, bytes] : cases) {
    SCOPED_TRACE(format);
    const QString name = dir.filePath(QStringLiteral("%1.dat").arg(QLatin1String(format)));
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    EXPECT_EQ(Codecs::RecognizeFormat(name), QLatin1String(format));
  }
}
