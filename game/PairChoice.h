#pragma once
// Which picture pair comes next, and where its difference lies.
#include <cstdint>

// The cell of a pair's difference: column and row, each 1 to 3, of the grid
// laid over each half of the picture area.
struct TDiffCell {
  std::int32_t Col = 0;
  std::int32_t Row = 0;
};

// The cell for pair 1 to 9; {0, 0} (no cell) for any other number.
TDiffCell DifferenceCell(std::int32_t picNo);

// How many pairs a level may choose from: 4 at first, one more every six
// levels, never more than the nine pairs there are.
std::int32_t PairRange(std::int32_t level);

// A pair in 1 .. PairRange(level) other than previous, drawn from the game's
// random generator (again and again until it differs).
std::int32_t ChoosePair(std::int32_t level, std::int32_t previous);
