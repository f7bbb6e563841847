#include "GLStateTable.h"

#include <cstdio>

namespace {

constexpr double ColorStep = 1.0 / 255;  // one step of the panel's colour bars

// The rows written once; Light marks a row repeated for each light (its name offset by the
// light for an enable), Faces one repeated for the front and back faces.
struct TBaseRow {
  TStateRow Row;
  bool PerLight = false;
  bool PerFace = false;
};

TStateRow Row(TGroup Group, TQuery Query, GLenum Name, TKind Kind, int Count, const char* EnumName,
              TSetter Setter, std::initializer_list<double> Default, TCellRule Cell = {}) {
  TStateRow row{Group,        Query, Name,           0, 0, -1, Kind, Count, EnumName, Setter,
                {0, 0, 0, 0}, true,  std::move(Cell)};
  int i = 0;
  for (double d : Default)
    if (i < 4) row.Default[i++] = d;
  return row;
}

TStateRow Enable(TGroup Group, GLenum Cap, const char* EnumName, bool Default,
                 TCellRule Cell = {}) {
  return Row(Group, TQuery::Enabled, Cap, TKind::Bool, 1, EnumName, TSetter::EnableDisable,
             {Default ? 1.0 : 0.0}, std::move(Cell));
}

TStateRow Pair(TGroup Group, GLenum Name, GLenum Name2, const char* EnumName, TSetter Setter,
               double D0, double D1) {
  TStateRow row = Row(Group, TQuery::Integer, Name, TKind::Enum, 2, EnumName, Setter, {D0, D1});
  row.Name2 = Name2;
  return row;
}

TStateRow WithTarget(TStateRow Row, GLenum Target) {
  Row.Target = Target;
  return Row;
}

TCellRule Number(TEdit Edit, double Min, double Max, double Step, const char* Hint) {
  return {Edit, Min, Max, Step, {}, Hint};
}

TCellRule Choice(TEdit Edit, std::vector<GLenum> Choices, const char* Hint,
                 std::vector<const char*> Names = {}) {
  return {Edit, 0, 0, 0, std::move(Choices), Hint, std::move(Names)};
}

std::vector<TBaseRow> BaseRows() {
  using G = TGroup;
  using Q = TQuery;
  using K = TKind;
  using S = TSetter;
  const TCellRule lightColor[3] = {
      Number(TEdit::LightAmbient, 0, 1, ColorStep,
             "the light's ambient colour, 0 to 1 (\"Ambient\" of the GLLighter tab's bars)"),
      Number(TEdit::LightDiffuse, 0, 1, ColorStep,
             "the light's diffuse colour, 0 to 1 (\"Diffuse\" of the GLLighter tab's bars)"),
      Number(TEdit::LightSpecular, 0, 1, ColorStep,
             "the light's specular colour, 0 to 1 (\"Specular\" of the GLLighter tab's bars)")};
  const TCellRule materialColor[4] = {
      Number(TEdit::MaterialAmbient, 0, 1, ColorStep, "the material's ambient colour, 0 to 1"),
      Number(TEdit::MaterialDiffuse, 0, 1, ColorStep, "the material's diffuse colour, 0 to 1"),
      Number(TEdit::MaterialSpecular, 0, 1, ColorStep, "the material's specular colour, 0 to 1"),
      Number(TEdit::MaterialEmission, 0, 1, ColorStep, "the material's emission, 0 to 1")};
  const std::vector<GLenum> filters = {GL_NEAREST, GL_LINEAR};
  const std::vector<GLenum> wraps = {GL_REPEAT, GL_CLAMP};

  std::vector<TBaseRow> rows = {
      {Row(G::Viewport, Q::Integer, GL_VIEWPORT, K::Int, 4, "GL_VIEWPORT", S::Viewport, {})},
      {Row(G::Viewport, Q::Float, GL_COLOR_CLEAR_VALUE, K::Float, 4, "GL_COLOR_CLEAR_VALUE",
           S::ClearColor, {0, 0, 0, 0})},
      {WithTarget(Row(G::Projection, Q::Float, GL_PROJECTION_MATRIX, K::Float, 16,
                      "GL_PROJECTION_MATRIX", S::LoadMatrix, {}),
                  GL_PROJECTION)},
      {WithTarget(Row(G::ModelView, Q::Float, GL_MODELVIEW_MATRIX, K::Float, 16,
                      "GL_MODELVIEW_MATRIX", S::LoadMatrix, {}),
                  GL_MODELVIEW)},

      {Enable(G::Lighting, GL_LIGHTING, "GL_LIGHTING", false)},
      {Row(G::Lighting, Q::Float, GL_LIGHT_MODEL_AMBIENT, K::Float, 4, "GL_LIGHT_MODEL_AMBIENT",
           S::LightModelfv, {0.2, 0.2, 0.2, 1},
           Number(TEdit::ModelAmbient, 0, 1, 0.01,
                  "the light model's global ambient, 0 to 1 (this window's own setting)"))},
      {Row(G::Lighting, Q::Integer, GL_LIGHT_MODEL_LOCAL_VIEWER, K::Bool, 1,
           "GL_LIGHT_MODEL_LOCAL_VIEWER", S::LightModeli, {0},
           Choice(TEdit::LocalViewer, {GL_FALSE, GL_TRUE},
                  "highlights seen from the eye's place (GL_TRUE) or from infinitely far "
                  "(GL_FALSE); this window's own setting",
                  {"GL_FALSE", "GL_TRUE"}))},
      {Row(G::Lighting, Q::Integer, GL_LIGHT_MODEL_TWO_SIDE, K::Bool, 1, "GL_LIGHT_MODEL_TWO_SIDE",
           S::LightModeli, {0})},

      {Enable(G::Light, GL_LIGHT0, "GL_LIGHT", false), true},
      {Row(G::Light, Q::Light, GL_AMBIENT, K::Float, 4, "GL_AMBIENT", S::Lightfv, {0, 0, 0, 1},
           lightColor[0]),
       true},
      {Row(G::Light, Q::Light, GL_DIFFUSE, K::Float, 4, "GL_DIFFUSE", S::Lightfv, {0, 0, 0, 1},
           lightColor[1]),
       true},
      {Row(G::Light, Q::Light, GL_SPECULAR, K::Float, 4, "GL_SPECULAR", S::Lightfv, {0, 0, 0, 1},
           lightColor[2]),
       true},
      {Row(G::Light, Q::Light, GL_SPOT_CUTOFF, K::Float, 1, "GL_SPOT_CUTOFF", S::Lightf, {180},
           Number(TEdit::CutOff, 5, 500, 1,
                  "spot cut-off in degrees, 5 to 500 (\"Shine Dia\"; OpenGL takes 0 to 90 or "
                  "180 and keeps its value otherwise)")),
       true},
      {Row(G::Light, Q::Light, GL_SPOT_EXPONENT, K::Float, 1, "GL_SPOT_EXPONENT", S::Lightf, {0},
           Number(TEdit::Exponent, 0, 100, 1, "spot exponent, 0 to 100 (\"Fall Off\")")),
       true},
      {Row(G::Light, Q::Light, GL_CONSTANT_ATTENUATION, K::Float, 1, "GL_CONSTANT_ATTENUATION",
           S::Lightf, {1},
           Number(TEdit::Attenuation, 0, 10, 0.05,
                  "constant attenuation, 0 to 10 (this window's own setting)")),
       true},
      {Row(G::Light, Q::Light, GL_LINEAR_ATTENUATION, K::Float, 1, "GL_LINEAR_ATTENUATION",
           S::Lightf, {0},
           Number(TEdit::Attenuation, 0, 1, 0.002,
                  "linear attenuation per unit of distance, 0 to 1 (this window's own setting)")),
       true},
      {Row(G::Light, Q::Light, GL_QUADRATIC_ATTENUATION, K::Float, 1, "GL_QUADRATIC_ATTENUATION",
           S::Lightf, {0},
           Number(TEdit::Attenuation, 0, 0.1, 0.0002,
                  "quadratic attenuation, 0 to 0.1 (this window's own setting)")),
       true},
      // Given by the light pass; shown and written with the matrix they were given under.
      {Row(G::Light, Q::Light, GL_POSITION, K::Float, 4, "GL_POSITION", S::Lightfv, {0, 0, 1, 0}),
       true},
      {Row(G::Light, Q::Light, GL_SPOT_DIRECTION, K::Float, 3, "GL_SPOT_DIRECTION", S::Lightfv,
           {0, 0, -1}),
       true},

      {Row(G::Material, Q::Material, GL_AMBIENT, K::Float, 4, "GL_AMBIENT", S::Materialfv,
           {0.2, 0.2, 0.2, 1}, materialColor[0]),
       false, true},
      {Row(G::Material, Q::Material, GL_DIFFUSE, K::Float, 4, "GL_DIFFUSE", S::Materialfv,
           {0.8, 0.8, 0.8, 1}, materialColor[1]),
       false, true},
      {Row(G::Material, Q::Material, GL_SPECULAR, K::Float, 4, "GL_SPECULAR", S::Materialfv,
           {0, 0, 0, 1}, materialColor[2]),
       false, true},
      {Row(G::Material, Q::Material, GL_EMISSION, K::Float, 4, "GL_EMISSION", S::Materialfv,
           {0, 0, 0, 1}, materialColor[3]),
       false, true},
      {Row(G::Material, Q::Material, GL_SHININESS, K::Float, 1, "GL_SHININESS", S::Materialf, {0},
           Number(TEdit::Shininess, 0, 128, 1, "the material's shininess, 0 to 128")),
       false, true},
      {Row(G::Material, Q::Float, GL_CURRENT_COLOR, K::Float, 4, "GL_CURRENT_COLOR", S::Color4f,
           {1, 1, 1, 1})},
      {Pair(G::Material, GL_COLOR_MATERIAL_FACE, GL_COLOR_MATERIAL_PARAMETER,
            "GL_COLOR_MATERIAL_FACE", S::ColorMaterial, GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE)},
      {Enable(G::Material, GL_COLOR_MATERIAL, "GL_COLOR_MATERIAL", false)},

      {Row(G::Raster, Q::Integer, GL_POLYGON_MODE, K::Enum, 2, "GL_POLYGON_MODE", S::PolygonMode,
           {GL_FILL, GL_FILL})},
      {Row(G::Raster, Q::Integer, GL_SHADE_MODEL, K::Enum, 1, "GL_SHADE_MODEL", S::ShadeModel,
           {GL_SMOOTH},
           Choice(TEdit::ShadeModel, {GL_SMOOTH, GL_FLAT},
                  "colours blended across each triangle (GL_SMOOTH) or one colour per triangle "
                  "(GL_FLAT); this window's own setting"))},
      {Enable(G::Raster, GL_BLEND, "GL_BLEND", false)},
      {Pair(G::Raster, GL_BLEND_SRC, GL_BLEND_DST, "GL_BLEND_SRC", S::BlendFunc, GL_ONE, GL_ZERO)},
      {Enable(G::Raster, GL_POLYGON_STIPPLE, "GL_POLYGON_STIPPLE", false)},
      {Row(G::Raster, Q::Stipple, GL_POLYGON_STIPPLE, K::Int, 0, "GL_POLYGON_STIPPLE",
           S::PolygonStipple, {})},
      {Enable(G::Raster, GL_DEPTH_TEST, "GL_DEPTH_TEST", false)},
      {Row(G::Raster, Q::Integer, GL_DEPTH_FUNC, K::Enum, 1, "GL_DEPTH_FUNC", S::DepthFunc,
           {GL_LESS})},
      {Enable(G::Raster, GL_CULL_FACE, "GL_CULL_FACE", false)},
      {Row(G::Raster, Q::Integer, GL_CULL_FACE_MODE, K::Enum, 1, "GL_CULL_FACE_MODE", S::CullFace,
           {GL_BACK})},
      {Row(G::Raster, Q::Integer, GL_FRONT_FACE, K::Enum, 1, "GL_FRONT_FACE", S::FrontFace,
           {GL_CCW})},
      {Enable(G::Raster, GL_NORMALIZE, "GL_NORMALIZE", false)},
      {Enable(G::Raster, GL_LINE_STIPPLE, "GL_LINE_STIPPLE", false)},
      {Row(G::Raster, Q::Float, GL_LINE_WIDTH, K::Float, 1, "GL_LINE_WIDTH", S::LineWidth, {1})},
      {Row(G::Raster, Q::Float, GL_POINT_SIZE, K::Float, 1, "GL_POINT_SIZE", S::PointSize, {1})},

      {Enable(G::Fog, GL_FOG, "GL_FOG", false,
              Choice(TEdit::Fog, {GL_FALSE, GL_TRUE}, "fog on or off (this window's own setting)",
                     {"glDisable(GL_FOG)", "glEnable(GL_FOG)"}))},
      {Row(G::Fog, Q::Integer, GL_FOG_MODE, K::Enum, 1, "GL_FOG_MODE", S::Fogi, {GL_EXP},
           Choice(TEdit::FogMode, {GL_LINEAR, GL_EXP, GL_EXP2},
                  "how fog grows with distance: from start to end (GL_LINEAR) or by the "
                  "density (GL_EXP, GL_EXP2)"))},
      {Row(G::Fog, Q::Float, GL_FOG_DENSITY, K::Float, 1, "GL_FOG_DENSITY", S::Fogf, {1},
           Number(TEdit::FogDensity, 0, 1, 0.002,
                  "fog density of GL_EXP and GL_EXP2, 0 to 1 (the scene lies 10 to 60 away)"))},
      {Row(G::Fog, Q::Float, GL_FOG_START, K::Float, 1, "GL_FOG_START", S::Fogf, {0},
           Number(TEdit::FogStart, -100, 200, 0.5,
                  "eye distance where GL_LINEAR fog begins, -100 to 200"))},
      {Row(G::Fog, Q::Float, GL_FOG_END, K::Float, 1, "GL_FOG_END", S::Fogf, {1},
           Number(TEdit::FogEnd, -100, 200, 0.5,
                  "eye distance where GL_LINEAR fog hides everything, -100 to 200"))},
      {Row(G::Fog, Q::Float, GL_FOG_COLOR, K::Float, 4, "GL_FOG_COLOR", S::Fogfv, {0, 0, 0, 0},
           Number(TEdit::FogColor, 0, 1, 0.01, "the fog's colour, 0 to 1"))},

      {Enable(G::Texture, GL_TEXTURE_2D, "GL_TEXTURE_2D", false)},
      {Row(G::Texture, Q::Integer, GL_TEXTURE_BINDING_2D, K::Int, 1, "GL_TEXTURE_BINDING_2D",
           S::BindTexture, {0})},
      {Row(G::Texture, Q::TexParam, GL_TEXTURE_MIN_FILTER, K::Enum, 1, "GL_TEXTURE_MIN_FILTER",
           S::TexParameteri, {GL_NEAREST_MIPMAP_LINEAR},
           Choice(TEdit::MinFilter, filters,
                  "the bound texture's filter where it is drawn smaller (the textures have no "
                  "mipmaps); this window's own setting"))},
      {Row(G::Texture, Q::TexParam, GL_TEXTURE_MAG_FILTER, K::Enum, 1, "GL_TEXTURE_MAG_FILTER",
           S::TexParameteri, {GL_LINEAR},
           Choice(TEdit::MagFilter, filters,
                  "the bound texture's filter where it is drawn larger; this window's own "
                  "setting"))},
      {Row(
          G::Texture, Q::TexParam, GL_TEXTURE_WRAP_S, K::Enum, 1, "GL_TEXTURE_WRAP_S",
          S::TexParameteri, {GL_REPEAT},
          Choice(TEdit::WrapS, wraps, "what lies outside 0..1 across; this window's own setting"))},
      {Row(G::Texture, Q::TexParam, GL_TEXTURE_WRAP_T, K::Enum, 1, "GL_TEXTURE_WRAP_T",
           S::TexParameteri, {GL_REPEAT},
           Choice(TEdit::WrapT, wraps, "what lies outside 0..1 up; this window's own setting"))},
      {Row(G::Texture, Q::TexEnv, GL_TEXTURE_ENV_MODE, K::Enum, 1, "GL_TEXTURE_ENV_MODE",
           S::TexEnvi, {GL_MODULATE},
           Choice(TEdit::TexEnvMode, {GL_MODULATE, GL_DECAL, GL_REPLACE, GL_BLEND},
                  "how the texture meets the lit colour; this window's own setting"))},
      {Enable(G::Texture, GL_TEXTURE_GEN_S, "GL_TEXTURE_GEN_S", false)},
      {Enable(G::Texture, GL_TEXTURE_GEN_T, "GL_TEXTURE_GEN_T", false)},
      {WithTarget(Row(G::Texture, Q::TexGen, GL_TEXTURE_GEN_MODE, K::Enum, 1, "GL_TEXTURE_GEN_MODE",
                      S::TexGeni, {GL_EYE_LINEAR}),
                  GL_S)},
      {WithTarget(Row(G::Texture, Q::TexGen, GL_TEXTURE_GEN_MODE, K::Enum, 1, "GL_TEXTURE_GEN_MODE",
                      S::TexGeni, {GL_EYE_LINEAR}),
                  GL_T)},
  };
  rows[0].Row.HasDefault = false;  // a fresh context's viewport is its window
  return rows;
}

std::vector<TStateRow> ExpandRows() {
  std::vector<TStateRow> rows;
  const std::vector<TBaseRow> base = BaseRows();
  // The rows of one light follow each other, light by light.
  std::size_t i = 0;
  while (i < base.size()) {
    if (base[i].PerLight) {
      std::size_t end = i;
      while (end < base.size() && base[end].PerLight) ++end;
      for (int light = 0; light < MaxShownLights; ++light)
        for (std::size_t k = i; k < end; ++k) {
          TStateRow row = base[k].Row;
          row.Light = light;
          if (row.Query == TQuery::Enabled) row.Name = static_cast<GLenum>(GL_LIGHT0 + light);
          // Light 0 alone starts white.
          if (light == 0 && (row.Name == GL_DIFFUSE || row.Name == GL_SPECULAR))
            for (double& d : row.Default) d = 1;
          rows.push_back(row);
        }
      i = end;
    } else if (base[i].PerFace) {
      std::size_t end = i;
      while (end < base.size() && base[end].PerFace) ++end;
      for (GLenum face : {GLenum(GL_FRONT), GLenum(GL_BACK)})
        for (std::size_t k = i; k < end; ++k) {
          TStateRow row = base[k].Row;
          row.Target = face;
          rows.push_back(row);
        }
      i = end;
    } else {
      rows.push_back(base[i++].Row);
    }
  }
  return rows;
}

}  // namespace

