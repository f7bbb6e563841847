#include "GLFixture.h"

#include <GL/gl.h>

#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "AppPaths.h"
#include "FileOP.h"
#include "GOpglVariable.h"
#include "OpglCamera.h"
#include "RunBatch.h"
#include "Vector3D.h"

namespace {
QOpenGLWidget* SuiteWidget = nullptr;
TGLRenderContext SuiteContext;
std::unique_ptr<QTemporaryDir> SuiteDir;
bool SuiteMadeQuadric = false;
}  // namespace

void GLFixture::SetUpTestSuite() {
  SuiteDir = std::make_unique<QTemporaryDir>();
  AppPaths::SetSettingsFileName(SuiteDir->filePath(QStringLiteral("OpglTest.ini")));
  TBatchRunner::Create();
  TFileOpEX::Create();
  TGLVector::Create();
  if (!GLQuadric) {
    InitGOpglVariable();
    SuiteMadeQuadric = true;
  }
  TGLManager::Create();
  TGLCamera::Create();

  SuiteWidget = new QOpenGLWidget();
  TGLManager::SetupPixelFormat(SuiteWidget);
  SuiteWidget->resize(Width, Height);
  SuiteWidget->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(SuiteWidget)) << "no display: run under xvfb-run";
  SuiteContext = TGLRenderContext{};
  ASSERT_TRUE(GLManager->CreateRenderContext(SuiteWidget, SuiteContext))
      << "no GL context on the test widget";
}

void GLFixture::TearDownTestSuite() {
  if (SuiteWidget && GLManager) {
    SuiteWidget->makeCurrent();
    GLManager->ReleaseRenderContext(SuiteContext);
  }
  delete SuiteWidget;
  SuiteWidget = nullptr;
  TGLCamera::FreeInstance();
  TGLManager::FreeInstance();
  if (SuiteMadeQuadric) DoneGOpglVariable();
  SuiteMadeQuadric = false;
  TGLVector::FreeInstance();
  TFileOpEX::FreeInstance();
  TBatchRunner::FreeInstance();
  AppPaths::SetSettingsFileName(QString());
  SuiteDir.reset();
}

void GLFixture::SetUp() {
  ASSERT_NE(SuiteWidget, nullptr);
  ASSERT_NE(SuiteContext.RC, nullptr);
  MakeCurrent();
  while (glGetError() != GL_NO_ERROR) {
  }
}

void GLFixture::TearDown() {}

QOpenGLWidget* GLFixture::Widget() {
  return SuiteWidget;
}

TGLRenderContext& GLFixture::Context() {
  return SuiteContext;
}

void GLFixture::MakeCurrent() {
  if (SuiteWidget) SuiteWidget->makeCurrent();
}

QImage GLFixture::ReadPixels() {
  MakeCurrent();
  glFinish();
  const int w = SuiteWidget->width() * SuiteWidget->devicePixelRatio();
  const int h = SuiteWidget->height() * SuiteWidget->devicePixelRatio();
  QImage image(w, h, QImage::Format_RGBA8888);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
  return image.mirrored().convertToFormat(QImage::Format_RGB888);
}

QString GLFixture::TempPath(const QString& Name) {
  return SuiteDir ? SuiteDir->filePath(Name) : Name;
}

unsigned GLFixture::PendingGLError() {
  return glGetError();
}

void GLFixture::LitOrthoScene() {
  glViewport(0, 0, Width, Height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-16, 16, -12, 12, -40, 40);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0, 0, 0, 1);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
}
