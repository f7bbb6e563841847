// Generates the start-up textures: brick blocks, stone blocks, brushed metal, two stones, a
// test pattern and tin plate. Everything is computed from integer hashes, so every run
// writes the same pixels. Usage: MakeTextures <folder>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>

#include "Codecs.h"

namespace {

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

// Uniform value in 0..1 for a lattice point.
double Unit(uint32_t x, uint32_t y, uint32_t seed) {
  return (Hash(x, y, seed) & 0xFFFFFF) / double(0xFFFFFF);
}

// Smooth value noise with lattice spacing Cell.
double Noise(double x, double y, double cell, uint32_t seed) {
  const double fx = x / cell, fy = y / cell;
  const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
  const double tx = fx - ix, ty = fy - iy;
  const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const auto v = [&](int dx, int dy) {
    return Unit(static_cast<uint32_t>(ix + dx), static_cast<uint32_t>(iy + dy), seed);
  };
  const double a = v(0, 0) + (v(1, 0) - v(0, 0)) * sx;
  const double b = v(0, 1) + (v(1, 1) - v(0, 1)) * sx;
  return a + (b - a) * sy;
}

// Sum of octaves, about 0..1.
double Fractal(double x, double y, double cell, uint32_t seed, int octaves = 4) {
  double sum = 0, weight = 0, amp = 1;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * Noise(x, y, cell, seed + static_cast<uint32_t>(o) * 17u);
    weight += amp;
    amp *= 0.5;
    cell *= 0.5;
  }
  return sum / weight;
}

int Clamp(double v) {
  return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
}

using TShader = std::function<QRgb(int x, int y)>;

QImage Make(int width, int height, const TShader& shader) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) row[x] = shader(x, y);
  }
  return image;
}

QRgb Shade(double r, double g, double b, double f) {
  return qRgb(Clamp(r * f), Clamp(g * f), Clamp(b * f));
}

// Running-bond bricks (or larger blocks) with mortar joints.
QRgb Bricks(int x, int y, int brickW, int brickH, int joint, uint32_t seed, double r, double g,
            double b, double mr, double mg, double mb) {
  const int row = y / brickH;
  const int shifted = x + (row % 2) * brickW / 2;
  const int col = shifted / brickW;
  const int bx = shifted % brickW, by = y % brickH;
  const double grain = Fractal(x, y, 8, seed + 5, 3);
  if (bx < joint || by < joint) return Shade(mr, mg, mb, 0.8 + 0.4 * grain);
  const double tint =
      0.75 + 0.45 * Unit(static_cast<uint32_t>(col), static_cast<uint32_t>(row), seed);
  const double edge = (bx < joint + 2 || by < joint + 2) ? 0.85 : 1.0;
  const double speck =
      Unit(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed + 9) > 0.97 ? 0.7 : 1.0;
  return Shade(r, g, b, tint * edge * speck * (0.75 + 0.5 * grain));
}

// Cobbles: distance to the nearest of jittered cell centres.
QRgb Cobbles(int x, int y, int cell, uint32_t seed) {
  const int cx = x / cell, cy = y / cell;
  double best = 1e9, second = 1e9;
  uint32_t bestId = 0;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const uint32_t gx = static_cast<uint32_t>(cx + dx + 64),
                     gy = static_cast<uint32_t>(cy + dy + 64);
      const double px = (cx + dx + 0.15 + 0.7 * Unit(gx, gy, seed)) * cell;
      const double py = (cy + dy + 0.15 + 0.7 * Unit(gx, gy, seed + 1)) * cell;
      const double d = std::hypot(x - px, y - py);
      if (d < best) {
        second = best;
        best = d;
        bestId = Hash(gx, gy, seed + 2);
      } else if (d < second) {
        second = d;
      }
    }
  const double border = second - best;
  const double grain = Fractal(x, y, 6, seed + 3, 3);
  if (border < 3) return Shade(70, 62, 52, 0.7 + 0.5 * grain);
  const double tone = 0.7 + 0.3 * ((bestId & 0xFF) / 255.0);
  const double round = std::min(1.0, border / 14.0);
  return Shade(150 + (bestId >> 8 & 31), 140 + (bestId >> 13 & 15), 125,
               tone * (0.6 + 0.4 * round) * (0.8 + 0.4 * grain));
}

