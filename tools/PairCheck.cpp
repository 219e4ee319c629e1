#include "PairCheck.h"

#include "platform/Exception.h"
#include "platform/Graphics.h"

namespace {

constexpr int kCellWidth = 66;
constexpr int kRowPitch = 75;

std::string Size(const TBitmap& picture) {
  return std::to_string(picture.Width()) + " x " + std::to_string(picture.Height());
}

std::string CellName(TCell cell) {
  return "column " + std::to_string(cell.Column) + ", row " + std::to_string(cell.Row);
}

TPixelBox DifferingPixels(const TBitmap& left, const TBitmap& right) {
  TPixelBox box{kShownWidth, kShownHeight, -1, -1};
  for (int y = 0; y < kShownHeight; ++y) {
    const TColor* a = left.Row(y);
    const TColor* b = right.Row(y);
    for (int x = 0; x < kShownWidth; ++x) {
      if (a[x] == b[x]) continue;
      if (x < box.Left) box.Left = x;
      if (x > box.Right) box.Right = x;
      if (y < box.Top) box.Top = y;
      if (y > box.Bottom) box.Bottom = y;
    }
  }
  return box;
}

}  // namespace

std::string TPixelBox::Describe() const {
  return "x " + std::to_string(Left) + ".." + std::to_string(Right) + ", y " +
         std::to_string(Top) + ".." + std::to_string(Bottom);
}

TPixelBox CellBox(TCell cell) {
  return {(cell.Column - 1) * kCellWidth + 1, (cell.Row - 1) * kRowPitch + 1,
          cell.Column * kCellWidth, cell.Row * kRowPitch - 1};
}

TPixelBox AllowedBox(TCell cell) {
  const TPixelBox c = CellBox(cell);
  return {c.Left + kCellMargin, c.Top + kCellMargin, c.Right - kCellMargin,
          c.Bottom - kCellMargin};
}

TPairVerdict CheckPair(int number, const TBitmap& left, const TBitmap& right, TCell cell) {
  const std::string n = std::to_string(number);
  TPairVerdict verdict;
  verdict.Message = "pair " + n + ": ";
  const auto tooSmall = [&](const TBitmap& picture, const std::string& name) {
    if (picture.Width() >= kShownWidth && picture.Height() >= kShownHeight) return false;
    verdict.Message += name + " is " + Size(picture) + ", smaller than the " +
                       std::to_string(kShownWidth) + " x " + std::to_string(kShownHeight) +
                       " the game shows";
    return true;
  };
  if (tooSmall(left, n + ".bmp") || tooSmall(right, n + "a.bmp")) return verdict;

  verdict.Difference = DifferingPixels(left, right);
  const TPixelBox& diff = verdict.Difference;
  const TPixelBox allowed = AllowedBox(cell);
  if (diff.Empty()) {
    verdict.Message += n + ".bmp and " + n + "a.bmp are the same in the shown " +
                       std::to_string(kShownWidth) + " x " + std::to_string(kShownHeight) +
                       ": there is nothing to find";
    return verdict;
  }
  const std::string size = std::to_string(diff.Width()) + " x " + std::to_string(diff.Height()) + " px";
  if (!allowed.Contains(diff)) {
    verdict.Message += "pixels differ over " + diff.Describe() + " (" + size + "), beyond " +
                       CellName(cell) + " less its " + std::to_string(kCellMargin) +
                       "-pixel margin (" + allowed.Describe() + ")";
    return verdict;
  }

  verdict.Ok = true;
  verdict.Message += "difference " + size + " at " + diff.Describe() + ", inside " + CellName(cell);
  const int across = diff.Width() > diff.Height() ? diff.Width() : diff.Height();
  if (across < kFairSpotMin || across > kFairSpotMax) {
    verdict.Message += " (note: " + std::to_string(across) + " px across; " +
                       std::to_string(kFairSpotMin) + " to " + std::to_string(kFairSpotMax) +
                       " is fair to a player)";
  }
  return verdict;
}

TPairVerdict CheckPairFiles(const std::string& folder, int number) {
  const std::string stem = folder + "/" + std::to_string(number);
  TBitmap left, right;
  try {
    left.LoadFromFile(stem + ".bmp");
    right.LoadFromFile(stem + "a.bmp");
  } catch (const Exception& e) {
    TPairVerdict verdict;
    verdict.Message = "pair " + std::to_string(number) + ": " + e.Message();
    return verdict;
  }
  return CheckPair(number, left, right, kDifferenceCells[number - 1]);
}
