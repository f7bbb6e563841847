// The surface's frame reaches the screen pixel for pixel, in both layouts and at odd sizes,
// and it draws into the same buffers a QOpenGLWidget of the same format gets: colour, alpha,
// depth and stencil bits, the viewport, the framebuffer bound while the frame is drawn.
#include <GL/gl.h>

#include <QCheckBox>
#include <QOpenGLWidget>
#include <QScreen>
#include <QTest>

#include "ManageOpgl.h"
#include "WindowFixture.h"

namespace {

struct TBuffers {
  GLint Red = -1, Green = -1, Blue = -1, Alpha = -1, Depth = -1, Stencil = -1, Samples = -1;
  GLint Viewport[4] = {-1, -1, -1, -1};
};

TBuffers ReadBuffers() {
  TBuffers b;
  glGetIntegerv(GL_RED_BITS, &b.Red);
  glGetIntegerv(GL_GREEN_BITS, &b.Green);
  glGetIntegerv(GL_BLUE_BITS, &b.Blue);
  glGetIntegerv(GL_ALPHA_BITS, &b.Alpha);
  glGetIntegerv(GL_DEPTH_BITS, &b.Depth);
  glGetIntegerv(GL_STENCIL_BITS, &b.Stencil);
  glGetIntegerv(0x80A9 /* GL_SAMPLES */, &b.Samples);
  glGetIntegerv(GL_VIEWPORT, b.Viewport);
  return b;
}

class TWidgetProbe : public QOpenGLWidget {
 public:
  TBuffers Seen;
  GLint Bound = -1;
  unsigned Own = 0;

 protected:
  void paintGL() override {
    Seen = ReadBuffers();
    glGetIntegerv(0x8CA6 /* GL_FRAMEBUFFER_BINDING */, &Bound);
    Own = defaultFramebufferObject();
  }
};

}  // namespace

class GLSurfaceTest : public WindowFixture {
 protected:
  void TearDown() override {
    Form->ckbxSinglePort->setChecked(false);
    Form->pbGL->setMinimumSize(1, 1);
    Form->pbGL->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    ShowOnly({Form->ckbxShowCube, Form->ckbxShowLights, Form->ckbxRobot});
    WindowFixture::TearDown();
  }

  // What the X server holds where the surface is, after the frame has been painted.
  static QImage OnScreen() {
    Form->Repaint();
    QCoreApplication::processEvents();
    QTest::qWait(100);
    const QPoint at = Form->pbGL->mapToGlobal(QPoint(0, 0));
    return Form->screen()
        ->grabWindow(0, at.x(), at.y(), Form->pbGL->width(), Form->pbGL->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }
};

TEST_F(GLSurfaceTest, TheScreenShowsTheFramebufferPixelForPixel) {
  if (Form->pbGL->devicePixelRatioF() != 1) GTEST_SKIP() << "compared at one pixel a point";
  ShowOnly({Form->ckbxShowFrame, Form->ckbxShowBall, Form->ckbxShowCube, Form->ckbxShowWorldAxis,
            Form->ckbxShowXZplane, Form->ckbxShowVolume, Form->ckbxShowEyeLine,
            Form->ckbxShowLights, Form->ckbxShowPts, Form->ckbxHand, Form->ckbxRobot});
  const std::vector<float> saved = LightAngles;
  LightAngles = {10, 55, 100, 145, 190, 235, 280, 325};
  for (const QSize size : {QSize(), QSize(601, 437)})
    for (const bool single : {false, true}) {
      SCOPED_TRACE(testing::Message() << "size " << size.width() << " single " << single);
      if (size.isValid()) {
        Form->pbGL->setFixedSize(size);
        QTest::qWait(50);
      }
      Form->ckbxSinglePort->setChecked(single);
      Form->FAngle = 141;
      const QImage screen = OnScreen();
      // The same state draws the same frame again.
      const QImage frame = Form->pbGL->grabFramebuffer();
      ASSERT_EQ(frame.size(), screen.size());
      ASSERT_EQ(frame.format(), QImage::Format_RGB32);
      int differ = 0, lit = 0;
      for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
          differ += frame.pixel(x, y) != screen.pixel(x, y);
          lit += qGray(frame.pixel(x, y)) > 16;
          // Opaque, as the window shows it.
          ASSERT_EQ(qAlpha(reinterpret_cast<const QRgb*>(frame.constScanLine(y))[x]), 255);
        }
      EXPECT_EQ(differ, 0);
      EXPECT_GT(lit, frame.width() * frame.height() / 50) << "the scene is drawn";
    }
  LightAngles = saved;
}

