#include "OpglLight.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "CompiledDraw.h"
#include "GOpglVariable.h"
#include "IniFile.h"

TGLLighter* GLLighter = nullptr;

const QString LightParamNames[10] = {
    QStringLiteral("Light Ambient"),
    QStringLiteral("Light Diffuse"),
    QStringLiteral("Light Specular"),
    QStringLiteral("Light Position"),
    QStringLiteral("Light Direction"),
    QStringLiteral("Light Exponent(FallOff)"),
    QStringLiteral("Light CutOff"),
    QStringLiteral("Light Const Attenuation"),
    QStringLiteral("Light Linear Attenuation"),
    QStringLiteral("Light Quaratic Attenuation"),
};

namespace {
const TManagedTraits GLLighterTraits{"OpglLight", "mGLLighter", true,  true,
                                     true,        false,        false, false};

constexpr TGLColor4f FallbackColor{0.2f, 0.2f, 0.2f, 1.0f};
constexpr int DefaultLightCount = 8;

// Sign of X, Y and Z of each default light's position.
constexpr int PositionSigns[8][3] = {{1, 1, 1},   {1, 1, -1}, {-1, -1, -1}, {-1, 1, 1},
                                     {-1, 1, -1}, {1, -1, 1}, {1, -1, -1},  {-1, -1, 1}};

GLenum LightOf(int Slot) {
  return static_cast<GLenum>(GL_LIGHT0 + Slot);
}
}  // namespace

const TManagedTraits& TGLLighter::Traits() const {
  return GLLighterTraits;
}

void TGLLighter::InitMembers() {
  if (FLights.empty()) MakeDefaultLights(FLights, GLPoint4f(0, 0, 0, 1), 10.0f);
}

void TGLLighter::FreeMembers() {
  ClearLights();
}

uint8_t TGLLighter::GetMaxLights() const {
  GLint count = 0;
  glGetIntegerv(GL_MAX_LIGHTS, &count);
  return static_cast<uint8_t>(count & 0xFF);
}

GLenum TGLLighter::GetLightID(int Index) const {
  const int count = GetMaxLights();
  if (count == 0 || Index < 0) return 0;
  return LightOf(Index % count);
}

bool TGLLighter::IsLightingOn() const {
  return glIsEnabled(GL_LIGHTING) == GL_TRUE;
}

int TGLLighter::Slot(int Index) const {
  // A negative index (nothing selected) and lights the table does not hold never reach it.
  const int count = GetMaxLights();
  if (count == 0 || Index < 0 || FLights.empty()) return -1;
  const int slot = Index % count;
  return slot < static_cast<int>(FLights.size()) ? slot : -1;
}

bool TGLLighter::IsLightOn(int Index) {
  const int slot = Slot(Index);
  if (slot < 0) return false;
  const bool on = glIsEnabled(LightOf(slot)) == GL_TRUE;
  FLights[static_cast<std::size_t>(slot)].Enabled = on ? 1 : 0;
  return on;
}

TGLColor4f TGLLighter::GetAmbient(int Index) const {
  const int slot = Slot(Index);
  if (slot < 0) return FallbackColor;
  return FLights[static_cast<std::size_t>(slot)].Ambient;  // a copy: the record is packed
}

TGLColor4f TGLLighter::GetDiffuse(int Index) const {
  const int slot = Slot(Index);
  if (slot < 0) return FallbackColor;
  return FLights[static_cast<std::size_t>(slot)].Diffuse;  // a copy: the record is packed
}

TGLColor4f TGLLighter::GetSpecular(int Index) const {
  const int slot = Slot(Index);
  if (slot < 0) return FallbackColor;
  return FLights[static_cast<std::size_t>(slot)].Specular;  // a copy: the record is packed
}

float TGLLighter::GetCutOff(int Index) const {
  const int slot = Slot(Index);
  return slot < 0 ? 10.0f : FLights[static_cast<std::size_t>(slot)].CutOff;
}

float TGLLighter::GetExponent(int Index) const {
  const int slot = Slot(Index);
  return slot < 0 ? 0.0f : FLights[static_cast<std::size_t>(slot)].Exponent;
}

