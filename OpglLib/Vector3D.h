#pragma once
// 3-D vector arithmetic: distances, angles, products, mirrored vectors, moves and rotations.
// Only X, Y and Z take part; in-place forms leave W unspecified. For a non-const point the
// in-place overload is the one chosen: use std::as_const to get a result instead.
#include "GOpglDefine.h"
#include "ManagedSingleton.h"

class TGLVector;
extern TGLVector* GLVector;

class TGLVector : public TManagedSingleton<TGLVector, &GLVector> {
 public:
  QString ClassName() const override { return QStringLiteral("TGLVector"); }

  float Distance(const TGLPoint4f& P1, const TGLPoint4f& P2) const;
  float VectorLength(const TGLPoint4f& V) const;
  float VectorLength(const TGLVector3f& V) const;
  float DotProduct(const TGLPoint4f& V1, const TGLPoint4f& V2) const;
  float DotProduct(const TGLVector3f& V1, const TGLVector3f& V2) const;
  TGLVector3f CrossProduct(const TGLPoint4f& V1, const TGLPoint4f& V2) const;
  TGLVector3f CrossProduct(const TGLVector3f& V1, const TGLVector3f& V2) const;
  TGLVector3f Normalize(const TGLPoint4f& V) const;
  TGLVector3f Normalize(const TGLVector3f& V) const;
  void Normalize(TGLPoint4f& V) const;
  TGLVector3f Negate(const TGLPoint4f& V) const;
  TGLVector3f Negate(const TGLVector3f& V) const;
  TGLVector3f ScaleVector(const TGLPoint4f& V, float S) const;
  TGLVector3f ScaleVector(const TGLVector3f& V, float S) const;
  void ScaleVector(TGLPoint4f& V, float S) const;
  TGLVector3f SetVectorLength(const TGLPoint4f& V, float Len) const;
  TGLVector3f SetVectorLength(const TGLVector3f& V, float Len) const;
  void SetVectorLength(TGLPoint4f& V, float Len) const;
  float DegToRad(float A) const;
  // Degrees 0..180; 0 when either vector has (nearly) zero length.
  float AngleBetween(const TGLPoint4f& V1, const TGLPoint4f& V2) const;
  float AngleBetweenRad(const TGLPoint4f& V1, const TGLPoint4f& V2) const;
  // V1 mirrored about the line of V2.
  TGLVector3f SymmetricVector(const TGLPoint4f& V1, const TGLPoint4f& V2) const;
  // V1 reflected at a surface whose normal is V2.
  TGLVector3f ReflectVector(const TGLPoint4f& V1, const TGLPoint4f& V2) const;
  // P moved by D along Dir (only Dir's direction counts); W unchanged. A zero Dir moves nothing.
  void MovePoint(TGLPoint4f& P, const TGLPoint4f& Dir, float D) const;
  void MovePoint(TGLPoint4f& P, const TGLVector3f& Dir, float D) const;
  // P turned by Theta radians about the line through C parallel to an axis, counter-clockwise
  // seen from the axis's positive end.
  void RotatePointX(TGLPoint4f& P, const TGLPoint4f& C, float Theta) const;
  void RotatePointY(TGLPoint4f& P, const TGLPoint4f& C, float Theta) const;
  void RotatePointZ(TGLPoint4f& P, const TGLPoint4f& C, float Theta) const;
  // P turned right-handed by Theta radians about the line through C with direction N.
  void RotateAboutNormal(TGLPoint4f& P, const TGLPoint4f& C, const TGLPoint4f& N,
                         float Theta) const;

 protected:
  const TManagedTraits& Traits() const override;
};
