// The main window's frame on a 802 x 656 surface: the heaviest one (every display option on,
// both meshes, seven views, lights on) and the start-up one (the window's defaults), each with
// the geometry sent corner by corner and as shipped (meshes from buffer objects; the
// logo, ball and light markers from display lists); and both as shipped with the "GL Calls"
// window closed and open (its capture in the frame, then its text made and painted, which the
// window does once the frame is done). Last, the processor time (all threads) of one animation
// step of the start-up scene at full screen, 1280 x 1024: the frame drawn, read back and shown
// on the screen, as the window's timer does it 30 times a second. Run under xvfb-run.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <ctime>
#include "GLSurface.h"

#include "AppPaths.h"
#include "CompiledDraw.h"
#include "GLCalls.h"
#include "GLCallsWindow.h"
#include "GLCapture.h"
#include "GOpglVariable.h"
#include "MeshDraw.h"
#include "Units.h"
#include "frmOpgl.h"

namespace {

struct TOptions {
  bool Heaviest;
  bool Immediate;
  bool Meshes = true;
  bool Culling = true;
  int GLCallsWindow = -1;  // -1 as it is, 0 closed, 1 open
};

std::vector<std::pair<QCheckBox*, bool>> SavedChecks;
long Paints = 0;
double LastPaintSeconds = 0;

void SetOptions(const TOptions& Options) {
  TMainForm& form = *MainForm;
  for (auto& [box, checked] : SavedChecks) box->setChecked(checked);
  if (Options.Heaviest) {
    for (QCheckBox* box :
         {form.ckbxShowFrame, form.ckbxShowBall, form.ckbxShowCube, form.ckbxShowWorldAxis,
          form.ckbxShowXZplane, form.ckbxShowVolume, form.ckbxShowEyeLine, form.ckbxShowLights,
          form.ckbxShowPts, form.ckbxHand, form.ckbxRobot, form.ckbxLightOn})
      box->setChecked(true);
    form.ckbxSinglePort->setChecked(false);
    form.ckbxHand->setChecked(Options.Meshes);
    form.ckbxRobot->setChecked(Options.Meshes);
  }
  SetImmediateDrawing(Options.Immediate);
  SetMeshCulling(Options.Culling);
  if (Options.GLCallsWindow == 0) GLCalls->Close();
  if (Options.GLCallsWindow == 1) GLCalls->Open();
}

void Frame(benchmark::State& State, TOptions Options) {
  SetOptions(Options);
  TGLSurface* surface = MainForm->pbGL;
  State.counters["width"] = surface->width();
  State.counters["height"] = surface->height();
  const bool calls = Options.GLCallsWindow == 1;
  const int captures = GLCalls->Captures();
  for (auto _ : State) {
    // Renders the surface at once (the window's own repaint may be held back by the
    // compositor); the time taken is that of the paint routine up to glFinish.
    surface->grabFramebuffer();
    double seconds = LastPaintSeconds;
    if (calls) {
      // What the open window does after each frame: the text made from the capture, painted.
      const auto start = std::chrono::steady_clock::now();
      GLCalls->Window()->ShowRecord();
      GLCalls->Window()->View()->viewport()->repaint();
      seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    State.SetIterationTime(seconds);
  }
  if (calls)
    State.counters["captures"] = static_cast<double>(GLCalls->Captures() - captures) /
                                 static_cast<double>(State.iterations());
  if (Options.GLCallsWindow >= 0) GLCalls->Close();
  const QString snapshot = qEnvironmentVariable("OPGL_FRAME_SNAPSHOTS");
  if (!snapshot.isEmpty())
    surface->grabFramebuffer().save(
        snapshot +
        QStringLiteral("/frame-%1%2%3%4.png")
            .arg(Options.Heaviest ? QStringLiteral("heaviest") : QStringLiteral("startup"))
            .arg(Options.Immediate ? QStringLiteral("-immediate") : QString())
            .arg(Options.Meshes ? QString() : QStringLiteral("-nomeshes"))
            .arg(Options.Culling ? QString() : QStringLiteral("-allfaces")));
  SetImmediateDrawing(false);
  SetMeshCulling(true);
  State.counters["paints"] = static_cast<double>(Paints) / static_cast<double>(State.iterations());
  Paints = 0;
}

void BM_HeaviestImmediate(benchmark::State& State) {
  Frame(State, {true, true});
}
void BM_HeaviestShipped(benchmark::State& State) {
  Frame(State, {true, false});
}
// Shipped, but with every back face drawn: the same frame without the culling shortcut.
void BM_HeaviestAllFaces(benchmark::State& State) {
  Frame(State, {true, false, true, false});
}
// The rest of the heaviest frame, to tell the meshes' share.
void BM_HeaviestWithoutMeshes(benchmark::State& State) {
  Frame(State, {true, false, false});
}
void BM_StartupImmediate(benchmark::State& State) {
  Frame(State, {false, true});
}
void BM_StartupShipped(benchmark::State& State) {
  Frame(State, {false, false});
}
void BM_StartupAllFaces(benchmark::State& State) {
  Frame(State, {false, false, true, false});
}
// The "GL Calls" window closed (the frame tests a null hook) and open.
void BM_HeaviestGLCallsClosed(benchmark::State& State) {
  Frame(State, {true, false, true, true, 0});
}
void BM_HeaviestGLCallsOpen(benchmark::State& State) {
  Frame(State, {true, false, true, true, 1});
}
void BM_StartupGLCallsClosed(benchmark::State& State) {
  Frame(State, {false, false, true, true, 0});
}
void BM_StartupGLCallsOpen(benchmark::State& State) {
  Frame(State, {false, false, true, true, 1});
}
// The open window's own share, alone: reading every row, then the text and the C file made.
void BM_GLCallsCaptureAndText(benchmark::State& State) {
  TGLSurface* surface = MainForm->pbGL;
  surface->makeCurrent();
  TGLCallsRecord record = GLCalls->Record();
  std::size_t lines = 0;
  for (auto _ : State) {
    CaptureState(record);
    lines += FormatCalls(record).Lines.size();
  }
  State.counters["lines"] = static_cast<double>(lines) / static_cast<double>(State.iterations());
}
BENCHMARK(BM_GLCallsCaptureAndText)->Unit(benchmark::kMicrosecond)->MinTime(1);
void BM_GLCallsC(benchmark::State& State) {
  const TGLCallsRecord record = GLCalls->Record();
  for (auto _ : State) benchmark::DoNotOptimize(WriteC(record));
}
BENCHMARK(BM_GLCallsC)->Unit(benchmark::kMicrosecond)->MinTime(1);

BENCHMARK(BM_HeaviestImmediate)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(BM_HeaviestShipped)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(BM_HeaviestAllFaces)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(BM_HeaviestWithoutMeshes)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);
BENCHMARK(BM_StartupImmediate)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);
BENCHMARK(BM_StartupShipped)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);
BENCHMARK(BM_StartupAllFaces)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);
BENCHMARK(BM_HeaviestGLCallsClosed)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(BM_HeaviestGLCallsOpen)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(BM_StartupGLCallsClosed)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(BM_StartupGLCallsOpen)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);