TEST_F(GLSurfaceTest, SameBuffersAsAGLWidgetOfTheSameFormat) {
  TWidgetProbe widget;
  TGLManager::SetupPixelFormat(&widget);
  widget.resize(Form->pbGL->size());
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  widget.grabFramebuffer();
  ASSERT_GT(widget.Seen.Depth, 0);

  TBuffers seen;
  GLint bound = -1;
  auto paint = Form->pbGL->OnPaint;
  Form->pbGL->OnPaint = [&] {
    seen = ReadBuffers();
    glGetIntegerv(0x8CA6 /* GL_FRAMEBUFFER_BINDING */, &bound);
    // Black, with the bottom-left quarter red: OpenGL counts rows from the bottom.
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, seen.Viewport[2] / 2, seen.Viewport[3] / 2);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
  };
  // Read top row first by the driver, and bottom first then mirrored (drivers without it).
  for (const bool topFirst : {true, false}) {
    TGLSurface::SetTopFirstReads(topFirst);
    const QImage frame = Form->pbGL->grabFramebuffer();
    const QImage screen = OnScreen();
    for (const QImage& picture : {frame, screen}) {
      const int w = picture.width(), h = picture.height();
      EXPECT_EQ(picture.pixel(2, h - 3), qRgb(255, 0, 0)) << topFirst;
      EXPECT_EQ(picture.pixel(w / 2 - 2, h / 2 + 2), qRgb(255, 0, 0)) << topFirst;
      EXPECT_EQ(picture.pixel(2, 2), qRgb(0, 0, 0)) << topFirst;
      EXPECT_EQ(picture.pixel(w - 3, h - 3), qRgb(0, 0, 0)) << topFirst;
    }
  }
  TGLSurface::SetTopFirstReads(true);
  Form->pbGL->OnPaint = paint;
  Form->pbGL->makeCurrent();
  GLManager->InitGLState();

  EXPECT_EQ(seen.Red, widget.Seen.Red);
  EXPECT_EQ(seen.Green, widget.Seen.Green);
  EXPECT_EQ(seen.Blue, widget.Seen.Blue);
  EXPECT_EQ(seen.Alpha, widget.Seen.Alpha);
  EXPECT_EQ(seen.Depth, widget.Seen.Depth);
  EXPECT_EQ(seen.Stencil, widget.Seen.Stencil);
  EXPECT_EQ(seen.Samples, widget.Seen.Samples);
  // The whole surface, at device pixels, in the surface's own framebuffer.
  const qreal ratio = Form->pbGL->devicePixelRatioF();
  EXPECT_EQ(seen.Viewport[0], 0);
  EXPECT_EQ(seen.Viewport[1], 0);
  EXPECT_EQ(seen.Viewport[2], qRound(Form->pbGL->width() * ratio));
  EXPECT_EQ(seen.Viewport[3], qRound(Form->pbGL->height() * ratio));
  EXPECT_EQ(widget.Bound, static_cast<GLint>(widget.Own));
  EXPECT_EQ(bound, static_cast<GLint>(Form->pbGL->defaultFramebufferObject()));
  EXPECT_NE(bound, 0);
  // The format it was given, as the window asks for it.
  EXPECT_EQ(Form->pbGL->format().depthBufferSize(), widget.format().depthBufferSize());
  EXPECT_EQ(Form->pbGL->format().profile(), QSurfaceFormat::CompatibilityProfile);
}
