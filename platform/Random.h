#pragma once
// The runtime library's random numbers: a 32-bit linear congruential
// generator whose seed tests may set directly.
#include <cstdint>

extern std::uint32_t RandSeed;
// Seeds the generator from the system time.
void Randomize();
// A number in 0 .. range-1; 0 when range is 0 or less.
std::int32_t Random(std::int32_t range);
