#include <gtest/gtest.h>

#include "GOpglDefine.h"
#include "ValueText.h"

using namespace ValueText;

TEST(ValueText, IntegersInEveryForm) {
  EXPECT_EQ(StrToIntDef("42", 7), 42);
  EXPECT_EQ(StrToIntDef("-17", 7), -17);
  EXPECT_EQ(StrToIntDef(" 12 ", 7), 12);
  EXPECT_EQ(StrToIntDef("0x10", 7), 16);
  EXPECT_EQ(StrToIntDef("0X1f", 7), 31);
  EXPECT_EQ(StrToIntDef("$FF", 7), 255);
  EXPECT_EQ(StrToIntDef("$FFFFFFFF", 7), -1);
  EXPECT_EQ(StrToIntDef("2147483647", 7), 2147483647);
  EXPECT_EQ(StrToIntDef("-2147483648", 7), INT32_MIN);
  // Not numbers, or out of range: the default.
  for (const char* bad : {"", "abc", "12abc", "0x", "$", "1.5", "2147483648", "$123456789", "-"})
    EXPECT_EQ(StrToIntDef(bad, 7), 7) << bad;
  EXPECT_EQ(IntToStr(-5), "-5");
}

TEST(ValueText, FloatsInGeneralFormat) {
  EXPECT_EQ(FloatToStr(20), "20");
  EXPECT_EQ(FloatToStr(-0.5), "-0.5");
  EXPECT_EQ(FloatToStr(0.1f), "0.100000001490116");  // a single widened keeps 15 digits
  EXPECT_EQ(FloatToStr(0.0001), "0.0001");
  EXPECT_EQ(FloatToStr(0.00001), "1E-5");
  EXPECT_EQ(FloatToStr(1.5e-7), "1.5E-7");
  EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(0), "0");
  double v = 0;
  ASSERT_TRUE(TryStrToFloat("3.25", v));
  EXPECT_EQ(v, 3.25);
  ASSERT_TRUE(TryStrToFloat(" -1.5E-7 ", v));
  EXPECT_EQ(v, -1.5e-7);
  ASSERT_TRUE(TryStrToFloat(FloatToStr(23.452f), v));
  EXPECT_EQ(static_cast<float>(v), 23.452f);
  for (const char* bad : {"", "abc", "1.2.3", "1e", "inf", "nan", "1,5", "--1"})
    EXPECT_FALSE(TryStrToFloat(bad, v)) << bad;
}

TEST(ValueText, DateTimesLeaveOutMidnight) {
  const TDateTime midnight = FromQDateTime(QDateTime(QDate(2026, 3, 4), QTime(0, 0)));
  EXPECT_EQ(midnight, 46085.0);  // days since 1899-12-30
  const QString dateOnly = DateTimeToStr(midnight);
  EXPECT_FALSE(dateOnly.contains(':')) << dateOnly.toStdString();
  TDateTime back = 0;
  ASSERT_TRUE(TryStrToDateTime(dateOnly, back));
  EXPECT_EQ(back, midnight);

  const TDateTime afternoon = FromQDateTime(QDateTime(QDate(2026, 3, 4), QTime(14, 5, 6)));
  const QString full = DateTimeToStr(afternoon);
  EXPECT_TRUE(full.startsWith(dateOnly + ' ')) << full.toStdString();
  ASSERT_TRUE(TryStrToDateTime(full, back));
  EXPECT_NEAR(back, afternoon, 1e-9);
  EXPECT_FALSE(TryStrToDateTime("not a date", back));
}

TEST(ValueText, RawBytesAsUpperCaseHex) {
  const TGLColor4f colour{0.8f, 0.8f, 0.0f, 1.0f};
  EXPECT_EQ(BytesToHex(&colour, sizeof colour), "CDCC4C3FCDCC4C3F000000000000803F");
  const QByteArray bytes = HexToBytes("cdcc4c3fCDCC4C3F000000000000803F");
  ASSERT_EQ(bytes.size(), 16);
  TGLColor4f back{};
  std::memcpy(&back, bytes.constData(), 16);
  EXPECT_EQ(std::memcmp(&back, &colour, 16), 0);
  // Decoding stops at the first pair that is not two hexadecimal digits.
  EXPECT_EQ(HexToBytes("0102G304").size(), 2);
  EXPECT_EQ(HexToBytes("010").size(), 1);
  EXPECT_TRUE(HexToBytes("").isEmpty());
}
