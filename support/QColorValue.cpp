#include "QColorValue.h"

QColor ColorToQColor(TColor Color) {
  return QColor(Color & 0xFF, (Color >> 8) & 0xFF, (Color >> 16) & 0xFF);
}

TColor QColorToColor(const QColor& Color) {
  return Color.red() | (Color.green() << 8) | (Color.blue() << 16);
}
