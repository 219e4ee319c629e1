#include "game/HitTest.h"

namespace {
constexpr int kCellWidth = 66;
constexpr int kRowPitch = 75;  // rows are 74 high with one pixel between them
constexpr int kRightHalf = 200;
constexpr int kRegionRight = 56;
}  // namespace

bool HitsDifference(int x, int y, std::int32_t col, std::int32_t row) {
  const int cx = x > kRightHalf ? x - kRightHalf : x;
  const int left = (col - 1) * kCellWidth;
  return left < cx && cx < left + kCellWidth + 1 && (row - 1) * kRowPitch < y &&
         y < row * kRowPitch;
}

bool InRetryRegion(int x, int y) {
  return x <= kRegionRight && y >= 219 && y <= 253;
}
bool InQuitRegion(int x, int y) {
  return x <= kRegionRight && y >= 264 && y <= 294;
}
