// The render-state manager in a real GL context: context creation, initial state, blending,
// widths, world axes, 2-D text, font colour and its settings.
#include <GL/gl.h>

#include <QFile>
#include <QGuiApplication>
#include <QOpenGLWidget>
#include <QScreen>
#include <QTemporaryDir>

#include "AppPaths.h"
#include "FileOP.h"
#include "GLFixture.h"
#include "ManageOpgl.h"
#include "OpglCamera.h"

namespace {

class ManageOpglTest : public GLFixture {};

GLint Integer(GLenum Name) {
  GLint value = -1;
  glGetIntegerv(Name, &value);
  return value;
}

float Float(GLenum Name) {
  GLfloat value = -1;
  glGetFloatv(Name, &value);
  return value;
}

TGLColor4f Color(GLenum Name) {
  TGLColor4f value{-1, -1, -1, -1};
  glGetFloatv(Name, &value.R);
  return value;
}

void ExpectColor(const TGLColor4f& Actual, float R, float G, float B, float A) {
  EXPECT_NEAR(Actual.R, R, 1e-6);
  EXPECT_NEAR(Actual.G, G, 1e-6);
  EXPECT_NEAR(Actual.B, B, 1e-6);
  EXPECT_NEAR(Actual.A, A, 1e-6);
}

// Pixels of Image inside Box that are close to (R, G, B).
int CountNear(const QImage& Image, const QRect& Box, int R, int G, int B, int Tolerance = 24) {
  int count = 0;
  for (int y = Box.top(); y <= Box.bottom(); ++y)
    for (int x = Box.left(); x <= Box.right(); ++x) {
      const QColor c = Image.pixelColor(x, y);
      if (std::abs(c.red() - R) <= Tolerance && std::abs(c.green() - G) <= Tolerance &&
          std::abs(c.blue() - B) <= Tolerance)
        ++count;
    }
  return count;
}

// A viewport of the desktop's size, so 2-D text lands one unit per pixel.
void DesktopViewport() {
  const QSize desktop = QGuiApplication::primaryScreen()->size();
  glViewport(0, 0, desktop.width(), desktop.height());
}

}  // namespace

