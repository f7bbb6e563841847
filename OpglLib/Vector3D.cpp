#include "Vector3D.h"

#include <cmath>

#include "FastGEO.h"

TGLVector* GLVector = nullptr;

namespace {
const TManagedTraits GLVectorTraits{"Vector3D", "mGLVector", true, true, true, true, true, true};

// Intermediates are carried in double; every stored result is rounded to single.
double Length3(double X, double Y, double Z) {
  return std::sqrt(X * X + Y * Y + Z * Z);
}

TGLVector3f Scaled(double X, double Y, double Z, double S) {
  return {static_cast<float>(X * S), static_cast<float>(Y * S), static_cast<float>(Z * S)};
}

void Store(TGLPoint4f& P, const TGLVector3f& V) {
  P.X = V.X;
  P.Y = V.Y;
  P.Z = V.Z;
}

TGLPoint4f AsPoint(const TGLVector3f& V) {
  return {V.X, V.Y, V.Z, 0};
}
}  // namespace

const TManagedTraits& TGLVector::Traits() const {
  return GLVectorTraits;
}

float TGLVector::Distance(const TGLPoint4f& P1, const TGLPoint4f& P2) const {
  return static_cast<float>(Length3(double(P2.X) - P1.X, double(P2.Y) - P1.Y, double(P2.Z) - P1.Z));
}

float TGLVector::VectorLength(const TGLPoint4f& V) const {
  return static_cast<float>(Length3(V.X, V.Y, V.Z));
}

float TGLVector::VectorLength(const TGLVector3f& V) const {
  return static_cast<float>(Length3(V.X, V.Y, V.Z));
}

float TGLVector::DotProduct(const TGLPoint4f& V1, const TGLPoint4f& V2) const {
  return static_cast<float>(double(V1.X) * V2.X + double(V1.Y) * V2.Y + double(V1.Z) * V2.Z);
}

float TGLVector::DotProduct(const TGLVector3f& V1, const TGLVector3f& V2) const {
  return DotProduct(AsPoint(V1), AsPoint(V2));
}

TGLVector3f TGLVector::CrossProduct(const TGLPoint4f& V1, const TGLPoint4f& V2) const {
  return {static_cast<float>(double(V1.Y) * V2.Z - double(V1.Z) * V2.Y),
          static_cast<float>(double(V1.Z) * V2.X - double(V1.X) * V2.Z),
          static_cast<float>(double(V1.X) * V2.Y - double(V1.Y) * V2.X)};
}

TGLVector3f TGLVector::CrossProduct(const TGLVector3f& V1, const TGLVector3f& V2) const {
  return CrossProduct(AsPoint(V1), AsPoint(V2));
}

TGLVector3f TGLVector::Normalize(const TGLPoint4f& V) const {
  return Scaled(V.X, V.Y, V.Z, 1.0 / VectorLength(V));
}

TGLVector3f TGLVector::Normalize(const TGLVector3f& V) const {
  return Normalize(AsPoint(V));
}

void TGLVector::Normalize(TGLPoint4f& V) const {
  Store(V, Normalize(static_cast<const TGLPoint4f&>(V)));
}

TGLVector3f TGLVector::Negate(const TGLPoint4f& V) const {
  return {-V.X, -V.Y, -V.Z};
}

TGLVector3f TGLVector::Negate(const TGLVector3f& V) const {
  return {-V.X, -V.Y, -V.Z};
}

TGLVector3f TGLVector::ScaleVector(const TGLPoint4f& V, float S) const {
  return Scaled(V.X, V.Y, V.Z, S);
}

TGLVector3f TGLVector::ScaleVector(const TGLVector3f& V, float S) const {
  return Scaled(V.X, V.Y, V.Z, S);
}

void TGLVector::ScaleVector(TGLPoint4f& V, float S) const {
  Store(V, ScaleVector(static_cast<const TGLPoint4f&>(V), S));
}

TGLVector3f TGLVector::SetVectorLength(const TGLPoint4f& V, float Len) const {
  return Scaled(V.X, V.Y, V.Z, double(Len) / VectorLength(V));
}

TGLVector3f TGLVector::SetVectorLength(const TGLVector3f& V, float Len) const {
  return SetVectorLength(AsPoint(V), Len);
}

void TGLVector::SetVectorLength(TGLPoint4f& V, float Len) const {
  Store(V, SetVectorLength(static_cast<const TGLPoint4f&>(V), Len));
}

