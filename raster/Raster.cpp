#include "Raster.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <exception>
#include <new>
#include <vector>

#include "BoxAverage.h"
#include "Codecs.h"
#include "Messages.h"

TTavRaster* TavRaster = nullptr;

const char* const PixelFormatNames[9] = {"Device", "1bit",  "4bit",  "8bit",  "15bit",
                                         "16bit",  "24bit", "32bit", "Custom"};

TPixelFormat PixelFormatOf(const QImage& Picture) {
  switch (Picture.format()) {
    case QImage::Format_Invalid:
      return pfDevice;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
      return pf1bit;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8:
      return pf8bit;
    case QImage::Format_RGB555:
      return pf15bit;
    case QImage::Format_RGB16:
    case QImage::Format_RGB444:
    case QImage::Format_ARGB4444_Premultiplied:
      return pf16bit;
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
      return pf24bit;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
      return pf32bit;
    default:
      return pfCustom;
  }
}

namespace {
const TManagedTraits TavRasterTraits{"Raster", "mTavRaster", false, true,
                                     false,    false,        false, false};

// The hourglass while files are read or written, when there is a screen to show it on.
class TWaitCursor {
 public:
  TWaitCursor() : FShown(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (FShown) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~TWaitCursor() {
    if (FShown) QGuiApplication::restoreOverrideCursor();
  }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

 private:
  bool FShown;
};

// Switches a picture to 24 bits a pixel; false when there was no memory for it.
bool To24Bit(QImage& Picture) {
  if (Picture.format() == QImage::Format_BGR888) return true;
  QImage converted = Picture.convertToFormat(QImage::Format_BGR888);
  if (converted.isNull()) return false;
  Picture = std::move(converted);
  return true;
}

// Nearest-pixel copy of all of Source onto all of Dest (both 24-bit).
void StretchNearest(const QImage& Source, QImage& Dest) {
  const int sw = Source.width(), sh = Source.height();
  const int dw = Dest.width(), dh = Dest.height();
  std::vector<int> columns(static_cast<std::size_t>(dw));
  for (int i = 0; i < dw; ++i)
    columns[static_cast<std::size_t>(i)] = static_cast<int>(static_cast<int64_t>(i) * sw / dw) * 3;
  for (int j = 0; j < dh; ++j) {
    const uint8_t* src = Source.constScanLine(static_cast<int>(static_cast<int64_t>(j) * sh / dh));
    uint8_t* dst = Dest.scanLine(j);
    for (int i = 0; i < dw; ++i, dst += 3) {
      const uint8_t* p = src + columns[static_cast<std::size_t>(i)];
      dst[0] = p[0];
      dst[1] = p[1];
      dst[2] = p[2];
    }
  }
}

bool SizeAllowed(int Width, int Height) {
  return Width > 0 && Height > 0 && Width <= Codecs::MaxSide && Height <= Codecs::MaxSide &&
         static_cast<int64_t>(Width) * Height <= Codecs::MaxPixels;
}

// Writes Bytes to FileName through a temporary file, so that a failed write leaves neither
// a partial file nor a damaged earlier one.
bool WriteFileAtomically(const QString& FileName, const QByteArray& Bytes) {
  QSaveFile file(FileName);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(Bytes) != Bytes.size()) {
    file.cancelWriting();
    file.commit();
    return false;
  }
  return file.commit();
}

template <class TEncoder>
bool SaveWith(TTavRaster& Raster, const QString& FileName, QImage* Picture, TEncoder Encode) {
  if (Raster.IsRasterEmpty(Picture)) return false;
  TWaitCursor cursor;
  try {
    return WriteFileAtomically(FileName, Encode(*Picture));
  } catch (const std::exception&) {
    return false;
  }
}
}  // namespace

const TManagedTraits& TTavRaster::Traits() const {
  return TavRasterTraits;
}

bool TTavRaster::IsRasterEmpty(const QImage* Picture) const {
  return !Picture || Picture->width() == 0 || Picture->height() == 0;
}

bool TTavRaster::LoadRaster(const QString& FileName, QImage* Picture) {
  if (!Picture) return false;
  const QFileInfo info(FileName);
  if (!info.exists() || !info.isFile()) return false;
  TWaitCursor cursor;
  try {
    QImage image = Codecs::Decode(FileName);
    if (image.isNull()) return false;
    *Picture = std::move(image);
    return true;
  } catch (...) {
    return false;
  }
}

bool TTavRaster::SaveRaster(const QString& FileName, QImage* Picture) {
  if (IsRasterEmpty(Picture)) return false;
  const QString extension = QFileInfo(FileName).suffix().toUpper();
  if (extension == QLatin1String("BMP")) return SaveAsBmp(FileName, Picture);
  if (extension == QLatin1String("JPG")) return SaveAsJpg(FileName, Picture);
  if (extension == QLatin1String("GIF")) return SaveAsGif(FileName, Picture);
  return false;
}

bool TTavRaster::SaveAsBmp(const QString& FileName, QImage* Picture) {
  return SaveWith(*this, FileName, Picture, Codecs::EncodeBmp);
}

bool TTavRaster::SaveAsJpg(const QString& FileName, QImage* Picture) {
  return SaveWith(*this, FileName, Picture, Codecs::EncodeJpeg);
}

bool TTavRaster::SaveAsGif(const QString& FileName, QImage* Picture) {
  return SaveWith(*this, FileName, Picture, Codecs::EncodeGif);
}

