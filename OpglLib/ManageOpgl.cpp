#include "ManageOpgl.h"

#include <GL/gl.h>

#include <QByteArray>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QPainter>
#include <QScreen>
#include <QSurfaceFormat>
#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

#include "IniFile.h"

TGLManager* GLManager = nullptr;

namespace {
const TManagedTraits GLManagerTraits{"ManageOpgl", "mGLManager", true,  true,
                                     false,        false,        false, false};

const QString AxisLengthKey = QStringLiteral("FAxisLength");
const QString FontColorKey = QStringLiteral("FFontColor");

constexpr int FirstGlyph = 32;
constexpr int GlyphCount = 96;
constexpr GLbitfield TextAttribMask = 0x0B71;

constexpr TGLColor4f DefaultFontColor{0.8f, 0.8f, 0.0f, 1.0f};
constexpr float DefaultAxisLength = 20.0f;

QString GLString(GLenum Name) {
  const GLubyte* text = glGetString(Name);
  return text ? QString::fromLatin1(reinterpret_cast<const char*>(text)) : QString();
}

QSize DesktopSize() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->size();
  return QSize(640, 480);
}

// One glyph as a bottom-row-first 1-bit bitmap, as glBitmap takes it.
struct TGlyphBitmap {
  int Width = 0, Height = 0;
  float OriginX = 0, OriginY = 0, Advance = 0;
  std::vector<GLubyte> Bits;
};

TGlyphBitmap RenderGlyph(const QFont& Font, const QFontMetrics& Metrics, QChar Char) {
  TGlyphBitmap glyph;
  const int advance = Metrics.horizontalAdvance(Char);
  const QRect bounds = Metrics.boundingRect(Char);
  // Room for glyphs that overhang their advance on either side.
  const int left = std::min(0, bounds.left());
  const int right = std::max(advance, bounds.right() + 1);
  glyph.Width = std::max(1, right - left);
  glyph.Height = std::max(1, Metrics.ascent() + Metrics.descent());
  glyph.OriginX = static_cast<float>(-left);
  glyph.OriginY = static_cast<float>(Metrics.descent());
  glyph.Advance = static_cast<float>(advance);

  QImage image(glyph.Width, glyph.Height, QImage::Format_Grayscale8);
  image.fill(0);
  if (Char.isPrint()) {
    QPainter painter(&image);
    painter.setFont(Font);
    painter.setPen(Qt::white);
    painter.drawText(QPoint(-left, Metrics.ascent()), QString(Char));
  }
  const int stride = (glyph.Width + 7) / 8;
  glyph.Bits.assign(static_cast<std::size_t>(stride) * glyph.Height, 0);
  for (int row = 0; row < glyph.Height; ++row) {
    const uchar* line = image.constScanLine(glyph.Height - 1 - row);
    GLubyte* out = glyph.Bits.data() + static_cast<std::size_t>(row) * stride;
    for (int x = 0; x < glyph.Width; ++x)
      if (line[x] >= 128) out[x / 8] |= static_cast<GLubyte>(0x80 >> (x % 8));
  }
  return glyph;
}
}  // namespace

const TManagedTraits& TGLManager::Traits() const {
  return GLManagerTraits;
}

void TGLManager::InitMembers() {
  FRenderContext = TGLRenderContext{};
  FFontListBase = 0;
  FFontContext = nullptr;
  FCanvasColor = 0;
  FBlend = false;
  FMaxModelviewStack = 0;
  FMaxTextureStack = 0;
  FMaxProjectionStack = 0;
  FMaxColorStack = 0;
}

void TGLManager::InitIdentity() {
  TManagedObject::InitIdentity();
  FAxisLength = DefaultAxisLength;
  FShowXZPlane = true;
  FFontColor = DefaultFontColor;
}

void TGLManager::FreeMembers() {
  ReleaseRenderContext(FRenderContext);
  // Lists of a context still alive and current go now; otherwise they went with it.
  DeleteFont();
}

void TGLManager::ReadOwnSettings(TIniFile& Ini) {
  const double length = Ini.ReadFloat(ClassName(), AxisLengthKey, FAxisLength);
  // A hand-edited value that is not a usable length keeps the default.
  if (std::isfinite(length) && std::abs(length) < 1e30) FAxisLength = static_cast<float>(length);
  TGLColor4f color = FFontColor;
  if (ReadRecord(Ini, ClassName(), FontColorKey, &color, sizeof(color)) && std::isfinite(color.R) &&
      std::isfinite(color.G) && std::isfinite(color.B) && std::isfinite(color.A))
    FFontColor = color;
}

void TGLManager::WriteOwnSettings(TIniFile& Ini) {
  Ini.WriteFloat(ClassName(), AxisLengthKey, FAxisLength);
  WriteRecord(Ini, ClassName(), FontColorKey, &FFontColor, sizeof(FFontColor));
}

QSurfaceFormat TGLManager::PixelFormat() {
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setVersion(2, 1);
  format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  format.setRedBufferSize(8);
  format.setGreenBufferSize(8);
  format.setBlueBufferSize(8);
  format.setAlphaBufferSize(0);
  format.setDepthBufferSize(32);
  format.setStencilBufferSize(0);
  return format;
}