float TGLVector::DegToRad(float A) const {
  return static_cast<float>(A * 0.017453292519943295);
}

float TGLVector::AngleBetween(const TGLPoint4f& V1, const TGLPoint4f& V2) const {
  return static_cast<float>(FastGEO::VertexAngle(V1.X, V1.Y, V1.Z, 0, 0, 0, V2.X, V2.Y, V2.Z));
}

float TGLVector::AngleBetweenRad(const TGLPoint4f& V1, const TGLPoint4f& V2) const {
  return DegToRad(AngleBetween(V1, V2));
}

TGLVector3f TGLVector::SymmetricVector(const TGLPoint4f& V1, const TGLPoint4f& V2) const {
  const float theta = AngleBetweenRad(V1, V2);
  const float l1 = VectorLength(V1);
  // The projection of V1 onto the line of V2.
  const TGLVector3f p = SetVectorLength(V2, static_cast<float>(std::cos(double(theta)) * l1));
  return {2 * p.X - V1.X, 2 * p.Y - V1.Y, 2 * p.Z - V1.Z};
}

TGLVector3f TGLVector::ReflectVector(const TGLPoint4f& V1, const TGLPoint4f& V2) const {
  return SymmetricVector(AsPoint(Negate(V1)), V2);
}

void TGLVector::MovePoint(TGLPoint4f& P, const TGLPoint4f& Dir, float D) const {
  // Without a direction there is nowhere to go: the point stays rather than turning into NaN.
  const double len = Length3(Dir.X, Dir.Y, Dir.Z);
  if (!(len > 0) || !std::isfinite(len)) return;
  const double s = double(D) / len;
  P.X = static_cast<float>(P.X + Dir.X * s);
  P.Y = static_cast<float>(P.Y + Dir.Y * s);
  P.Z = static_cast<float>(P.Z + Dir.Z * s);
}

void TGLVector::MovePoint(TGLPoint4f& P, const TGLVector3f& Dir, float D) const {
  MovePoint(P, AsPoint(Dir), D);
}

void TGLVector::RotatePointX(TGLPoint4f& P, const TGLPoint4f& C, float Theta) const {
  const double c = std::cos(double(Theta)), s = std::sin(double(Theta));
  const double dy = double(P.Y) - C.Y, dz = double(P.Z) - C.Z;
  P.Y = static_cast<float>(dy * c - dz * s + C.Y);
  P.Z = static_cast<float>(dy * s + dz * c + C.Z);
}

void TGLVector::RotatePointY(TGLPoint4f& P, const TGLPoint4f& C, float Theta) const {
  const double c = std::cos(double(Theta)), s = std::sin(double(Theta));
  const double dx = double(P.X) - C.X, dz = double(P.Z) - C.Z;
  P.X = static_cast<float>(dx * c + dz * s + C.X);
  P.Z = static_cast<float>(-dx * s + dz * c + C.Z);
}

void TGLVector::RotatePointZ(TGLPoint4f& P, const TGLPoint4f& C, float Theta) const {
  const double c = std::cos(double(Theta)), s = std::sin(double(Theta));
  const double dx = double(P.X) - C.X, dy = double(P.Y) - C.Y;
  P.X = static_cast<float>(dx * c - dy * s + C.X);
  P.Y = static_cast<float>(dx * s + dy * c + C.Y);
}

void TGLVector::RotateAboutNormal(TGLPoint4f& P, const TGLPoint4f& C, const TGLPoint4f& N,
                                  float Theta) const {
  // Rodrigues: C + d*c + (k x d)*s + k*(k.d)*(1 - c), k the unit axis, d = P - C.
  const double len = Length3(N.X, N.Y, N.Z);
  const double kx = N.X / len, ky = N.Y / len, kz = N.Z / len;
  const double dx = double(P.X) - C.X, dy = double(P.Y) - C.Y, dz = double(P.Z) - C.Z;
  const double c = std::cos(double(Theta)), s = std::sin(double(Theta));
  const double kd = kx * dx + ky * dy + kz * dz;
  P.X = static_cast<float>(C.X + dx * c + (ky * dz - kz * dy) * s + kx * kd * (1 - c));
  P.Y = static_cast<float>(C.Y + dy * c + (kz * dx - kx * dz) * s + ky * kd * (1 - c));
  P.Z = static_cast<float>(C.Z + dz * c + (kx * dy - ky * dx) * s + kz * kd * (1 - c));
}
