#include "GLSurface.h"

#include <GL/gl.h>

#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLFramebufferObject>
#include <QPainter>
#include <cmath>
#include <cstring>

#ifndef GL_PACK_INVERT_MESA
#define GL_PACK_INVERT_MESA 0x8758
#endif

namespace {
bool TopFirstReads = true;
}  // namespace

void TGLSurface::SetTopFirstReads(bool On) {
  TopFirstReads = On;
}

TGLSurface::TGLSurface(QWidget* Parent) : QWidget(Parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  // Every pixel comes from the frame: nothing to clear first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
}

TGLSurface::~TGLSurface() {
  if (!FContext) return;
  // The framebuffer goes while its context is current; the context's users hear of its end
  // (aboutToBeDestroyed) as they would from a QOpenGLWidget.
  makeCurrent();
  FFramebuffer.reset();
  doneCurrent();
  FContext.reset();
  FOffscreen.reset();
}

void TGLSurface::setFormat(const QSurfaceFormat& Format) {
  if (!FContext) FRequested = Format;
}

QSurfaceFormat TGLSurface::format() const {
  return FContext ? FContext->format() : FRequested;
}

bool TGLSurface::Initialize() {
  if (FContext) return true;
  if (FFailed) return false;
  auto context = std::make_unique<QOpenGLContext>();
  context->setFormat(FRequested);
  context->setScreen(screen());
  auto offscreen = std::make_unique<QOffscreenSurface>(screen());
  if (!context->create()) {
    FFailed = true;
    return false;
  }
  offscreen->setFormat(context->format());
  offscreen->create();
  if (!offscreen->isValid() || !context->makeCurrent(offscreen.get())) {
    FFailed = true;
    return false;
  }
  FContext = std::move(context);
  FOffscreen = std::move(offscreen);
  FInvertedReads = FContext->hasExtension(QByteArrayLiteral("GL_MESA_pack_invert"));
  if (!BindFramebuffer()) {
    FFailed = true;
    FContext.reset();
    FOffscreen.reset();
    return false;
  }
  if (OnInitialize) OnInitialize();
  return true;
}

bool TGLSurface::BindFramebuffer() {
  const qreal ratio = devicePixelRatioF();
  const QSize size(std::max(1, static_cast<int>(std::lround(width() * ratio))),
                   std::max(1, static_cast<int>(std::lround(height() * ratio))));
  if (!FFramebuffer || FFramebuffer->size() != size) {
    FFramebuffer.reset();
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
    format.setSamples(FRequested.samples() > 0 ? FRequested.samples() : 0);
    format.setInternalTextureFormat(GL_RGBA8);
    FFramebuffer = std::make_unique<QOpenGLFramebufferObject>(size, format);
    if (!FFramebuffer->isValid()) {
      FFramebuffer.reset();
      return false;
    }
  }
  return FFramebuffer->bind();
}

void TGLSurface::makeCurrent() {
  if (!FContext) return;
  FContext->makeCurrent(FOffscreen.get());
  BindFramebuffer();
}

void TGLSurface::doneCurrent() {
  if (FContext) FContext->doneCurrent();
}

unsigned TGLSurface::defaultFramebufferObject() const {
  return FFramebuffer ? FFramebuffer->handle() : 0;
}

void TGLSurface::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  Initialize();
}

void TGLSurface::Render() {
  if (!Initialize()) return;
  makeCurrent();
  if (!FFramebuffer) return;
  const QSize size = FFramebuffer->size();
  glViewport(0, 0, size.width(), size.height());
  {
    FPainting = true;
    struct TDone {
      bool& Flag;
      ~TDone() { Flag = false; }
    } done{FPainting};
    if (OnPaint) OnPaint();
  }
  if (FFrame.size() != size || FFrame.format() != QImage::Format_RGB32)
    FFrame = QImage(size, QImage::Format_RGB32);
  if (FFrame.isNull()) return;
  // Little-endian BGRA is Format_RGB32's byte order: a plain copy out of the driver.
  GLint pack = 4, row = 0;
  glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
  glGetIntegerv(GL_PACK_ROW_LENGTH, &row);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  const bool inverted = FInvertedReads && TopFirstReads;
  if (inverted) glPixelStorei(GL_PACK_INVERT_MESA, GL_TRUE);
  glReadPixels(0, 0, size.width(), size.height(), GL_BGRA, GL_UNSIGNED_BYTE, FFrame.bits());
  if (inverted)
    glPixelStorei(GL_PACK_INVERT_MESA, GL_FALSE);
  else
    FFrame.mirror(false, true);
  glPixelStorei(GL_PACK_ALIGNMENT, pack);
  glPixelStorei(GL_PACK_ROW_LENGTH, row);
  FFrame.setDevicePixelRatio(devicePixelRatioF());
}

QImage TGLSurface::grabFramebuffer() {
  QImage frame;
  if (FPainting) {
    // Asked from inside the frame: what the framebuffer holds so far.
    frame = QImage(FFramebuffer->size(), QImage::Format_RGB32);
    glReadPixels(0, 0, frame.width(), frame.height(), GL_BGRA, GL_UNSIGNED_BYTE, frame.bits());
    frame.mirror(false, true);
  } else {
    Render();
    if (!FContext || FFrame.isNull()) return {};
    frame = FFrame.copy();
  }
  // Opaque, as a QOpenGLWidget gives it: the framebuffer's alpha is not part of the picture.
  const int width = frame.width(), height = frame.height();
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(frame.scanLine(y));
    for (int x = 0; x < width; ++x) row[x] |= 0xFF000000u;
  }
  frame.setDevicePixelRatio(devicePixelRatioF());
  return frame;
}

void TGLSurface::paintEvent(QPaintEvent*) {
  Render();
  QPainter painter(this);
  if (FFrame.isNull())
    painter.fillRect(rect(), Qt::black);
  else
    painter.drawImage(QPointF(0, 0), FFrame);
}

void TGLSurface::mousePressEvent(QMouseEvent* Event) {
  if (OnMouseDown) OnMouseDown(Event);
}

void TGLSurface::mouseMoveEvent(QMouseEvent* Event) {
  if (OnMouseMove) OnMouseMove(Event);
}

void TGLSurface::mouseReleaseEvent(QMouseEvent* Event) {
  if (OnMouseUp) OnMouseUp(Event);
}