QRgb TestPattern(int x, int y, int width, int height) {
  // Corners mark the orientation: red top-left, green top-right, blue bottom-left,
  // white bottom-right.
  const int m = 24;
  if (x < m && y < m) return qRgb(255, 0, 0);
  if (x >= width - m && y < m) return qRgb(0, 255, 0);
  if (x < m && y >= height - m) return qRgb(0, 0, 255);
  if (x >= width - m && y >= height - m) return qRgb(255, 255, 255);
  if (x % 32 == 0 || y % 32 == 0) return qRgb(20, 20, 20);
  const double cx = x - width / 2.0, cy = y - height / 2.0;
  const double radius = std::hypot(cx, cy);
  if (std::fabs(radius - height * 0.35) < 2) return qRgb(250, 250, 250);
  if (y < height / 3) {
    static const QRgb bars[8] = {qRgb(192, 192, 192), qRgb(192, 192, 0), qRgb(0, 192, 192),
                                 qRgb(0, 192, 0),     qRgb(192, 0, 192), qRgb(192, 0, 0),
                                 qRgb(0, 0, 192),     qRgb(16, 16, 16)};
    return bars[x * 8 / width];
  }
  if (y < 2 * height / 3) {
    const int v = x * 255 / (width - 1);
    return qRgb(v, v, v);
  }
  const bool check = ((x / 16) + (y / 16)) % 2 == 0;
  return check ? qRgb(230, 120, 30) : qRgb(40, 90, 200);
}

QRgb Tin(int x, int y) {
  // Diamond tread plate on pale tin.
  const int p = 32;
  const int u = (x + y) % p, v = (x - y + 4 * p) % p;
  const double du = std::abs(u - p / 2) / double(p / 2), dv = std::abs(v - p / 2) / double(p / 2);
  const bool ridge = ((x / p + y / p) % 2 == 0) ? (du < 0.18 && dv < 0.7) : (dv < 0.18 && du < 0.7);
  const double grain = Fractal(x, y * 0.2, 10, 77, 3);
  const double light = ridge ? (u < p / 2 ? 1.15 : 0.8) : 1.0;
  return Shade(188, 192, 196, light * (0.88 + 0.2 * grain));
}

QRgb Metal(int x, int y) {
  // Brushed along x: noise stretched far along the rows.
  const double streak = Fractal(x * 0.03, y, 2, 41, 4);
  const double fine = Unit(static_cast<uint32_t>(x / 3), static_cast<uint32_t>(y), 43);
  const double sheen = 0.85 + 0.2 * std::cos((x - 150) / 180.0);
  return Shade(160, 164, 170, sheen * (0.8 + 0.3 * streak + 0.05 * fine));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.exists() && !QDir().mkpath(folder.path())) return 1;
  Codecs::InitCodecs();

  struct TTexture {
    const char* Name;
    QImage Image;
  };
  const TTexture textures[] = {
      {"Block01.jpg",
       Make(320, 240,
            [](int x, int y) { return Bricks(x, y, 64, 24, 3, 11, 170, 78, 52, 200, 195, 185); })},
      {"Block02.jpg",
       Make(256, 256,
            [](int x, int y) { return Bricks(x, y, 96, 48, 4, 23, 150, 146, 138, 90, 86, 80); })},
      {"Metal01.jpg", Make(300, 300, Metal)},
      {"Stone01.jpg", Make(256, 256, [](int x, int y) { return Cobbles(x, y, 40, 31); })},
      {"Stone02.jpg",
       Make(400, 300,
            [](int x, int y) {
              const double g = Fractal(x, y, 24, 55, 5);
              const double speck = Unit(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 57);
              const double dark = speck > 0.93 ? 0.55 : (speck < 0.05 ? 1.25 : 1.0);
              return Shade(128 + 40 * g, 118 + 36 * g, 108 + 30 * g, dark * (0.7 + 0.5 * g));
            })},
      {"Test.jpg", Make(256, 256, [](int x, int y) { return TestPattern(x, y, 256, 256); })},
      {"TinNon.jpg", Make(256, 256, Tin)},
  };
  for (const TTexture& texture : textures) {
    QFile file(folder.filePath(QString::fromLatin1(texture.Name)));
    const QByteArray bytes = Codecs::EncodeJpeg(texture.Image);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
      return 1;
    }
    std::printf("%s %dx%d %lld bytes\n", texture.Name, texture.Image.width(),
                texture.Image.height(), static_cast<long long>(bytes.size()));
  }
  return 0;
}
