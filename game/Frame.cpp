#include "game/Frame.h"

#include "platform/Random.h"

namespace {

struct TJitter {
  int a, b, c, d;
};

// Left, top, right, bottom, each 0 .. most; drawn in that order.
TJitter DrawJitter(int most) {
  TJitter j{};
  j.a = Random(most + 1);
  j.b = Random(most + 1);
  j.c = Random(most + 1);
  j.d = Random(most + 1);
  return j;
}

}  // namespace

void HalfCopy(TBitmap& back, const TBitmap& picture, int halfLeft) {
  const TJitter j = DrawJitter(4);
  back.Canvas().CopyRect({halfLeft, 0, halfLeft + kHalfWidth, kAreaHeight}, picture.Canvas(),
                         {j.a, j.b, kHalfWidth - j.c, kAreaHeight - j.d});
}

void FullCopy(TBitmap& back, const TBitmap& picture) {
  const TRect whole{0, 0, kAreaWidth, kAreaHeight};
  back.Canvas().CopyRect(whole, picture.Canvas(), whole);
}

void DrawTitleBanner(TBitmap& back, const TBitmap& banner) {
  const TJitter j = DrawJitter(9);
  back.Canvas().CopyRect({69 - j.a, 128 - j.b, 331 + j.c, 189 + j.d}, banner.Canvas(),
                         {0, 0, 262, 61});
}

void ShakeCopyOnto(TBitmap& screen, const TBitmap& back) {
  const TJitter j = DrawJitter(4);
  screen.Canvas().CopyRect({-j.a, -j.b, kAreaWidth + j.c, kAreaHeight + j.d}, back.Canvas(),
                           {0, 0, kAreaWidth, kAreaHeight});
}
