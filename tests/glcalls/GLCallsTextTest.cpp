// The state table and its writers on records built by hand: the numbers as the text and the C
// file write them, the cells standing exactly over their numbers, the order of the calls, and
// the C file compiling as promised whatever the record holds.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <set>

#include "GLCallsText.h"
#include "NumberText.h"
#include "TestFiles.h"

namespace {

TGLCallsRecord StartUp() {
  TGLCallsRecord r = DefaultRecord();
  r.Calls.ViewName = "User";
  r.Calls.Projection = 3;
  const double perspective[6] = {52, 262.0 / 201.0, 3.4520795, 43.452079, 0, 0};
  std::copy_n(perspective, 6, r.Calls.ProjectionArgs);
  r.Calls.ViewportWidth = 262;
  r.Calls.ViewportHeight = 201;
  const double lookAt[9] = {15, 10, 15, 0, 0, 0, -0.30151135, 0.90453404, -0.30151135};
  std::copy_n(lookAt, 9, r.Calls.LookAt);
  for (int i = 0; i < MaxShownLights; ++i) {
    TGLFrameCalls::TLight& l = r.Calls.Lights[std::size_t(i)];
    l.Placed = i != 5;
    l.Move[0] = 20;
    l.Move[1] = i % 2 ? -20 : 20;
    l.Move[2] = 20;
  }
  r.Calls.Lights[2].Aimed = true;
  r.Calls.Objects = {{"Satellite cube", 12, "6 quads"}, {"Robot", 9000, "indexed"}};
  r.Set(FindRow(GL_DIFFUSE, 3), {0.25, 0.5, 1.0 / 3, 0.5});
  r.Set(FindRow(GL_FOG), {1});
  r.Set(FindRow(GL_FOG_MODE), {GL_LINEAR});
  r.Set(FindRow(GL_SHADE_MODEL), {GL_FLAT});
  return r;
}

std::size_t Find(const std::string& Text, const std::string& What) {
  const std::size_t at = Text.find(What);
  EXPECT_NE(at, std::string::npos) << "missing: " << What;
  return at;
}

}  // namespace

TEST(GLCallsTextTest, NumbersReadTheSameInEveryLocaleAndCFloatsReadBackExactly) {
  EXPECT_EQ(ShownNumber(52), "52");
  EXPECT_EQ(ShownNumber(-0.0), "0");
  EXPECT_EQ(ShownNumber(1.0 / 3), "0.333333");
  EXPECT_EQ(ShownNumber(-7.505064), "-7.50506");
  EXPECT_EQ(ShownNumber(1e-5), "1e-05");
  EXPECT_EQ(ShownNumber(43.452079), "43.4521");
  EXPECT_EQ(CFloat(1), "1.0f");
  EXPECT_EQ(CFloat(-20), "-20.0f");
  EXPECT_EQ(CFloat(0.3f), "0.3f");
  // Shortest text that reads back as the very same float.
  for (float v : {0.1f, 1.0f / 3, 2.0503038f, -23.452079f, 1e-7f, 3.4e38f, 1.17549435e-38f}) {
    const std::string c = CFloat(v);
    ASSERT_EQ(c.back(), 'f');
    EXPECT_EQ(std::strtof(c.c_str(), nullptr), v) << c;
  }
  EXPECT_EQ(CFloat(std::numeric_limits<float>::quiet_NaN()).substr(0, 4), "0.0f");
  EXPECT_EQ(CFloat(-std::numeric_limits<float>::infinity()).substr(0, 16), "-3.40282347e+38f");
}

TEST(GLCallsTextTest, TableRowsAreOneEachAndChoicesHoldTheirDefaults) {
  std::set<std::tuple<GLenum, int, GLenum, int>> seen;
  int lights = 0;
  for (const TStateRow& row : StateRows()) {
    EXPECT_EQ(std::string(row.EnumName).substr(0, 3), "GL_");
    EXPECT_TRUE(seen.insert({row.Name, row.Light, row.Target, int(row.Query)}).second)
        << row.EnumName;
    if (row.Name == GL_SPOT_CUTOFF) ++lights;
    if (!row.Cell.Choices.empty() && row.HasDefault && row.Name != GL_TEXTURE_MIN_FILTER) {
      const auto& c = row.Cell.Choices;
      EXPECT_NE(std::find(c.begin(), c.end(), GLenum(row.Default[0])), c.end()) << row.EnumName;
    }
    if (row.Cell.Edit != TEdit::None && row.Cell.Choices.empty()) {
      EXPECT_LT(row.Cell.Min, row.Cell.Max) << row.EnumName;
      EXPECT_GT(row.Cell.Step, 0) << row.EnumName;
      EXPECT_GE(row.Default[0], row.Cell.Min) << row.EnumName;
      EXPECT_LE(row.Default[0], row.Cell.Max) << row.EnumName;
    }
  }
  EXPECT_EQ(lights, MaxShownLights);
  EXPECT_EQ(FindRow(GL_DIFFUSE, 0), FindRow(GL_LIGHT0, 0) + 2);
  EXPECT_NE(FindRow(GL_DIFFUSE, -1, GL_FRONT), FindRow(GL_DIFFUSE, -1, GL_BACK));
  EXPECT_EQ(FindRow(GL_DIFFUSE, 9), -1);
  EXPECT_EQ(EnumText(GL_AMBIENT_AND_DIFFUSE), "GL_AMBIENT_AND_DIFFUSE");
  EXPECT_EQ(EnumText(0x1234), "0x1234");
  // A fresh context: light 0 alone is white, the others black.
  const TGLCallsRecord fresh = DefaultRecord();
  EXPECT_EQ(fresh.Value(FindRow(GL_DIFFUSE, 0))[0], 1);
  EXPECT_EQ(fresh.Value(FindRow(GL_DIFFUSE, 1))[0], 0);
  EXPECT_EQ(fresh.Value(FindRow(GL_PROJECTION_MATRIX))[5], 1);
  EXPECT_EQ(fresh.Value(FindRow(GL_PROJECTION_MATRIX))[4], 0);
}

