#pragma once
// The rendering surface: OpenGL draws into a framebuffer object of the surface's own context,
// and each finished frame is read back and painted like any other widget. A QOpenGLWidget
// would have the whole window composed through OpenGL every frame (its picture and the
// panel's as two full-window textures), which on a software renderer costs more than the
// scene itself; read back, the frame costs one copy and the window stays a plain one.
// Offers the calls of QOpenGLWidget the program uses, with their meaning.
#include <QImage>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QWidget>
#include <functional>
#include <memory>

class QOffscreenSurface;
class QOpenGLFramebufferObject;

class TGLSurface : public QWidget {
  Q_OBJECT
 public:
  explicit TGLSurface(QWidget* Parent = nullptr);
  ~TGLSurface() override;

  std::function<void()> OnInitialize;
  std::function<void()> OnPaint;
  std::function<void(QMouseEvent*)> OnMouseDown, OnMouseMove, OnMouseUp;
  // True while the frame is being drawn (the context is current, the framebuffer bound).
  bool Painting() const { return FPainting; }

  // The format asked for; fixed once the surface has been shown.
  void setFormat(const QSurfaceFormat& Format);
  // The context's format once it exists, else the one asked for.
  QSurfaceFormat format() const;
  // Null until the surface has been shown.
  QOpenGLContext* context() const { return FContext.get(); }
  // Makes the context current with the surface's framebuffer bound (nothing before the
  // first show).
  void makeCurrent();
  void doneCurrent();
  // Draws a frame (unless one is being drawn) and returns it, at device pixels.
  QImage grabFramebuffer();
  // The framebuffer the frame is drawn into, 0 before the first show.
  unsigned defaultFramebufferObject() const;
  // Whether frames are read top row first where the driver can (GL_MESA_pack_invert); off, they
  // are read bottom first and mirrored, as on drivers without it. On by default.
  static void SetTopFirstReads(bool On);

 protected:
  void showEvent(QShowEvent* Event) override;
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

 private:
  bool Initialize();
  // Binds a framebuffer of the surface's size in device pixels, made anew when that changed.
  bool BindFramebuffer();
  // One frame drawn, then read back into FFrame.
  void Render();

  QSurfaceFormat FRequested;
  std::unique_ptr<QOpenGLContext> FContext;
  std::unique_ptr<QOffscreenSurface> FOffscreen;
  std::unique_ptr<QOpenGLFramebufferObject> FFramebuffer;
  QImage FFrame;  // the last frame, top row first
  bool FPainting = false;
  bool FFailed = false;
  bool FInvertedReads = false;  // the driver reads rows top first (GL_MESA_pack_invert)
};
