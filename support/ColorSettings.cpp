#include "ColorSettings.h"

#include <vector>

#include "IniFile.h"

namespace {

// "Clr0", "Clr1", ...: made once, not at every read and write.
const QString& ColorKey(std::size_t Index) {
  static std::vector<QString> keys;
  while (keys.size() <= Index) keys.push_back(QStringLiteral("Clr%1").arg(keys.size()));
  return keys[Index];
}

}  // namespace

void ReadColorSection(const TIniFile& Ini, const QString& Section, TColorArray& Colors) {
  Ini.ReadInteger(Section, QStringLiteral("ClrNum"), static_cast<int32_t>(Colors.size()));
  for (std::size_t i = 0; i < Colors.size(); ++i)
    Colors[i] = Ini.ReadInteger(Section, ColorKey(i), Colors[i]);
}

void WriteColorSection(TIniFile& Ini, const QString& Section, const TColorArray& Colors) {
  Ini.WriteInteger(Section, QStringLiteral("ClrNum"), static_cast<int32_t>(Colors.size()));
  for (std::size_t i = 0; i < Colors.size(); ++i) Ini.WriteInteger(Section, ColorKey(i), Colors[i]);
}
