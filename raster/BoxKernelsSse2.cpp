// The averaging shrink's inner loops in SSE2, which every x86-64 processor has.
#include "BoxKernels.h"

#ifdef OPGL_BOX_X86
#include <emmintrin.h>

#include <cstring>

namespace {

void SumRows(const uint8_t* Row, std::ptrdiff_t Stride, int H, std::size_t Bytes, uint16_t* Sums) {
  const __m128i zero = _mm_setzero_si128();
  std::size_t k = 0;
  for (; k + 32 <= Bytes; k += 32) {
    __m128i s0 = zero, s1 = zero, s2 = zero, s3 = zero;
    const uint8_t* p = Row + k;
    for (int y = 0; y < H; ++y, p += Stride) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
      s0 = _mm_add_epi16(s0, _mm_unpacklo_epi8(a, zero));
      s1 = _mm_add_epi16(s1, _mm_unpackhi_epi8(a, zero));
      s2 = _mm_add_epi16(s2, _mm_unpacklo_epi8(b, zero));
      s3 = _mm_add_epi16(s3, _mm_unpackhi_epi8(b, zero));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Sums + k), s0);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Sums + k + 8), s1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Sums + k + 16), s2);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Sums + k + 24), s3);
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
inline __m128i BoxSum(const uint16_t*& P, int Width) {
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
inline __m128i Pair(const uint16_t*& P, const int* Widths, const uint16_t* U) {
  const __m128i a = BoxSum<W>(P, Widths[0]);
  const __m128i b = BoxSum<W>(P, Widths[1]);
  return _mm_mulhi_epu16(_mm_unpacklo_epi64(a, b),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(U)));
}

// The boxes from I on, one at a time.
template <int W>
inline void Tail(const uint16_t* P, const int* Widths, int I, int Count, const uint16_t* U,
                 uint8_t* Dest) {
  for (; I < Count; ++I, Dest += 3) {
    const __m128i s = _mm_mulhi_epu16(BoxSum<W>(P, Widths[I]),
                                      _mm_loadl_epi64(reinterpret_cast<const __m128i*>(U + 4 * I)));
    const int32_t v = _mm_cvtsi128_si32(_mm_packus_epi16(s, s));
    std::memcpy(Dest, &v, 3);
  }
}

inline void Store4(uint8_t* Dest, __m128i V) {
  const int32_t v = _mm_cvtsi128_si32(V);
  std::memcpy(Dest, &v, 4);
}

template <int W>
void Row(const uint16_t* Sums, const int* Widths, int Count, const uint16_t* U, uint8_t* Dest) {
  const uint16_t* p = Sums;
  int i = 0;
  // Four boxes at a time; each writes a fourth byte the next box then overwrites, so a box
  // must follow them in the row.
  for (; i + 4 < Count; i += 4, Dest += 12) {
    const __m128i a = Pair<W>(p, Widths + i, U + 4 * i);
    const __m128i b = Pair<W>(p, Widths + i + 2, U + 4 * i + 8);
    const __m128i bytes = _mm_packus_epi16(a, b);
    Store4(Dest, bytes);
    Store4(Dest + 3, _mm_srli_si128(bytes, 4));
    Store4(Dest + 6, _mm_srli_si128(bytes, 8));
    Store4(Dest + 9, _mm_srli_si128(bytes, 12));
  }
  Tail<W>(p, Widths, i, Count, U, Dest);
}

void AverageRow(const uint16_t* Sums, const int* Widths, int Count, int Uniform, const uint16_t* U,
                uint8_t* Dest) {
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

const TBoxKernels Sse2BoxKernels = {SumRows, AverageRow};
#endif
