#include "Raster.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

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

// Box sizes along one axis: Trunc((i + 1) * r) - Trunc(i * r), r = 1 / (Dest / Source)
// held in single precision, the quotients and products in extended precision.
std::vector<int> BoxTable(int Dest, int Source) {
  const float r = static_cast<float>(1.0L / (static_cast<long double>(Dest) / Source));
  const long double rl = r;
  std::vector<int> boxes(static_cast<std::size_t>(Dest));
  int64_t used = 0;
  for (int i = 0; i < Dest; ++i) {
    const int64_t next = static_cast<int64_t>((i + 1) * rl);
    // Never reach past the source, whatever the rounding.
    const int64_t end = std::min<int64_t>(next, Source);
    boxes[static_cast<std::size_t>(i)] = static_cast<int>(std::max<int64_t>(end - used, 0));
    used = std::max(used, end);
  }
  return boxes;
}

// Averages the boxes of Source into Dest, both 24-bit, Dest no larger either way. For each
// destination row the source rows of its boxes are first summed column by column (a plain
// loop the compiler vectorises, in 16 bits while a column of the box cannot overflow them),
// then each box adds up its columns of those sums.
// The box divisor of each box width for one box height: 65535 div n, n the box's pixel count
// (the non-zero side when the other is 0, 1 when both are); 0 for boxes of more than 65535
// pixels, where that would be 0 and the picture black, and the sum is divided exactly.
void Divisors(int BoxHeight, int MaxWidth, std::vector<uint32_t>& U, std::vector<uint64_t>& N) {
  U.resize(static_cast<std::size_t>(MaxWidth) + 1);
  N.resize(U.size());
  for (int w = 0; w <= MaxWidth; ++w) {
    int64_t n = static_cast<int64_t>(w) * BoxHeight;
    if (n == 0) n = std::max(w, BoxHeight);
    if (n == 0) n = 1;
    U[static_cast<std::size_t>(w)] = n <= 65535 ? 65535u / static_cast<uint32_t>(n) : 0;
    N[static_cast<std::size_t>(w)] = static_cast<uint64_t>(n);
  }
}

template <class TSum, class TColumn>
void AverageRow(const TColumn* ColumnSums, const std::vector<int>& Widths,
                const std::vector<uint32_t>& U, const std::vector<uint64_t>& N, uint8_t* DestRow) {
  const TColumn* p = ColumnSums;
  for (int w : Widths) {
    TSum b = 0, g = 0, r = 0;
    for (int x = w; x > 0; --x, p += 3) {
      b += p[0];
      g += p[1];
      r += p[2];
    }
    if (const uint32_t u = U[static_cast<std::size_t>(w)]) {
      DestRow[0] = static_cast<uint8_t>((static_cast<uint32_t>(b) * u) >> 16);
      DestRow[1] = static_cast<uint8_t>((static_cast<uint32_t>(g) * u) >> 16);
      DestRow[2] = static_cast<uint8_t>((static_cast<uint32_t>(r) * u) >> 16);
    } else {
      const uint64_t count = N[static_cast<std::size_t>(w)];
      DestRow[0] = static_cast<uint8_t>(static_cast<uint64_t>(b) / count);
      DestRow[1] = static_cast<uint8_t>(static_cast<uint64_t>(g) / count);
      DestRow[2] = static_cast<uint8_t>(static_cast<uint64_t>(r) / count);
    }
    DestRow += 3;
  }
}

// The column sums of H source rows from Row on.
template <class TColumn>
void SumColumns(const uint8_t* Row, qsizetype Stride, int H, std::size_t Bytes, TColumn* Sums) {
  std::fill(Sums, Sums + Bytes, TColumn{0});
  for (int y = 0; y < H; ++y, Row += Stride)
    for (std::size_t k = 0; k < Bytes; ++k) Sums[k] = static_cast<TColumn>(Sums[k] + Row[k]);
}

struct TBoxes {
  std::vector<int> Widths, Heights;
  std::vector<int> FirstSourceRow;  // per destination row
  bool Wide = false;                // some box sums need more than 32 bits
};

