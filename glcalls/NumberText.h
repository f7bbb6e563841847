#pragma once
// Numbers as the "GL Calls" texts write them: always with a '.', whatever the user's locale,
// since they are C.
#include <string>

// Up to six significant digits, no trailing zeros ("52", "0.333333", "-7.50506", "1e-05").
std::string ShownNumber(double Value);
// A C float literal that reads back as the same float ("0.3f", "1.0f", "1e-07f").
std::string CFloat(float Value);
