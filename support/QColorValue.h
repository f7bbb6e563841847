#pragma once
// Colour values of the user interface as the widget toolkit's colours.
#include <QColor>

#include "ColorValue.h"

// QColor of a colour value 0x00BBGGRR.
QColor ColorToQColor(TColor Color);
// Colour value of a QColor (alpha dropped).
TColor QColorToColor(const QColor& Color);
