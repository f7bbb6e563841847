// The averaging shrink on pictures large enough to be shared out over the cores, and with
// boxes tall enough to need the wider column sums: byte for byte the box-by-box arithmetic.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <array>
#include <random>

#include "../../bench/StretchReference.h"
#include "AppPaths.h"
#include "Raster.h"

TEST(StretchRaster, LargeShrinksMatchTheBoxByBoxArithmetic) {
  QTemporaryDir settings;
  AppPaths::SetSettingsFileName(settings.filePath(QStringLiteral("Raster.ini")));
  TTavRaster::Create();
  const std::array<int, 4> sizes[] = {
      {1301, 703, 433, 234},  // shared out over the cores, a last row and column unused
      {700, 500, 700, 500},   // own size: every box one pixel, each value one less
      {640, 480, 480, 360},   // boxes of 1, 1, 2
      {901, 300, 900, 1},     // one destination row: nothing to share
      {30, 9000, 7, 11},      // boxes 818 rows tall: column sums past 16 bits
      {1200, 900, 2, 900}};   // boxes 600 wide, 1 tall
  unsigned seed = 1;
  for (const auto& size : sizes) {
    SCOPED_TRACE(testing::Message()
                 << size[0] << "x" << size[1] << " -> " << size[2] << "x" << size[3]);
    QImage source = NoisePicture(size[0], size[1], seed++);
    QImage dest(size[2], size[3], QImage::Format_BGR888);
    dest.fill(Qt::black);
    TavRaster->StretchRaster(&source, &dest);
    EXPECT_EQ(dest, ReferenceShrink(source, size[2], size[3]));
  }
  // Every box of a white picture sums to 255 n: (255 n (65535 div n)) >> 16 is 254 at n = 4.
  QImage white(800, 600, QImage::Format_BGR888);
  white.fill(Qt::white);
  QImage half(400, 300, QImage::Format_BGR888);
  TavRaster->StretchRaster(&white, &half);
  for (int y = 0; y < 300; y += 37)
    for (int x = 0; x < 400; x += 41) ASSERT_EQ(half.pixel(x, y), qRgb(254, 254, 254));
  TTavRaster::ReleaseInstance();
  AppPaths::SetSettingsFileName(QString());
}

TEST(StretchRaster, BoxesAtTheSixteenBitBoundaryKeepWhiteWhite) {
  // Column sums of 257 rows of 255 just fit 16 bits; from 258 rows on they need more.
  QTemporaryDir settings;
  AppPaths::SetSettingsFileName(settings.filePath(QStringLiteral("Raster.ini")));
  TTavRaster::Create();
  for (int rows : {256, 257, 258, 259, 515}) {
    SCOPED_TRACE(rows);
    QImage white(1, rows, QImage::Format_BGR888);
    white.fill(Qt::white);
    QImage one(1, 1, QImage::Format_BGR888);
    one.fill(Qt::black);
    TavRaster->StretchRaster(&white, &one);
    const uint8_t* pixel = one.constScanLine(0);
    for (int c = 0; c < 3; ++c) EXPECT_GE(pixel[c], 254) << c;
    EXPECT_EQ(one, ReferenceShrink(white, 1, 1));
    // Two columns and two box rows of different heights, one each side of the boundary.
    QImage source = NoisePicture(3, 2 * rows - 1, static_cast<unsigned>(rows));
    QImage dest(2, 2, QImage::Format_BGR888);
    TavRaster->StretchRaster(&source, &dest);
    EXPECT_EQ(dest, ReferenceShrink(source, 2, 2));
  }
  TTavRaster::ReleaseInstance();
  AppPaths::SetSettingsFileName(QString());
}