TEST(GLCallsTextTest, ShownCallsComeInTheFramesOrderWithEachCellOverItsNumber) {
  TGLCallsRecord r = StartUp();
  const TGLCallsText text = FormatCalls(r);
  const std::string all = text.Joined();
  const std::size_t viewport = Find(all, "glViewport(0, 0, 0, 0);");
  const std::size_t projection =
      Find(all, "gluPerspective(52, 1.30348, 3.45208, 43.4521);  /* aspect = 262 / 201 */");
  const std::size_t lookAt =
      Find(all, "gluLookAt(15, 10, 15, 0, 0, 0, -0.301511, 0.904534, -0.301511);");
  const std::size_t lighting = Find(all, "glDisable(GL_LIGHTING);");
  const std::size_t light3 =
      Find(all, "glLightfv(GL_LIGHT3, GL_DIFFUSE, {0.25, 0.5, 0.333333, 0.5});");
  const std::size_t material =
      Find(all, "/* the material, as the last object drawn (Robot) left it */");
  const std::size_t shade = Find(all, "glShadeModel(GL_FLAT);");
  const std::size_t fog = Find(all, "glEnable(GL_FOG);\nglFogi(GL_FOG_MODE, GL_LINEAR);");
  const std::size_t texture =
      Find(all, "glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);");
  Find(all, "/*   Satellite cube: 12 triangles, 6 quads, glScalef(1) */");
  EXPECT_LT(viewport, projection);
  EXPECT_LT(projection, lookAt);
  EXPECT_LT(lookAt, lighting);
  EXPECT_LT(lighting, light3);
  EXPECT_LT(light3, material);
  EXPECT_LT(material, shade);
  EXPECT_LT(shade, fog);
  EXPECT_LT(fog, texture);
  // The spot light is aimed; light 5 is off this frame, so not placed.
  Find(all, "glLightfv(GL_LIGHT2, GL_SPOT_DIRECTION, {0, 0, -1});");
  Find(all, "/* Light5 */\nglDisable(GL_LIGHT5);");
  Find(
      all,
      "  /* not placed this frame; GL_POSITION as last given, in eye coordinates: {0, 0, 1, 0} */");

  // Every cell stands over the text of its value.
  ASSERT_FALSE(text.Cells.empty());
  for (const TGLCallsCell& cell : text.Cells) {
    ASSERT_NE(cell.Rule, nullptr);
    const std::string shown = text.Lines[std::size_t(cell.Line)].substr(std::size_t(cell.Column),
                                                                        std::size_t(cell.Length));
    const auto& choices = cell.Rule->Choices;
    if (choices.empty()) {
      EXPECT_EQ(shown, ShownNumber(cell.Value)) << text.Lines[std::size_t(cell.Line)];
    } else {
      // A value the choices do not offer (the fresh minifying filter) shows its own name.
      const auto at = std::find(choices.begin(), choices.end(), GLenum(cell.Value));
      const std::size_t index = std::size_t(at - choices.begin());
      EXPECT_EQ(shown, index < cell.Rule->ChoiceNames.size() ? cell.Rule->ChoiceNames[index]
                                                             : EnumText(GLenum(cell.Value)));
    }
    EXPECT_EQ(text.CellAt(cell.Line, cell.Column + cell.Length - 1), &cell);
  }
  EXPECT_EQ(text.CellAt(0, 0), nullptr);
  // Light 3's diffuse green is a cell of light 3; its alpha is none.
  const std::size_t line = std::size_t(std::count(all.begin(), all.begin() + long(light3), '\n'));
  int colours = 0;
  for (const TGLCallsCell& cell : text.Cells)
    if (std::size_t(cell.Line) == line) {
      EXPECT_EQ(cell.Light, 3);
      EXPECT_EQ(cell.Rule->Edit, TEdit::LightDiffuse);
      EXPECT_EQ(cell.Component, colours++);
    }
  EXPECT_EQ(colours, 3);

  // Given before gluLookAt, the lights come between the model-view's identity and gluLookAt.
  r.Calls.LightsBeforeLookAt = true;
  const std::string before = FormatCalls(r).Joined();
  const std::size_t identity = before.find("glMatrixMode(GL_MODELVIEW);\nglLoadIdentity();");
  const std::size_t riding = Find(before, "positions before gluLookAt: they ride with the eye");
  EXPECT_LT(identity, riding);
  EXPECT_LT(riding, before.find("gluLookAt(15"));
  EXPECT_LT(before.find("/* Light7 */"), before.find("gluLookAt(15"));

  // A side view: its eye follows the User view's, its field of view is not the bar's.
  r.Calls.ViewName = "Front";
  for (const TGLCallsCell& cell : FormatCalls(r).Cells)
    EXPECT_TRUE(cell.Rule->Edit != TEdit::Fov && cell.Rule->Edit != TEdit::Eye &&
                cell.Rule->Edit != TEdit::Center);
  // The other projections name their calls and their six or four numbers.
  r.Calls.Projection = 1;
  const double box[6] = {-20, 20, -15.5, 15.5, 0.5, 43.5};
  std::copy_n(box, 6, r.Calls.ProjectionArgs);
  Find(FormatCalls(r).Joined(), "\nglOrtho(-20, 20, -15.5, 15.5, 0.5, 43.5);\n");
  r.Calls.Projection = 2;
  Find(FormatCalls(r).Joined(), "\nglFrustum(-20, 20, -15.5, 15.5, 0.5, 43.5);\n");
  r.Calls.Projection = 0;
  Find(FormatCalls(r).Joined(), "\ngluOrtho2D(-20, 20, -15.5, 15.5);\n");
}

