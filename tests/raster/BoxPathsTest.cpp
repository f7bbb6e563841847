// Every version of the averaging's inner loops the processor has, the plain one always, gives
// the box-by-box arithmetic's bytes: whole and fractional factors, each uniform box width the
// vector loops spell out, the box sizes where the 16-bit sums stop fitting, rows too short for
// the grouped stores and row lengths that end between vector widths.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <random>

#include "../../bench/StretchReference.h"
#include "BoxAverage.h"

TEST(BoxPaths, EachAvailablePathMatchesTheBoxByBoxArithmetic) {
  EXPECT_TRUE(BoxPathAvailable(TBoxPath::Scalar));
#if defined(__x86_64__)
  EXPECT_TRUE(BoxPathAvailable(TBoxPath::Sse2));
  EXPECT_EQ(BoxPathAvailable(TBoxPath::Avx2), __builtin_cpu_supports("avx2") != 0);
  EXPECT_EQ(BestBoxPath(), __builtin_cpu_supports("avx2") ? TBoxPath::Avx2 : TBoxPath::Sse2);
#endif
  const std::array<int, 4> sizes[] = {
      {400, 300, 100, 75},   // boxes 4 x 4
      {640, 480, 480, 360},  // 1, 1, 2
      {333, 91, 111, 91},    // 3 x 1
      {250, 40, 125, 20},    // 2 x 2
      {97, 13, 97, 13},      // 1 x 1, a row ending between vector widths
      {1000, 33, 99, 3},     // 10 or 11 wide, 11 tall: 121 pixels
      {257, 257, 16, 16},    // 16 x 16 and 17 x 17: each side of 257 pixels a box
      {64, 514, 4, 2},       // 16 x 257: the largest box the 16-bit sums hold
      {68, 514, 4, 2},       // 17 x 257: just past it
      {5000, 7, 5, 1},       // 1000 wide: past 16 bits in the row of boxes
      {23, 5, 5, 5},         // five boxes a row: fewer than a group and its followers
      {29, 6, 6, 3},         // six
      {21, 7, 7, 7},         // seven, each 3 wide
      {4, 4, 1, 1},          // one box
      {1303, 611, 431, 203}};
  // White boxes of 257 pixels sum to 65535; of 258 they no longer fit 16 bits.
  const std::array<int, 4> white[] = {{257, 1, 1, 1}, {258, 1, 1, 1}, {8, 258, 4, 2},
                                      {1, 257, 1, 1}, {3, 86, 1, 1},  {240, 2, 2, 2}};
  unsigned seed = 7;
  std::vector<std::pair<std::array<int, 4>, bool>> cases;
  for (const auto& size : sizes) cases.emplace_back(size, false);
  for (const auto& size : white) cases.emplace_back(size, true);
  for (const auto& [size, bright] : cases) {
    QImage source = NoisePicture(size[0], size[1], seed++);
    if (bright) source.fill(Qt::white);
    const QImage expected = ReferenceShrink(source, size[2], size[3]);
    for (TBoxPath path : {TBoxPath::Scalar, TBoxPath::Sse2, TBoxPath::Avx2}) {
      if (!BoxPathAvailable(path)) continue;
      for (int bands : {1, 0}) {
        SCOPED_TRACE(testing::Message()
                     << size[0] << "x" << size[1] << " -> " << size[2] << "x" << size[3] << " "
                     << BoxPathName(path) << " bands " << bands);
        QImage dest(size[2], size[3], QImage::Format_BGR888);
        dest.fill(Qt::black);
        AverageBoxes(source, dest, path, bands);
        EXPECT_EQ(dest, expected);
      }
    }
  }
}

TEST(BoxPaths, WhiteStaysNearWhiteAndNothingPastTheRowIsWritten) {
  // A destination inside a wider picture: the bytes right of each row (its padding and the
  // next row's start) must keep their marker whatever the grouped stores write.
  for (TBoxPath path : {TBoxPath::Scalar, TBoxPath::Sse2, TBoxPath::Avx2}) {
    if (!BoxPathAvailable(path)) continue;
    SCOPED_TRACE(BoxPathName(path));
    for (int width : {1, 5, 6, 7, 10, 11, 13}) {
      QImage white(width * 4, 8, QImage::Format_BGR888);
      white.fill(Qt::white);
      // Rows of width * 3 bytes padded to 4: the padding is where a stray store lands.
      QImage dest(width, 2, QImage::Format_BGR888);
      const qsizetype stride = dest.bytesPerLine();
      std::fill(dest.bits(), dest.bits() + dest.sizeInBytes(), uint8_t{0x5A});
      AverageBoxes(white, dest, path, 1);
      for (int y = 0; y < 2; ++y) {
        const uint8_t* row = dest.constBits() + y * stride;
        for (int x = 0; x < width * 3; ++x) EXPECT_EQ(row[x], 254) << width << " " << x;
        for (qsizetype x = width * 3; x < stride; ++x) EXPECT_EQ(row[x], 0x5A) << width << " " << x;
      }
    }
  }
}
