#pragma once
// The rule every picture pair must keep: the right picture differs from the
// left one somewhere, and only inside the pair's difference cell, well clear
// of the cell's edges. The game shows each picture shifted and stretched by
// up to 4 pixels, so a change that reaches closer to an edge than the margin
// could be seen where a click does not count.
#include <array>
#include <string>

class TBitmap;

struct TCell {
  int Column = 1;  // 1 to 3, from the left
  int Row = 1;     // 1 to 3, from the top
};

// The cell of each pair, 1 to 9, as the game hit-tests clicks.
inline constexpr std::array<TCell, 9> kDifferenceCells{
    {{3, 1}, {3, 3}, {2, 1}, {2, 3}, {1, 3}, {1, 1}, {2, 2}, {2, 3}, {1, 1}}};

// Of each pair picture the game shows the top-left 200 x 300 pixels.
inline constexpr int kShownWidth = 200;
inline constexpr int kShownHeight = 300;
// How far inside its cell's edges a difference must stay, in pixels.
inline constexpr int kCellMargin = 6;
// Changes between these sizes (the larger side, in pixels) are easy to see
// once found but do not give themselves away at a glance.
inline constexpr int kFairSpotMin = 12;
inline constexpr int kFairSpotMax = 40;

// A block of pixels, both ends included.
struct TPixelBox {
  int Left = 0, Top = 0, Right = -1, Bottom = -1;
  bool Empty() const { return Right < Left || Bottom < Top; }
  int Width() const { return Empty() ? 0 : Right - Left + 1; }
  int Height() const { return Empty() ? 0 : Bottom - Top + 1; }
  bool Contains(const TPixelBox& inner) const {
    return inner.Left >= Left && inner.Right <= Right && inner.Top >= Top &&
           inner.Bottom <= Bottom;
  }
  std::string Describe() const;  // "x 10..20, y 30..40"
};

// The pixels a click counts in (column c: x (c-1)*66+1 to c*66; row r:
// y (r-1)*75+1 to r*75-1), and the part of them a difference may use.
TPixelBox CellBox(TCell cell);
TPixelBox AllowedBox(TCell cell);

struct TPairVerdict {
  bool Ok = false;
  TPixelBox Difference;  // every differing pixel lies in it; empty if none
  std::string Message;   // one line, starting "pair n:"
};

// Compares the shown parts of the two pictures of pair `number`.
TPairVerdict CheckPair(int number, const TBitmap& left, const TBitmap& right, TCell cell);
// Loads folder/n.bmp and folder/na.bmp the way the game does and checks them
// against the pair's cell; a file that cannot be read fails the pair.
TPairVerdict CheckPairFiles(const std::string& folder, int number);
