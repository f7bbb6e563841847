#include "ColorSettings.h"

#include "IniFile.h"

void ReadColorSection(const TIniFile& Ini, const QString& Section, TColorArray& Colors) {
  Ini.ReadInteger(Section, QStringLiteral("ClrNum"), static_cast<int32_t>(Colors.size()));
  for (std::size_t i = 0; i < Colors.size(); ++i)
    Colors[i] = Ini.ReadInteger(Section, QStringLiteral("Clr%1").arg(i), Colors[i]);
}

void WriteColorSection(TIniFile& Ini, const QString& Section, const TColorArray& Colors) {
  Ini.WriteInteger(Section, QStringLiteral("ClrNum"), static_cast<int32_t>(Colors.size()));
  for (std::size_t i = 0; i < Colors.size(); ++i)
    Ini.WriteInteger(Section, QStringLiteral("Clr%1").arg(i), Colors[i]);
}