TGLPoint4f TGLLighter::GetLightPosition(int Index) const {
  const int slot = Slot(Index);
  return slot < 0 ? GLPoint4f(0, 0, 0, 1) : FLights[static_cast<std::size_t>(slot)].Position;
}

TGLPoint4f TGLLighter::GetSpotDirection(int Index) const {
  const int slot = Slot(Index);
  return slot < 0 ? GLPoint4f(0, 0, 0, -1) : FLights[static_cast<std::size_t>(slot)].Direction;
}

TGLLightType TGLLighter::GetLightType(int Index) const {
  const int slot = Slot(Index);
  return slot < 0 ? ltDirectLight
                  : static_cast<TGLLightType>(FLights[static_cast<std::size_t>(slot)].LightType);
}

void TGLLighter::SetAmbient(int Index, const TGLColor4f& Color) {
  const int slot = Slot(Index);
  if (slot < 0) return;
  FLights[static_cast<std::size_t>(slot)].Ambient = Color;
  glLightfv(LightOf(slot), GL_AMBIENT, &Color.R);
}

void TGLLighter::SetDiffuse(int Index, const TGLColor4f& Color) {
  const int slot = Slot(Index);
  if (slot < 0) return;
  FLights[static_cast<std::size_t>(slot)].Diffuse = Color;
  glLightfv(LightOf(slot), GL_DIFFUSE, &Color.R);
}

void TGLLighter::SetSpecular(int Index, const TGLColor4f& Color) {
  const int slot = Slot(Index);
  if (slot < 0) return;
  FLights[static_cast<std::size_t>(slot)].Specular = Color;
  glLightfv(LightOf(slot), GL_SPECULAR, &Color.R);
}

void TGLLighter::SetCutOff(int Index, float Value) {
  const int slot = Slot(Index);
  if (slot < 0) return;
  FLights[static_cast<std::size_t>(slot)].CutOff = Value;
  glLightf(LightOf(slot), GL_SPOT_CUTOFF, Value);
}

void TGLLighter::SetExponent(int Index, float Value) {
  const int slot = Slot(Index);
  if (slot < 0) return;
  FLights[static_cast<std::size_t>(slot)].Exponent = Value;
  glLightf(LightOf(slot), GL_SPOT_EXPONENT, Value);
}

void TGLLighter::SetLightPosition(int Index, const TGLPoint4f& Point) {
  const int slot = Slot(Index);
  if (slot < 0) return;
  FLights[static_cast<std::size_t>(slot)].Position = Point;
}

void TGLLighter::SetSpotDirection(int Index, const TGLPoint4f& Point) {
  const int slot = Slot(Index);
  if (slot < 0) return;
  FLights[static_cast<std::size_t>(slot)].Direction = Point;
}

void TGLLighter::SetLightType(int Index, TGLLightType Type) {
  const int slot = Slot(Index);
  if (slot < 0) return;
  TGLLight& light = FLights[static_cast<std::size_t>(slot)];
  light.LightType = static_cast<uint8_t>(Type);
  const float alpha = Type == ltDirectLight ? 0.0f : 1.0f;
  light.Ambient.A = alpha;
  light.Diffuse.A = alpha;
  light.Specular.A = alpha;
}

void TGLLighter::SetLightOn(int Index, bool On) {
  const int slot = Slot(Index);
  if (slot < 0) return;
  FLights[static_cast<std::size_t>(slot)].Enabled = On ? 1 : 0;
  SendLight(slot);
}

void TGLLighter::SendLight(int slot) {
  // Each setter stores its value again; the copy keeps the source stable meanwhile.
  const TGLLight light = FLights[static_cast<std::size_t>(slot)];
  // The colours of the packed record are copied out before a reference is taken to them.
  const TGLColor4f ambient = light.Ambient, diffuse = light.Diffuse, specular = light.Specular;
  SetAmbient(slot, ambient);
  SetDiffuse(slot, diffuse);
  SetSpecular(slot, specular);
  SetCutOff(slot, light.CutOff);
  SetExponent(slot, light.Exponent);
  if (light.Enabled)
    glEnable(LightOf(slot));
  else
    glDisable(LightOf(slot));
}

