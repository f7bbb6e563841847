#pragma once
// The records, constants and conversions that every scene object exchanges.
#include <cstdint>

#include "ColorValue.h"

struct TGLPoint4f {
  float X, Y, Z, W;
};
struct TGLVector3f {
  float X, Y, Z;
};
struct TGLColor4f {
  float R, G, B, A;
};
// Shininess as a fraction of 128, then ambient, diffuse and specular colours.
struct TGLMaterial {
  float Shininess;
  TGLColor4f Ambient, Diffuse, Specular;
};
static_assert(sizeof(TGLPoint4f) == 16);
static_assert(sizeof(TGLVector3f) == 12);
static_assert(sizeof(TGLColor4f) == 16);
static_assert(sizeof(TGLMaterial) == 52);

// Colours carry alpha 0.5.
inline constexpr TGLColor4f clGLRed{1, 0, 0, 0.5f};
inline constexpr TGLColor4f clGLGreen{0, 1, 0, 0.5f};
inline constexpr TGLColor4f clGLBlue{0, 0, 1, 0.5f};
inline constexpr TGLColor4f clGLBlack{0, 0, 0, 0.5f};
inline constexpr TGLColor4f clGLWhite{1, 1, 1, 0.5f};
inline constexpr TGLColor4f clGLGray{0.5f, 0.5f, 0.5f, 0.5f};
inline constexpr TGLColor4f clGLDarkGray{0.2f, 0.2f, 0.2f, 0.5f};

inline constexpr float ShininessLow = 5.0f;
inline constexpr float ShininessMid = 20.0f;
inline constexpr float ShininessHigh = 120.0f;

constexpr TGLPoint4f GLPoint4f(float X, float Y, float Z, float W) {
  return {X, Y, Z, W};
}
constexpr TGLPoint4f GLPoint4i(int X, int Y, int Z, int W) {
  return {static_cast<float>(X), static_cast<float>(Y), static_cast<float>(Z),
          static_cast<float>(W)};
}
constexpr TGLVector3f GLVector3f(float X, float Y, float Z) {
  return {X, Y, Z};
}
constexpr TGLColor4f GLColor4f(float R, float G, float B, float A) {
  return {R, G, B, A};
}
// The vector from P1 to P2; W takes no part.
constexpr TGLVector3f VectorFromTo(const TGLPoint4f& P1, const TGLPoint4f& P2) {
  return {P2.X - P1.X, P2.Y - P1.Y, P2.Z - P1.Z};
}
// Ambient, diffuse and specular RGBA, then shininess.
constexpr TGLMaterial GLMaterial(float AR, float AG, float AB, float AA, float DR, float DG,
                                 float DB, float DA, float SR, float SG, float SB, float SA,
                                 float Shininess) {
  return {Shininess, {AR, AG, AB, AA}, {DR, DG, DB, DA}, {SR, SG, SB, SA}};
}

// True when A - B, rounded to single, lies within +-1e-12.
bool IsEqual(float A, float B);
// Each channel times 255 rounded to the nearest (ties to even); alpha dropped.
TColor GLColorToColor(const TGLColor4f& C);
// The three low bytes over 255, alpha 0.5; the top byte is ignored.
TGLColor4f ColorToGLColor(TColor Color);
// Weighted mean of C1 and C2 with alpha 0.5.
TGLColor4f MixGLColor(const TGLColor4f& C1, const TGLColor4f& C2, float W1, float W2);
