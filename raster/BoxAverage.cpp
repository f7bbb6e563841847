#include "BoxAverage.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "BoxKernels.h"

namespace {

// The box divisor of each box width for one box height: 65535 div n, n the box's pixel count
// (the non-zero side when the other is 0, 1 when both are); 0 for boxes of more than 65535
// pixels, where that would be 0 and the picture black, and the sum is divided exactly.
struct TDivisors {
  std::vector<uint32_t> U;
  std::vector<uint64_t> N;
  // For the vector loops: each box's divisor four times over, in box order.
  std::vector<uint16_t> PerBox;
  void Fill(int BoxHeight, const std::vector<int>& Widths, int MaxWidth, bool PerBoxToo) {
    U.resize(static_cast<std::size_t>(MaxWidth) + 1);
    N.resize(U.size());
    for (int w = 0; w <= MaxWidth; ++w) {
      int64_t n = static_cast<int64_t>(w) * BoxHeight;
      if (n == 0) n = std::max(w, BoxHeight);
      if (n == 0) n = 1;
      const auto i = static_cast<std::size_t>(w);
      U[i] = n <= 65535 ? 65535u / static_cast<uint32_t>(n) : 0;
      N[i] = static_cast<uint64_t>(n);
    }
    PerBox.clear();
    if (!PerBoxToo) return;
    PerBox.reserve(Widths.size() * 4);
    for (int w : Widths)
      PerBox.insert(PerBox.end(), 4, static_cast<uint16_t>(U[static_cast<std::size_t>(w)]));
  }
};

// For each destination row the source rows of its boxes are first summed column by column,
// in 16 bits while a column of the box cannot overflow them, then each box adds up its
// columns of those sums.
template <class TSum, class TColumn>
void AverageRow(const TColumn* ColumnSums, const std::vector<int>& Widths, const TDivisors& D,
                uint8_t* DestRow) {
  const TColumn* p = ColumnSums;
  for (int w : Widths) {
    TSum b = 0, g = 0, r = 0;
    for (int x = w; x > 0; --x, p += 3) {
      b += p[0];
      g += p[1];
      r += p[2];
    }
    if (const uint32_t u = D.U[static_cast<std::size_t>(w)]) {
      DestRow[0] = static_cast<uint8_t>((static_cast<uint32_t>(b) * u) >> 16);
      DestRow[1] = static_cast<uint8_t>((static_cast<uint32_t>(g) * u) >> 16);
      DestRow[2] = static_cast<uint8_t>((static_cast<uint32_t>(r) * u) >> 16);
    } else {
      const uint64_t count = D.N[static_cast<std::size_t>(w)];
      DestRow[0] = static_cast<uint8_t>(static_cast<uint64_t>(b) / count);
      DestRow[1] = static_cast<uint8_t>(static_cast<uint64_t>(g) / count);
      DestRow[2] = static_cast<uint8_t>(static_cast<uint64_t>(r) / count);
    }
    DestRow += 3;
  }
}

// The column sums of H source rows from Row on.
template <class TColumn>
void SumColumns(const uint8_t* Row, qsizetype Stride, int H, std::size_t Bytes, TColumn* Sums) {
  std::fill(Sums, Sums + Bytes, TColumn{0});
  for (int y = 0; y < H; ++y, Row += Stride)
    for (std::size_t k = 0; k < Bytes; ++k) Sums[k] = static_cast<TColumn>(Sums[k] + Row[k]);
}

const TBoxKernels* KernelsOf(TBoxPath Path) {
#ifdef OPGL_BOX_X86
  if (Path == TBoxPath::Sse2) return &Sse2BoxKernels;
  if (Path == TBoxPath::Avx2) return &Avx2BoxKernels;
#endif
  (void)Path;
  return nullptr;
}

struct TBoxes {
  std::vector<int> Widths, Heights;
  std::vector<int> FirstSourceRow;  // per destination row
  int Widest = 0;
  int Uniform = 0;    // the width of every box, when they are all alike
  bool Wide = false;  // some box sums need more than 32 bits
  const TBoxKernels* Kernels = nullptr;
};

// Destination rows First .. Last - 1.
void AverageBand(const QImage& Source, QImage& Dest, const TBoxes& Boxes, int First, int Last) {
  const std::size_t rowBytes = static_cast<std::size_t>(Source.width()) * 3;
  const int tallest =
      First < Last ? *std::max_element(Boxes.Heights.begin() + First, Boxes.Heights.begin() + Last)
                   : 0;
  // A column of up to 257 bytes sums to at most 65535.
  const bool narrow = tallest <= 257;
  std::vector<uint16_t> narrowSums(narrow ? rowBytes + KernelSlack : 0);
  std::vector<uint32_t> sums(narrow ? 0 : rowBytes);
  const uint8_t* sourceBits = Source.constBits();
  const qsizetype sourceStride = Source.bytesPerLine();
  const TBoxKernels* kernels = Boxes.Kernels;
  // By box height: a picture's box rows have two or three heights.
  std::vector<std::pair<int, TDivisors>> divisorsByHeight;
  const auto divisorsFor = [&](int H) -> const TDivisors& {
    for (const auto& [height, divisors] : divisorsByHeight)
      if (height == H) return divisors;
    TDivisors& divisors = divisorsByHeight.emplace_back(H, TDivisors{}).second;
    divisors.Fill(H, Boxes.Widths, Boxes.Widest,
                  kernels && static_cast<int64_t>(Boxes.Widest) * std::max(H, 1) <= 257);
    return divisors;
  };
  for (int j = First; j < Last; ++j) {
    const int h = Boxes.Heights[static_cast<std::size_t>(j)];
    const TDivisors& divisors = divisorsFor(h);
    const uint8_t* row =
        sourceBits + sourceStride * Boxes.FirstSourceRow[static_cast<std::size_t>(j)];
    uint8_t* destRow = Dest.scanLine(j);
    if (narrow) {
      if (kernels && h > 0)
        kernels->SumRows(row, sourceStride, h, rowBytes, narrowSums.data());
      else
        SumColumns(row, sourceStride, h, rowBytes, narrowSums.data());
      if (!divisors.PerBox.empty())
        kernels->AverageRow(narrowSums.data(), Boxes.Widths.data(),
                            static_cast<int>(Boxes.Widths.size()), Boxes.Uniform,
                            divisors.PerBox.data(), destRow);
      else
        AverageRow<uint32_t>(narrowSums.data(), Boxes.Widths, divisors, destRow);
    } else {
      SumColumns(row, sourceStride, h, rowBytes, sums.data());
      if (Boxes.Wide)
        AverageRow<uint64_t>(sums.data(), Boxes.Widths, divisors, destRow);
      else
        AverageRow<uint32_t>(sums.data(), Boxes.Widths, divisors, destRow);
    }
  }
}

}  // namespace

