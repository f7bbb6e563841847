#pragma once
// The two-part logo and the ball, with the shared material state.
#include <QString>

#include "GOpglDefine.h"
#include "ManagedSingleton.h"
#include "MaterialDefine.h"

inline constexpr TGLColor4f clLogoFrame{0, 0, 0.8f, 0.5f};
inline constexpr TGLColor4f clLogoHexagons{0.8f, 0, 0, 0.5f};
inline constexpr TGLColor4f clLogoBall{0, 0, 0.5f, 0.5f};

class TGLBrimloLogo;
extern TGLBrimloLogo* GLBrimloLogo;

class TGLBrimloLogo : public TManagedSingleton<TGLBrimloLogo, &GLBrimloLogo> {
 public:
  QString ClassName() const override { return QStringLiteral("TGLBrimloLogo"); }

  // The diamond frame turned by +Angle, the eight studs by -Angle (|Angle| > 360 draws them
  // unturned), the ball never turned.
  void DrawLogoFrame(float Angle);
  void DrawLogoHexagons(float Angle);
  void DrawBall();
  void ToggleRotateX();
  void ToggleRotateY();
  void ToggleRotateZ();

  void InitIdentity() override;

  TGLVector3f FRotateAxis{0, 1, 0};
  float FLogoWidth = 20.0f;
  bool FRotateX = false;
  bool FRotateY = false;
  bool FRotateZ = false;
  float FScale = 1.0f;
  TMaterialMode FMaterialMode = mmUserDefine;
  TGLMaterial FPresetMaterial{};
  float FShinese = 30.0f;
  TGLColor4f FClrEmission{0.1f, 0.1f, 0.1f, 0.5f};
  TGLColor4f FClrAmbient{0.02f, 0.02f, 0.02f, 0.5f};
  TGLColor4f FClrSpecular{0.7f, 0.7f, 0.7f, 0.5f};
  TGLColor4f FClrDiffuse{0.7f, 0.7f, 0.7f, 0.5f};
  bool FColorMaterial = true;
  bool FMixLogoColor = false;
  float FMixRate = 0.3f;

 protected:
  const TManagedTraits& Traits() const override;
  void ReadOwnSettings(TIniFile& Ini) override;
  void WriteOwnSettings(TIniFile& Ini) override;

 private:
  enum class TPart { Frame, Hexagons, Ball };
  void DrawPart(TPart Part, float Angle);
};
