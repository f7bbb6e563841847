#pragma once
// The settings section of a colour list: "ClrNum" and one "Clr%d" key per colour, as decimal
// colour values.
#include <QString>

#include "PseudoRandom.h"

class TIniFile;

// Each stored "Clr%d" replaces that entry of Colors; a missing or unreadable key keeps the
// entry. "ClrNum" is read but not used: the array keeps its size whatever it says.
void ReadColorSection(const TIniFile& Ini, const QString& Section, TColorArray& Colors);
// Writes "ClrNum" and every colour of Colors.
void WriteColorSection(TIniFile& Ini, const QString& Section, const TColorArray& Colors);
