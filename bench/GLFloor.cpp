// The floor of this stack: a Qt window with a legacy GL surface laid out like the main window's
// (a 313-pixel panel on the left, the surface, a 24-pixel status line), filling the screen and
// redrawing a cleared screen every 33 ms. Its peak resident memory and processor time are what
// any program of this kind pays. The surface is a QOpenGLWidget, or with --surface the program's
// own (drawn into a framebuffer, read back and painted).
#include <GL/gl.h>

#include <QApplication>
#include <QGridLayout>
#include <QOpenGLWidget>
#include <QScreen>
#include <QSurfaceFormat>
#include <QTimer>
#include <QWidget>
#include <cstring>

#include "GLSurface.h"

namespace {
void Draw() {
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glBegin(GL_TRIANGLES);
  glVertex3f(-1, -1, 0);
  glVertex3f(1, -1, 0);
  glVertex3f(0, 1, 0);
  glEnd();
}

class TWidgetSurface : public QOpenGLWidget {
 protected:
  void paintGL() override { Draw(); }
};
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool own = argc > 1 && std::strcmp(argv[1], "--surface") == 0;
  QWidget window;
  auto* layout = new QGridLayout(&window);
  auto* panel = new QWidget;
  panel->setFixedWidth(313);
  QSurfaceFormat format;
  format.setVersion(2, 1);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setDepthBufferSize(32);
  format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  QWidget* surface = nullptr;
  if (own) {
    auto* glSurface = new TGLSurface;
    glSurface->setFormat(format);
    glSurface->OnPaint = Draw;
    surface = glSurface;
  } else {
    auto* widget = new TWidgetSurface;
    widget->setFormat(format);
    surface = widget;
  }
  auto* status = new QWidget;
  status->setFixedHeight(24);
  layout->addWidget(panel, 0, 0);
  layout->addWidget(surface, 0, 1);
  layout->addWidget(status, 1, 0, 1, 2);
  window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
  window.show();
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, surface, [surface] { surface->repaint(); });
  timer.start(33);
  return QApplication::exec();
}
