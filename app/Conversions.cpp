#include "Conversions.h"

#include <cstdarg>
#include <cstdio>

#include "ValueText.h"

double StrToFloat(const QString& Text) {
  double value = 0;
  if (!ValueText::TryStrToFloat(Text, value))
    throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(Text));
  return value;
}

int StrToInt(const QString& Text) {
  int32_t value = 0;
  if (!ValueText::TryStrToInt(Text, value))
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(Text));
  return value;
}

QString FormatText(const char* Format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, Format);
  std::vsnprintf(buffer, sizeof buffer, Format, args);
  va_end(args);
  return QString::fromLocal8Bit(buffer);
}
