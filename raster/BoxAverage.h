#pragma once
// The averaging shrink of a 24-bit picture: each destination pixel is the mean of its box of
// source pixels, in the fixed-point arithmetic of the raster object (the sum times
// 65535 div n, shifted down 16 bits). The inner loops come in a plain version and in vector
// versions for the processor's instruction sets; the fastest the processor has is chosen at
// the first call, and every version gives the same bytes.
#include <QImage>
#include <vector>

enum class TBoxPath { Scalar, Sse2, Avx2 };

// Whether this processor (and this build) can run Path.
bool BoxPathAvailable(TBoxPath Path);
// The fastest available path.
TBoxPath BestBoxPath();
const char* BoxPathName(TBoxPath Path);

// Box sizes along one axis: Trunc((i + 1) * r) - Trunc(i * r), r = 1 / (Dest / Source)
// held in single precision, the quotients and products in extended precision.
std::vector<int> BoxTable(int Dest, int Source);

// Averages the boxes of Source into Dest, both Format_BGR888, Dest no larger either way, with
// the given inner loops (the best one when left out). Rows of boxes are shared out over the
// cores, at most MaxBands of them (0: as many as pay). Throws std::bad_alloc when memory runs
// out.
void AverageBoxes(const QImage& Source, QImage& Dest);
void AverageBoxes(const QImage& Source, QImage& Dest, TBoxPath Path, int MaxBands = 0);
