#include "Conversions.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

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
  // Measured first, so no result is ever cut short.
  va_list args, measure;
  va_start(args, Format);
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, Format, measure);
  va_end(measure);
  std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, Format, args);
  va_end(args);
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}
