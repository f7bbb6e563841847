#include "GLCallsText.h"

#include <cstdio>

#include "NumberText.h"

namespace {

// The shown text rounds to six digits and writes vectors as {a, b}; the C file writes every
// float exactly, as compound literals.
enum class TDialect { Shown, C };

const char* const ProjectionCalls[4] = {"gluOrtho2D", "glOrtho", "glFrustum", "gluPerspective"};

std::string Printf(const char* Format, int A) {
  char text[64];
  std::snprintf(text, sizeof text, Format, A);
  return text;
}

std::string LightName(int Light) {
  return Printf("GL_LIGHT%d", Light);
}

class TWriter {
 public:
  explicit TWriter(TDialect Dialect) : FDialect(Dialect) {}

  TDialect Dialect() const { return FDialect; }
  bool Shown() const { return FDialect == TDialect::Shown; }

  void Put(const std::string& Text) {
    if (FLine.empty()) FLine = FIndent;
    FLine += Text;
  }
  void End() {
    FLines.push_back(FLine);
    FLine.clear();
  }
  void Line(const std::string& Text) {
    Put(Text);
    End();
  }
  void Blank() {
    if (!FLine.empty()) End();
    if (!FLines.empty() && !FLines.back().empty()) FLines.emplace_back();
  }
  void SetIndent(const std::string& Indent) { FIndent = Indent; }

  // Text that stands for a value; a cell of the shown text when Rule edits something.
  void Mark(const std::string& Text, const TCellRule* Rule, double Value, int Light = -1,
            GLenum Face = 0, int Component = 0) {
    if (FLine.empty()) FLine = FIndent;
    if (Shown() && Rule && Rule->Edit != TEdit::None)
      FCells.push_back({static_cast<int>(FLines.size()), static_cast<int>(FLine.size()),
                        static_cast<int>(Text.size()), Rule, Light, Face, Component, Value});
    FLine += Text;
  }

  std::string Value(double V, TKind Kind) const {
    switch (Kind) {
      case TKind::Bool:
        return V != 0 ? "GL_TRUE" : "GL_FALSE";
      case TKind::Int:
        return std::to_string(static_cast<long long>(V));
      case TKind::Enum:
        return EnumText(static_cast<GLenum>(V));
      case TKind::Float:
        break;
    }
    return Shown() ? ShownNumber(V) : CFloat(static_cast<float>(V));
  }

  // "{a, b, c}" or "(const GLfloat[]){a, b, c}"; the first Editable components are cells.
  void Vector(const double* V, int Count, const TCellRule* Rule = nullptr, int Editable = 0,
              int Light = -1, GLenum Face = 0) {
    Put(Shown() ? "{" : "(const GLfloat[]){");
    for (int k = 0; k < Count; ++k) {
      if (k > 0) Put(", ");
      Mark(Value(V[k], TKind::Float), k < Editable ? Rule : nullptr, V[k], Light, Face, k);
    }
    Put("}");
  }
  void Vector(const float* V, int Count, const TCellRule* Rule = nullptr, int Editable = 0,
              int Light = -1) {
    double d[4] = {0, 0, 0, 0};
    for (int k = 0; k < Count && k < 4; ++k) d[k] = V[k];
    Vector(d, Count, Rule, Editable, Light);
  }

  TGLCallsText Text() {
    if (!FLine.empty()) End();
    while (!FLines.empty() && FLines.back().empty()) FLines.pop_back();
    return {FLines, FCells};
  }

