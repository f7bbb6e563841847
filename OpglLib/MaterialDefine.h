#pragma once
// The named material presets, the material modes and loading a material into OpenGL.
#include <QString>
#include <array>
#include <cstdint>

#include "GOpglDefine.h"

// One per item of the "Material" radio group.
enum TMaterialMode : uint8_t {
  mmUserDefine = 0,
  mmNormal = 1,
  mmPhone = 2,
  mmMetal = 3,
  mmPlastic = 4,
  mmOthers = 5
};

inline constexpr int MaterialPresetCount = 22;
// Preset 6, the default preset of the scene.
inline constexpr int GoldPreset = 6;
extern const std::array<TGLMaterial, MaterialPresetCount> MaterialPresets;
extern const std::array<QString, MaterialPresetCount> MaterialNames;

// Ambient, diffuse, specular and shininess (times 128) on both faces; emission untouched.
void ApplyPresetMaterial(const TGLMaterial& Material);
// The material of the logo object's current mode ("Others" sends nothing).
void ApplyMaterialMode();
// A logo part's or the ball's surface: colour material with the part colour (or black without
// it), the mode's or preset's material, then the mixed diffuse when colours are mixed.
void ApplySurface(const TGLColor4f& PartColor);
