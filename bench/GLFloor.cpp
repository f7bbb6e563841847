// The floor of this stack: a Qt window with a legacy GL surface laid out like the main window's
// (a 313-pixel panel on the left, the surface, a 24-pixel status line), filling the screen and
// repainted every 33 ms. Its peak resident memory is what any program of this kind pays.
#include <GL/gl.h>

#include <QApplication>
#include <QGridLayout>
#include <QOpenGLWidget>
#include <QScreen>
#include <QSurfaceFormat>
#include <QTimer>
#include <QWidget>

namespace {
class TSurface : public QOpenGLWidget {
 protected:
  void paintGL() override {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_TRIANGLES);
    glVertex3f(-1, -1, 0);
    glVertex3f(1, -1, 0);
    glVertex3f(0, 1, 0);
    glEnd();
  }
};
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  auto* layout = new QGridLayout(&window);
  auto* panel = new QWidget;
  panel->setFixedWidth(313);
  auto* surface = new TSurface;
  QSurfaceFormat format;
  format.setVersion(2, 1);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setDepthBufferSize(32);
  format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  surface->setFormat(format);
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
