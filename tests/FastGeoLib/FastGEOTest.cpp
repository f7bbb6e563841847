// The angle at a vertex and the double-precision equality it rests on.
#include <gtest/gtest.h>

#include <cmath>

#include "FastGEO.h"

using FastGEO::IsEqual;
using FastGEO::VertexAngle;

TEST(FastGEO, IsEqualBounds) {
  EXPECT_TRUE(IsEqual(1.0, 1.0 + 1e-13));
  EXPECT_FALSE(IsEqual(1.0, 1.0 + 1e-11));
  EXPECT_TRUE(IsEqual(0.0, 1e-12));  // the bound itself counts
  EXPECT_TRUE(IsEqual(0.0, -1e-12));
  EXPECT_FALSE(IsEqual(0.0, 2e-12));
  EXPECT_TRUE(IsEqual(5.0, 5.5, 0.5));
  EXPECT_FALSE(IsEqual(5.0, 5.51, 0.5));
  EXPECT_FALSE(IsEqual(NAN, NAN));
}

TEST(FastGEO, VertexAngleFigures) {
  EXPECT_DOUBLE_EQ(VertexAngle(1, 0, 0, 0, 0, 0, 0, 1, 0), 90);
  EXPECT_DOUBLE_EQ(VertexAngle(1, 0, 0, 0, 0, 0, -1, 0, 0), 180);
  EXPECT_DOUBLE_EQ(VertexAngle(2, 2, 2, 1, 1, 1, 3, 3, 3), 0);
  EXPECT_NEAR(VertexAngle(1, 0, 0, 0, 0, 0, 1, 1, 0), 45, 1e-12);
  EXPECT_NEAR(VertexAngle(11, 10, 10, 10, 10, 10, 9, 11, 10), 135, 1e-12);  // vertex off the origin
  // A direction of zero length (or about 1e-7, so Q is about 1e-28) gives 0.
  EXPECT_EQ(VertexAngle(0, 0, 0, 0, 0, 0, 5, 0, 0), 0);
  EXPECT_EQ(VertexAngle(5, 0, 0, 0, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(VertexAngle(1e-7, 0, 0, 0, 0, 0, 0, 1e-7, 0), 0);
  // Q just above the bound is measured.
  EXPECT_NEAR(VertexAngle(1e-2, 0, 0, 0, 0, 0, 0, 1e-2, 0), 90, 1e-9);
  EXPECT_EQ(VertexAngle(1e-3, 0, 0, 0, 0, 0, 0, 1e-3, 0), 0);  // Q is 1e-12: still zero
}

TEST(FastGEO, NearlyParallelNeverNaN) {
  // Rounding carries the cosine of many parallel pairs just past +-1.
  for (int i = 1; i < 2000; ++i) {
    const double x = 0.1 * i, y = 0.37 * i + 0.3, z = -0.71 * i;
    const double k = 1.0 + i / 7.0;
    const double same = VertexAngle(x, y, z, 0, 0, 0, k * x, k * y, k * z);
    const double opposite = VertexAngle(x, y, z, 0, 0, 0, -k * x, -k * y, -k * z);
    ASSERT_FALSE(std::isnan(same)) << i;
    ASSERT_FALSE(std::isnan(opposite)) << i;
    EXPECT_NEAR(same, 0, 1e-5) << i;
    EXPECT_NEAR(opposite, 180, 1e-5) << i;
  }
}
