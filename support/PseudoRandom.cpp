#include "PseudoRandom.h"

#include <chrono>

uint32_t RandSeed = 0;

void Randomize() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  RandSeed =
      static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

uint32_t Random(uint32_t n) {
  RandSeed = RandSeed * 134775813u + 1u;
  return static_cast<uint32_t>((static_cast<uint64_t>(RandSeed) * n) >> 32);
}

TColorArray MakeColorArray(int N) {
  TColorArray colors;
  if (N < 1) return colors;
  int k0 = N / 3, k1 = N / 3;
  const int k2 = N / 3;
  const int rest = N % 3;
  if (rest >= 1) ++k0;
  if (rest >= 2) ++k1;
  const int step = 255 / k0;
  RandSeed = 1000;
  colors.reserve(static_cast<std::size_t>(N));
  for (int i = 0; i < N; ++i) {
    // Blue, green, red: the order the generator is drawn in.
    const int b = (static_cast<int>(Random(static_cast<uint32_t>(k2))) + 1) * step % 256;
    const int g = (static_cast<int>(Random(static_cast<uint32_t>(k1))) + 1) * step % 256;
    const int r = (static_cast<int>(Random(static_cast<uint32_t>(k0))) + 1) * step % 256;
    colors.push_back(r + g * 256 + b * 65536);
  }
  return colors;
}