TEST_F(ManageOpglTest, ContextCreationAndInitialState) {
  // A null window fails and leaves the record as it was.
  TGLRenderContext untouched;
  untouched.Window = Widget();
  untouched.Palette = 7;
  EXPECT_FALSE(GLManager->CreateRenderContext(nullptr, untouched));
  EXPECT_EQ(untouched.Window, Widget());
  EXPECT_EQ(untouched.Palette, 7u);
  EXPECT_EQ(untouched.RC, nullptr);

  // A widget never shown has no context to take; the shown one keeps its font.
  QOpenGLWidget hidden;
  TGLRenderContext none;
  EXPECT_FALSE(GLManager->CreateRenderContext(&hidden, none));
  EXPECT_EQ(none.Window, &hidden);
  EXPECT_EQ(none.RC, nullptr);
  GLManager->ReleaseRenderContext(none);
  MakeCurrent();

  const TGLRenderContext& ctx = Context();
  EXPECT_EQ(ctx.Window, Widget());
  EXPECT_EQ(ctx.RC, Widget()->context());
  EXPECT_NE(ctx.DC, nullptr);
  EXPECT_EQ(ctx.Palette, 0u);
  EXPECT_EQ(GLManager->RealizeGLPalette(ctx.DC, ctx.Palette), 0);
  GLManager->UpdateGLPalette(ctx.DC, ctx.Palette);
  EXPECT_GE(Widget()->format().depthBufferSize(), 24);

  EXPECT_FALSE(GLManager->GetGLVendor().isEmpty());
  EXPECT_FALSE(GLManager->GetGLRenderer().isEmpty());
  EXPECT_FALSE(GLManager->GetGLVersion().isEmpty());
  EXPECT_TRUE(GLManager->GetGLExtensions().contains(QStringLiteral("GL_")));
  std::printf("GL vendor: %s\nGL renderer: %s\nGL version: %s\n",
              qPrintable(GLManager->GetGLVendor()), qPrintable(GLManager->GetGLRenderer()),
              qPrintable(GLManager->GetGLVersion()));

  // Stack depths: colour never queried.
  EXPECT_EQ(GLManager->FMaxModelviewStack, Integer(GL_MAX_MODELVIEW_STACK_DEPTH));
  EXPECT_EQ(GLManager->FMaxProjectionStack, Integer(GL_MAX_PROJECTION_STACK_DEPTH));
  EXPECT_EQ(GLManager->FMaxTextureStack, Integer(GL_MAX_TEXTURE_STACK_DEPTH));
  EXPECT_GE(GLManager->FMaxModelviewStack, 32);
  EXPECT_GE(GLManager->FMaxProjectionStack, 2);
  EXPECT_EQ(GLManager->FMaxColorStack, 0);

  // 96 consecutive glyph lists.
  const GLuint base = GLManager->FFontListBase;
  ASSERT_NE(base, 0u);
  for (GLuint i = 0; i < 96; ++i) EXPECT_TRUE(glIsList(base + i)) << i;

  EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_SMOOTH);
  EXPECT_FLOAT_EQ(Float(GL_DEPTH_CLEAR_VALUE), 1.0f);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_LEQUAL);
  EXPECT_EQ(Integer(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_EQ(Integer(GL_COLOR_MATERIAL_FACE), GL_FRONT_AND_BACK);
  EXPECT_EQ(Integer(GL_COLOR_MATERIAL_PARAMETER), GL_AMBIENT_AND_DIFFUSE);
  GLfloat shininess[2] = {0, 0};
  glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess[0]);
  glGetMaterialfv(GL_BACK, GL_SHININESS, &shininess[1]);
  EXPECT_FLOAT_EQ(shininess[0], 120.0f);
  EXPECT_FLOAT_EQ(shininess[1], 120.0f);
  ExpectColor(Color(GL_COLOR_CLEAR_VALUE), 0, 0, 0, 0.5f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ManageOpglTest, CanvasBlendAndSizes) {
  GLManager->SetCanvasColor(0x00FF8000);  // blue 255, green 128, red 0
  EXPECT_EQ(GLManager->FCanvasColor, 0x00FF8000);
  ExpectColor(Color(GL_COLOR_CLEAR_VALUE), 0, 128 / 255.0f, 1, 0.5f);
  glViewport(0, 0, Width, Height);
  GLManager->ClearBuffers();
  const QImage image = ReadPixels();
  EXPECT_EQ(image.pixelColor(Width / 2, Height / 2), QColor(0, 128, 255));
  GLManager->SetCanvasColor(0);

  GLManager->SetBlend(true);
  EXPECT_TRUE(GLManager->FBlend);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(Integer(GL_BLEND_SRC), GL_SRC_ALPHA);
  EXPECT_EQ(Integer(GL_BLEND_DST), GL_ONE);
  GLManager->SetBlend(false);
  EXPECT_FALSE(GLManager->FBlend);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));

  GLManager->SetLineWidth(3);
  EXPECT_FLOAT_EQ(Float(GL_LINE_WIDTH), 3);
  GLManager->SetLineWidth(0);
  EXPECT_FLOAT_EQ(Float(GL_LINE_WIDTH), 1);
  GLManager->SetLineWidth(3);
  GLManager->SetLineWidth(-5);
  EXPECT_FLOAT_EQ(Float(GL_LINE_WIDTH), 1);
  GLManager->SetPointSize(10);
  EXPECT_FLOAT_EQ(Float(GL_POINT_SIZE), 10);
  GLManager->SetPointSize(0);
  EXPECT_FLOAT_EQ(Float(GL_POINT_SIZE), 1);
}

