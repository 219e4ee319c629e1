#include "game/PairChoice.h"

#include <algorithm>
#include <array>

#include "platform/Random.h"

namespace {
// Where each pair's artwork was changed; pairs 8 and 9 share a cell with
// pairs 4 and 6.
constexpr std::array<TDiffCell, 9> kDifferenceTable{{
    {3, 1},
    {3, 3},
    {2, 1},
    {2, 3},
    {1, 3},
    {1, 1},
    {2, 2},
    {2, 3},
    {1, 1},
}};
}  // namespace

TDiffCell DifferenceCell(std::int32_t picNo) {
  if (picNo < 1 || picNo > static_cast<std::int32_t>(kDifferenceTable.size())) return {};
  return kDifferenceTable[static_cast<std::size_t>(picNo - 1)];
}

std::int32_t PairRange(std::int32_t level) {
  return std::min(level / 6 + 4, 9);
}

std::int32_t ChoosePair(std::int32_t level, std::int32_t previous) {
  const std::int32_t range = PairRange(level);
  std::int32_t pair;
  do {
    pair = 1 + Random(range);
  } while (pair == previous);
  return pair;
}
