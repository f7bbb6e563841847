#pragma once
// The raster object: loads, saves and resamples pictures and turns them into texture pixels.
// A picture is a QImage owned by the caller; a null pointer or a null image is a missing
// picture. Operations that touch pixels switch the picture to 24 bits a pixel
// (QImage::Format_BGR888: blue, green, red; rows padded to 4 bytes; row 0 on top).
#include <QImage>
#include <QString>
#include <cstdint>

#include "ManagedSingleton.h"

// Pixel formats of a picture, numbered as PixelFormatNames.
enum TPixelFormat : uint8_t {
  pfDevice,
  pf1bit,
  pf4bit,
  pf8bit,
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit,
  pfCustom
};
extern const char* const PixelFormatNames[9];
// The pixel format of a picture: a null picture is pfDevice; formats that are not one of
// the plain 1/4/8/15/16/24/32-bit layouts are pfCustom.
TPixelFormat PixelFormatOf(const QImage& Picture);

// Pixel layout of a texture block.
enum TTexFormat : uint8_t { tfRGB = 0, tfRGBA = 1 };

// A texture pixel block: rows from the bottom row of the picture to its top row, no row
// padding, each pixel red, green, blue (tfRGB). All zero means no image. Release the block
// with TTavRaster::FreeTexImage.
struct TTexImage {
  uint8_t Format = tfRGB;
  int32_t Width = 0;
  int32_t Height = 0;
  uint8_t* Pixels = nullptr;
};

class TTavRaster;
extern TTavRaster* TavRaster;

class TTavRaster : public TManagedSingleton<TTavRaster, &TavRaster> {
 public:
  QString ClassName() const override { return QStringLiteral("TTavRaster"); }

  // True when the picture is missing or its width or height is 0.
  bool IsRasterEmpty(const QImage* Picture) const;
  // Loads FileName into Picture (recognised by content, else by extension); false when the
  // file is missing or cannot be decoded, in which case Picture is left as it was.
  bool LoadRaster(const QString& FileName, QImage* Picture);
  // Saves by extension (".bmp", ".jpg", ".gif", any case); other extensions write nothing.
  bool SaveRaster(const QString& FileName, QImage* Picture);
  // On failure no partial file is left and a file that was there before is kept.
  bool SaveAsBmp(const QString& FileName, QImage* Picture);
  bool SaveAsJpg(const QString& FileName, QImage* Picture);
  bool SaveAsGif(const QString& FileName, QImage* Picture);
  // Fills Dest (already sized) from Source: box averaging when Dest is no larger than
  // Source either way, nearest-pixel copy otherwise. Both become 24-bit pictures.
  void StretchRaster(QImage* Source, QImage* Dest);
  // Resizes Picture to Width x Height (24 bits a pixel). A zero size does nothing; a
  // negative or oversized one is refused with a message and changes nothing.
  void ResizeRaster(QImage* Picture, int Width, int Height);
  // The power of two nearest to Size (a tie goes to the larger); 1 for Size <= 1.
  int NearestPowerOf2(int Size) const;
  // True when width and height are both powers of two of at least 2.
  bool IsPowerOf2Size(const QImage* Picture) const;
  // The power-of-two size a Width x Height picture becomes: the nearest powers, halved where
  // needed to stay within the picture limits.
  QSize PowerOf2SizeFor(int Width, int Height) const;
  void ResizeToPowerOf2(QImage* Picture);
  // Fills TexImage from Picture, resizing Picture itself to powers of two first if needed.
  bool RasterToTexImage(QImage* Picture, TTexImage& TexImage);
  // Loads a file straight into a texture block; TexImage stays all zero on failure.
  bool LoadTexImage(const QString& FileName, TTexImage& TexImage);
  void FreeTexImage(TTexImage& TexImage);

 protected:
  const TManagedTraits& Traits() const override;
};
