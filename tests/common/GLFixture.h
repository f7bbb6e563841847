#pragma once
// A real Mesa GL context for tests (run the test program under xvfb-run).
//
// GLFixture owns one shown QOpenGLWidget per test suite, whose context was taken through
// GLManager->CreateRenderContext (so the font lists, initial state and stack depths are set).
// SetUp makes that context current; draw, then read back with glGet* or ReadPixels. The
// widget's framebuffer is Width x Height pixels.
//
// For the suite's lifetime the settings file points at a temporary file, and BatchRunner,
// FileOpEX, GLVector, GLManager and GLCamera exist (plus the shared quadric); create any
// other object your test needs yourself. Derive your test class from it:
//
//   class MyTest : public GLFixture {};   // a SetUpTestSuite of your own must call ours first
//   TEST_F(MyTest, Something) { glEnable(GL_LIGHTING); ... }
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include "ManageOpgl.h"

class QOpenGLWidget;
class QTemporaryDir;

class GLFixture : public ::testing::Test {
 public:
  static constexpr int Width = 320;
  static constexpr int Height = 240;

  static void SetUpTestSuite();
  static void TearDownTestSuite();

 protected:
  void SetUp() override;
  void TearDown() override;

  // The suite's widget and its rendering-context record.
  static QOpenGLWidget* Widget();
  static TGLRenderContext& Context();
  // Makes the suite's context current again (after something else took it).
  static void MakeCurrent();
  // Whole surface, orthographic 32 x 24 x 80 box around the origin, black clear colour,
  // depth test, lighting with light 0.
  static void LitOrthoScene();
  // The widget's framebuffer, top row first, as an RGB image.
  static QImage ReadPixels();
  // Path of a file in the suite's temporary folder.
  static QString TempPath(const QString& Name);
  // The glGetError code pending now (and clears it).
  static unsigned PendingGLError();
};