TEST_F(ManageOpglTest, DrawAxisRestoresState) {
  for (const bool planes : {false, true})
    for (const bool colorMaterial : {false, true})
      for (const bool blend : {false, true}) {
        SCOPED_TRACE(testing::Message() << "planes " << planes << " colour material "
                                        << colorMaterial << " blend " << blend);
        GLManager->FShowXZPlane = planes;
        GLManager->SetBlend(false);
        if (blend) GLManager->SetBlend(true);
        colorMaterial ? glEnable(GL_COLOR_MATERIAL) : glDisable(GL_COLOR_MATERIAL);
        glLineWidth(3);
        glDisable(GL_LINE_STIPPLE);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        const GLint depth = Integer(GL_MODELVIEW_STACK_DEPTH);

        GLManager->DrawAxis(10);

        EXPECT_FLOAT_EQ(Float(GL_LINE_WIDTH), 3);
        EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
        EXPECT_EQ(static_cast<bool>(glIsEnabled(GL_COLOR_MATERIAL)), colorMaterial);
        EXPECT_EQ(static_cast<bool>(glIsEnabled(GL_BLEND)), blend);
        EXPECT_EQ(Integer(GL_MODELVIEW_STACK_DEPTH), depth);
        GLint mode[2] = {0, 0};
        glGetIntegerv(GL_POLYGON_MODE, mode);
        EXPECT_EQ(mode[0], GL_LINE);
        EXPECT_EQ(mode[1], GL_LINE);
        // The squares leave their blend function behind; without them SetBlend's stays.
        EXPECT_EQ(Integer(GL_BLEND_SRC), GL_SRC_ALPHA);
        EXPECT_EQ(Integer(GL_BLEND_DST), planes ? GL_SRC_ALPHA : (blend ? GL_ONE : GL_ONE));
        // The axes' material: black specular, shininess 120.
        TGLColor4f specular;
        glGetMaterialfv(GL_FRONT, GL_SPECULAR, &specular.R);
        ExpectColor(specular, 0, 0, 0, 0.5f);
        GLfloat shininess = 0;
        glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
        EXPECT_FLOAT_EQ(shininess, 120);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
      }
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glEnable(GL_COLOR_MATERIAL);
  GLManager->SetBlend(false);
  GLManager->FShowXZPlane = true;
}

TEST_F(ManageOpglTest, DrawText2DKeepsStacksAndSkipsForeignLists) {
  const GLenum stacks[] = {GL_MODELVIEW_STACK_DEPTH, GL_PROJECTION_STACK_DEPTH,
                           GL_TEXTURE_STACK_DEPTH, GL_ATTRIB_STACK_DEPTH};
  glMatrixMode(GL_MODELVIEW);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  glViewport(1, 2, 100, 50);
  // A list right after the font's, standing in for another object's display list.
  const GLuint foreign = glGenLists(1);
  glNewList(foreign, GL_COMPILE);
  glEnable(GL_FOG);
  glEndList();
  glDisable(GL_FOG);

  for (const QString& text :
       {QString(), QStringLiteral("Front"), QString(QChar(0xE9)) + QChar(0x01) + QChar(0x80)}) {
    GLint before[4], after[4];
    for (int i = 0; i < 4; ++i) before[i] = Integer(stacks[i]);
    GLManager->DrawText2D(20, 60, text);
    for (int i = 0; i < 4; ++i) after[i] = Integer(stacks[i]);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(after[i], before[i]) << i;
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 1);
    EXPECT_EQ(viewport[3], 50);
    glDisable(GL_TEXTURE_2D);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
  // Character foreign - base + 32 would have called it.
  ASSERT_GE(foreign, GLManager->FFontListBase + 96);
  ASSERT_LT(foreign, GLManager->FFontListBase + 224);
  GLManager->DrawText2D(
      20, 60, QString(QChar(static_cast<ushort>(foreign - GLManager->FFontListBase + 32))));
  EXPECT_FALSE(glIsEnabled(GL_FOG));
  glDeleteLists(foreign, 1);
  glDisable(GL_TEXTURE_2D);
}

TEST_F(ManageOpglTest, FontColour) {
  const TGLColor4f saved = GLManager->FFontColor;
  GLManager->SetFontColor(0x0000FF);
  ExpectColor(GLManager->FFontColor, 1, 0, 0, 0.5f);
  EXPECT_EQ(GLManager->GetFontColor(), 0x0000FF);
  GLManager->SetFontColor(0x7F102030);  // the top byte is no colour
  EXPECT_EQ(GLManager->GetFontColor(), 0x102030);
  GLManager->FFontColor = saved;
  EXPECT_EQ(GLManager->GetFontColor(), GLColorToColor({0.8f, 0.8f, 0, 1}));
}