void FitSurface(TMainForm& Form, int Width, int Height);

double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// One timer step at full screen, in processor seconds of the whole program (its own thread
// and the renderer's); cores at 30 frames a second are 30 times that.
void BM_StartupStepProcessorTime(benchmark::State& State) {
  SetOptions({false, false});
  TMainForm& form = *MainForm;
  form.setGeometry(0, 0, 1280, 1024);
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 500) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  for (auto _ : State) {
    const double start = ProcessSeconds();
    form.TimerTimer(nullptr);
    glFinish();
    QCoreApplication::processEvents();
    State.SetIterationTime(ProcessSeconds() - start);
  }
  State.counters["width"] = form.pbGL->width();
  State.counters["height"] = form.pbGL->height();
  FitSurface(form, 802, 656);
}
BENCHMARK(BM_StartupStepProcessorTime)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);

// Sizes the window so that its GL surface is Width x Height.
void FitSurface(TMainForm& Form, int Width, int Height) {
  TGLSurface* surface = Form.pbGL;
  for (int attempt = 0; attempt < 5 && surface; ++attempt) {
    const int dw = Width - surface->width(), dh = Height - surface->height();
    if (dw == 0 && dh == 0) return;
    Form.resize(Form.width() + dw, Form.height() + dh);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 200) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
}

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
    FitSurface(form, 802, 656);
    auto paint = form.pbGL->OnPaint;
    form.pbGL->OnPaint = [paint] {
      ++Paints;
      const auto start = std::chrono::steady_clock::now();
      paint();
      glFinish();
      LastPaintSeconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    for (QCheckBox* box : form.findChildren<QCheckBox*>())
      SavedChecks.emplace_back(box, box->isChecked());
    form.pbGL->makeCurrent();
    for (GLenum name : {GL_VENDOR, GL_RENDERER, GL_VERSION})
      benchmark::AddCustomContext(name == GL_VENDOR     ? "GL_VENDOR"
                                  : name == GL_RENDERER ? "GL_RENDERER"
                                                        : "GL_VERSION",
                                  reinterpret_cast<const char*>(glGetString(name)));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    MainForm = nullptr;
  }
  UnitShutdown();
  return result;
}
