#pragma once
// The averaging shrink written out pixel by pixel, box by box, as plainly as possible: the
// yardstick that the fast row-wise version must match byte for byte.
#include <QImage>
#include <cstdint>
#include <random>

inline QImage ReferenceShrink(const QImage& Source, int Width, int Height) {
  const QImage s = Source.convertToFormat(QImage::Format_BGR888);
  QImage d(Width, Height, QImage::Format_BGR888);
  const float rx = static_cast<float>(1.0L / (static_cast<long double>(Width) / s.width()));
  const float ry = static_cast<float>(1.0L / (static_cast<long double>(Height) / s.height()));
  const auto box = [](int i, float r) {
    return static_cast<int>(static_cast<int64_t>((i + 1) * static_cast<long double>(r)) -
                            static_cast<int64_t>(i * static_cast<long double>(r)));
  };
  int top = 0;
  for (int j = 0; j < Height; ++j) {
    const int h = box(j, ry);
    int left = 0;
    for (int i = 0; i < Width; ++i) {
      const int w = box(i, rx);
      uint32_t sum[3] = {0, 0, 0};
      for (int y = top; y < top + h; ++y)
        for (int x = left; x < left + w; ++x)
          for (int c = 0; c < 3; ++c) sum[c] += s.constScanLine(y)[3 * x + c];
      uint32_t n = static_cast<uint32_t>(w * h);
      if (n == 0) n = w != 0 ? w : (h != 0 ? h : 1);
      const uint32_t u = 65535u / n;
      for (int c = 0; c < 3; ++c)
        d.scanLine(j)[3 * i + c] = static_cast<uint8_t>((sum[c] * u) >> 16);
      left += w;
    }
    top += h;
  }
  return d;
}

// A picture of seeded random bytes, the same for the same size and seed.
inline QImage NoisePicture(int Width, int Height, unsigned Seed = 12345) {
  QImage image(Width, Height, QImage::Format_BGR888);
  std::mt19937 random(Seed);
  for (int y = 0; y < Height; ++y) {
    uint8_t* row = image.scanLine(y);
    for (int x = 0; x < Width * 3; ++x) row[x] = static_cast<uint8_t>(random());
  }
  return image;
}
