#pragma once
// The process-wide pseudo-random generator and the evenly stepped palettes built from it.
// Seeded with fixed values, it gives the same default lights and list colours on every run.
#include <cstdint>
#include <vector>

// The generator's 32-bit state; seeding sets it.
extern uint32_t RandSeed;
// Seeds the generator from the clock.
void Randomize();
// Advances the state and returns a whole number in 0 .. n - 1 (0 when n is 0).
uint32_t Random(uint32_t n);

// Colour values 0x00BBGGRR.
using TColorArray = std::vector<int32_t>;
// N colours stepped evenly over the channels (N below 1 gives an empty palette). Reseeds the
// generator with 1000.
TColorArray MakeColorArray(int N);
