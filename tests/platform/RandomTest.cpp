#include <gtest/gtest.h>

#include <vector>

#include "platform/Random.h"
#include "platform/virtual/Virtual.h"
#include "platform/virtual/VirtualEvents.h"

namespace {

std::vector<std::int32_t> Draw(std::uint32_t seed, std::int32_t range, int count) {
  RandSeed = seed;
  std::vector<std::int32_t> values;
  for (int i = 0; i < count; ++i) values.push_back(Random(range));
  return values;
}

TEST(RandomTest, SameSeedGivesTheSameNumbersWithinTheRange) {
  for (std::int32_t range : {1, 3, 9, 400, 2147483647}) {
    std::vector<std::int32_t> first = Draw(12345, range, 1000);
    EXPECT_EQ(first, Draw(12345, range, 1000));
    if (range > 1) {
      EXPECT_NE(first, Draw(12346, range, 1000)) << range;
    }
    for (std::int32_t value : first) {
      EXPECT_GE(value, 0);
      EXPECT_LT(value, range);
    }
  }
}

TEST(RandomTest, EveryValueOfASmallRangeTurnsUp) {
  std::vector<int> seen(9, 0);
  for (std::int32_t value : Draw(1, 9, 900)) ++seen[value];
  for (int count : seen) EXPECT_GT(count, 50);
}

TEST(RandomTest, RandomizeSeedsFromTheSystemTime) {
  UseVirtualBackend();
  VirtualSetTime(987654);
  Randomize();
  EXPECT_EQ(RandSeed, 987654u);
}

}  // namespace