TEST(GLCallsTextTest, CFileSetsEveryRowInAnOrderAFreshContextTakesAndAlwaysCompiles) {
  TGLCallsRecord r = StartUp();
  r.Set(FindRow(GL_COLOR_MATERIAL), {1});
  r.Set(FindRow(GL_POSITION, 1), {0.125, -2.5, 3, 1});
  const std::string c = WriteC(r);
  Find(c, "#include <GL/gl.h>\n#include <GL/glu.h>\n");
  Find(c, "Not included: the textures' pixels");
  Find(c, "the objects' geometry");
  const std::size_t body = Find(c, "\nvoid opgl_apply_state(void) {\n");
  Find(c, "  glLightfv(GL_LIGHT3, GL_DIFFUSE, (const GLfloat[]){0.25f, 0.5f, 0.33333334f, 0.5f});");
  Find(c, "  glShadeModel(GL_FLAT);");
  Find(c, "  /* gluPerspective(52, 1.30348, 3.45208, 43.4521) made: */");
  // Positions are given as OpenGL holds them, with the identity loaded, before the view's
  // matrix; the colour material is switched on after the materials and the colour it copies.
  const std::size_t identity = Find(c, "  glMatrixMode(GL_MODELVIEW);\n  glLoadIdentity();\n");
  const std::size_t position =
      Find(c, "glLightfv(GL_LIGHT1, GL_POSITION, (const GLfloat[]){0.125f, -2.5f, 3.0f, 1.0f});");
  const std::size_t view = c.find("glLoadMatrixf", identity);
  const std::size_t lighting = Find(c, "glDisable(GL_LIGHTING);");
  const std::size_t materials = Find(c, "glMaterialfv(GL_BACK, GL_EMISSION");
  const std::size_t colour = Find(c, "glColor4f(1.0f, 1.0f, 1.0f, 1.0f);");
  const std::size_t colourMaterial = Find(c, "glEnable(GL_COLOR_MATERIAL);");
  EXPECT_LT(body, identity);
  EXPECT_LT(identity, position);
  EXPECT_LT(position, view);
  EXPECT_LT(view, lighting);
  EXPECT_LT(materials, colour);
  EXPECT_LT(colour, colourMaterial);
  EXPECT_LT(Find(c, "glBindTexture(GL_TEXTURE_2D, 0);"),
            Find(c, "glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER"));

  // Values OpenGL should never hold still give a file that compiles without a warning.
  r.Set(FindRow(GL_FOG_END), {std::numeric_limits<double>::infinity()});
  r.Set(FindRow(GL_FOG_DENSITY), {std::numeric_limits<double>::quiet_NaN()});
  r.Set(FindRow(GL_TEXTURE_MIN_FILTER), {0x7777});
  r.LightCount = 3;
  const std::string odd = WriteC(r);
  EXPECT_EQ(odd.find("GL_LIGHT3"), std::string::npos);
  QTemporaryDir dir;
  for (const auto& [name, text] : {std::pair{"start.c", c}, std::pair{"odd.c", odd}}) {
    const QString file = dir.filePath(QString::fromLatin1(name));
    WriteAll(file, QByteArray::fromStdString(text));
    QProcess cc;
    cc.setWorkingDirectory(dir.path());
    cc.start(QStringLiteral(OPGL_CC), {"-std=c99", "-Wall", "-Wextra", "-Werror", "-c", file, "-o",
                                       dir.filePath(QStringLiteral("out.o"))});
    ASSERT_TRUE(cc.waitForFinished(60000));
    EXPECT_EQ(cc.exitCode(), 0) << name << ": " << cc.readAllStandardError().toStdString();
  }
}
