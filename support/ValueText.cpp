#include "ValueText.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ValueText {

namespace {

int HexDigit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'a' && u <= 'f') return u - 'a' + 10;
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  return -1;
}

QChar DecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  return point.isEmpty() ? QChar('.') : point.at(0);
}

// Long time format without the time zone, which Qt adds but a clock time never shows.
QString LongTimeFormat() {
  QString format = QLocale::system().timeFormat(QLocale::LongFormat);
  static const QRegularExpression zone(QStringLiteral("\\s*t+"));
  format.remove(zone);
  return format.trimmed();
}

QString ShortDateFormat() {
  return QLocale::system().dateFormat(QLocale::ShortFormat);
}

const QDateTime& Epoch() {
  static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
  return epoch;
}

}  // namespace

QString IntToStr(int32_t Value) {
  return QString::number(Value);
}

bool TryStrToInt(const QString& Text, int32_t& Value) {
  const QString s = Text.trimmed();
  qsizetype i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  if (i >= s.size()) return false;
  if (s[i] == '$' || (s[i] == '0' && i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X'))) {
    i += s[i] == '$' ? 1 : 2;
    if (i >= s.size()) return false;
    // Leading zeros do not count towards the eight digits of a 32-bit value.
    while (s.size() - i > 8 && s[i] == '0') ++i;
    if (s.size() - i > 8) return false;
    uint32_t v = 0;
    for (; i < s.size(); ++i) {
      const int d = HexDigit(s[i]);
      if (d < 0) return false;
      v = v * 16 + static_cast<uint32_t>(d);
    }
    if (negative) v = 0u - v;
    Value = static_cast<int32_t>(v);
    return true;
  }
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    const char16_t u = s[i].unicode();
    if (u < '0' || u > '9') return false;
    v = v * 10 + (u - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return false;
  Value = static_cast<int32_t>(v);
  return true;
}

int32_t StrToIntDef(const QString& Text, int32_t Default) {
  int32_t value = 0;
  return TryStrToInt(Text, value) ? value : Default;
}

QString FloatToStr(double Value) {
  if (std::isnan(Value)) return QStringLiteral("NAN");
  if (std::isinf(Value)) return Value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  if (Value == 0) return QStringLiteral("0");
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", Value);  // d.dddddddddddddde±xx: 15 digits
  const bool negative = buf[0] == '-';
  const char* p = buf + (negative ? 1 : 0);
  std::string digits;
  for (; *p && *p != 'e'; ++p)
    if (*p != '.') digits += *p;
  const int exponent = std::atoi(p + 1) + 1;  // position of the decimal point
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const QChar sep = DecimalSeparator();
  QString out = negative ? QStringLiteral("-") : QString();
  if (exponent > 15 || exponent < -3) {
    out += QChar(digits[0]);
    if (digits.size() > 1) out += sep + QString::fromLatin1(digits.substr(1));
    out += 'E' + QString::number(exponent - 1);
  } else if (exponent <= 0) {
    out += '0' + QString(sep) + QString(-exponent, '0') + QString::fromLatin1(digits);
  } else {
    while (static_cast<int>(digits.size()) < exponent) digits += '0';
    out += QString::fromLatin1(digits.substr(0, exponent));
    if (static_cast<int>(digits.size()) > exponent)
      out += sep + QString::fromLatin1(digits.substr(exponent));
  }
  return out;
}

bool TryStrToFloat(const QString& Text, double& Value) {
  QString s = Text.trimmed();
  const QChar sep = DecimalSeparator();
  if (sep != '.') {
    if (s.contains('.')) return false;
    s.replace(sep, '.');
  }
  static const QRegularExpression number(
      QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
  if (!number.match(s).hasMatch()) return false;
  if (s.startsWith('+')) s.remove(0, 1);
  const std::string text = s.toStdString();
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  Value = v;
  return true;
}

TDateTime FromQDateTime(const QDateTime& Value) {
  const QDateTime local = Value.toLocalTime();
  const double days = Epoch().date().daysTo(local.date());
  return days + local.time().msecsSinceStartOfDay() / 86400000.0;
}

QDateTime ToQDateTime(TDateTime Value) {
  // Days outside 0001-01-01 .. 9999-12-31 (and NaN) are held at the nearer end of that range.
  constexpr double FirstDay = -693593.0, LastDay = 2958465.999999;
  Value = std::isnan(Value) ? 0.0 : std::clamp(Value, FirstDay, LastDay);
  const double whole = std::floor(Value);
  const auto msecs = static_cast<int>(std::llround((Value - whole) * 86400000.0));
  return QDateTime(Epoch().date().addDays(static_cast<qint64>(whole)), QTime(0, 0)).addMSecs(msecs);
}

TDateTime Now() {
  return FromQDateTime(QDateTime::currentDateTime());
}

QString DateTimeToStr(TDateTime Value) {
  const QDateTime dt = ToQDateTime(Value);
  const QLocale locale = QLocale::system();
  QString text = locale.toString(dt.date(), ShortDateFormat());
  if (dt.time() != QTime(0, 0)) text += ' ' + locale.toString(dt.time(), LongTimeFormat());
  return text;
}

bool TryStrToDateTime(const QString& Text, TDateTime& Value) {
  const QLocale locale = QLocale::system();
  const QString s = Text.trimmed();
  const QString dateFormat = ShortDateFormat();
  QDateTime dt = locale.toDateTime(s, dateFormat + ' ' + LongTimeFormat());
  if (!dt.isValid()) {
    const QDate d = locale.toDate(s, dateFormat);
    if (d.isValid()) dt = QDateTime(d, QTime(0, 0));
  }
  if (!dt.isValid()) return false;
  // Two-digit years mean this century or the last, the nearer one to today.
  if (!dateFormat.contains(QStringLiteral("yyyy")) && dt.date().year() < 1950)
    dt = dt.addYears(100);
  Value = FromQDateTime(dt);
  return true;
}

QString BytesToHex(const void* Data, std::size_t Count) {
  static const char digits[] = "0123456789ABCDEF";
  const auto* bytes = static_cast<const unsigned char*>(Data);
  QString out;
  out.reserve(static_cast<qsizetype>(Count * 2));
  for (std::size_t i = 0; i < Count; ++i) {
    out += QChar(digits[bytes[i] >> 4]);
    out += QChar(digits[bytes[i] & 0x0F]);
  }
  return out;
}

QByteArray HexToBytes(const QString& Text) {
  QByteArray out;
  for (qsizetype i = 0; i + 1 < Text.size(); i += 2) {
    const int hi = HexDigit(Text[i]);
    const int lo = HexDigit(Text[i + 1]);
    if (hi < 0 || lo < 0) break;
    out.append(static_cast<char>(hi * 16 + lo));
  }
  return out;
}

}  // namespace ValueText
