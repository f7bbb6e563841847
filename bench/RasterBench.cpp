// Shrinking pictures: the raster object's box averaging against GraphicsMagick's Box filter
// on the same pictures, in source megapixels per second, with the ratio printed at the end.
#include <benchmark/benchmark.h>

#include <Magick++.h>

#include <QImage>
#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "Codecs.h"
#include "Raster.h"
#include "StretchReference.h"

namespace {

QImage NoisePicture(int Width, int Height) {
  QImage image(Width, Height, QImage::Format_BGR888);
  std::mt19937 random(12345);
  for (int y = 0; y < Height; ++y) {
    uint8_t* row = image.scanLine(y);
    for (int x = 0; x < Width * 3; ++x) row[x] = static_cast<uint8_t>(random());
  }
  return image;
}

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
