// TCanvas::Ellipse: the filled, outlined ellipse of the clock face.
//
// A pixel belongs to the ellipse when its centre lies inside the ellipse that
// touches the four sides of the rectangle (right and bottom edges excluded).
// Measured in half pixels from the rectangle's centre, with W and H the
// rectangle's width and height, the pixel (x, y) sits at
//   X = 2x + 1 - (left + right),  Y = 2y + 1 - (top + bottom)
// and is inside when X^2 H^2 + Y^2 W^2 <= W^2 H^2: exact integer arithmetic,
// so the same pixels are drawn everywhere. Every row of the ellipse is one
// span; a pixel of the ellipse is outline (pen) when a neighbour above, below,
// left or right of it is not in the ellipse, and fill (brush) otherwise.
#include <algorithm>
#include <cmath>

#include "platform/Graphics.h"

namespace {

// Larger ellipses draw nothing: with both sides up to 2^15 the products in
// Inside stay below 2^62.
constexpr long long kMaxEllipseSide = 1LL << 15;

struct EllipseShape {
  long long left, top, right, bottom;
  long long W() const { return right - left; }
  long long H() const { return bottom - top; }
  bool Inside(long long x, long long y) const {
    const long long X = 2 * x + 1 - (left + right);
    const long long Y = 2 * y + 1 - (top + bottom);
    const long long w = W(), h = H();
    return X * X * h * h + Y * Y * w * w <= w * w * h * h;
  }
};

struct RowSpan {
  long long first = 0, last = -1;  // inclusive; empty when first > last
  bool Contains(long long x) const { return x >= first && x <= last; }
};

// The pixels of row y inside the ellipse; the ellipse is symmetric about the
// rectangle's centre, so the right end mirrors the left one.
RowSpan SpanOfRow(const EllipseShape& e, long long y) {
  if (y < e.top || y >= e.bottom) return {};
  const long long centreTwice = e.left + e.right - 1;  // x + mirror(x)
  const long long middle = centreTwice / 2;            // a column at or left of the centre
  if (!e.Inside(middle, y)) return {};
  // Start near the exact left end, then step to it with the integer test.
  const double Y = 2.0 * y + 1 - static_cast<double>(e.top + e.bottom);
  const double h = static_cast<double>(e.H()), w = static_cast<double>(e.W());
  const double halfExtent = w * std::sqrt(std::max(0.0, 1.0 - (Y * Y) / (h * h)));
  long long x = std::clamp(static_cast<long long>(std::floor((centreTwice - halfExtent) / 2)),
                           e.left, middle);
  while (x > e.left && e.Inside(x - 1, y)) --x;
  while (!e.Inside(x, y)) ++x;
  return {x, centreTwice - x};
}

}  // namespace

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  TBitmap& target = target_;
  const EllipseShape e{left, top, right, bottom};
  if (e.W() <= 0 || e.H() <= 0 || e.W() > kMaxEllipseSide || e.H() > kMaxEllipseSide) return;
  const long long firstRow = std::max<long long>(top, 0);
  const long long lastRow = std::min<long long>(bottom, target.Height());  // exclusive
  for (long long y = firstRow; y < lastRow; ++y) {
    const RowSpan here = SpanOfRow(e, y);
    const RowSpan above = SpanOfRow(e, y - 1);
    const RowSpan below = SpanOfRow(e, y + 1);
    const long long from = std::max<long long>(here.first, 0);
    const long long to = std::min<long long>(here.last, target.Width() - 1);
    TColor* row = target.Row(static_cast<int>(y));
    for (long long x = from; x <= to; ++x) {
      const bool edge =
          x == here.first || x == here.last || !above.Contains(x) || !below.Contains(x);
      row[x] = edge ? Pen.Color : Brush.Color;
    }
  }
  target.Touch();
}
