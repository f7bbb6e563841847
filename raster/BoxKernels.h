#pragma once
// The inner loops of the averaging shrink, one set per instruction set. Only for the boxes
// whose sums fit 16 bits: every box at most 257 pixels, so 255 n <= 65535 and
// (sum * u) >> 16 is the high half of a 16-bit product.
#include <cstddef>
#include <cstdint>

struct TBoxKernels {
  // Column sums of H rows (1 <= H <= 257) of Bytes bytes each, Stride apart.
  void (*SumRows)(const uint8_t* Row, std::ptrdiff_t Stride, int H, std::size_t Bytes,
                  uint16_t* Sums);
  // One row of Count boxes, Widths[i] columns wide (all Uniform wide when that is not 0), from
  // the column sums (blue, green, red a column; readable KernelSlack values past the last one);
  // U[4 i] .. U[4 i + 3] hold 65535 div n of box i.
  void (*AverageRow)(const uint16_t* Sums, const int* Widths, int Count, int Uniform,
                     const uint16_t* U, uint8_t* Dest);
};

// Values a kernel may read past the last column sum (never used in the result).
constexpr std::size_t KernelSlack = 16;

#if defined(__x86_64__) || defined(__i386__)
#define OPGL_BOX_X86 1
extern const TBoxKernels Sse2BoxKernels;
extern const TBoxKernels Avx2BoxKernels;
#endif
