#include "BrimloLogo.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "CompiledDraw.h"
#include "GOpglVariable.h"
#include "IniFile.h"

TGLBrimloLogo* GLBrimloLogo = nullptr;

namespace {
const TManagedTraits GLBrimloLogoTraits{"BrimloLogo", "mGLBrimloLogo", false, true,
                                        false,        false,           false, false};

// The diamond ring: outer half-diagonal H, inner I, half-thickness T.
void EmitFrame(float W) {
  const float h = W / 2.0f;
  const float i = 0.8f * h;
  const float t = 0.1f * h;
  const float outer[5][2] = {{h, 0}, {0, h}, {-h, 0}, {0, -h}, {h, 0}};
  const float outerNormals[4][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
  const float inner[5][2] = {{i, 0}, {0, i}, {-i, 0}, {0, -i}, {i, 0}};
  const float innerNormals[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  glBegin(GL_QUADS);
  for (int k = 0; k < 4; ++k) {
    glNormal3f(outerNormals[k][0], outerNormals[k][1], 0);
    glVertex3f(outer[k][0], outer[k][1], t);
    glVertex3f(outer[k][0], outer[k][1], -t);
    glVertex3f(outer[k + 1][0], outer[k + 1][1], -t);
    glVertex3f(outer[k + 1][0], outer[k + 1][1], t);
  }
  glEnd();
  glBegin(GL_QUADS);
  for (int k = 0; k < 4; ++k) {
    glNormal3f(innerNormals[k][0], innerNormals[k][1], 0);
    glVertex3f(inner[k][0], inner[k][1], -t);
    glVertex3f(inner[k][0], inner[k][1], t);
    glVertex3f(inner[k + 1][0], inner[k + 1][1], t);
    glVertex3f(inner[k + 1][0], inner[k + 1][1], -t);
  }
  glEnd();
  glBegin(GL_QUAD_STRIP);
  glNormal3f(0, 0, 1);
  for (int k = 0; k < 5; ++k) {
    glVertex3f(inner[k][0], inner[k][1], t);
    glVertex3f(outer[k][0], outer[k][1], t);
  }
  glEnd();
  glBegin(GL_QUAD_STRIP);
  glNormal3f(0, 0, -1);
  for (int k = 0; k < 5; ++k) {
    glVertex3f(outer[k][0], outer[k][1], -t);
    glVertex3f(inner[k][0], inner[k][1], -t);
  }
  glEnd();
}

// One hexagonal stud at the current origin, C long along X.
void EmitStud(float C) {
  const float z = C / 2.0f;
  const float outline[7][2] = {{C, 0},      {3 * C / 4, z},  {C / 4, z}, {0, 0},
                               {C / 4, -z}, {3 * C / 4, -z}, {C, 0}};
  const float sideNormals[6][2] = {{1, 1}, {0, 1}, {-1, 1}, {-1, -1}, {0, -1}, {1, -1}};
  glBegin(GL_POLYGON);
  glNormal3f(0, 0, 1);
  for (int k = 0; k < 6; ++k) glVertex3f(outline[k][0], outline[k][1], z);
  glEnd();
  glBegin(GL_POLYGON);
  glNormal3f(0, 0, -1);
  glVertex3f(outline[0][0], outline[0][1], -z);
  for (int k = 5; k >= 1; --k) glVertex3f(outline[k][0], outline[k][1], -z);
  glEnd();
  glBegin(GL_QUADS);
  for (int k = 0; k < 6; ++k) {
    glNormal3f(sideNormals[k][0], sideNormals[k][1], 0);
    glVertex3f(outline[k][0], outline[k][1], z);
    glVertex3f(outline[k][0], outline[k][1], -z);
    glVertex3f(outline[k + 1][0], outline[k + 1][1], -z);
    glVertex3f(outline[k + 1][0], outline[k + 1][1], z);
  }
  glEnd();
}

void EmitHexagons(float W) {
  const float h = W / 2.0f;
  const float steps[8][2] = {{-0.4f * h, 0.2f * h},   {0.3f * h, 0}, {0.3f * h, 0},
                             {-0.45f * h, -0.2f * h}, {0.3f * h, 0}, {-0.45f * h, -0.2f * h},
                             {0.3f * h, 0},           {0.3f * h, 0}};
  glPushMatrix();
  for (const auto& step : steps) {
    glTranslatef(step[0], step[1], 0);
    EmitStud(W / 10.0f);
  }
  glPopMatrix();
}
}  // namespace

const TManagedTraits& TGLBrimloLogo::Traits() const {
  return GLBrimloLogoTraits;
}

void TGLBrimloLogo::InitIdentity() {
  TManagedObject::InitIdentity();
  FRotateAxis = GLVector3f(0, 1, 0);
  FLogoWidth = 20.0f;
  FRotateX = FRotateY = FRotateZ = false;
  FScale = 1.0f;
  FMaterialMode = mmUserDefine;
  FPresetMaterial = MaterialPresets[GoldPreset];
  FShinese = 30.0f;
  FClrEmission = GLColor4f(0.1f, 0.1f, 0.1f, 0.5f);
  FClrAmbient = GLColor4f(0.02f, 0.02f, 0.02f, 0.5f);
  FClrSpecular = GLColor4f(0.7f, 0.7f, 0.7f, 0.5f);
  FClrDiffuse = GLColor4f(0.7f, 0.7f, 0.7f, 0.5f);
  FColorMaterial = true;
  FMixLogoColor = false;
  FMixRate = 0.3f;
}

void TGLBrimloLogo::DrawPart(TPart Part, float Angle) {
  if (std::fabs(Angle) > 360.0f) Angle = 0.0f;
  const bool colorMaterial = glIsEnabled(GL_COLOR_MATERIAL) == GL_TRUE;
  glPushMatrix();
  if (Part != TPart::Ball &&
      !(IsEqual(FRotateAxis.X, 0) && IsEqual(FRotateAxis.Y, 0) && IsEqual(FRotateAxis.Z, 0)))
    glRotatef(Part == TPart::Frame ? Angle : -Angle, FRotateAxis.X, FRotateAxis.Y, FRotateAxis.Z);
  glEnable(GL_NORMALIZE);
  glScalef(FScale, FScale, FScale);
  // Each part's geometry is compiled for its size.
  uint32_t width = 0;
  std::memcpy(&width, &FLogoWidth, sizeof width);
  const uint64_t key = (static_cast<uint64_t>(Part) << 32) | width;
  const float w = FLogoWidth;
  switch (Part) {
    case TPart::Frame:
      ApplySurface(clLogoFrame);
      CallCompiled(this, key, [w] { EmitFrame(w); });
      break;
    case TPart::Hexagons:
      ApplySurface(clLogoHexagons);
      CallCompiled(this, key, [w] { EmitHexagons(w); });
      break;
    case TPart::Ball:
      ApplySurface(clLogoBall);
      if (GLQuadric) CallCompiled(this, key, [w] { gluSphere(GLQuadric, w / 3.0, 30, 30); });
      break;
  }
  glPopMatrix();
  if (colorMaterial) {
    glEnable(GL_COLOR_MATERIAL);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &clGLBlack.R);
  }
}

void TGLBrimloLogo::DrawLogoFrame(float Angle) {
  DrawPart(TPart::Frame, Angle);
}

void TGLBrimloLogo::DrawLogoHexagons(float Angle) {
  DrawPart(TPart::Hexagons, Angle);
}

void TGLBrimloLogo::DrawBall() {
  DrawPart(TPart::Ball, 0.0f);
}

void TGLBrimloLogo::ToggleRotateX() {
  FRotateX = !FRotateX;
  FRotateAxis.X = FRotateX ? 1.0f : 0.0f;
}

void TGLBrimloLogo::ToggleRotateY() {
  FRotateY = !FRotateY;
  FRotateAxis.Y = FRotateY ? 1.0f : 0.0f;
}

void TGLBrimloLogo::ToggleRotateZ() {
  FRotateZ = !FRotateZ;
  FRotateAxis.Z = FRotateZ ? 1.0f : 0.0f;
}

namespace {
// A stored number that is not finite keeps the default; a colour holding one is refused whole.
float FiniteOr(double Value, float Default) {
  return std::isfinite(Value) && std::abs(Value) < 1e30 ? static_cast<float>(Value) : Default;
}
}  // namespace

void TGLBrimloLogo::ReadOwnSettings(TIniFile& Ini) {
  const QString s = ClassName();
  const auto ReadColor = [&Ini](const QString& Section, const QString& Key, TGLColor4f& Color) {
    TGLColor4f stored = Color;
    if (ReadRecord(Ini, Section, Key, &stored, sizeof stored) && std::isfinite(stored.R) &&
        std::isfinite(stored.G) && std::isfinite(stored.B) && std::isfinite(stored.A))
      Color = stored;
  };
  FLogoWidth = FiniteOr(Ini.ReadFloat(s, QStringLiteral("FLogoWidth"), 20.0), 20.0f);
  FScale = FiniteOr(Ini.ReadFloat(s, QStringLiteral("FScale"), 1.0), 1.0f);
  FMixLogoColor = Ini.ReadBool(s, QStringLiteral("FMixLogoColor"), false);
  // The mix rate is a share: the track bar shows 0 to 1 in tenths.
  FMixRate =
      std::clamp(FiniteOr(Ini.ReadFloat(s, QStringLiteral("FMixRate"), 0.3), 0.3f), 0.0f, 1.0f);
  ReadColor(s, QStringLiteral("FClrAmbient"), FClrAmbient);
  ReadColor(s, QStringLiteral("FClrDiffuse"), FClrDiffuse);
  ReadColor(s, QStringLiteral("FClrSpecular"), FClrSpecular);
  ReadColor(s, QStringLiteral("FClrEmission"), FClrEmission);
  // OpenGL takes shininess from 0 to 128 only.
  FShinese = std::clamp(FiniteOr(Ini.ReadFloat(s, QStringLiteral("FShinese"), FShinese), FShinese),
                        0.0f, 128.0f);
}

void TGLBrimloLogo::WriteOwnSettings(TIniFile& Ini) {
  const QString s = ClassName();
  Ini.WriteFloat(s, QStringLiteral("FLogoWidth"), FLogoWidth);
  Ini.WriteFloat(s, QStringLiteral("FScale"), FScale);
  Ini.WriteBool(s, QStringLiteral("FMixLogoColor"), FMixLogoColor);
  Ini.WriteFloat(s, QStringLiteral("FMixRate"), FMixRate);
  WriteRecord(Ini, s, QStringLiteral("FClrAmbient"), &FClrAmbient, sizeof FClrAmbient);
  WriteRecord(Ini, s, QStringLiteral("FClrDiffuse"), &FClrDiffuse, sizeof FClrDiffuse);
  WriteRecord(Ini, s, QStringLiteral("FClrSpecular"), &FClrSpecular, sizeof FClrSpecular);
  WriteRecord(Ini, s, QStringLiteral("FClrEmission"), &FClrEmission, sizeof FClrEmission);
  Ini.WriteFloat(s, QStringLiteral("FShinese"), FShinese);
}