 private:
  TDialect FDialect;
  std::string FIndent;
  std::string FLine;
  std::vector<std::string> FLines;
  std::vector<TGLCallsCell> FCells;
};

// The frame's own numbers: what each changes, next to the call that passes it.
const TCellRule FovRule{TEdit::Fov,
                        5,
                        120,
                        1,
                        {},
                        "the User view's field of view in degrees, 5 to 120 (the GLCamera "
                        "tab's Fov bar)"};
const TCellRule EyeRule{TEdit::Eye, -1000,
                        1000,       0.25,
                        {},         "the User view's eye (the side views look from its distance)"};
const TCellRule CenterRule{TEdit::Center, -1000, 1000,
                           0.25,          {},    "the User view's view point, the point looked at"};
const TCellRule VolumeRule{TEdit::VolumeSize,
                           -200,
                           200,
                           1,
                           {},
                           "the view volumes' size, one step of the GLCamera tab's < > buttons "
                           "per step (scale 0.1 to 10)"};
const TCellRule ScaleRule{TEdit::ObjectScale,
                          0.2,
                          6,
                          0.1,
                          {},
                          "the scale of the satellite cube and the logo, 0.2 to 6 (keys A and S)"};
const TCellRule MoveRule{
    TEdit::LightMove, -1000, 1000, 0.5, {}, "the light's place (\"Pos\" of the GLLighter tab)"};
const TCellRule AimRule{TEdit::SpotAim,
                        -1000,
                        1000,
                        0.1,
                        {},
                        "the spot light's direction (\"Dir\" of the GLLighter tab)"};
const TCellRule PlaceRule{TEdit::LightsPlace,
                          0,
                          0,
                          0,
                          {GL_FALSE, GL_TRUE},
                          "where the light pass gives the positions: after gluLookAt they stay "
                          "in the world, before it they ride with the eye",
                          {"after gluLookAt", "before gluLookAt"}};
const TCellRule NoRule{};

const TStateRow& RowOf(int Index) {
  return StateRows()[static_cast<std::size_t>(Index)];
}

// The component a row's cell stands for where one call edits several rows alike.
int ComponentOf(const TStateRow& Row) {
  switch (Row.Name) {
    case GL_LINEAR_ATTENUATION:
      return 1;
    case GL_QUADRATIC_ATTENUATION:
      return 2;
    default:
      return 0;
  }
}

// One row as its call (or, for a row taking two calls, as both).
void EmitRow(TWriter& W, const TGLCallsRecord& R, int Index) {
  const TStateRow& row = RowOf(Index);
  const std::array<double, 16>& v = R.Value(Index);
  const TCellRule* rule = row.Cell.Edit == TEdit::None ? nullptr : &row.Cell;
  const std::string target = row.Light >= 0 ? LightName(row.Light)
                             : row.Target   ? EnumText(row.Target)
                                            : std::string();
  auto enumeration = [&](int k) {
    W.Mark(W.Value(v[static_cast<std::size_t>(k)], row.Kind), rule, v[static_cast<std::size_t>(k)],
           row.Light, row.Target);
  };
  auto scalar = [&](const std::string& Call, const std::string& First) {
    W.Put(Call + "(" + (First.empty() ? "" : First + ", ") + row.EnumName + ", ");
    W.Mark(W.Value(v[0], row.Kind), rule, v[0], row.Light, row.Target, ComponentOf(row));
    W.Line(");");
  };
  auto vector = [&](const std::string& Call, const std::string& First, int Editable) {
    W.Put(Call + "(" + (First.empty() ? "" : First + ", ") + row.EnumName + ", ");
    W.Vector(v.data(), row.Count, rule, rule ? Editable : 0, row.Light, row.Target);
    W.Line(");");
  };
  switch (row.Setter) {
    case TSetter::EnableDisable: {
      const std::string cap = row.Light >= 0 ? LightName(row.Light) : row.EnumName;
      const std::string call = std::string(v[0] != 0 ? "glEnable(" : "glDisable(") + cap + ")";
      W.Mark(call, rule, v[0]);
      W.Line(";");
      break;
    }
    case TSetter::Viewport:
      W.Put("glViewport(");
      for (int k = 0; k < 4; ++k)
        W.Put((k ? ", " : "") + W.Value(v[static_cast<std::size_t>(k)], TKind::Int));
      W.Line(");");
      break;
    case TSetter::ClearColor:
      W.Put("glClearColor(");
      for (int k = 0; k < 4; ++k)
        W.Put((k ? ", " : "") + W.Value(v[static_cast<std::size_t>(k)], TKind::Float));
      W.Line(");");
      break;
    case TSetter::LoadMatrix:
      // Column by column, as OpenGL takes it.
      W.Line(W.Shown() ? "glLoadMatrixf({" : "glLoadMatrixf((const GLfloat[]){");
      for (int c = 0; c < 4; ++c) {
        std::string column = "    ";
        for (int k = 0; k < 4; ++k) {
          column += W.Value(v[static_cast<std::size_t>(c * 4 + k)], TKind::Float);
          if (c * 4 + k < 15) column += k < 3 ? ", " : ",";
        }
        W.Line(column);
      }
      W.Line("});");
      break;
    case TSetter::LightModelfv:
      vector("glLightModelfv", "", 3);
      break;
    case TSetter::LightModeli:
      scalar("glLightModeli", "");
      break;
    case TSetter::Lightfv:
      vector("glLightfv", target, 3);
      break;
    case TSetter::Lightf:
      scalar("glLightf", target);
      break;
    case TSetter::Materialfv:
      vector("glMaterialfv", target, 3);
      break;
    case TSetter::Materialf:
      scalar("glMaterialf", target);
      break;
    case TSetter::Color4f:
      W.Put("glColor4f(");
      for (int k = 0; k < 4; ++k)
        W.Put((k ? ", " : "") + W.Value(v[static_cast<std::size_t>(k)], TKind::Float));
      W.Line(");");
      break;
    case TSetter::ColorMaterial:
      W.Line("glColorMaterial(" + W.Value(v[0], TKind::Enum) + ", " + W.Value(v[1], TKind::Enum) +
             ");");
      break;
    case TSetter::PolygonMode:
      W.Line("glPolygonMode(GL_FRONT, " + W.Value(v[0], TKind::Enum) + ");");
      W.Line("glPolygonMode(GL_BACK, " + W.Value(v[1], TKind::Enum) + ");");
      break;
    case TSetter::ShadeModel:
      W.Put("glShadeModel(");
      enumeration(0);
      W.Line(");");
      break;
    case TSetter::BlendFunc:
      W.Line("glBlendFunc(" + W.Value(v[0], TKind::Enum) + ", " + W.Value(v[1], TKind::Enum) +
             ");");
      break;
    case TSetter::PolygonStipple:
      if (W.Shown()) {
        char bytes[64];
        std::snprintf(bytes, sizeof bytes, "%02X %02X %02X %02X, %02X %02X %02X %02X", R.Stipple[0],
                      R.Stipple[1], R.Stipple[2], R.Stipple[3], R.Stipple[4], R.Stipple[5],
                      R.Stipple[6], R.Stipple[7]);
        W.Line(std::string("glPolygonStipple(mask);  /* 32 rows of 4 bytes: ") + bytes +
               ", ... */");
      } else {
        W.Line("{");
        W.SetIndent("    ");
        W.Line("static const GLubyte mask[128] = {");
        W.SetIndent("        ");
        for (int r = 0; r < 16; ++r) {
          std::string line;
          for (int k = 0; k < 8; ++k) {
            char byte[8];
            std::snprintf(byte, sizeof byte, "0x%02X,",
                          R.Stipple[static_cast<std::size_t>(r * 8 + k)]);
            line += (k ? " " : "") + std::string(byte);
          }
          W.Line(line);
        }
        W.SetIndent("    ");
        W.Line("};");
        W.Line("glPolygonStipple(mask);");
        W.SetIndent("  ");
        W.Line("}");
      }
      break;
    case TSetter::DepthFunc:
      W.Line("glDepthFunc(" + W.Value(v[0], TKind::Enum) + ");");
      break;
    case TSetter::CullFace:
      W.Line("glCullFace(" + W.Value(v[0], TKind::Enum) + ");");
      break;
    case TSetter::FrontFace:
      W.Line("glFrontFace(" + W.Value(v[0], TKind::Enum) + ");");
      break;
    case TSetter::LineWidth:
      W.Line("glLineWidth(" + W.Value(v[0], TKind::Float) + ");");
      break;
    case TSetter::PointSize:
      W.Line("glPointSize(" + W.Value(v[0], TKind::Float) + ");");
      break;
    case TSetter::Fogi:
      W.Put(std::string("glFogi(") + row.EnumName + ", ");
      enumeration(0);
      W.Line(");");
      break;
    case TSetter::Fogf:
      scalar("glFogf", "");
      break;
    case TSetter::Fogfv:
      vector("glFogfv", "", 3);
      break;
    case TSetter::BindTexture:
      W.Line("glBindTexture(GL_TEXTURE_2D, " + W.Value(v[0], TKind::Int) + ");");
      break;
    case TSetter::TexParameteri:
      W.Put(std::string("glTexParameteri(GL_TEXTURE_2D, ") + row.EnumName + ", ");
      enumeration(0);
      W.Line(");");
      break;
    case TSetter::TexEnvi:
      W.Put(std::string("glTexEnvi(GL_TEXTURE_ENV, ") + row.EnumName + ", ");
      enumeration(0);
      W.Line(");");
      break;
    case TSetter::TexGeni:
      W.Put("glTexGeni(" + target + ", " + row.EnumName + ", ");
      enumeration(0);
      W.Line(");");
      break;
  }
}

// A matrix as OpenGL holds it, row by row (OpenGL keeps it column by column).
void EmitMatrix(TWriter& W, const TGLCallsRecord& R, int Index) {
  const std::array<double, 16>& m = R.Value(Index);
  W.Line(std::string("/* ") + RowOf(Index).EnumName +
         ", as OpenGL holds it (glGetFloatv), row by row:");
  for (int r = 0; r < 4; ++r) {
    std::string line = "   |";
    for (int c = 0; c < 4; ++c) {
      // Right-aligned in 12 columns: the widest number ("-9.53674e-07") keeps a space.
      std::string n = ShownNumber(m[static_cast<std::size_t>(c * 4 + r)]);
      if (n.size() < 12) n.insert(0, 12 - n.size(), ' ');
      line += n;
    }
    W.Line(line + " |" + (r == 3 ? " */" : ""));
  }
}

bool IsUserView(const TGLCallsRecord& R) {
  return R.Calls.ViewName == "User";
}

// The frame's projection call, its numbers marked.
void EmitProjectionCall(TWriter& W, const TGLCallsRecord& R) {
  const TGLFrameCalls& c = R.Calls;
  const int mode = c.Projection >= 0 && c.Projection < 4 ? c.Projection : 3;
  const int count = mode == 1 || mode == 2 ? 6 : 4;
  W.Put(std::string(ProjectionCalls[mode]) + "(");
  for (int k = 0; k < count; ++k) {
    if (k > 0) W.Put(", ");
    const double a = c.ProjectionArgs[k];
    const TCellRule* rule = &VolumeRule;
    if (mode == 3 && k == 0) rule = IsUserView(R) ? &FovRule : nullptr;
    if (mode == 3 && k == 1) rule = nullptr;  // the viewport's
    W.Mark(ShownNumber(a), rule, a);
  }
  W.Put(");");
  if (mode == 3)
    W.Put("  /* aspect = " + std::to_string(c.ViewportWidth) + " / " +
          std::to_string(c.ViewportHeight) + " */");
  W.End();
}

void EmitLookAt(TWriter& W, const TGLCallsRecord& R) {
  const double* a = R.Calls.LookAt;
  const bool user = IsUserView(R);
  W.Put("gluLookAt(");
  for (int k = 0; k < 9; ++k) {
    if (k > 0) W.Put(", ");
    const TCellRule* rule = !user ? nullptr : k < 3 ? &EyeRule : k < 6 ? &CenterRule : nullptr;
    W.Mark(ShownNumber(a[k]), rule, a[k], -1, 0, k % 3);
  }
  W.Line(");");
}

void EmitHeld(TWriter& W, const TGLCallsRecord& R, int Index, const char* What) {
  const TStateRow& row = RowOf(Index);
  W.Put(std::string("  /* ") + What + " ");
  W.Vector(R.Value(Index).data(), row.Count);
  W.Line(" */");
}

// One light: its switch, colours, spot and attenuation, then how the light pass places it and
// what OpenGL then holds in eye coordinates.
void EmitLight(TWriter& W, const TGLCallsRecord& R, int Light) {
  const TGLFrameCalls::TLight& place = R.Calls.Lights[static_cast<std::size_t>(Light)];
  const int position = FindRow(GL_POSITION, Light), direction = FindRow(GL_SPOT_DIRECTION, Light);
  W.Blank();
  W.Line("/* Light" + std::to_string(Light) + " */");
  const std::vector<TStateRow>& rows = StateRows();
  for (int i = 0; i < static_cast<int>(rows.size()); ++i)
    if (rows[static_cast<std::size_t>(i)].Light == Light && i != position && i != direction)
      EmitRow(W, R, i);
  if (!place.Placed) {
    EmitHeld(W, R, position,
             "not placed this frame; GL_POSITION as last given, in eye coordinates:");
    EmitHeld(W, R, direction, "GL_SPOT_DIRECTION, in eye coordinates:");
    return;
  }
  W.Line("glPushMatrix();");
  for (int t = 0; t < place.TurnCount && t < 2; ++t) {
    const float* turn = place.Turns[t];
    W.Line("glRotatef(" + ShownNumber(turn[0]) + ", " + ShownNumber(turn[1]) + ", " +
           ShownNumber(turn[2]) + ", " + ShownNumber(turn[3]) + ");  /* its orbit */");
  }
  W.Put("glTranslatef(");
  for (int k = 0; k < 3; ++k) {
    if (k > 0) W.Put(", ");
    W.Mark(ShownNumber(place.Move[k]), &MoveRule, place.Move[k], Light, 0, k);
  }
  W.Line(");");
  W.Put("glLightfv(" + LightName(Light) + ", GL_POSITION, ");
  // The spot light is given its place again, in the moved frame.
  W.Vector(place.Position, 4, place.Aimed ? &MoveRule : nullptr, place.Aimed ? 3 : 0, Light);
  W.Line(");");
  EmitHeld(W, R, position, "OpenGL holds, in eye coordinates:");
  if (place.Aimed) {
    W.Put("glLightfv(" + LightName(Light) + ", GL_SPOT_DIRECTION, ");
    W.Vector(place.Direction, 3, &AimRule, 3, Light);
    W.Line(");");
    EmitHeld(W, R, direction, "OpenGL holds, in eye coordinates:");
  } else {
    EmitHeld(W, R, direction, "GL_SPOT_DIRECTION, not given: OpenGL holds, in eye coordinates:");
  }
  W.Line("glPopMatrix();");
}

void EmitLights(TWriter& W, const TGLCallsRecord& R) {
  W.Put("/* the light pass gives the positions ");
  const bool before = R.Calls.LightsBeforeLookAt;
  W.Mark(before ? "before gluLookAt" : "after gluLookAt", &PlaceRule, before ? 1 : 0);
  W.Line(before ? ": they ride with the eye */" : ": they stay in the world */");
  for (int i = 0; i < R.LightCount; ++i) EmitLight(W, R, i);
}

void EmitGroup(TWriter& W, const TGLCallsRecord& R, TGroup Group) {
  const std::vector<TStateRow>& rows = StateRows();
  for (int i = 0; i < static_cast<int>(rows.size()); ++i)
    if (rows[static_cast<std::size_t>(i)].Group == Group) EmitRow(W, R, i);
}

}  // namespace