void TGLManager::SetupPixelFormat(QOpenGLWidget* Window) {
  if (Window) Window->setFormat(PixelFormat());
}

bool TGLManager::CreateRenderContext(QOpenGLWidget* Window, TGLRenderContext& Ctx) {
  if (!Window) return false;
  // The widget's context exists once it has been shown.
  return CreateRenderContext(
      Window, Window->context(), [Window] { Window->makeCurrent(); }, Ctx);
}

bool TGLManager::CreateRenderContext(QWidget* Window, QOpenGLContext* Context,
                                     const std::function<void()>& MakeCurrent,
                                     TGLRenderContext& Ctx) {
  if (!Window) return false;
  ReleaseRenderContext(Ctx);
  Ctx.Window = Window;
  try {
    // The context's surface is the DC.
    if (!Context || !Context->isValid()) return false;
    Ctx.RC = Context;
    MakeCurrent();
    Ctx.DC = Context->surface();
    if (QOpenGLContext::currentContext() != Context) return false;
    BuildFont(Ctx.DC);
    if (FFontListBase == 0) return false;
    InitGLState();
    ReadStackDepths();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TGLManager::ReleaseRenderContext(TGLRenderContext& Ctx) {
  // The font lists live in one context: delete them, while it is current, only when that is
  // the context let go of here. Another record's release must not take the font from it.
  if (Ctx.RC && FFontContext == Ctx.RC) {
    if (auto* widget = qobject_cast<QOpenGLWidget*>(Ctx.Window))
      widget->makeCurrent();
    else if (Ctx.DC)
      Ctx.RC->makeCurrent(Ctx.DC);
    DeleteFont();
  }
  // The widget owns its context and surface; the record only lets go of them.
  Ctx.DC = nullptr;
  Ctx.RC = nullptr;
  Ctx.Palette = 0;
}

int TGLManager::RealizeGLPalette(QSurface* DC, TGLPalette Palette) {
  // True-colour visuals have no palette to realize.
  Q_UNUSED(DC);
  Q_UNUSED(Palette);
  return 0;
}

void TGLManager::UpdateGLPalette(QSurface* DC, TGLPalette Palette) {
  Q_UNUSED(DC);
  Q_UNUSED(Palette);
}

QString TGLManager::GetGLVendor() const {
  return GLString(GL_VENDOR);
}

QString TGLManager::GetGLRenderer() const {
  return GLString(GL_RENDERER);
}

QString TGLManager::GetGLVersion() const {
  return GLString(GL_VERSION);
}

QString TGLManager::GetGLExtensions() const {
  return GLString(GL_EXTENSIONS);
}

void TGLManager::ReadStackDepths() {
  GLint depth = 0;
  glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &depth);
  FMaxModelviewStack = depth;
  depth = 0;
  glGetIntegerv(GL_MAX_PROJECTION_STACK_DEPTH, &depth);
  FMaxProjectionStack = depth;
  depth = 0;
  glGetIntegerv(GL_MAX_TEXTURE_STACK_DEPTH, &depth);
  FMaxTextureStack = depth;
  FMaxColorStack = 0;
}

void TGLManager::InitGLState() {
  glShadeModel(GL_SMOOTH);
  SetCanvasColor(FCanvasColor);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glEnable(GL_COLOR_MATERIAL);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 120.0f);
}

void TGLManager::SetCanvasColor(TColor Color) {
  FCanvasColor = Color;
  glClearColor(static_cast<GLclampf>((Color & 0xFF) / 255.0),
               static_cast<GLclampf>(((Color >> 8) & 0xFF) / 255.0),
               static_cast<GLclampf>(((Color >> 16) & 0xFF) / 255.0), 0.5f);
}

void TGLManager::ClearBuffers() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void TGLManager::SetBlend(bool Value) {
  FBlend = Value;
  if (Value) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
  } else {
    glDisable(GL_BLEND);
  }
}

void TGLManager::SetLineWidth(int Size) {
  glLineWidth(static_cast<GLfloat>(Size > 0 ? Size : 1));
}

void TGLManager::SetPointSize(int Size) {
  glPointSize(static_cast<GLfloat>(Size > 0 ? Size : 1));
}

void TGLManager::DrawWorldAxis() {
  DrawAxis(FAxisLength);
}

