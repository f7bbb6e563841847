#include "GLCapture.h"

#include <algorithm>

void CaptureState(TGLCallsRecord& Record) {
  GLint lights = 0;
  glGetIntegerv(GL_MAX_LIGHTS, &lights);
  Record.LightCount = std::clamp<int>(lights, 0, MaxShownLights);
  const std::vector<TStateRow>& rows = StateRows();
  Record.Values.resize(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TStateRow& row = rows[i];
    std::array<double, 16>& out = Record.Values[i];
    out.fill(0);
    GLfloat f[16] = {};
    GLint n[16] = {};
    bool floats = false;
    if (row.Light >= Record.LightCount) continue;
    const GLenum light = static_cast<GLenum>(GL_LIGHT0 + std::max(row.Light, 0));
    switch (row.Query) {
      case TQuery::Enabled:
        out[0] = glIsEnabled(row.Name) == GL_TRUE ? 1 : 0;
        continue;
      case TQuery::Float:
        glGetFloatv(row.Name, f);
        floats = true;
        break;
      case TQuery::Integer:
        glGetIntegerv(row.Name, n);
        if (row.Name2) glGetIntegerv(row.Name2, &n[1]);
        break;
      case TQuery::Light:
        glGetLightfv(light, row.Name, f);
        floats = true;
        break;
      case TQuery::Material:
        glGetMaterialfv(row.Target, row.Name, f);
        floats = true;
        break;
      case TQuery::TexParam:
        glGetTexParameteriv(GL_TEXTURE_2D, row.Name, n);
        break;
      case TQuery::TexEnv:
        glGetTexEnviv(GL_TEXTURE_ENV, row.Name, n);
        break;
      case TQuery::TexGen:
        glGetTexGeniv(row.Target, row.Name, n);
        break;
      case TQuery::Stipple:
        // Read byte by byte, whatever packing the program left set.
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_LSB_FIRST, GL_FALSE);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        glPixelStorei(GL_PACK_SKIP_ROWS, 0);
        glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
        glGetPolygonStipple(Record.Stipple.data());
        glPopClientAttrib();
        continue;
    }
    const int count = std::min(row.Count, 16);
    for (int k = 0; k < count; ++k)
      out[static_cast<std::size_t>(k)] = floats ? double(f[k]) : double(n[k]);
  }
}

void ApplyExtras(const TGLCallsExtras& E, int LightCount) {
  const int lights = std::clamp(LightCount, 0, MaxShownLights);
  for (int i = 0; i < lights; ++i) {
    const GLenum light = static_cast<GLenum>(GL_LIGHT0 + i);
    glLightf(light, GL_CONSTANT_ATTENUATION, E.Attenuation[i][0]);
    glLightf(light, GL_LINEAR_ATTENUATION, E.Attenuation[i][1]);
    glLightf(light, GL_QUADRATIC_ATTENUATION, E.Attenuation[i][2]);
  }
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, E.ModelAmbient);
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, E.LocalViewer ? GL_TRUE : GL_FALSE);
  glShadeModel(E.ShadeModel);
  if (E.Fog)
    glEnable(GL_FOG);
  else
    glDisable(GL_FOG);
  glFogi(GL_FOG_MODE, static_cast<GLint>(E.FogMode));
  glFogf(GL_FOG_DENSITY, E.FogDensity);
  glFogf(GL_FOG_START, E.FogStart);
  glFogf(GL_FOG_END, E.FogEnd);
  glFogfv(GL_FOG_COLOR, E.FogColor);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLint>(E.TexEnvMode));
}

void ApplyTextureExtras(const TGLCallsExtras& E) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(E.MinFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(E.MagFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(E.WrapS));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(E.WrapT));
}
