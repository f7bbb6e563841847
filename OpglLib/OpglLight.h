#pragma once
// The light table: eight lights, their records, their OpenGL state and the per-frame light pass.
#include <GL/gl.h>

#include <QString>
#include <cstdint>
#include <vector>

#include "GOpglDefine.h"
#include "ManagedSingleton.h"
#include "PseudoRandom.h"

// In the order of the "LIght Type" radio group.
enum TGLLightType : uint8_t { ltDirectLight = 0, ltOmitLight = 1, ltSpotLight = 2 };

// One light; these 94 bytes are also its stored form in the settings file.
#pragma pack(push, 1)
struct TGLLight {
  int32_t ID;         // GL_LIGHT0 + index
  uint8_t Enabled;    // 0 or 1
  uint8_t LightType;  // TGLLightType
  TGLColor4f Ambient;
  TGLColor4f Diffuse;  // also the marker's glow and the list colour
  TGLColor4f Specular;
  float CutOff;  // degrees
  float Exponent;
  TGLPoint4f Position;
  TGLPoint4f Direction;
};
#pragma pack(pop)
static_assert(sizeof(TGLLight) == 94, "a light is stored as 94 bytes");

using TGLLights = std::vector<TGLLight>;

// How the light pass gives one light its place: it turns (glRotatef), moves (glTranslatef),
// then gives the position, and for the spot light the direction, in the moved frame.
struct TGLLightPlacement {
  struct TTurn {
    float Angle, X, Y, Z;
  };
  bool Placed = false;  // the pass gives this light a position (lighting and the light are on)
  int TurnCount = 0;
  TTurn Turns[2]{};
  TGLPoint4f Move{0, 0, 0, 1};
  TGLPoint4f Position{0, 0, 0, 1};
  bool Aimed = false;  // the spot direction is given too
  TGLPoint4f Direction{0, 0, -1, 0};
};

// Captions of GL_AMBIENT .. GL_QUADRATIC_ATTENUATION, in enumeration order.
extern const QString LightParamNames[10];

class TGLLighter;
extern TGLLighter* GLLighter;

class TGLLighter : public TManagedSingleton<TGLLighter, &GLLighter> {
 public:
  QString ClassName() const override { return QStringLiteral("TGLLighter"); }

  // GL_MAX_LIGHTS, low 8 bits (0 without a rendering context).
  uint8_t GetMaxLights() const;
  // GL_LIGHT0 + (Index mod GetMaxLights); 0 when there are no lights or Index is negative.
  GLenum GetLightID(int Index) const;
  bool IsLightingOn() const;
  // Asks OpenGL and stores the answer in the table.
  bool IsLightOn(int Index);

  // Getters fall back to (0.2, 0.2, 0.2, 1), 10, 0, (0, 0, 0, 1), (0, 0, 0, -1) and 0 when the
  // index has no light.
  TGLColor4f GetAmbient(int Index) const;
  TGLColor4f GetDiffuse(int Index) const;
  TGLColor4f GetSpecular(int Index) const;
  float GetCutOff(int Index) const;
  float GetExponent(int Index) const;
  TGLPoint4f GetLightPosition(int Index) const;
  TGLPoint4f GetSpotDirection(int Index) const;
  TGLLightType GetLightType(int Index) const;

  // Setters do nothing when the index has no light.
  void SetAmbient(int Index, const TGLColor4f& Color);
  void SetDiffuse(int Index, const TGLColor4f& Color);
  void SetSpecular(int Index, const TGLColor4f& Color);
  void SetCutOff(int Index, float Value);
  void SetExponent(int Index, float Value);
  // Stored only; the next light pass sends them.
  void SetLightPosition(int Index, const TGLPoint4f& Point);
  void SetSpotDirection(int Index, const TGLPoint4f& Point);
  // Stored only; the colours' alphas become 0 for a direct light, 1 otherwise.
  void SetLightType(int Index, TGLLightType Type);
  // Stores the switch and sends the whole entry.
  void SetLightOn(int Index, bool On);

  // Replaces Lights with the eight default lights around Center (no context needed).
  void MakeDefaultLights(TGLLights& Lights, const TGLPoint4f& Center, float Radius);
  // Copies a table (an empty one is ignored) and sends colours, spot values and switches.
  void ApplyLights(const TGLLights& Lights);
  void LightingOn();
  void LightingOff();
  void SetTwoSide(bool On);
  // Ten lines "  caption :  (a, b, c, d)" each ending in CR; empty for a light outside the table.
  QString GetLightInfo(GLenum LightID) const;
  void ClearLights();

  TGLColor4f ColorToGLColor(TColor Color) const { return ::ColorToGLColor(Color); }
  TColor GLColorToColor(const TGLColor4f& C) const { return ::GLColorToColor(C); }

  // The light pass of one scene drawing: places every light in the current model-view (lights
  // 1 and 3 up orbiting by LightAngles while Rotate is set), aims the spot light and sets each
  // enabled light's marker material, drawing its sphere when ShowLights is set.
  void DrawLights(const std::vector<float>& LightAngles, bool Rotate, bool ShowLights);
  // What the light pass does for light Index (asks OpenGL whether it is on, as the pass does).
  TGLLightPlacement Placement(int Index, const std::vector<float>& LightAngles, bool Rotate);

  void InitMembers() override;
  void FreeMembers() override;

  TGLLights FLights;

 protected:
  const TManagedTraits& Traits() const override;
  void ReadOwnSettings(TIniFile& Ini) override;
  void WriteOwnSettings(TIniFile& Ini) override;

 private:
  // Table slot of Index, or -1 when it has none.
  int Slot(int Index) const;
  void SendLight(int Slot);
  void DrawMarker(int Slot, bool ShowLights);
};
