// TCanvas::TextOut: opaque text. The cell is filled with the brush colour,
// then each glyph pixel mixes the font colour over it by its coverage.
#include <algorithm>

#include "platform/Graphics.h"
#include "platform/TextRender.h"

namespace {

TextStyle StyleOf(const TFont& font) {
  return {font.Size, font.Bold, font.Italic};
}

// (over * a + under * (255 - a)) / 255 per channel, rounded.
TColor Mix(TColor over, TColor under, unsigned a) {
  TColor out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const unsigned o = (over >> shift) & 255, u = (under >> shift) & 255;
    out |= static_cast<TColor>((o * a + u * (255 - a) + 127) / 255) << shift;
  }
  return out;
}

}  // namespace

int TCanvas::TextWidth(const std::string& text) const {
  return MeasureText(StyleOf(Font), text).Width;
}

int TCanvas::TextHeight(const std::string& text) const {
  return MeasureText(StyleOf(Font), text).Height;
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  const TextMask mask = RenderText(StyleOf(Font), text);
  TBitmap& target = target_;
  const long long left = std::max(0LL, -static_cast<long long>(x));
  const long long top = std::max(0LL, -static_cast<long long>(y));
  const long long right =
      std::min<long long>(mask.Width, static_cast<long long>(target.Width()) - x);
  const long long bottom =
      std::min<long long>(mask.Height, static_cast<long long>(target.Height()) - y);
  if (left >= right || top >= bottom) return;
  for (long long my = top; my < bottom; ++my) {
    TColor* row = target.Row(static_cast<int>(y + my));
    const std::uint8_t* coverage = mask.Coverage.data() + my * mask.Width;
    for (long long mx = left; mx < right; ++mx) {
      const unsigned a = coverage[mx];
      row[x + mx] = a == 0 ? Brush.Color : a == 255 ? Font.Color : Mix(Font.Color, Brush.Color, a);
    }
  }
  target.Touch();
}
