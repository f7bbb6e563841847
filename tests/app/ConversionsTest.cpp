// Converting edit texts into numbers and numbers into texts.
#include <gtest/gtest.h>

#include <cfloat>

#include "Conversions.h"

TEST(ConversionsTest, NumbersReadOrSayWhichTextIsWrong) {
  EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("-2.5")), -2.5);
  EXPECT_EQ(StrToInt(QStringLiteral("42")), 42);
  try {
    StrToFloat(QStringLiteral("1..2"));
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("'1..2' is not a valid floating point value"));
  }
  try {
    StrToInt(QStringLiteral("2x"));
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("'2x' is not a valid integer value"));
  }
}

TEST(ConversionsTest, FormattedTextsAreNeverCutShort) {
  EXPECT_EQ(FormatText("(%.2f, %.2f, %.2f)", 25.0, -25.0, 0.0),
            QStringLiteral("(25.00, -25.00, 0.00)"));
  EXPECT_EQ(FormatText("%s", ""), QString());
  // Six of the largest doubles: over 1,800 characters.
  const QString big = FormatText("%.2f %.2f %.2f %.2f %.2f %.2f", DBL_MAX, DBL_MAX, DBL_MAX,
                                 DBL_MAX, DBL_MAX, DBL_MAX);
  EXPECT_GT(big.size(), 1800);
  EXPECT_TRUE(big.endsWith(QStringLiteral(".00")));
  EXPECT_EQ(big.count(QLatin1Char(' ')), 5);
}
