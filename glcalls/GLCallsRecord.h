#pragma once
// One view's OpenGL state as the "GL Calls" window shows it: the numbers the frame's calls pass
// (they are the program's, not OpenGL's) and the values OpenGL holds, one per row of the state
// table. Values only: the capture fills one at one point of the frame, tests build them by hand.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "GLStateTable.h"

// The numbers the frame passes for one view.
struct TGLFrameCalls {
  std::string ViewName = "User";
  bool SingleView = false;
  // 0 gluOrtho2D (4 arguments), 1 glOrtho, 2 glFrustum (6), 3 gluPerspective (4).
  int Projection = 3;
  double ProjectionArgs[6] = {52, 1, 0.5, 100, 0, 0};
  int ViewportWidth = 1, ViewportHeight = 1;  // the aspect of gluPerspective comes from them
  double LookAt[9] = {0, 0, 1, 0, 0, 0, 0, 1, 0};
  // Given with the identity model-view (before gluLookAt) instead of after it.
  bool LightsBeforeLookAt = false;
  // What the light pass does for each light.
  struct TLight {
    bool Placed = false;
    int TurnCount = 0;
    float Turns[2][4] = {};  // angle, x, y, z
    float Move[3] = {};
    float Position[4] = {0, 0, 0, 1};
    bool Aimed = false;
    float Direction[4] = {0, 0, -1, 0};
  };
  std::array<TLight, MaxShownLights> Lights{};
  // The drawn objects, in drawing order, as short lines; the last one set the material shown.
  struct TObject {
    std::string What;
    int Triangles = 0;
    std::string How;
  };
  std::vector<TObject> Objects;
  float ObjectScale = 1;  // glScalef of the satellite cube and the logo
};

struct TGLCallsRecord {
  TGLFrameCalls Calls;
  // One entry per row of StateRows(), the first Count numbers used.
  std::vector<std::array<double, 16>> Values;
  std::array<uint8_t, 128> Stipple{};
  int LightCount = MaxShownLights;  // GL_MAX_LIGHTS, at most MaxShownLights

  TGLCallsRecord();
  // The row's values (Row from FindRow); an unknown row reads as zeros and takes nothing.
  const std::array<double, 16>& Value(int Row) const;
  void Set(int Row, std::initializer_list<double> V);
};

// A fresh context's state: every row at its default, the light pass's calls at none.
TGLCallsRecord DefaultRecord();

// What the window adds to the program's state, each starting at OpenGL's own default (the
// filters at what the textures are made with) so the picture stays the same until changed.
struct TGLCallsExtras {
  float Attenuation[MaxShownLights][3];
  float ModelAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
  bool LocalViewer = false;
  GLenum ShadeModel = GL_SMOOTH;
  bool Fog = false;
  GLenum FogMode = GL_EXP;
  float FogDensity = 1, FogStart = 0, FogEnd = 1;
  float FogColor[4] = {0, 0, 0, 0};
  GLenum TexEnvMode = GL_MODULATE;
  GLenum MinFilter = GL_LINEAR, MagFilter = GL_LINEAR;
  GLenum WrapS = GL_REPEAT, WrapT = GL_REPEAT;
  bool LightsBeforeLookAt = false;

  TGLCallsExtras();
  bool IsDefault() const;
  bool operator==(const TGLCallsExtras& Other) const;
};