bool BoxPathAvailable(TBoxPath Path) {
  switch (Path) {
    case TBoxPath::Scalar:
      return true;
#ifdef OPGL_BOX_X86
    case TBoxPath::Sse2:
      return true;  // part of every x86-64 processor
    case TBoxPath::Avx2:
      return __builtin_cpu_supports("avx2");
#endif
    default:
      return false;
  }
}

TBoxPath BestBoxPath() {
  static const TBoxPath best = BoxPathAvailable(TBoxPath::Avx2)   ? TBoxPath::Avx2
                               : BoxPathAvailable(TBoxPath::Sse2) ? TBoxPath::Sse2
                                                                  : TBoxPath::Scalar;
  return best;
}

const char* BoxPathName(TBoxPath Path) {
  switch (Path) {
    case TBoxPath::Sse2:
      return "SSE2";
    case TBoxPath::Avx2:
      return "AVX2";
    default:
      return "scalar";
  }
}

std::vector<int> BoxTable(int Dest, int Source) {
  const float r = static_cast<float>(1.0L / (static_cast<long double>(Dest) / Source));
  const long double rl = r;
  std::vector<int> boxes(static_cast<std::size_t>(Dest));
  int64_t used = 0;
  for (int i = 0; i < Dest; ++i) {
    const int64_t next = static_cast<int64_t>((i + 1) * rl);
    // Never reach past the source, whatever the rounding.
    const int64_t end = std::min<int64_t>(next, Source);
    boxes[static_cast<std::size_t>(i)] = static_cast<int>(std::max<int64_t>(end - used, 0));
    used = std::max(used, end);
  }
  return boxes;
}

void AverageBoxes(const QImage& Source, QImage& Dest) {
  AverageBoxes(Source, Dest, BestBoxPath());
}

// Rows of boxes are independent: bands of destination rows go to the cores.
void AverageBoxes(const QImage& Source, QImage& Dest, TBoxPath Path, int MaxBands) {
  TBoxes boxes;
  boxes.Widths = BoxTable(Dest.width(), Source.width());
  boxes.Heights = BoxTable(Dest.height(), Source.height());
  boxes.Widest = *std::max_element(boxes.Widths.begin(), boxes.Widths.end());
  if (std::all_of(boxes.Widths.begin(), boxes.Widths.end(),
                  [&](int W) { return W == boxes.Widest; }))
    boxes.Uniform = boxes.Widest;
  const int maxHeight = *std::max_element(boxes.Heights.begin(), boxes.Heights.end());
  boxes.Wide = static_cast<int64_t>(boxes.Widest) * maxHeight > 65535;
  boxes.Kernels = BoxPathAvailable(Path) ? KernelsOf(Path) : nullptr;
  boxes.FirstSourceRow.resize(boxes.Heights.size());
  int sourceRow = 0;
  for (std::size_t j = 0; j < boxes.Heights.size(); ++j) {
    boxes.FirstSourceRow[j] = sourceRow;
    sourceRow += boxes.Heights[j];
  }
  // Splitting pays once each band reads a few hundred thousand source pixels.
  const int64_t pixels = static_cast<int64_t>(Source.width()) * Source.height();
  int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  if (MaxBands > 0) cores = std::min(cores, MaxBands);
  const int bands = static_cast<int>(
      std::clamp<int64_t>(std::min<int64_t>({cores, pixels / 400000, Dest.height()}), 1, 16));
  if (bands == 1) {
    AverageBand(Source, Dest, boxes, 0, Dest.height());
    return;
  }
  std::vector<std::thread> helpers;
  std::atomic<bool> outOfMemory{false};
  const auto band = [&](int K) {
    try {
      AverageBand(Source, Dest, boxes, static_cast<int>(int64_t(Dest.height()) * K / bands),
                  static_cast<int>(int64_t(Dest.height()) * (K + 1) / bands));
    } catch (const std::bad_alloc&) {
      outOfMemory = true;
    }
  };
  for (int k = 1; k < bands; ++k) {
    try {
      helpers.emplace_back(band, k);
    } catch (const std::system_error&) {
      band(k);  // no thread to be had: this core does it
    }
  }
  band(0);
  for (std::thread& helper : helpers) helper.join();
  if (outOfMemory) throw std::bad_alloc();
}
