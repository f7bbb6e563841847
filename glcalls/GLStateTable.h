#pragma once
// The fixed-function state the "GL Calls" window shows, described once: each row names the query
// that reads a piece of state, its value type and count, its enumeration name, the call that
// sets it, and how its numbers are edited in the window (what a drag changes, its range, its
// step and a one-line hint). The capture, the shown text and the C export all walk this table,
// so they cannot disagree.
#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

// How a row's value is read.
enum class TQuery : uint8_t {
  Enabled,   // glIsEnabled(Name)
  Float,     // glGetFloatv(Name)
  Integer,   // glGetIntegerv(Name); with Name2, glGetIntegerv(Name2) gives the second value
  Light,     // glGetLightfv(GL_LIGHTi, Name)
  Material,  // glGetMaterialfv(Face, Name)
  TexParam,  // glGetTexParameteriv(GL_TEXTURE_2D, Name)
  TexEnv,    // glGetTexEnviv(GL_TEXTURE_ENV, Name)
  TexGen,    // glGetTexGeniv(Coord, Name)
  Stipple,   // glGetPolygonStipple: 128 bytes, kept beside the values
};

// How the values read are written.
enum class TKind : uint8_t { Bool, Float, Int, Enum };

// The call that puts the value into a context.
enum class TSetter : uint8_t {
  EnableDisable,  // glEnable / glDisable(Name)
  Viewport,
  ClearColor,
  LoadMatrix,  // glLoadMatrixf in the row's matrix mode
  LightModelfv,
  LightModeli,
  Lightfv,
  Lightf,
  Materialfv,
  Materialf,
  Color4f,
  ColorMaterial,  // glColorMaterial(face, mode) from two values
  PolygonMode,    // glPolygonMode(GL_FRONT, v0) and (GL_BACK, v1)
  ShadeModel,
  BlendFunc,
  PolygonStipple,
  DepthFunc,
  CullFace,
  FrontFace,
  LineWidth,
  PointSize,
  Fogi,
  Fogf,
  Fogfv,
  BindTexture,
  TexParameteri,
  TexEnvi,
  TexGeni,
};

// The parts of the text, in the order the frame makes them.
enum class TGroup : uint8_t {
  Viewport,
  Projection,
  ModelView,
  Lighting,
  Light,
  Material,
  Raster,
  Fog,
  Texture
};

// What dragging (or choosing) a number of the text changes. The window maps each to the panel
// control that shows it, to the scene object that holds it, or to its own settings.
enum class TEdit : uint8_t {
  None,
  // Numbers of the frame's calls.
  Fov,
  Eye,         // component 0..2
  Center,      // component 0..2
  VolumeSize,  // steps of the volume scale
  ObjectScale,
  LightMove,    // the light's place (glTranslatef of the light pass), component 0..2
  SpotAim,      // the spot direction given, component 0..2
  LightsPlace,  // choice: lights given after or before gluLookAt
  // Numbers OpenGL holds.
  LightAmbient,  // component 0..2
  LightDiffuse,
  LightSpecular,
  CutOff,
  Exponent,
  Attenuation,  // constant, linear, quadratic by the row
  ModelAmbient,
  LocalViewer,
  MaterialAmbient,
  MaterialDiffuse,
  MaterialSpecular,
  MaterialEmission,
  Shininess,
  ShadeModel,
  Fog,
  FogMode,
  FogDensity,
  FogStart,
  FogEnd,
  FogColor,
  TexEnvMode,
  MinFilter,
  MagFilter,
  WrapS,
  WrapT,
};

// How a number is edited: its range and step (a drag moves one step every few pixels), the
// values an enumeration offers, and the hint shown while the pointer is over it.
struct TCellRule {
  TEdit Edit = TEdit::None;
  double Min = 0, Max = 0, Step = 0;
  std::vector<GLenum> Choices;  // an enumeration's values; empty for a number
  const char* Hint = "";
  // How the choices read where their enumeration names would not do; else empty.
  std::vector<const char*> ChoiceNames = {};
};

struct TStateRow {
  TGroup Group;
  TQuery Query;
  GLenum Name;
  GLenum Name2;   // second value of a pair (glBlendFunc, glColorMaterial), else 0
  GLenum Target;  // face (GL_FRONT / GL_BACK), coordinate (GL_S / GL_T), matrix mode, else 0
  int Light;      // 0..7 for the rows of a light, else -1
  TKind Kind;
  int Count;
  const char* EnumName;  // of Name, as the text names it ("GL_FOG_DENSITY")
  TSetter Setter;
  double Default[4];  // a fresh context's value (the identity for matrices)
  bool HasDefault;    // false where a fresh context's value depends on the window (viewport)
  TCellRule Cell;
};

inline constexpr int MaxShownLights = 8;

// Every row, the rows of each light and face written out, in the order the frame makes them.
const std::vector<TStateRow>& StateRows();
// Index of the row reading Name (for Light, the light's row; for Face, the face's row), or -1.
int FindRow(GLenum Name, int Light = -1, GLenum Target = 0);

// "GL_SMOOTH" for GL_SMOOTH; a value without a name is written in hexadecimal.
std::string EnumText(GLenum Value);
