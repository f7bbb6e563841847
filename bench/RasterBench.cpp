// Shrinking pictures: the raster object's box averaging against GraphicsMagick's Box filter
// and Pillow's reduce() (Debian's python3-pil, run in a python3 beside the benchmark) on the
// same pictures, in source megapixels per second, with the ratios printed at the end. Each of
// the averaging's inner-loop versions the processor has is timed too, on one core.
#include <benchmark/benchmark.h>

#include <Magick++.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "BoxAverage.h"
#include "Codecs.h"
#include "Raster.h"
#include "StretchReference.h"

namespace {

const QImage& Source(int Width, int Height) {
  static std::map<std::pair<int, int>, QImage> pictures;
  QImage& picture = pictures[{Width, Height}];
  if (picture.isNull()) picture = NoisePicture(Width, Height);
  return picture;
}

void SetRate(benchmark::State& State, int Width, int Height) {
  State.counters["src_MPix/s"] = benchmark::Counter(static_cast<double>(Width) * Height / 1e6,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

void BM_StretchRaster(benchmark::State& State) {
  const int sw = static_cast<int>(State.range(0)), sh = static_cast<int>(State.range(1));
  const int dw = static_cast<int>(State.range(2)), dh = static_cast<int>(State.range(3));
  QImage source = Source(sw, sh);
  QImage dest(dw, dh, QImage::Format_BGR888);
  TavRaster->StretchRaster(&source, &dest);
  if (dest != ReferenceShrink(source, dw, dh)) {
    State.SkipWithError("result differs from the reference arithmetic");
    return;
  }
  for (auto _ : State) {
    TavRaster->StretchRaster(&source, &dest);
    benchmark::DoNotOptimize(dest.constBits());
  }
  SetRate(State, sw, sh);
}

// One inner-loop version on this core alone (no bands).
void BM_BoxPath(benchmark::State& State) {
  const auto path = static_cast<TBoxPath>(State.range(4));
  State.SetLabel(BoxPathName(path));
  if (!BoxPathAvailable(path)) {
    State.SkipWithError("not available on this processor");
    return;
  }
  const int sw = static_cast<int>(State.range(0)), sh = static_cast<int>(State.range(1));
  const int dw = static_cast<int>(State.range(2)), dh = static_cast<int>(State.range(3));
  const QImage& source = Source(sw, sh);
  QImage dest(dw, dh, QImage::Format_BGR888);
  AverageBoxes(source, dest, path, 1);
  if (dest != ReferenceShrink(source, dw, dh)) {
    State.SkipWithError("result differs from the reference arithmetic");
    return;
  }
  for (auto _ : State) {
    AverageBoxes(source, dest, path, 1);
    benchmark::DoNotOptimize(dest.constBits());
  }
  SetRate(State, sw, sh);
}

// Pillow's reduce(Factor) of the same picture, timed inside a python3 that stays up for the
// whole benchmark: one line in, one reduce, its seconds out.
class TPillow {
 public:
  bool Start(const QImage& Picture, int Factor) {
    if (!FDir.isValid()) return false;
    const QString raw = FDir.filePath(QStringLiteral("picture.raw"));
    QFile file(raw);
    if (!file.open(QIODevice::WriteOnly)) return false;
    for (int y = 0; y < Picture.height(); ++y)
      file.write(reinterpret_cast<const char*>(Picture.constScanLine(y)), Picture.width() * 3);
    file.close();
    static const char* const Script =
        "import sys, time\n"
        "from PIL import Image\n"
        "w, h, f = int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])\n"
        "image = Image.frombytes('RGB', (w, h), open(sys.argv[1], 'rb').read())\n"
        "image.reduce(f)\n"
        "print(Image.__version__, flush=True)\n"
        "for line in sys.stdin:\n"
        "    start = time.perf_counter()\n"
        "    image.reduce(f)\n"
        "    print(time.perf_counter() - start, flush=True)\n";
    const QString python = QFile::exists(QStringLiteral("/usr/bin/python3"))
                               ? QStringLiteral("/usr/bin/python3")
                               : QStringLiteral("python3");
    FProcess.start(python, {QStringLiteral("-c"), QString::fromLatin1(Script), raw,
                            QString::number(Picture.width()), QString::number(Picture.height()),
                            QString::number(Factor)});
    if (!FProcess.waitForStarted(10000)) return false;
    if (!WaitForLine(60000)) return false;
    Version = QString::fromLatin1(FProcess.readLine()).trimmed();
    return !Version.isEmpty() && Version[0].isDigit();
  }
  // Seconds of one reduce; negative when python3 did not answer.
  double Once() {
    FProcess.write("\n");
    if (!WaitForLine(30000)) return -1;
    bool ok = false;
    const double seconds = QString::fromLatin1(FProcess.readLine()).trimmed().toDouble(&ok);
    return ok ? seconds : -1;
  }
  ~TPillow() {
    FProcess.closeWriteChannel();
    if (!FProcess.waitForFinished(5000)) FProcess.kill();
  }
  QString Version;

 private:
  // A line may come in more than one piece.
  bool WaitForLine(int Milliseconds) {
    while (!FProcess.canReadLine())
      if (!FProcess.waitForReadyRead(Milliseconds)) return false;
    return true;
  }
  QTemporaryDir FDir;
  QProcess FProcess;
};

void BM_PillowReduce(benchmark::State& State) {
  const int sw = static_cast<int>(State.range(0)), sh = static_cast<int>(State.range(1));
  const int factor = static_cast<int>(State.range(2));
  TPillow pillow;
  if (!pillow.Start(Source(sw, sh), factor)) {
    State.SkipWithError("python3 with PIL (Debian: python3-pil) did not start");
    return;
  }
  State.SetLabel(("Pillow " + pillow.Version).toStdString());
  for (auto _ : State) {
    const double seconds = pillow.Once();
    if (seconds < 0) {
      State.SkipWithError("python3 stopped answering");
      break;
    }
    State.SetIterationTime(seconds);
  }
  SetRate(State, sw, sh);
}

// GraphicsMagick's Box filter with its default worker threads (Threads 0) or with the
// given number.
void BM_MagickBox(benchmark::State& State) {
  const int threads = static_cast<int>(State.range(4));
  const auto defaultThreads = MagickLib::GetMagickResourceLimit(MagickLib::ThreadsResource);
  if (threads > 0) MagickLib::SetMagickResourceLimit(MagickLib::ThreadsResource, threads);
  State.counters["threads"] =
      static_cast<double>(MagickLib::GetMagickResourceLimit(MagickLib::ThreadsResource));
  const int sw = static_cast<int>(State.range(0)), sh = static_cast<int>(State.range(1));
  const int dw = static_cast<int>(State.range(2)), dh = static_cast<int>(State.range(3));
  const QImage& source = Source(sw, sh);
  Magick::Image image(static_cast<unsigned>(sw), static_cast<unsigned>(sh), "BGR",
                      Magick::CharPixel, source.constBits());
  MagickLib::ExceptionInfo exception;
  MagickLib::GetExceptionInfo(&exception);
  for (auto _ : State) {
    MagickLib::Image* resized = MagickLib::ResizeImage(
        image.constImage(), static_cast<unsigned long>(dw), static_cast<unsigned long>(dh),
        MagickLib::BoxFilter, 1.0, &exception);
    if (!resized) {
      State.SkipWithError("resize failed");
      break;
    }
    MagickLib::DestroyImage(resized);
  }
  MagickLib::DestroyExceptionInfo(&exception);
  MagickLib::SetMagickResourceLimit(MagickLib::ThreadsResource, defaultThreads);
  SetRate(State, sw, sh);
}

BENCHMARK(BM_StretchRaster)
    ->Args({4000, 3000, 1000, 750})
    ->Args({640, 480, 480, 360})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_BoxPath)
    ->ArgsProduct({{4000}, {3000}, {1000}, {750}, {0, 1, 2}})
    ->ArgsProduct({{640}, {480}, {480}, {360}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PillowReduce)
    ->Args({4000, 3000, 4})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(1);
BENCHMARK(BM_MagickBox)
    ->Args({4000, 3000, 1000, 750, 0})
    ->Args({4000, 3000, 1000, 750, 1})
    ->Args({640, 480, 480, 360, 0})
    ->Args({640, 480, 480, 360, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Keeps each run's time per iteration (the median when repeated) to print the ratios after
// the table.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& Reports) override {
    for (const Run& run : Reports) {
      if (run.error_occurred || run.iterations <= 0) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Iteration || median)
        Times[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(Reports);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [name, time] : Times) {
      if (name.rfind("BM_StretchRaster/", 0) != 0 || time <= 0) continue;
      const std::string args = name.substr(std::string("BM_StretchRaster/").size());
      for (const char* threads : {"0", "1"}) {
        const auto other = Times.find("BM_MagickBox/" + args + "/" + threads);
        if (other == Times.end()) continue;
        std::printf(
            "ratio %s: StretchRaster %.2f ms is %.1fx GraphicsMagick Box %.2f ms at %s "
            "(target 5x)\n",
            args.c_str(), time, other->second / time, other->second,
            threads[0] == '0' ? "its default threads" : "one thread");
      }
      // Pillow's reduce() takes whole factors only.
      const int sw = std::stoi(args),
                dw = std::stoi(args.substr(args.find('/', args.find('/') + 1) + 1));
      if (dw <= 0 || sw % dw != 0) continue;
      const auto pillow =
          Times.find("BM_PillowReduce/" + args.substr(0, args.find('/', args.find('/') + 1)) + "/" +
                     std::to_string(sw / dw));
      if (pillow == Times.end()) continue;
      std::printf(
          "ratio %s: StretchRaster %.2f ms is %.1fx Pillow reduce(%d) %.2f ms (target 3.3x)\n",
          args.c_str(), time, pillow->second / time, sw / dw, pillow->second);
    }
  }
  std::map<std::string, double> Times;
};

}  // namespace

int main(int argc, char** argv) {
  Codecs::InitCodecs();
  TTavRaster::Create();
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  TTavRaster::FreeInstance();
  return 0;
}