std::string TGLCallsText::Joined() const {
  std::string all;
  for (const std::string& line : Lines) all += line + "\n";
  return all;
}

const TGLCallsCell* TGLCallsText::CellAt(int Line, int Column) const {
  for (const TGLCallsCell& cell : Cells)
    if (cell.Line == Line && Column >= cell.Column && Column < cell.Column + cell.Length)
      return &cell;
  return nullptr;
}

const TCellRule& FrameCellRule(TEdit Edit) {
  for (const TCellRule* rule :
       {&FovRule, &EyeRule, &CenterRule, &VolumeRule, &ScaleRule, &MoveRule, &AimRule, &PlaceRule})
    if (rule->Edit == Edit) return *rule;
  return NoRule;
}

TGLCallsText FormatCalls(const TGLCallsRecord& R) {
  TWriter W(TDialect::Shown);
  const TGLFrameCalls& c = R.Calls;
  W.Line("/* The " + c.ViewName + " view, as the frame draws it" +
         (c.SingleView ? "" : " (one of seven)") + " */");
  W.Blank();
  EmitGroup(W, R, TGroup::Viewport);
  W.Line("glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);" +
         std::string(c.SingleView ? "" : "  /* once, for all views */"));
  W.Blank();
  W.Line("glMatrixMode(GL_PROJECTION);");
  W.Line("glLoadIdentity();");
  EmitProjectionCall(W, R);
  EmitMatrix(W, R, FindRow(GL_PROJECTION_MATRIX));
  W.Blank();
  W.Line("glMatrixMode(GL_MODELVIEW);");
  W.Line("glLoadIdentity();");
  if (c.LightsBeforeLookAt) {
    W.Blank();
    EmitLights(W, R);
    W.Blank();
  }
  EmitLookAt(W, R);
  EmitMatrix(W, R, FindRow(GL_MODELVIEW_MATRIX));
  W.Blank();
  EmitGroup(W, R, TGroup::Lighting);
  if (!c.LightsBeforeLookAt) EmitLights(W, R);
  W.Blank();
  W.Line("/* the material, as the last object drawn" +
         (c.Objects.empty() ? std::string() : " (" + c.Objects.back().What + ")") + " left it */");
  EmitGroup(W, R, TGroup::Material);
  W.Blank();
  EmitGroup(W, R, TGroup::Raster);
  W.Blank();
  EmitGroup(W, R, TGroup::Fog);
  W.Blank();
  EmitGroup(W, R, TGroup::Texture);
  W.Blank();
  W.Line("/* drawn, in this order: */");
  for (const TGLFrameCalls::TObject& object : c.Objects) {
    W.Put("/*   " + object.What + ": " + std::to_string(object.Triangles) + " triangles, " +
          object.How);
    if (object.What == "Satellite cube" || object.What == "BRL Logo") {
      W.Put(", glScalef(");
      W.Mark(ShownNumber(c.ObjectScale), &ScaleRule, c.ObjectScale);
      W.Put(")");
    }
    W.Line(" */");
  }
  return W.Text();
}

