// One complete frame of the main window (synchronous repaint of the GL surface), in the seven-
// and the one-viewport layout. Run under xvfb-run; the window is shown at 1280 x 1024.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include "AppPaths.h"
#include "GOpglVariable.h"
#include "Units.h"
#include "frmOpgl.h"

namespace {

void Frame(benchmark::State& State, bool Single) {
  MainForm->ckbxSinglePort->setChecked(Single);
  for (auto _ : State) {
    MainForm->TimerTimer(MainForm->Timer);  // one animation step and its repaint
  }
  State.SetItemsProcessed(State.iterations());
}

void BM_FrameSevenViews(benchmark::State& State) {
  Frame(State, false);
}
void BM_FrameOneView(benchmark::State& State) {
  Frame(State, true);
}
// The frame alone, drawn into the surface's framebuffer without showing it in the window.
void BM_SceneOnlySevenViews(benchmark::State& State) {
  MainForm->ckbxSinglePort->setChecked(false);
  for (auto _ : State) benchmark::DoNotOptimize(MainForm->pbGL->grabFramebuffer());
}
BENCHMARK(BM_SceneOnlySevenViews)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_FrameSevenViews)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_FrameOneView)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace

int main(int argc, char** argv) {
  MaskFPUExceptions();
  QApplication app(argc, argv);
  QTemporaryDir settings;
  AppPaths::SetSettingsFileName(settings.filePath(QStringLiteral("OpglProject.ini")));
  const QString bin = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
  if (QDir(bin + QStringLiteral("/Data")).exists()) QDir::setCurrent(bin);
  UnitStartup();
  int result = 0;
  {
    TMainForm form;
    MainForm = &form;
    form.setWindowState(Qt::WindowNoState);
    form.setGeometry(0, 0, 1280, 1024);
    form.show();
    QElapsedTimer waited;
    waited.start();
    while (!(form.windowHandle() && form.windowHandle()->isExposed()) && waited.elapsed() < 5000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!form.FGLContext.RC) return 1;
    form.Timer->stop();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    MainForm = nullptr;
  }
  UnitShutdown();
  return result;
}
