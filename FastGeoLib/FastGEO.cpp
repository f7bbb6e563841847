#include "FastGEO.h"

#include <algorithm>
#include <cmath>

namespace FastGEO {

bool IsEqual(double A, double B, double Epsilon) {
  const double diff = A - B;
  return -Epsilon <= diff && diff <= Epsilon;
}

bool IsEqual(double A, double B) {
  return IsEqual(A, B, 1e-12);
}

double VertexAngle(double X1, double Y1, double Z1, double X2, double Y2, double Z2, double X3,
                   double Y3, double Z3) {
  const double dx1 = X1 - X2, dy1 = Y1 - Y2, dz1 = Z1 - Z2;
  const double dx2 = X3 - X2, dy2 = Y3 - Y2, dz2 = Z3 - Z2;
  const double q = (dx1 * dx1 + dy1 * dy1 + dz1 * dz1) * (dx2 * dx2 + dy2 * dy2 + dz2 * dz2);
  if (IsEqual(q, 0)) return 0;
  // Rounding can carry nearly parallel directions just past +-1, where the arccosine has no value.
  const double x = std::clamp((dx1 * dx2 + dy1 * dy2 + dz1 * dz2) / std::sqrt(q), -1.0, 1.0);
  return std::atan2(std::sqrt(1 - x * x), x) * 57.29577951308232;
}

}  // namespace FastGEO
