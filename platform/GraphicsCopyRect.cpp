// TCanvas::CopyRect: a nearest-pixel stretched copy, the one operation every
// frame of the game goes through (the shaken copy of the back buffer onto the
// screen, the half copies of the pair pictures), so it is built for speed.
//
// Each destination pixel takes the source pixel under its centre:
//   sx = sourceLeft + floor(((dx - destLeft) + 1/2) * sourceWidth / destWidth)
// which maps 1:1 copies exactly and spreads repeated or skipped pixels evenly.
// The column mapping is worked out once per call and cut into runs of
// consecutive source pixels; a row is then a few memcpy calls, and a
// destination row whose source row is the same as the previous one's is a copy
// of that row.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Graphics.h"

namespace {

struct Run {
  int destX;
  int sourceX;
  int length;
};

// Sides beyond this draw nothing: it keeps the mapping's products in 64 bits.
constexpr long long kMaxSide = 1LL << 28;

// One axis of the copy: destination start and size, source start and size.
struct Axis {
  long long destStart, destSize, sourceStart, sourceSize;
  // The source coordinate under the centre of destination offset i.
  long long SourceAt(long long i) const {
    return sourceStart + ((2 * i + 1) * sourceSize) / (2 * destSize);
  }
};

// The destination offsets [first, last) that land inside the target,
// [0, targetSize), and read inside the source, [0, sourceLimit).
struct Span {
  int first = 0;
  int last = 0;
  bool Empty() const { return first >= last; }
};

Span VisibleSpan(const Axis& axis, int targetSize, int sourceLimit) {
  long long first = std::max(0LL, -axis.destStart);
  long long last = std::min(axis.destSize, targetSize - axis.destStart);
  // The mapping rises monotonically, so the offsets that read outside the
  // source sit at the two ends; the walk is bounded by the target's size.
  while (first < last && axis.SourceAt(first) < 0) ++first;
  while (first < last && axis.SourceAt(last - 1) >= sourceLimit) --last;
  if (first >= last) return {};
  return {static_cast<int>(first), static_cast<int>(last)};
}

std::vector<Run> ColumnRuns(const Axis& axis, Span columns) {
  std::vector<Run> runs;
  for (int i = columns.first; i < columns.last; ++i) {
    const int sx = static_cast<int>(axis.SourceAt(i));
    if (!runs.empty() && runs.back().sourceX + runs.back().length == sx) {
      ++runs.back().length;
    } else {
      runs.push_back({static_cast<int>(axis.destStart + i), sx, 1});
    }
  }
  return runs;
}

void CopyRow(TColor* destRow, const TColor* sourceRow, const std::vector<Run>& runs,
             bool shortRuns) {
  if (shortRuns) {  // shrinking: mostly single pixels, a plain loop is faster
    for (const Run& run : runs) {
      for (int k = 0; k < run.length; ++k) destRow[run.destX + k] = sourceRow[run.sourceX + k];
    }
    return;
  }
  for (const Run& run : runs) {
    std::memcpy(destRow + run.destX, sourceRow + run.sourceX,
                static_cast<std::size_t>(run.length) * sizeof(TColor));
  }
}

}  // namespace

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
  TBitmap& target = target_;
  const TBitmap& from = source.Bitmap();
  const Axis xAxis{dest.Left, static_cast<long long>(dest.Right) - dest.Left, sourceRect.Left,
                   static_cast<long long>(sourceRect.Right) - sourceRect.Left};
  const Axis yAxis{dest.Top, static_cast<long long>(dest.Bottom) - dest.Top, sourceRect.Top,
                   static_cast<long long>(sourceRect.Bottom) - sourceRect.Top};
  for (const Axis& axis : {xAxis, yAxis}) {
    if (axis.destSize <= 0 || axis.sourceSize <= 0 || axis.destSize > kMaxSide ||
        axis.sourceSize > kMaxSide) {
      return;
    }
  }
  if (target.Empty() || from.Empty()) return;
  // Reading from the bitmap being written needs a snapshot of it first.
  if (&from == &target) {
    TBitmap snapshot;
    snapshot.SetSize(from.Width(), from.Height());
    std::memcpy(snapshot.Row(0), from.Row(0),
                static_cast<std::size_t>(from.Width()) * from.Height() * sizeof(TColor));
    CopyRect(dest, snapshot.Canvas(), sourceRect);
    return;
  }

  const Span columns = VisibleSpan(xAxis, target.Width(), from.Width());
  const Span rows = VisibleSpan(yAxis, target.Height(), from.Height());
  if (columns.Empty() || rows.Empty()) return;

  const std::vector<Run> runs = ColumnRuns(xAxis, columns);
  const std::size_t spanWidth = static_cast<std::size_t>(columns.last - columns.first);
  const bool shortRuns = runs.size() * 4 > spanWidth;
  const int firstX = static_cast<int>(xAxis.destStart + columns.first);

  long long previousSourceY = -1;
  for (int i = rows.first; i < rows.last; ++i) {
    const long long sy = yAxis.SourceAt(i);
    const int dy = static_cast<int>(yAxis.destStart + i);
    if (sy == previousSourceY) {
      std::memcpy(target.Row(dy) + firstX, target.Row(dy - 1) + firstX, spanWidth * sizeof(TColor));
    } else {
      CopyRow(target.Row(dy), from.Row(static_cast<int>(sy)), runs, shortRuns);
    }
    previousSourceY = sy;
  }
  target.Touch();
}