void TGLManager::DrawAxis(float Length) {
  const bool colorMaterial = glIsEnabled(GL_COLOR_MATERIAL);
  glDisable(GL_COLOR_MATERIAL);
  glMaterialfv(GL_FRONT, GL_AMBIENT, &clGLBlack.R);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, &clGLBlack.R);
  glMaterialfv(GL_FRONT, GL_SPECULAR, &clGLBlack.R);
  glMaterialf(GL_FRONT, GL_SHININESS, ShininessHigh);

  const float s = Length / 5;
  glPushMatrix();

  glEnable(GL_LINE_STIPPLE);
  glLineStipple(3, 0xAAAA);
  GLint lineWidth = 1;
  glGetIntegerv(GL_LINE_WIDTH, &lineWidth);
  glLineWidth(2);

  glBegin(GL_LINES);
  glMaterialfv(GL_FRONT, GL_EMISSION, &clGLRed.R);
  glVertex3f(0, 0, 0);
  glVertex3f(Length, 0, 0);
  glMaterialfv(GL_FRONT, GL_EMISSION, &clGLGreen.R);
  glVertex3f(0, 0, 0);
  glVertex3f(0, Length, 0);
  glMaterialfv(GL_FRONT, GL_EMISSION, &clGLBlue.R);
  glVertex3f(0, 0, 0);
  glVertex3f(0, 0, Length);
  glEnd();

  if (FShowXZPlane) {
    GLint polygonMode[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    const bool blend = glIsEnabled(GL_BLEND);
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_LINE);
    glBlendFunc(GL_SRC_ALPHA, GL_SRC_ALPHA);
    glEnable(GL_BLEND);

    const auto corner = [](const TGLColor4f& Color, float X, float Y, float Z) {
      glMaterialfv(GL_FRONT, GL_EMISSION, &Color.R);
      glVertex3f(X, Y, Z);
    };
    glBegin(GL_QUADS);
    glNormal3f(0, 1, 0);  // XZ
    corner(clGLRed, s, 0, 0);
    corner(clGLRed, 0, 0, 0);
    corner(clGLBlue, 0, 0, s);
    corner(clGLBlue, s, 0, s);
    glNormal3f(0, 0, 1);  // XY
    corner(clGLRed, s, 0, 0);
    corner(clGLRed, s, s, 0);
    corner(clGLGreen, 0, s, 0);
    corner(clGLGreen, 0, 0, 0);
    glNormal3f(1, 0, 0);  // YZ
    corner(clGLGreen, 0, s, 0);
    corner(clGLGreen, 0, s, s);
    corner(clGLBlue, 0, 0, s);
    corner(clGLBlue, 0, 0, 0);
    glEnd();

    if (!blend) glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, static_cast<GLenum>(polygonMode[0]));
  }

  glLineWidth(static_cast<GLfloat>(lineWidth));
  glDisable(GL_LINE_STIPPLE);

  glPopMatrix();
  if (colorMaterial) glEnable(GL_COLOR_MATERIAL);
}

void TGLManager::DrawText2D(int X, int Y, const QString& Text) {
  // One list per character; only 32..127 have lists, anything else would call someone
  // else's list, so it is left out.
  QByteArray bytes = Text.toLatin1();
  bytes.removeIf([](char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < FirstGlyph || code >= FirstGlyph + GlyphCount;
  });

  glPushAttrib(TextAttribMask);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);

  const QSize desktop = DesktopSize();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, desktop.width(), 0, desktop.height(), -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();

  // The colour counts when lighting is off; the materials below win when it is on.
  glColor4fv(&FFontColor.R);
  glMaterialfv(GL_FRONT, GL_AMBIENT, &FFontColor.R);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, &clGLBlack.R);
  glMaterialfv(GL_FRONT, GL_SPECULAR, &clGLBlack.R);
  glMaterialf(GL_FRONT, GL_SHININESS, clGLWhite.R);
  glMaterialfv(GL_FRONT, GL_EMISSION, &FFontColor.R);

  glRasterPos2i(X, Y);
  if (FFontListBase != 0 && !bytes.isEmpty()) {
    glPushAttrib(GL_LIST_BIT);
    glListBase(FFontListBase - FirstGlyph);
    glCallLists(static_cast<GLsizei>(bytes.size()), GL_UNSIGNED_BYTE, bytes.constData());
    glPopAttrib();
  }

  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glEnable(GL_TEXTURE_2D);
  glPopAttrib();
}

TColor TGLManager::GetFontColor() const {
  return GLColorToColor(FFontColor);
}

void TGLManager::SetFontColor(TColor Color) {
  FFontColor = ColorToGLColor(Color);
}

void TGLManager::BuildFont(QSurface* DC) {
  Q_UNUSED(DC);
  DeleteFont();
  FFontListBase = glGenLists(GlyphCount);
  if (FFontListBase == 0) return;
  FFontContext = QOpenGLContext::currentContext();

  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(16);
  font.setWeight(QFont::Bold);
  // glBitmap draws one bit per pixel: render the glyphs crisp rather than smoothed.
  font.setStyleStrategy(QFont::NoAntialias);
  const QFontMetrics metrics(font);

  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
  for (int i = 0; i < GlyphCount; ++i) {
    const TGlyphBitmap glyph = RenderGlyph(font, metrics, QChar(FirstGlyph + i));
    glNewList(FFontListBase + i, GL_COMPILE);
    glBitmap(glyph.Width, glyph.Height, glyph.OriginX, glyph.OriginY, glyph.Advance, 0,
             glyph.Bits.data());
    glEndList();
  }
  glPopClientAttrib();
}

void TGLManager::DeleteFont() {
  // Lists of a context that is not current cannot be reached; they go with that context.
  if (FFontListBase != 0 && FFontContext && QOpenGLContext::currentContext() == FFontContext)
    glDeleteLists(FFontListBase, GlyphCount);
  FFontListBase = 0;
  FFontContext = nullptr;
}
