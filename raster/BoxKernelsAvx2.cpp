// The averaging shrink's inner loops in AVX2, compiled for it here alone; run only where the
// processor has it.
#include "BoxKernels.h"

#ifdef OPGL_BOX_X86
#include <immintrin.h>

#include <cstring>

#define OPGL_AVX2 __attribute__((target("avx2")))

namespace {

OPGL_AVX2 void SumRows(const uint8_t* Row, std::ptrdiff_t Stride, int H, std::size_t Bytes,
                       uint16_t* Sums) {
  std::size_t k = 0;
  for (; k + 64 <= Bytes; k += 64) {
    __m256i s0 = _mm256_setzero_si256(), s1 = s0, s2 = s0, s3 = s0;
    const uint8_t* p = Row + k;
    for (int y = 0; y < H; ++y, p += Stride) {
      const auto* q = reinterpret_cast<const __m128i*>(p);
      s0 = _mm256_add_epi16(s0, _mm256_cvtepu8_epi16(_mm_loadu_si128(q)));
      s1 = _mm256_add_epi16(s1, _mm256_cvtepu8_epi16(_mm_loadu_si128(q + 1)));
      s2 = _mm256_add_epi16(s2, _mm256_cvtepu8_epi16(_mm_loadu_si128(q + 2)));
      s3 = _mm256_add_epi16(s3, _mm256_cvtepu8_epi16(_mm_loadu_si128(q + 3)));
    }
    auto* out = reinterpret_cast<__m256i*>(Sums + k);
    _mm256_storeu_si256(out, s0);
    _mm256_storeu_si256(out + 1, s1);
    _mm256_storeu_si256(out + 2, s2);
    _mm256_storeu_si256(out + 3, s3);
  }
  for (; k + 16 <= Bytes; k += 16) {
    __m256i s = _mm256_setzero_si256();
    const uint8_t* p = Row + k;
    for (int y = 0; y < H; ++y, p += Stride)
      s = _mm256_add_epi16(
          s, _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(Sums + k), s);
  }
  for (; k < Bytes; ++k) {
    unsigned sum = 0;
    const uint8_t* p = Row + k;
    for (int y = 0; y < H; ++y, p += Stride) sum += *p;
    Sums[k] = static_cast<uint16_t>(sum);
  }
}

// A box's blue, green and red sums in the low three 16-bit lanes (the others hold sums of
// the next columns, never used). W: the box width when known here, else 0.
template <int W>
OPGL_AVX2 inline __m128i BoxSum(const uint16_t*& P, int Width) {
  if constexpr (W == 4) {
    // Columns 0 + 2 and 1 + 3 side by side, then the two halves added.
    const __m128i pairs = _mm_add_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(P)),
                                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(P + 6)));
    P += 12;
    return _mm_add_epi16(pairs, _mm_srli_si128(pairs, 6));
  } else if constexpr (W == 0) {
    // The usual widths spelled out: a shrink by less than 4 alternates two of them.
    switch (Width) {
      case 1:
        return BoxSum<1>(P, 1);
      case 2:
        return BoxSum<2>(P, 2);
      case 3:
        return BoxSum<3>(P, 3);
      case 4:
        return BoxSum<4>(P, 4);
      default:
        break;
    }
    __m128i s = _mm_setzero_si128();
    for (int x = 0; x < Width; ++x, P += 3)
      s = _mm_add_epi16(s, _mm_loadl_epi64(reinterpret_cast<const __m128i*>(P)));
    return s;
  } else {
    const int w = W;
    __m128i s = _mm_setzero_si128();
    for (int x = 0; x < w; ++x, P += 3)
      s = _mm_add_epi16(s, _mm_loadl_epi64(reinterpret_cast<const __m128i*>(P)));
    return s;
  }
}

// Two boxes' averages, as 16-bit values: blue, green, red, junk, blue, green, red, junk.
template <int W>
OPGL_AVX2 inline __m128i Pair(const uint16_t*& P, const int* Widths, const uint16_t* U) {
  const __m128i a = BoxSum<W>(P, Widths[0]);
  const __m128i b = BoxSum<W>(P, Widths[1]);
  return _mm_mulhi_epu16(_mm_unpacklo_epi64(a, b),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(U)));
}

// The boxes from I on, one at a time.
template <int W>
OPGL_AVX2 inline void Tail(const uint16_t* P, const int* Widths, int I, int Count,
                           const uint16_t* U, uint8_t* Dest) {
  for (; I < Count; ++I, Dest += 3) {
    const __m128i s = _mm_mulhi_epu16(BoxSum<W>(P, Widths[I]),
                                      _mm_loadl_epi64(reinterpret_cast<const __m128i*>(U + 4 * I)));
    const int32_t v = _mm_cvtsi128_si32(_mm_packus_epi16(s, s));
    std::memcpy(Dest, &v, 3);
  }
}

template <int W>
OPGL_AVX2 void Row(const uint16_t* Sums, const int* Widths, int Count, const uint16_t* U,
                   uint8_t* Dest) {
  const uint16_t* p = Sums;
  // Four boxes' twelve bytes to the front, the rest zero.
  const __m128i squeeze = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  int i = 0;
  // Four boxes at a time, written 16 bytes at once: the two boxes after them must exist in
  // the row to take the extra bytes (they are written afterwards).
  for (; i + 6 <= Count; i += 4, Dest += 12) {
    const __m128i a = Pair<W>(p, Widths + i, U + 4 * i);
    const __m128i b = Pair<W>(p, Widths + i + 2, U + 4 * i + 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Dest),
                     _mm_shuffle_epi8(_mm_packus_epi16(a, b), squeeze));
  }
  Tail<W>(p, Widths, i, Count, U, Dest);
}

OPGL_AVX2 void AverageRow(const uint16_t* Sums, const int* Widths, int Count, int Uniform,
                          const uint16_t* U, uint8_t* Dest) {
  switch (Uniform) {
    case 1:
      return Row<1>(Sums, Widths, Count, U, Dest);
    case 2:
      return Row<2>(Sums, Widths, Count, U, Dest);
    case 3:
      return Row<3>(Sums, Widths, Count, U, Dest);
    case 4:
      return Row<4>(Sums, Widths, Count, U, Dest);
    default:
      return Row<0>(Sums, Widths, Count, U, Dest);
  }
}

}  // namespace

const TBoxKernels Avx2BoxKernels = {SumRows, AverageRow};
#endif
