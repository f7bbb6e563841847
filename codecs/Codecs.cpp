#include "Codecs.h"

#include <Magick++.h>
#include <magick/confirm_access.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <cstring>
#include <vector>

#include "PsdDecode.h"

namespace Codecs {

namespace {

bool Initialized = false;

// Bytes read to recognise a file: Photo-CD keeps its signature at offset 2048.
constexpr qint64 SignatureBytes = 4096;

// Formats that may be decoded when the content names them. Everything else that the
// library would recognise (scripts, vector and text formats, PostScript, which needs an
// outside interpreter, ...) is left alone.
const char* const ContentFormats[] = {"PNG", "TIFF", "TIF", "PCX", "DCX",  "SGI", "PNM", "PBM",
                                      "PGM", "PPM",  "PAM", "BMP", "JPEG", "JPG", "GIF", "PCD",
                                      "RLA", "ICO",  "XBM", "XPM", "SUN",  "RAS", "JNG", "MIFF"};

// Photoshop pictures: the image library has no coder for them.
constexpr char PsdSignature[] = "8BPS";

// Formats chosen by extension when the content is not recognised. Metafiles and PostScript
// are not decoded: their decoders read fonts or run an interpreter.
struct TExtensionFormat {
  const char* Extension;
  const char* Format;
};
const TExtensionFormat ExtensionFormats[] = {
    {"tga", "TGA"},  {"vda", "TGA"},   {"icb", "TGA"}, {"vst", "TGA"},  {"bmp", "BMP"},
    {"dib", "BMP"},  {"rle", "BMP"},   {"ico", "ICO"}, {"jpg", "JPEG"}, {"jpeg", "JPEG"},
    {"jpe", "JPEG"}, {"jfif", "JPEG"}, {"gif", "GIF"}, {"tif", "TIFF"}, {"tiff", "TIFF"},
    {"pcx", "PCX"},  {"png", "PNG"},   {"rgb", "SGI"}, {"rgba", "SGI"}, {"bw", "SGI"},
    {"sgi", "SGI"},  {"pbm", "PNM"},   {"pgm", "PNM"}, {"ppm", "PNM"},  {"pnm", "PNM"},
    {"rla", "RLA"},  {"rpf", "RLA"},   {"pix", "PIX"}, {"pcd", "PCD"},  {"pcds", "PCD"},
    {"cut", "CUT"},  {"psd", "PSD"}};

// Qt's readers used last, by what they find in the file: only plain raster formats.
const char* const QtFormats[] = {"bmp", "gif", "ico", "cur", "jpeg",
                                 "jpg", "png", "pbm", "pgm", "ppm"};

bool SizeAllowed(int64_t Width, int64_t Height) {
  return Width <= MaxSide && Height <= MaxSide && Width * Height <= MaxPixels;
}

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

// The image library's own format detection would override the format asked for and hand some
// contents to outside programs; the coder is therefore called directly on the bytes.
MagickLib::Image* RunCoder(const QByteArray& Data, const std::string& Format,
                           MagickLib::ExceptionInfo& Exception) {
  const MagickLib::MagickInfo* info = MagickLib::GetMagickInfo(Format.c_str(), &Exception);
  if (!info || !info->decoder) return nullptr;
  MagickLib::ImageInfo* imageInfo = MagickLib::CloneImageInfo(nullptr);
  if (!imageInfo) return nullptr;
  std::snprintf(imageInfo->magick, sizeof imageInfo->magick, "%s", Format.c_str());
  std::snprintf(imageInfo->filename, sizeof imageInfo->filename, "%s:", Format.c_str());
  imageInfo->affirm = MagickTrue;
  imageInfo->subimage = 0;
  imageInfo->subrange = 1;
  imageInfo->blob =
      reinterpret_cast<decltype(imageInfo->blob)>(const_cast<char*>(Data.constData()));
  imageInfo->length = static_cast<std::size_t>(Data.size());
  MagickLib::Image* image = info->decoder(imageInfo, &Exception);
  imageInfo->blob = nullptr;
  imageInfo->length = 0;
  MagickLib::DestroyImageInfo(imageInfo);
  return image;
}

// Decodes Data as Format. A warning from a JPEG that still gave pixels counts as success (a
// truncated file shows what it has), unless it says the data itself is corrupt: those pixels
// are garbage. Every other error or warning refuses the file.
QImage DecodeBlob(const QByteArray& Data, const QString& Format) {
  if (!Initialized) InitCodecs();
  const std::string format = Format.toUpper().toStdString();
  if (format == "PSD") return DecodePsd(Data);
  MagickLib::ExceptionInfo exception;
  MagickLib::GetExceptionInfo(&exception);
  MagickLib::Image* image = RunCoder(Data, format, exception);
  std::string problem;
  if (exception.severity != MagickLib::UndefinedException) {
    problem = exception.reason ? exception.reason : "Cannot decode";
    if (exception.description) problem += std::string(" (") + exception.description + ")";
  }
  const bool warning =
      exception.severity < MagickLib::ErrorException && problem.rfind("Corrupt JPEG data", 0) != 0;
  const bool jpeg = format == "JPEG" || format == "JPG";
  MagickLib::DestroyExceptionInfo(&exception);
  if (!image) throw ECodecError(problem.empty() ? "Cannot decode as " + format : problem);
  if (!problem.empty() && !(warning && jpeg)) {
    MagickLib::DestroyImageList(image);
    throw ECodecError(problem);
  }
  // The first frame only; the wrapper owns it from here.
  if (image->next) {
    MagickLib::DestroyImageList(image->next);
    image->next = nullptr;
  }
  try {
    Magick::Image wrapped(image);
    return ToQImage(wrapped);
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

// A picture's content never makes the library run a program, fetch a URL or open a file: the
// codec layer hands it the bytes itself.
MagickPassFail RefuseAccess(const MagickLib::ConfirmAccessMode, const char* Path,
                            MagickLib::ExceptionInfo* Exception) {
  MagickLib::ThrowException(Exception, MagickLib::CoderError, "Access refused", Path);
  return MagickFail;
}

void InitCodecs() {
  if (Initialized) return;
  Magick::InitializeMagick(nullptr);
  // Refuse a small file that claims a huge picture before any pixel memory is taken.
  MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, MaxPixels);
  MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, MaxSide);
  MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, MaxSide);
  // The library learns a format's signature only when its coder is loaded: load every coder
  // of the lists now, so recognition by content does not depend on what was decoded before.
  MagickLib::ExceptionInfo exception;
  MagickLib::GetExceptionInfo(&exception);
  for (const char* name : ContentFormats) (void)MagickLib::GetMagickInfo(name, &exception);
  for (const TExtensionFormat& entry : ExtensionFormats)
    (void)MagickLib::GetMagickInfo(entry.Format, &exception);
  for (const char* name : {"JPEG", "GIF"}) (void)MagickLib::GetMagickInfo(name, &exception);
  MagickLib::DestroyExceptionInfo(&exception);
  MagickLib::MagickSetConfirmAccessHandler(RefuseAccess);
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
  if (head.startsWith(PsdSignature)) return QStringLiteral("PSD");
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
    // The file's own decoder has the last word: a broken GIF is not handed to a reader that
    // may allocate whatever screen the file claims.
    if (std::strcmp(entry.Format, "ICO") != 0)
      return DecodeAs(FileName, QString::fromLatin1(entry.Format));
    try {
      return DecodeAs(FileName, QString::fromLatin1(entry.Format));
    } catch (const ECodecError&) {
      break;  // icons of the PNG kind are Qt's
    }
  }
  QImageReader reader(FileName);
  // The reader allocates what the file announces, which for a GIF is its screen, not the
  // frame it reports: cap the allocation at the largest picture and check the result too.
  reader.setAllocationLimit(static_cast<int>(MaxPixels * 4 / (1024 * 1024)));
  const QByteArray qtFormat = reader.format().toLower();
  bool known = false;
  for (const char* name : QtFormats) known = known || qtFormat == name;
  if (!known) throw ECodecError("Unknown picture format: " + FileName.toStdString());
  const QSize size = reader.size();
  if (size.isValid() && !SizeAllowed(size.width(), size.height()))
    throw ECodecError("Picture too large: " + FileName.toStdString());
  QImage image = reader.read();
  if (image.isNull())
    throw ECodecError("Cannot decode " + FileName.toStdString() + ": " +
                      reader.errorString().toStdString());
  if (!SizeAllowed(image.width(), image.height()))
    throw ECodecError("Picture too large: " + FileName.toStdString());
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