const std::vector<TStateRow>& StateRows() {
  static const std::vector<TStateRow> rows = ExpandRows();
  return rows;
}

int FindRow(GLenum Name, int Light, GLenum Target) {
  const std::vector<TStateRow>& rows = StateRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TStateRow& r = rows[i];
    if (r.Name == Name && r.Light == Light && (Target == 0 || r.Target == Target) &&
        r.Query != TQuery::Stipple)
      return static_cast<int>(i);
  }
  return -1;
}

std::string EnumText(GLenum Value) {
  struct TName {
    GLenum Value;
    const char* Name;
  };
  static const TName names[] = {
      {GL_FRONT, "GL_FRONT"},
      {GL_BACK, "GL_BACK"},
      {GL_FRONT_AND_BACK, "GL_FRONT_AND_BACK"},
      {GL_POINT, "GL_POINT"},
      {GL_LINE, "GL_LINE"},
      {GL_FILL, "GL_FILL"},
      {GL_SMOOTH, "GL_SMOOTH"},
      {GL_FLAT, "GL_FLAT"},
      {GL_ZERO, "GL_ZERO"},
      {GL_ONE, "GL_ONE"},
      {GL_SRC_COLOR, "GL_SRC_COLOR"},
      {GL_ONE_MINUS_SRC_COLOR, "GL_ONE_MINUS_SRC_COLOR"},
      {GL_SRC_ALPHA, "GL_SRC_ALPHA"},
      {GL_ONE_MINUS_SRC_ALPHA, "GL_ONE_MINUS_SRC_ALPHA"},
      {GL_DST_ALPHA, "GL_DST_ALPHA"},
      {GL_ONE_MINUS_DST_ALPHA, "GL_ONE_MINUS_DST_ALPHA"},
      {GL_DST_COLOR, "GL_DST_COLOR"},
      {GL_ONE_MINUS_DST_COLOR, "GL_ONE_MINUS_DST_COLOR"},
      {GL_SRC_ALPHA_SATURATE, "GL_SRC_ALPHA_SATURATE"},
      {GL_NEVER, "GL_NEVER"},
      {GL_LESS, "GL_LESS"},
      {GL_EQUAL, "GL_EQUAL"},
      {GL_LEQUAL, "GL_LEQUAL"},
      {GL_GREATER, "GL_GREATER"},
      {GL_NOTEQUAL, "GL_NOTEQUAL"},
      {GL_GEQUAL, "GL_GEQUAL"},
      {GL_ALWAYS, "GL_ALWAYS"},
      {GL_CW, "GL_CW"},
      {GL_CCW, "GL_CCW"},
      {GL_AMBIENT, "GL_AMBIENT"},
      {GL_DIFFUSE, "GL_DIFFUSE"},
      {GL_SPECULAR, "GL_SPECULAR"},
      {GL_EMISSION, "GL_EMISSION"},
      {GL_AMBIENT_AND_DIFFUSE, "GL_AMBIENT_AND_DIFFUSE"},
      {GL_LINEAR, "GL_LINEAR"},
      {GL_EXP, "GL_EXP"},
      {GL_EXP2, "GL_EXP2"},
      {GL_NEAREST, "GL_NEAREST"},
      {GL_NEAREST_MIPMAP_NEAREST, "GL_NEAREST_MIPMAP_NEAREST"},
      {GL_LINEAR_MIPMAP_NEAREST, "GL_LINEAR_MIPMAP_NEAREST"},
      {GL_NEAREST_MIPMAP_LINEAR, "GL_NEAREST_MIPMAP_LINEAR"},
      {GL_LINEAR_MIPMAP_LINEAR, "GL_LINEAR_MIPMAP_LINEAR"},
      {GL_REPEAT, "GL_REPEAT"},
      {GL_CLAMP, "GL_CLAMP"},
      {0x812F, "GL_CLAMP_TO_EDGE"},
      {GL_MODULATE, "GL_MODULATE"},
      {GL_DECAL, "GL_DECAL"},
      {GL_REPLACE, "GL_REPLACE"},
      {GL_BLEND, "GL_BLEND"},
      {GL_ADD, "GL_ADD"},
      {GL_OBJECT_LINEAR, "GL_OBJECT_LINEAR"},
      {GL_EYE_LINEAR, "GL_EYE_LINEAR"},
      {GL_SPHERE_MAP, "GL_SPHERE_MAP"},
      {GL_S, "GL_S"},
      {GL_T, "GL_T"},
  };
  for (const TName& n : names)
    if (n.Value == Value) return n.Name;
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%04X", Value);
  return hex;
}
