#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>

#include "GOpglDefine.h"
#include "GOpglVariable.h"

TEST(GOpglDefine, RecordLayouts) {
  EXPECT_EQ(offsetof(TGLMaterial, Shininess), 0u);
  EXPECT_EQ(offsetof(TGLMaterial, Ambient), 4u);
  EXPECT_EQ(offsetof(TGLMaterial, Specular), 36u);
  const TGLMaterial m = GLMaterial(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13);
  EXPECT_EQ(m.Shininess, 13);
  EXPECT_EQ(m.Ambient.R, 1);
  EXPECT_EQ(m.Diffuse.A, 8);
  EXPECT_EQ(m.Specular.B, 11);
  const TGLVector3f v = VectorFromTo(GLPoint4f(1, 2, 3, 1), GLPoint4f(4, 6, 8, 0));
  EXPECT_EQ(v.X, 3);
  EXPECT_EQ(v.Y, 4);
  EXPECT_EQ(v.Z, 5);
  const TGLPoint4f p = GLPoint4i(-1, 2, 3, 1);
  EXPECT_EQ(p.X, -1.0f);
  EXPECT_EQ(p.W, 1.0f);
  EXPECT_EQ(clGLRed.A, 0.5f);
  EXPECT_EQ(clGLDarkGray.G, 0.2f);
  EXPECT_EQ(GLOrigin.W, 1.0f);
}

TEST(GOpglDefine, IsEqualWithinSinglePrecision) {
  EXPECT_TRUE(IsEqual(0.1f, 0.1f));
  EXPECT_FALSE(IsEqual(1.0f, 1.0000001f));
  EXPECT_TRUE(IsEqual(1e-13f, 0.0f));
  EXPECT_TRUE(IsEqual(-1e-12f, 0.0f));
  EXPECT_FALSE(IsEqual(2e-12f, 0.0f));
}

TEST(GOpglDefine, ColourConversions) {
  EXPECT_EQ(GLColorToColor({1, 0, 0, 0.3f}), 0x0000FF);
  EXPECT_EQ(GLColorToColor({0, 0, 1, 0.9f}), 0xFF0000);
  EXPECT_EQ(GLColorToColor({0.5f, 0.5f, 0.5f, 0}), 0x808080);  // 127.5 rounds to the even 128
  EXPECT_EQ(GLColorToColor({0.25f, 0, 0, 0}), 64);
  EXPECT_EQ(GLColorToColor({1.5f, 0, 0, 0}), 382 & 0xFF);  // only the low 8 bits are kept

  const TGLColor4f c = ColorToGLColor(0xFF8000);
  EXPECT_EQ(c.R, 0.0f);
  EXPECT_EQ(c.G, static_cast<float>(128 / 255.0));
  EXPECT_EQ(c.B, 1.0f);
  EXPECT_EQ(c.A, 0.5f);
  EXPECT_EQ(GLColorToColor(ColorToGLColor(0x7F123456)), 0x123456);  // top byte ignored
  for (TColor value : {0x000000, 0xFFFFFF, 0x010203, 0xABCDEF, 0x808080, 0x7F7F7F})
    EXPECT_EQ(GLColorToColor(ColorToGLColor(value)), value);

  const TGLColor4f a{1, 0.5f, 0, 1}, b{0, 0.5f, 1, 0};
  const TGLColor4f first = MixGLColor(a, b, 1, 0);
  EXPECT_EQ(first.R, 1);
  EXPECT_EQ(first.G, 0.5f);
  EXPECT_EQ(first.A, 0.5f);
  const TGLColor4f mean = MixGLColor(a, b, 0.5f, 0.5f);
  EXPECT_FLOAT_EQ(mean.R, 0.5f);
  EXPECT_FLOAT_EQ(mean.B, 0.5f);
  EXPECT_EQ(mean.A, 0.5f);
}

TEST(GOpglDefine, DivisionByZeroGivesInfinityNotATrap) {
  volatile float zero = 0;
  EXPECT_TRUE(std::isinf(1.0f / zero));
  EXPECT_TRUE(std::isnan(zero / zero));
}
