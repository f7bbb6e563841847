#pragma once
// Entry points of the fuzz targets. Each takes arbitrary bytes, runs them through one input
// path of the program and aborts when an invariant breaks; the fuzzers and the corpus replay
// test call the same functions.
#include <cstddef>
#include <cstdint>
#include <string>

namespace Fuzz {

// The settings file: every encoding read back from any key of any section, then saved.
void Settings(const uint8_t* Data, std::size_t Size);
// The stored records and numbers of the lights, the logo and the manager, read at start-up
// and written back at shut-down.
void Records(const uint8_t* Data, std::size_t Size);
// The value encodings on their own: integers, floats, date-times and raw bytes.
void Values(const uint8_t* Data, std::size_t Size);
// A picture file: the first byte picks the extension, the rest is the file. Recognition,
// decoding, resampling and the texture pixel block.
void Picture(const uint8_t* Data, std::size_t Size);

// The targets by name ("settings", "records", "values", "picture"), nullptr for others.
using TTarget = void (*)(const uint8_t*, std::size_t);
TTarget TargetByName(const std::string& Name);

}  // namespace Fuzz
