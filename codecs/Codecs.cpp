#include "Codecs.h"

#include <Magick++.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <cstring>
#include <vector>

namespace Codecs {

namespace {

bool Initialized = false;

// Bytes read to recognise a file: Photo-CD keeps its signature at offset 2048.
constexpr qint64 SignatureBytes = 4096;

// Formats that may be decoded when the content names them. Everything else that the
// library would recognise (scripts, vector and text formats, ...) is left alone.
const char* const ContentFormats[] = {"PNG", "TIFF", "TIF", "PCX",  "DCX",  "SGI", "PNM", "PBM",
                                      "PGM", "PPM",  "PAM", "BMP",  "JPEG", "JPG", "GIF", "PCD",
                                      "EPT", "EPS",  "PS",  "EPSF", "EPSI", "RLA", "ICO", "WMF",
                                      "XBM", "XPM",  "SUN", "RAS",  "JNG",  "MIFF"};

// Formats chosen by extension when the content is not recognised.
struct TExtensionFormat {
  const char* Extension;
  const char* Format;
};
const TExtensionFormat ExtensionFormats[] = {
    {"tga", "TGA"},   {"vda", "TGA"},   {"icb", "TGA"}, {"vst", "TGA"},  {"bmp", "BMP"},
    {"dib", "BMP"},   {"rle", "BMP"},   {"ico", "ICO"}, {"jpg", "JPEG"}, {"jpeg", "JPEG"},
    {"jpe", "JPEG"},  {"jfif", "JPEG"}, {"gif", "GIF"}, {"wmf", "WMF"},  {"tif", "TIFF"},
    {"tiff", "TIFF"}, {"pcx", "PCX"},   {"png", "PNG"}, {"rgb", "SGI"},  {"rgba", "SGI"},
    {"bw", "SGI"},    {"sgi", "SGI"},   {"pbm", "PNM"}, {"pgm", "PNM"},  {"ppm", "PNM"},
    {"pnm", "PNM"},   {"rla", "RLA"},   {"rpf", "RLA"}, {"pix", "PIX"},  {"pcd", "PCD"},
    {"pcds", "PCD"},  {"cut", "CUT"},   {"eps", "EPS"}, {"ps", "PS"}};

bool IsContentFormat(const char* Format) {
  for (const char* name : ContentFormats)
    if (std::strcmp(name, Format) == 0) return true;
  return false;
}

QByteArray ReadWholeFile(const QString& FileName) {
  QFile file(FileName);
  if (!file.open(QIODevice::ReadOnly)) throw ECodecError("Cannot open " + FileName.toStdString());
  QByteArray data = file.readAll();
  if (data.isEmpty()) throw ECodecError("Empty file " + FileName.toStdString());
  return data;
}

// The first frame of the decoded image as a QImage: 32 bits with alpha when the image has
// a matte, else 24 bits (blue, green, red).
QImage ToQImage(Magick::Image& Image) {
  const int width = static_cast<int>(Image.columns());
  const int height = static_cast<int>(Image.rows());
  if (width <= 0 || height <= 0) throw ECodecError("Image without pixels");
  if (Image.matte()) {
    QImage result(width, height, QImage::Format_ARGB32);
    if (result.isNull()) throw ECodecError("Out of memory");
    Image.write(0, 0, width, height, "BGRA", Magick::CharPixel, result.bits());
    return result;
  }
  QImage result(width, height, QImage::Format_BGR888);
  if (result.isNull()) throw ECodecError("Out of memory");
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  if (static_cast<std::size_t>(result.bytesPerLine()) == rowBytes) {
    Image.write(0, 0, width, height, "BGR", Magick::CharPixel, result.bits());
  } else {
    std::vector<uint8_t> tight(rowBytes * static_cast<std::size_t>(height));
    Image.write(0, 0, width, height, "BGR", Magick::CharPixel, tight.data());
    for (int y = 0; y < height; ++y)
      std::memcpy(result.scanLine(y), tight.data() + rowBytes * static_cast<std::size_t>(y),
                  rowBytes);
  }
  return result;
}

// Decodes Data as Format. A warning from a JPEG that still gave pixels (a truncated file)
// counts as success; every other error or warning refuses the file.
QImage DecodeBlob(const QByteArray& Data, const QString& Format) {
  if (!Initialized) InitCodecs();
  const std::string format = Format.toUpper().toStdString();
  try {
    Magick::Blob blob(Data.constData(), static_cast<std::size_t>(Data.size()));
    Magick::Image image;
    image.subImage(0);
    image.subRange(1);
    image.magick(format);
    try {
      image.read(blob);
    } catch (const Magick::Warning& warning) {
      const bool jpeg = format == "JPEG" || format == "JPG";
      if (!jpeg || image.columns() == 0 || image.rows() == 0) throw ECodecError(warning.what());
    }
    return ToQImage(image);
  } catch (const Magick::Exception& e) {
    throw ECodecError(e.what());
  }
}

QByteArray EncodeWithMagick(const QImage& Picture, const char* Format) {
  if (Picture.isNull()) throw ECodecError("Empty picture");
  if (!Initialized) InitCodecs();
  const QImage rgb = Picture.convertToFormat(QImage::Format_RGB888);
  if (rgb.isNull()) throw ECodecError("Out of memory");
  const int width = rgb.width();
  const int height = rgb.height();
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  std::vector<uint8_t> tight(rowBytes * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y)
    std::memcpy(tight.data() + rowBytes * static_cast<std::size_t>(y), rgb.constScanLine(y),
                rowBytes);
  try {
    Magick::Image image(static_cast<unsigned>(width), static_cast<unsigned>(height), "RGB",
                        Magick::CharPixel, tight.data());
    image.magick(Format);
    Magick::Blob blob;
    image.write(&blob);
    if (blob.length() == 0) throw ECodecError("Nothing encoded");
    return QByteArray(static_cast<const char*>(blob.data()), static_cast<qsizetype>(blob.length()));
  } catch (const Magick::Exception& e) {
    throw ECodecError(e.what());
  }
}

}  // namespace

void InitCodecs() {
  if (Initialized) return;
  Magick::InitializeMagick(nullptr);
  // Refuse a small file that claims a huge picture before any pixel memory is taken.
  MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, MaxPixels);
  MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, MaxSide);
  MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, MaxSide);
  Initialized = true;
}

