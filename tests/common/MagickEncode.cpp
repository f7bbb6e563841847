#include "MagickEncode.h"

#include <Magick++.h>

#include <cstdint>
#include <vector>

QByteArray MagickEncode(const QImage& Picture, const char* Format) {
  const QImage rgb = Picture.convertToFormat(QImage::Format_RGB888);
  std::vector<uint8_t> tight;
  for (int y = 0; y < rgb.height(); ++y)
    tight.insert(tight.end(), rgb.constScanLine(y), rgb.constScanLine(y) + rgb.width() * 3);
  Magick::Image image(rgb.width(), rgb.height(), "RGB", Magick::CharPixel, tight.data());
  image.magick(Format);
  Magick::Blob blob;
  image.write(&blob);
  return QByteArray(static_cast<const char*>(blob.data()), static_cast<qsizetype>(blob.length()));
}
