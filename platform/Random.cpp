#include "platform/Random.h"

#include "platform/Events.h"

std::uint32_t RandSeed = 0;

void Randomize() {
  RandSeed = timeGetTime();
}

std::int32_t Random(std::int32_t range) {
  RandSeed = RandSeed * 0x08088405u + 1u;
  if (range <= 0) return 0;
  // The high 32 bits of seed * range: evenly spread over 0 .. range-1.
  return static_cast<std::int32_t>(
      (static_cast<std::uint64_t>(RandSeed) * static_cast<std::uint32_t>(range)) >> 32);
}