void DoneCodecs() {
  // The library keeps its registry until the process ends; a later start-up (tests run the
  // units more than once) finds it ready.
}

QString RecognizeFormat(const QString& FileName) {
  if (!Initialized) InitCodecs();
  QFile file(FileName);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray head = file.read(SignatureBytes);
  if (head.isEmpty()) return {};
  const char* format = MagickLib::GetImageMagick(
      reinterpret_cast<const unsigned char*>(head.constData()), static_cast<size_t>(head.size()));
  if (!format || !IsContentFormat(format)) return {};
  return QString::fromLatin1(format);
}

QImage DecodeAs(const QString& FileName, const QString& Format) {
  return DecodeBlob(ReadWholeFile(FileName), Format);
}

QImage DecodeByExtension(const QString& FileName) {
  const QString extension = QFileInfo(FileName).suffix().toLower();
  for (const TExtensionFormat& entry : ExtensionFormats) {
    if (extension != QLatin1String(entry.Extension)) continue;
    try {
      return DecodeAs(FileName, QString::fromLatin1(entry.Format));
    } catch (const ECodecError&) {
      break;  // Qt's readers may still know the file
    }
  }
  QImageReader reader(FileName);
  const QSize size = reader.size();
  if (size.isValid() && (size.width() > MaxSide || size.height() > MaxSide ||
                         static_cast<int64_t>(size.width()) * size.height() > MaxPixels))
    throw ECodecError("Picture too large: " + FileName.toStdString());
  QImage image = reader.read();
  if (image.isNull())
    throw ECodecError("Cannot decode " + FileName.toStdString() + ": " +
                      reader.errorString().toStdString());
  return image;
}

QImage Decode(const QString& FileName) {
  const QString format = RecognizeFormat(FileName);
  if (!format.isEmpty()) return DecodeAs(FileName, format);
  return DecodeByExtension(FileName);
}

QByteArray EncodeBmp(const QImage& Picture) {
  if (Picture.isNull()) throw ECodecError("Empty picture");
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "bmp");
  if (!writer.write(Picture)) throw ECodecError(writer.errorString().toStdString());
  return bytes;
}

QByteArray EncodeJpeg(const QImage& Picture) {
  return EncodeWithMagick(Picture, "JPEG");
}

QByteArray EncodeGif(const QImage& Picture) {
  return EncodeWithMagick(Picture, "GIF");
}

}  // namespace Codecs
