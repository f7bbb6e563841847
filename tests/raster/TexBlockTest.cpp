// Texture pixel blocks always have power-of-two sides, also for pictures near the size limits.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "AppPaths.h"
#include "Raster.h"

namespace {

class TexBlockTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  void SetUp() override {
    AppPaths::SetSettingsFileName(Dir.filePath(QStringLiteral("raster.ini")));
    TTavRaster::Create();
  }
  void TearDown() override {
    TTavRaster::FreeInstance();
    AppPaths::SetSettingsFileName(QString());
  }
};

}  // namespace

TEST_F(TexBlockTest, PowerOfTwoSizesStayWithinTheLimits) {
  // Ordinary pictures take the nearest powers.
  EXPECT_EQ(TavRaster->PowerOf2SizeFor(300, 200), QSize(256, 256));
  EXPECT_EQ(TavRaster->PowerOf2SizeFor(100, 60), QSize(128, 64));
  EXPECT_EQ(TavRaster->PowerOf2SizeFor(1, 3), QSize(1, 4));
  EXPECT_EQ(TavRaster->PowerOf2SizeFor(32768, 3000), QSize(32768, 2048));
  // 30000 x 3100 rounds up to 32768 x 4096, over 100 million pixels: the height, rounded up
  // the most, goes down a power.
  EXPECT_EQ(TavRaster->PowerOf2SizeFor(30000, 3100), QSize(32768, 2048));
  EXPECT_EQ(TavRaster->PowerOf2SizeFor(3100, 30000), QSize(2048, 32768));
  // Square pictures just under the limit.
  EXPECT_EQ(TavRaster->PowerOf2SizeFor(9999, 9999), QSize(8192, 8192));
  EXPECT_EQ(TavRaster->PowerOf2SizeFor(12000, 8000), QSize(8192, 8192));
  for (const QSize& size : {QSize(30000, 3100), QSize(25000, 4000), QSize(13000, 7690)}) {
    const QSize fitted = TavRaster->PowerOf2SizeFor(size.width(), size.height());
    EXPECT_LE(static_cast<int64_t>(fitted.width()) * fitted.height(), 100'000'000) << size.width();
    EXPECT_EQ(fitted.width() & (fitted.width() - 1), 0);
    EXPECT_EQ(fitted.height() & (fitted.height() - 1), 0);
  }
}

TEST_F(TexBlockTest, BlockSidesArePowersOfTwo) {
  for (const QSize& size : {QSize(1, 1), QSize(1, 5), QSize(3, 1), QSize(7, 9), QSize(64, 64)}) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    TTexImage block;
    ASSERT_TRUE(TavRaster->RasterToTexImage(&picture, block)) << size.width();
    EXPECT_EQ(block.Width & (block.Width - 1), 0) << block.Width;
    EXPECT_EQ(block.Height & (block.Height - 1), 0) << block.Height;
    EXPECT_NEAR(block.Pixels[0], 10, 1);  // the box average may lose one step
    EXPECT_NEAR(block.Pixels[2], 30, 1);
    TavRaster->FreeTexImage(block);
  }
}
