#include "GOpglDefine.h"

#include <algorithm>
#include <cmath>

bool IsEqual(float A, float B) {
  const double diff = static_cast<float>(A - B);
  return diff >= -1e-12 && diff <= 1e-12;
}

TColor GLColorToColor(const TGLColor4f& C) {
  // nearbyint rounds in the current mode, which is to nearest with ties to even.
  // A channel that is not a number counts as 0; huge ones are held inside the integer range
  // before the conversion.
  auto channel = [](float v) {
    const double scaled = std::isnan(v) ? 0.0 : std::clamp(v * 255.0, -0x1p62, 0x1p62);
    return static_cast<int32_t>(static_cast<int64_t>(std::nearbyint(scaled)) & 0xFF);
  };
  return channel(C.B) * 65536 + channel(C.G) * 256 + channel(C.R);
}

TGLColor4f ColorToGLColor(TColor Color) {
  return {static_cast<float>((Color & 0xFF) / 255.0),
          static_cast<float>(((Color >> 8) & 0xFF) / 255.0),
          static_cast<float>(((Color >> 16) & 0xFF) / 255.0), 0.5f};
}

TGLColor4f MixGLColor(const TGLColor4f& C1, const TGLColor4f& C2, float W1, float W2) {
  const float s = W1 + W2;
  const float r1 = W1 / s, r2 = W2 / s;
  return {C1.R * r1 + C2.R * r2, C1.G * r1 + C2.G * r2, C1.B * r1 + C2.B * r2, 0.5f};
}
