#pragma once
// Text forms of the values kept in the settings file: integers, floats, date-times and raw
// bytes. Floats and date-times follow the user's locale, as the rest of the desktop does.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstddef>
#include <cstdint>

// Days since 1899-12-30 with the time of day as the fraction, in local time.
using TDateTime = double;

namespace ValueText {

QString IntToStr(int32_t Value);
// Decimal, "$hex", "0xhex" or "0Xhex" (blanks around and a sign allowed); anything else gives
// Default. Hexadecimal keeps the low 32 bits, so "$FFFFFFFF" reads as -1.
int32_t StrToIntDef(const QString& Text, int32_t Default);
bool TryStrToInt(const QString& Text, int32_t& Value);

// General format: up to 15 significant digits, fixed notation unless the value needs more than
// 15 integer digits or is below 0.00001, then "1.5E-7" style; the locale's decimal separator.
QString FloatToStr(double Value);
bool TryStrToFloat(const QString& Text, double& Value);

// Short date, a blank and long time; the time is left out at exactly midnight.
QString DateTimeToStr(TDateTime Value);
bool TryStrToDateTime(const QString& Text, TDateTime& Value);

TDateTime Now();
TDateTime FromQDateTime(const QDateTime& Value);
QDateTime ToQDateTime(TDateTime Value);

// Two upper-case hexadecimal digits per byte, in memory order.
QString BytesToHex(const void* Data, std::size_t Count);
// Decodes pair by pair, stopping at the first pair that is not two hexadecimal digits.
QByteArray HexToBytes(const QString& Text);

}  // namespace ValueText