void TTavRaster::StretchRaster(QImage* Source, QImage* Dest) {
  if (IsRasterEmpty(Source) || IsRasterEmpty(Dest)) return;
  const auto fail = [&] {
    ShowMessage(QStringLiteral("Src:%1*%2  dest:%3*%4")
                    .arg(Source->width())
                    .arg(Source->height())
                    .arg(Dest->width())
                    .arg(Dest->height()));
  };
  if (!To24Bit(*Source) || !To24Bit(*Dest)) {
    fail();
    return;
  }
  if (Dest->width() > Source->width() || Dest->height() > Source->height()) {
    StretchNearest(*Source, *Dest);
    return;
  }
  try {
    AverageBoxes(*Source, *Dest);
  } catch (const std::bad_alloc&) {
    fail();
  }
}

void TTavRaster::ResizeRaster(QImage* Picture, int Width, int Height) {
  if (IsRasterEmpty(Picture) || Width == 0 || Height == 0) return;
  if (!SizeAllowed(Width, Height)) {
    ShowMessage(QStringLiteral("Invalid picture size %1 x %2").arg(Width).arg(Height));
    return;
  }
  QImage bitmap(Width, Height, QImage::Format_BGR888);
  if (bitmap.isNull()) {
    ShowMessage(
        QStringLiteral("Not enough memory for a picture of %1 x %2").arg(Width).arg(Height));
    return;
  }
  bitmap.fill(Qt::black);
  StretchRaster(Picture, &bitmap);
  *Picture = std::move(bitmap);
}

int TTavRaster::NearestPowerOf2(int Size) const {
  int64_t p = 2;
  int k = 1;
  while (p < Size) {
    p *= 2;
    ++k;
  }
  const int64_t lower = int64_t(1) << (k - 1);
  const int64_t upper = int64_t(1) << k;
  const int64_t result = (Size - lower < upper - Size) ? lower : upper;
  return static_cast<int>(std::min<int64_t>(result, int64_t(1) << 30));
}

bool TTavRaster::IsPowerOf2Size(const QImage* Picture) const {
  if (IsRasterEmpty(Picture)) return false;
  const auto ceilPower = [](int n) {
    int64_t p = 2;
    while (p < n) p *= 2;
    return p;
  };
  return ceilPower(Picture->width()) == Picture->width() &&
         ceilPower(Picture->height()) == Picture->height();
}

QSize TTavRaster::PowerOf2SizeFor(int Width, int Height) const {
  int width = NearestPowerOf2(Width);
  int height = NearestPowerOf2(Height);
  // A picture just under the limits may round up past them: take the next power down on the
  // side that was rounded up the most, until the size is allowed.
  while (!SizeAllowed(width, height) && (width > 1 || height > 1)) {
    const bool shrinkWidth = height <= 1 || (width > 1 && static_cast<int64_t>(width) * Height >=
                                                              static_cast<int64_t>(height) * Width);
    if (shrinkWidth)
      width /= 2;
    else
      height /= 2;
  }
  return {width, height};
}

void TTavRaster::ResizeToPowerOf2(QImage* Picture) {
  if (IsRasterEmpty(Picture)) return;
  const QSize size = PowerOf2SizeFor(Picture->width(), Picture->height());
  ResizeRaster(Picture, size.width(), size.height());
}

bool TTavRaster::RasterToTexImage(QImage* Picture, TTexImage& TexImage) {
  TexImage = TTexImage{};
  if (IsRasterEmpty(Picture)) return false;
  if (!IsPowerOf2Size(Picture)) ResizeToPowerOf2(Picture);
  if (!To24Bit(*Picture)) return false;
  const int width = Picture->width();
  const int height = Picture->height();
  // OpenGL 1.1 takes power-of-two sides only (1 among them); a resize that could not be made
  // leaves no block rather than one of the picture's own size.
  const auto powerOf2 = [](int n) { return n > 0 && (n & (n - 1)) == 0; };
  if (!powerOf2(width) || !powerOf2(height)) return false;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  uint8_t* pixels = new (std::nothrow) uint8_t[rowBytes * static_cast<std::size_t>(height)];
  if (!pixels) return false;
  for (int k = 0; k < height; ++k) {
    const uint8_t* src = Picture->constScanLine(height - 1 - k);
    uint8_t* dst = pixels + rowBytes * static_cast<std::size_t>(k);
    for (int i = 0; i < width; ++i, src += 3, dst += 3) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
    }
  }
  TexImage.Format = tfRGB;
  TexImage.Width = width;
  TexImage.Height = height;
  TexImage.Pixels = pixels;
  return true;
}

bool TTavRaster::LoadTexImage(const QString& FileName, TTexImage& TexImage) {
  TexImage = TTexImage{};
  if (!QFileInfo::exists(FileName)) return false;
  QImage bitmap;
  bool done = false;
  try {
    done = LoadRaster(FileName, &bitmap) && RasterToTexImage(&bitmap, TexImage);
  } catch (...) {
    done = false;
  }
  if (!done) FreeTexImage(TexImage);
  return done;
}

void TTavRaster::FreeTexImage(TTexImage& TexImage) {
  if (TexImage.Format == tfRGB || TexImage.Format == tfRGBA) delete[] TexImage.Pixels;
  TexImage = TTexImage{};
}
