#pragma once
// Where a press on the picture area lands: the difference cell of the
// current pair (in either half) and the two choices of the result screen.
// The cells are fixed on the picture area; the trembling pictures do not
// move them.
#include <cstdint>

// Column c covers x (c-1)*66+1 .. c*66 of a half and row r covers y
// (r-1)*75+1 .. r*75-1. The right half starts at x 200, so x 0, 199, 200,
// 399 and every y from 225 on lie in no cell.
bool HitsDifference(int x, int y, std::int32_t col, std::int32_t row);

// The choices drawn at the left edge of the result picture.
bool InRetryRegion(int x, int y);  // x 0..56, y 219..253
bool InQuitRegion(int x, int y);   // x 0..56, y 264..294
