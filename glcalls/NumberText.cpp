#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

std::string ShownNumber(double Value) {
  if (std::isnan(Value)) return "nan";
  if (std::isinf(Value)) return Value > 0 ? "inf" : "-inf";
  if (Value == 0) return "0";  // and never "-0"
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, Value, std::chars_format::general, 6);
  std::string shown(text, end.ptr);
  return shown == "-0" ? "0" : shown;
}

std::string CFloat(float Value) {
  // A value OpenGL should never hold; written so the file still compiles.
  if (std::isnan(Value)) return "0.0f /* not a number */";
  if (std::isinf(Value))
    return Value > 0 ? "3.40282347e+38f /* infinite */" : "-3.40282347e+38f /* infinite */";
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, Value);
  std::string literal(text, end.ptr);
  if (literal.find_first_of(".e") == std::string::npos) literal += ".0";
  return literal + "f";
}