// The axes in a perspective view and a line of bold text where the main window puts the view's
// name; OPGL_LOOK_DIR keeps the picture for a person to look at.
TEST_F(ManageOpglTest, AxesAndTextAppearOnScreen) {
  TGLView view;
  GLCamera->InitView(view, vkUser, GLPoint4f(15, 10, 15, 1), GLPoint4f(0, 0, 0, 1), 20);
  GLCamera->SetViewport(view, 0, 0, Width, Height);
  GLManager->SetCanvasColor(0);
  GLManager->ClearBuffers();
  glEnable(GL_LIGHTING);
  GLCamera->ApplyView(view);
  GLManager->FShowXZPlane = true;
  GLManager->DrawWorldAxis();
  DesktopViewport();
  GLManager->DrawText2D(20, 60, QStringLiteral("Perspective User"));
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  const QImage image = ReadPixels();
  const QByteArray lookDir = qgetenv("OPGL_LOOK_DIR");
  if (!lookDir.isEmpty()) image.save(QString::fromLocal8Bit(lookDir) + "/AxesAndText.png");

  // Text: yellow glyph pixels just above row 60 from the bottom, starting at column 20, about
  // 16 pixels high; nothing of it left of the start.
  const int base = Height - 1 - 60;
  const QRect textBox(20, base - 16, 150, 20);
  const int lit = CountNear(image, textBox, 245, 245, 0, 40);
  EXPECT_GT(lit, 200);
  EXPECT_EQ(CountNear(image, QRect(0, base - 16, 19, 20), 245, 245, 0, 40), 0);
  // Axes: pure emission red, green and blue somewhere in the view.
  const QRect all(0, 0, Width, Height);
  EXPECT_GT(CountNear(image, all, 255, 0, 0, 10), 20);
  EXPECT_GT(CountNear(image, all, 0, 255, 0, 10), 20);
  EXPECT_GT(CountNear(image, all, 0, 0, 255, 10), 20);
}

// Settings are read and written outside any GL context.
TEST(ManageOpglSettings, DefaultsWrittenAndValuesReadBack) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("Manager.ini"));
  AppPaths::SetSettingsFileName(file);
  TFileOpEX::Create();  // writes and reads the raw records

  TGLManager::Create();
  EXPECT_FLOAT_EQ(GLManager->FAxisLength, 20);
  EXPECT_TRUE(GLManager->FShowXZPlane);
  EXPECT_FALSE(GLManager->FBlend);
  EXPECT_EQ(GLManager->FCanvasColor, 0);
  EXPECT_EQ(GLManager->FFontListBase, 0u);
  ExpectColor(GLManager->FFontColor, 0.8f, 0.8f, 0, 1);
  TGLManager::FreeInstance();
  ASSERT_EQ(GLManager, nullptr);

  QFile written(file);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  const QString text = QString::fromLatin1(written.readAll());
  written.close();
  const qsizetype section = text.indexOf(QStringLiteral("[TGLManager]"));
  ASSERT_GE(section, 0);
  EXPECT_GT(text.indexOf(QStringLiteral("FAxisLength=20\n"), section), section) << qPrintable(text);
  EXPECT_GT(text.indexOf(QStringLiteral("FFontColor=CDCC4C3FCDCC4C3F000000000000803F\n"), section),
            section);

  // Values from the file: red font colour (1, 0, 0, 0.5), axis length 35.5.
  auto writeSection = [&](const QString& body) {
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(("[TGLManager]\n" + body).toLatin1());
  };
  writeSection(
      QStringLiteral("FAxisLength=35.5\n"
                     "FFontColor=0000803F"
                     "00000000"
                     "00000000"
                     "0000003F\n"));
  TGLManager::Create();
  EXPECT_FLOAT_EQ(GLManager->FAxisLength, 35.5f);
  ExpectColor(GLManager->FFontColor, 1, 0, 0, 0.5f);
  EXPECT_EQ(GLManager->GetFontColor(), 0x0000FF);
  TGLManager::FreeInstance();

  // A short colour record and a length that is no number leave the defaults.
  writeSection(QStringLiteral("FAxisLength=long\nFFontColor=0000803F\n"));
  TGLManager::Create();
  EXPECT_FLOAT_EQ(GLManager->FAxisLength, 20);
  ExpectColor(GLManager->FFontColor, 0.8f, 0.8f, 0, 1);
  TGLManager::FreeInstance();

  TFileOpEX::FreeInstance();
  AppPaths::SetSettingsFileName(QString());
}