void TGLLighter::MakeDefaultLights(TGLLights& Lights, const TGLPoint4f& Center, float Radius) {
  int count = GetMaxLights();
  if (count != DefaultLightCount) count = DefaultLightCount;
  const TColorArray palette = MakeColorArray(count);
  RandSeed = 1200;
  Lights.assign(static_cast<std::size_t>(count), TGLLight{});
  const float f = static_cast<float>(std::nearbyint(Radius * 2.0f));
  const auto fi = static_cast<uint32_t>(std::max(0.0f, f));
  for (int i = 0; i < count; ++i) {
    TGLLight& light = Lights[static_cast<std::size_t>(i)];
    std::memset(&light, 0, sizeof light);
    light.ID = static_cast<int32_t>(GL_LIGHT0 + i);
    light.Enabled = 1;
    float alpha = 1.0f;
    light.LightType = ltOmitLight;
    if (i == 0) {
      light.LightType = ltDirectLight;
      alpha = 0.0f;
    } else if (i == 2) {
      light.LightType = ltSpotLight;
    }
    light.Ambient = GLColor4f(0.3f, 0.3f, 0.3f, alpha);
    light.Diffuse = ::ColorToGLColor(palette[static_cast<std::size_t>(i)]);
    light.Specular = GLColor4f(1.0f, 1.0f, 1.0f, alpha);
    light.CutOff = f + static_cast<float>(Random(fi));
    light.Exponent = 0.01f;
    const int* sign = PositionSigns[i % 8];
    light.Position = GLPoint4f(Center.X + static_cast<float>(sign[0]) * f,
                               Center.Y + static_cast<float>(sign[1]) * f,
                               Center.Z + static_cast<float>(sign[2]) * f, 1.0f);
    if (light.LightType == ltSpotLight)
      light.Direction = GLPoint4f(-light.Position.X, -light.Position.Y, -light.Position.Z, 1.0f);
  }
}

void TGLLighter::ApplyLights(const TGLLights& Lights) {
  if (Lights.empty()) return;
  if (&Lights != &FLights) FLights = Lights;
  for (int i = 0; i < static_cast<int>(FLights.size()); ++i)
    if (Slot(i) == i) SendLight(i);
}

void TGLLighter::LightingOn() {
  glEnable(GL_LIGHTING);
  ApplyLights(FLights);
}

void TGLLighter::LightingOff() {
  glDisable(GL_LIGHTING);
}

void TGLLighter::SetTwoSide(bool On) {
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, On ? 1 : 0);
}

QString TGLLighter::GetLightInfo(GLenum LightID) const {
  QString info;
  const int count = std::min<int>(GetMaxLights(), static_cast<int>(FLights.size()));
  if (LightID < GL_LIGHT0 || LightID >= static_cast<GLenum>(GL_LIGHT0 + count)) return info;
  // One buffer for the whole report: a parameter with fewer values leaves the rest in place.
  GLfloat buffer[4] = {0, 0, 0, 0};
  for (GLenum param = GL_AMBIENT; param <= GL_QUADRATIC_ATTENUATION; ++param) {
    glGetLightfv(LightID, param, buffer);
    // The C library's formatting, so the numbers use the user's decimal separator like every
    // other text of the program; four floats of any size fit the line.
    char line[512];
    std::snprintf(line, sizeof line, "  %s :  (%.1f, %.1f, %.1f, %.1f)%s",
                  LightParamNames[param - GL_AMBIENT].toLatin1().constData(),
                  static_cast<double>(buffer[0]), static_cast<double>(buffer[1]),
                  static_cast<double>(buffer[2]), static_cast<double>(buffer[3]), "\r");
    info += QString::fromLocal8Bit(line);
  }
  return info;
}

void TGLLighter::ClearLights() {
  FLights.clear();
}

void TGLLighter::DrawMarker(int slot, bool ShowLights) {
  glMaterialfv(GL_FRONT, GL_AMBIENT, &clGLBlack.R);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, &clGLBlack.R);
  glMaterialfv(GL_FRONT, GL_SPECULAR, &clGLBlack.R);
  glMaterialf(GL_FRONT, GL_SHININESS, ShininessHigh);
  const TGLColor4f glow = GetDiffuse(slot);
  glMaterialfv(GL_FRONT, GL_EMISSION, &glow.R);
  if (ShowLights && GLQuadric)
    CallCompiled(&LightParamNames, 0, [] { gluSphere(GLQuadric, 1.0, 10, 10); });
}

