#pragma once
// Double-precision geometry primitives.

namespace FastGEO {

// |A - B| <= Epsilon, the difference formed in double precision.
bool IsEqual(double A, double B, double Epsilon);
bool IsEqual(double A, double B);  // Epsilon 1e-12

// Angle in degrees (0..180) at vertex 2 between the directions to point 1 and to point 3;
// 0 when either direction has (nearly) zero length.
double VertexAngle(double X1, double Y1, double Z1, double X2, double Y2, double Z2, double X3,
                   double Y3, double Z3);

}  // namespace FastGEO
