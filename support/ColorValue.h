#pragma once
// Colour values of the user interface.
#include <cstdint>

// 0x00BBGGRR: red in the low byte, then green, then blue.
using TColor = int32_t;

// The colour drawn as caption on a swatch of Color, so the text stays readable.
constexpr TColor InverseColor(TColor Color) {
  return Color ^ 0xFFFFFF;
}
