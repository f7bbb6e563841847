// Vector operations: the figures the vector calculator and the camera rely on.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "Vector3D.h"

namespace {

class Vector3DTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { TGLVector::Create(); }
  static void TearDownTestSuite() { TGLVector::FreeInstance(); }
};

TGLPoint4f P(float X, float Y, float Z, float W = 1) {
  return GLPoint4f(X, Y, Z, W);
}

void ExpectVector(const TGLVector3f& V, float X, float Y, float Z, float Tolerance = 1e-6f) {
  EXPECT_NEAR(V.X, X, Tolerance);
  EXPECT_NEAR(V.Y, Y, Tolerance);
  EXPECT_NEAR(V.Z, Z, Tolerance);
}

void ExpectPoint(const TGLPoint4f& V, float X, float Y, float Z, float Tolerance = 1e-6f) {
  ExpectVector(GLVector3f(V.X, V.Y, V.Z), X, Y, Z, Tolerance);
}

}  // namespace

TEST_F(Vector3DTest, LengthsProductsAndAngles) {
  // W never takes part.
  EXPECT_FLOAT_EQ(GLVector->Distance(P(1, 2, 3, 1), P(4, 6, 3, 0)), 5);
  EXPECT_FLOAT_EQ(GLVector->VectorLength(P(3, 4, 0, 9)), 5);
  EXPECT_FLOAT_EQ(GLVector->VectorLength(GLVector3f(0, 3, 4)), 5);
  EXPECT_FLOAT_EQ(GLVector->DotProduct(P(1, 2, 3, 7), P(4, 5, 6, 7)), 32);
  ExpectVector(GLVector->CrossProduct(P(1, 0, 0), P(0, 1, 0)), 0, 0, 1);
  ExpectVector(GLVector->CrossProduct(P(0, 1, 0), P(1, 0, 0)), 0, 0, -1);
  ExpectVector(GLVector->CrossProduct(P(2, 3, 4), P(5, 6, 7)), -3, 6, -3);
  ExpectVector(GLVector->Negate(P(1, -2, 3)), -1, 2, -3);

  EXPECT_FLOAT_EQ(GLVector->DegToRad(180), 3.1415927f);
  EXPECT_FLOAT_EQ(GLVector->AngleBetween(P(1, 0, 0), P(0, 1, 0)), 90);
  EXPECT_FLOAT_EQ(GLVector->AngleBetween(P(1, 0, 0), P(-1, 0, 0)), 180);
  EXPECT_EQ(GLVector->AngleBetween(P(0, 0, 0), P(3, -2, 1)), 0);
  EXPECT_EQ(GLVector->AngleBetween(P(3, -2, 1), P(0, 0, 0)), 0);
  EXPECT_NEAR(GLVector->AngleBetweenRad(P(1, 0, 0), P(0, 0, 2)), 1.5707964f, 1e-6);
  // Parallel single-precision vectors: never NaN.
  EXPECT_NEAR(GLVector->AngleBetween(P(0.1f, 0.7f, 0.3f), P(0.3f, 2.1f, 0.9f)), 0, 0.05);
}

TEST_F(Vector3DTest, ScalingAndInPlaceForms) {
  ExpectVector(GLVector->Normalize(P(0, 3, 4)), 0, 0.6f, 0.8f);
  ExpectVector(GLVector->ScaleVector(P(1, 2, 3), 2), 2, 4, 6);
  ExpectVector(GLVector->SetVectorLength(P(0, 0, 0.5f), 3), 0, 0, 3);

  TGLPoint4f v = P(0, 3, 4, 1);
  GLVector->Normalize(v);
  ExpectPoint(v, 0, 0.6f, 0.8f);
  GLVector->ScaleVector(v, 10);
  ExpectPoint(v, 0, 6, 8, 1e-5f);
  GLVector->SetVectorLength(v, 20);
  ExpectPoint(v, 0, 12, 16, 1e-5f);
  // The result forms leave the operand alone.
  const TGLVector3f copy = GLVector->Normalize(std::as_const(v));
  ExpectVector(copy, 0, 0.6f, 0.8f);
  ExpectPoint(v, 0, 12, 16, 1e-5f);

  // A zero vector has no direction: NaN or infinity, never a crash.
  EXPECT_FALSE(std::isfinite(GLVector->Normalize(P(0, 0, 0)).X));
}

TEST_F(Vector3DTest, MirroredAndReflectedVectors) {
  ExpectVector(GLVector->SymmetricVector(P(1, 1, 0), P(1, 0, 0)), 1, -1, 0);
  ExpectVector(GLVector->SymmetricVector(P(1, 1, 0), P(-5, 0, 0)), 1, -1, 0);  // the line counts
  ExpectVector(GLVector->ReflectVector(P(1, -1, 0), P(0, 1, 0)), 1, 1, 0);
  // Against V1 - 2 (V1.V2 / |V2|^2) V2 for a general pair.
  const TGLPoint4f v1 = P(2, -3, 1), v2 = P(1, 2, 2);
  const float k = 2 * (2 - 6 + 2) / 9.0f;
  ExpectVector(GLVector->ReflectVector(v1, v2), 2 - k * 1, -3 - k * 2, 1 - k * 2, 1e-5f);
  // A zero V1 mirrors to zero.
  ExpectVector(GLVector->SymmetricVector(P(0, 0, 0), P(1, 2, 3)), 0, 0, 0);
}

TEST_F(Vector3DTest, MovesAndRotations) {
  TGLPoint4f p = P(1, 2, 3, 7);
  GLVector->MovePoint(p, P(0, 0, 10), 2);
  EXPECT_EQ(p.X, 1);
  EXPECT_EQ(p.Y, 2);
  EXPECT_FLOAT_EQ(p.Z, 5);
  EXPECT_EQ(p.W, 7);
  GLVector->MovePoint(p, GLVector3f(3, 4, 0), -5);
  ExpectPoint(p, -2, -2, 5);
  // No direction: the point stays where it is.
  GLVector->MovePoint(p, P(0, 0, 0), 4);
  ExpectPoint(p, -2, -2, 5);

  const float quarter = 1.5707964f;
  TGLPoint4f r = P(1, 0, 0);
  GLVector->RotatePointZ(r, P(0, 0, 0), quarter);
  ExpectPoint(r, 0, 1, 0);
  r = P(1, 0, 0);
  GLVector->RotateAboutNormal(r, P(0, 0, 0), P(0, 0, 5), quarter);
  ExpectPoint(r, 0, 1, 0);
  // Counter-clockwise seen from each axis's positive end, about a centre off the origin.
  r = P(1, 1, 0);
  GLVector->RotatePointX(r, P(1, 0, 0), quarter);
  ExpectPoint(r, 1, 0, 1);
  r = P(0, 5, 1);
  GLVector->RotatePointY(r, P(0, 5, 0), quarter);
  ExpectPoint(r, 1, 5, 0);
  r = P(3, 2, 4);
  GLVector->RotatePointZ(r, P(2, 2, 0), quarter);
  ExpectPoint(r, 2, 3, 4);
  // About a slanted axis: a third of a turn about (1, 1, 1) cycles the coordinates.
  r = P(1, 0, 0);
  GLVector->RotateAboutNormal(r, P(0, 0, 0), P(2, 2, 2), GLVector->DegToRad(120));
  ExpectPoint(r, 0, 1, 0, 1e-6f);
  r = P(3, 2, 2);
  GLVector->RotateAboutNormal(r, P(2, 2, 2), P(1, 1, 1), GLVector->DegToRad(120));
  ExpectPoint(r, 2, 3, 2, 1e-5f);
}
