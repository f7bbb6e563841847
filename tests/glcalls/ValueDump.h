#pragma once
// A record's values as text, one row a line ("row count v0 v1 ..."), then the stipple bytes:
// how the replay program hands back the state it read.
#include <cstdio>
#include <sstream>
#include <string>

#include "GLCallsRecord.h"

inline std::string DumpValues(const TGLCallsRecord& Record) {
  // Appended piece by piece (GCC 12 warns wrongly about "text" + std::string at -O3).
  std::string text;
  char number[48];
  std::snprintf(number, sizeof number, "lights %d\n", Record.LightCount);
  text.append(number);
  for (std::size_t i = 0; i < Record.Values.size(); ++i) {
    const int count = StateRows()[i].Count;
    std::snprintf(number, sizeof number, "%zu %d", i, count);
    text.append(number);
    for (int k = 0; k < count; ++k) {
      std::snprintf(number, sizeof number, " %.17g", Record.Values[i][static_cast<std::size_t>(k)]);
      text.append(number);
    }
    text.append("\n");
  }
  text.append("stipple");
  for (unsigned char byte : Record.Stipple) {
    std::snprintf(number, sizeof number, " %d", byte);
    text.append(number);
  }
  text.append("\n");
  return text;
}

// False when the text is not a whole dump of the current table.
inline bool ReadValues(const std::string& Text, TGLCallsRecord& Record) {
  std::istringstream in(Text);
  std::string word;
  if (!(in >> word >> Record.LightCount) || word != "lights") return false;
  Record.Values.assign(StateRows().size(), {});
  for (std::size_t i = 0; i < Record.Values.size(); ++i) {
    std::size_t row = 0;
    int count = 0;
    if (!(in >> row >> count) || row != i || count != StateRows()[i].Count) return false;
    for (int k = 0; k < count; ++k)
      if (!(in >> Record.Values[i][static_cast<std::size_t>(k)])) return false;
  }
  if (!(in >> word) || word != "stipple") return false;
  for (unsigned char& byte : Record.Stipple) {
    int value = 0;
    if (!(in >> value)) return false;
    byte = static_cast<unsigned char>(value);
  }
  return true;
}