// Destination rows First .. Last - 1.
void AverageBand(const QImage& Source, QImage& Dest, const TBoxes& Boxes, int First, int Last) {
  const std::size_t rowBytes = static_cast<std::size_t>(Source.width()) * 3;
  const int tallest =
      First < Last ? *std::max_element(Boxes.Heights.begin() + First, Boxes.Heights.begin() + Last)
                   : 0;
  // A column of up to 257 bytes sums to at most 65535.
  const bool narrow = tallest <= 257;
  std::vector<uint16_t> narrowSums(narrow ? rowBytes : 0);
  std::vector<uint32_t> sums(narrow ? 0 : rowBytes);
  const uint8_t* sourceBits = Source.constBits();
  const qsizetype sourceStride = Source.bytesPerLine();
  const int widest = *std::max_element(Boxes.Widths.begin(), Boxes.Widths.end());
  std::vector<uint32_t> u;
  std::vector<uint64_t> n;
  int divisorsFor = -1;
  for (int j = First; j < Last; ++j) {
    const int h = Boxes.Heights[static_cast<std::size_t>(j)];
    if (h != divisorsFor) {
      Divisors(h, widest, u, n);
      divisorsFor = h;
    }
    const uint8_t* row =
        sourceBits + sourceStride * Boxes.FirstSourceRow[static_cast<std::size_t>(j)];
    uint8_t* destRow = Dest.scanLine(j);
    if (narrow) {
      SumColumns(row, sourceStride, h, rowBytes, narrowSums.data());
      AverageRow<uint32_t>(narrowSums.data(), Boxes.Widths, u, n, destRow);
    } else {
      SumColumns(row, sourceStride, h, rowBytes, sums.data());
      if (Boxes.Wide)
        AverageRow<uint64_t>(sums.data(), Boxes.Widths, u, n, destRow);
      else
        AverageRow<uint32_t>(sums.data(), Boxes.Widths, u, n, destRow);
    }
  }
}

// Rows of boxes are independent: bands of destination rows go to the cores. Throws
// std::bad_alloc when memory runs out on any of them.
void AverageBoxes(const QImage& Source, QImage& Dest) {
  TBoxes boxes;
  boxes.Widths = BoxTable(Dest.width(), Source.width());
  boxes.Heights = BoxTable(Dest.height(), Source.height());
  const int maxWidth = *std::max_element(boxes.Widths.begin(), boxes.Widths.end());
  const int maxHeight = *std::max_element(boxes.Heights.begin(), boxes.Heights.end());
  boxes.Wide = static_cast<int64_t>(maxWidth) * maxHeight > 65535;
  boxes.FirstSourceRow.resize(boxes.Heights.size());
  int sourceRow = 0;
  for (std::size_t j = 0; j < boxes.Heights.size(); ++j) {
    boxes.FirstSourceRow[j] = sourceRow;
    sourceRow += boxes.Heights[j];
  }
  // Splitting pays once each band reads a few hundred thousand source pixels.
  const int64_t pixels = static_cast<int64_t>(Source.width()) * Source.height();
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const int bands = static_cast<int>(
      std::clamp<int64_t>(std::min<int64_t>({cores, pixels / 400000, Dest.height()}), 1, 16));
  if (bands == 1) {
    AverageBand(Source, Dest, boxes, 0, Dest.height());
    return;
  }
  std::vector<std::thread> helpers;
  std::atomic<bool> outOfMemory{false};
  const auto band = [&](int K) {
    try {
      AverageBand(Source, Dest, boxes, static_cast<int>(int64_t(Dest.height()) * K / bands),
                  static_cast<int>(int64_t(Dest.height()) * (K + 1) / bands));
    } catch (const std::bad_alloc&) {
      outOfMemory = true;
    }
  };
  for (int k = 1; k < bands; ++k) {
    try {
      helpers.emplace_back(band, k);
    } catch (const std::system_error&) {
      band(k);  // no thread to be had: this core does it
    }
  }
  band(0);
  for (std::thread& helper : helpers) helper.join();
  if (outOfMemory) throw std::bad_alloc();
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