TGLLightPlacement TGLLighter::Placement(int Index, const std::vector<float>& LightAngles,
                                        bool Rotate) {
  TGLLightPlacement place;
  const int slot = Slot(Index);
  if (slot < 0) return place;
  const float angle =
      slot < static_cast<int>(LightAngles.size()) ? LightAngles[static_cast<std::size_t>(slot)] : 0;
  const TGLPoint4f p = GetLightPosition(slot);
  place.Move = p;
  place.Placed = IsLightingOn() && IsLightOn(slot);
  if (slot == 1 && Rotate) {
    place.TurnCount = 2;
    place.Turns[0] = {angle, 1, 0, 0.5f};
    place.Turns[1] = {-angle, 0, 1, 0};
  } else if (slot >= 3 && Rotate) {
    place.TurnCount = 1;
    place.Turns[0] = {angle, 0.5f, 0, 1};
  }
  if (slot == 2) {
    // The spot light: its position is given after moving there, so the light stands at twice
    // its position while the marker stands at it.
    place.Position = p;
    place.Aimed = true;
    place.Direction = GetSpotDirection(slot);
  } else {
    place.Position = GLOrigin;
  }
  return place;
}

void TGLLighter::DrawLights(const std::vector<float>& LightAngles, bool Rotate, bool ShowLights) {
  if (!IsLightingOn()) return;
  const bool colorMaterial = glIsEnabled(GL_COLOR_MATERIAL) == GL_TRUE;
  glDisable(GL_COLOR_MATERIAL);
  const int count = std::min<int>(GetMaxLights(), static_cast<int>(FLights.size()));
  for (int i = 0; i < count; ++i) {
    const TGLLightPlacement place = Placement(i, LightAngles, Rotate);
    glPushMatrix();
    for (int t = 0; t < place.TurnCount; ++t)
      glRotatef(place.Turns[t].Angle, place.Turns[t].X, place.Turns[t].Y, place.Turns[t].Z);
    glTranslatef(place.Move.X, place.Move.Y, place.Move.Z);
    if (place.Placed) {
      glLightfv(LightOf(i), GL_POSITION, &place.Position.X);
      if (place.Aimed) glLightfv(LightOf(i), GL_SPOT_DIRECTION, &place.Direction.X);
      DrawMarker(i, ShowLights);
    }
    glPopMatrix();
  }
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &clGLBlack.R);
  if (colorMaterial) glEnable(GL_COLOR_MATERIAL);
}

namespace {
// A stored light whose numbers are not all finite would light the scene white for good.
bool IsUsableLight(const TGLLight& Light) {
  const float numbers[] = {
      Light.Ambient.R,   Light.Ambient.G,  Light.Ambient.B,  Light.Ambient.A,   Light.Diffuse.R,
      Light.Diffuse.G,   Light.Diffuse.B,  Light.Diffuse.A,  Light.Specular.R,  Light.Specular.G,
      Light.Specular.B,  Light.Specular.A, Light.CutOff,     Light.Exponent,    Light.Position.X,
      Light.Position.Y,  Light.Position.Z, Light.Position.W, Light.Direction.X, Light.Direction.Y,
      Light.Direction.Z, Light.Direction.W};
  return std::all_of(std::begin(numbers), std::end(numbers),
                     [](float v) { return std::isfinite(v); });
}
}  // namespace

void TGLLighter::ReadOwnSettings(TIniFile& Ini) {
  const QString section = ClassName();
  for (std::size_t i = 0; i < FLights.size(); ++i) {
    TGLLight light = FLights[i];
    if (ReadRecord(Ini, section, QStringLiteral("FLights%1").arg(i), &light, sizeof light) &&
        IsUsableLight(light))
      FLights[i] = light;
  }
}

void TGLLighter::WriteOwnSettings(TIniFile& Ini) {
  const QString section = ClassName();
  Ini.WriteInteger(section, QStringLiteral("LightNum"), static_cast<int32_t>(FLights.size()) - 1);
  for (std::size_t i = 0; i < FLights.size(); ++i)
    WriteRecord(Ini, section, QStringLiteral("FLights%1").arg(i), &FLights[i], sizeof(TGLLight));
}