std::string WriteC(const TGLCallsRecord& R) {
  TWriter W(TDialect::C);
  const TGLFrameCalls& c = R.Calls;
  W.Line("/* OpenGL state of the " + c.ViewName +
         " view, written by OpglProject's \"GL Calls\" window.");
  W.Line(" *");
  W.Line(
      " * opgl_apply_state() puts a fresh OpenGL 1.1 context into this state: the viewport, both");
  W.Line(
      " * matrices, every light, the light model, the material, the enables, fog and the texture");
  W.Line(
      " * parameters. Not included: the textures' pixels (upload them with glTexImage2D after the");
  W.Line(" * call, the texture bound) and the objects' geometry (draw your own). */");
  W.Line("#include <GL/gl.h>");
  W.Line("#include <GL/glu.h>");
  W.Blank();
  W.Line("void opgl_apply_state(void);");
  W.Blank();
  W.Line("void opgl_apply_state(void) {");
  W.SetIndent("  ");
  EmitGroup(W, R, TGroup::Viewport);
  W.Blank();
  W.Line("glMatrixMode(GL_PROJECTION);");
  {
    const int mode = c.Projection >= 0 && c.Projection < 4 ? c.Projection : 3;
    const int count = mode == 1 || mode == 2 ? 6 : 4;
    std::string call = std::string("/* ") + ProjectionCalls[mode] + "(";
    for (int k = 0; k < count; ++k) call += (k ? ", " : "") + ShownNumber(c.ProjectionArgs[k]);
    W.Line(call + ") made: */");
  }
  EmitRow(W, R, FindRow(GL_PROJECTION_MATRIX));
  W.Line("glMatrixMode(GL_MODELVIEW);");
  W.Line("glLoadIdentity();");
  W.Line("/* positions and spot directions as OpenGL holds them, in eye coordinates: given with");
  W.Line("   the identity model-view, OpenGL keeps them as they are */");
  for (int i = 0; i < R.LightCount; ++i) {
    EmitRow(W, R, FindRow(GL_POSITION, i));
    EmitRow(W, R, FindRow(GL_SPOT_DIRECTION, i));
  }
  {
    std::string call = "/* gluLookAt(";
    for (int k = 0; k < 9; ++k) call += (k ? ", " : "") + ShownNumber(c.LookAt[k]);
    W.Line(call + ") made: */");
  }
  EmitRow(W, R, FindRow(GL_MODELVIEW_MATRIX));
  const std::vector<TStateRow>& rows = StateRows();
  for (TGroup group : {TGroup::Lighting, TGroup::Light, TGroup::Material, TGroup::Raster,
                       TGroup::Fog, TGroup::Texture}) {
    W.Blank();
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
      const TStateRow& row = rows[static_cast<std::size_t>(i)];
      if (row.Group != group || row.Light >= R.LightCount) continue;
      if (row.Name == GL_POSITION || row.Name == GL_SPOT_DIRECTION) continue;
      EmitRow(W, R, i);
    }
  }
  W.SetIndent("");
  W.Line("}");
  return W.Text().Joined();
}
