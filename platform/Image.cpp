#include "platform/Image.h"

int TImage::Width() const {
  return AutoSize && !picture_.Empty() ? picture_.Width() : TControl::Width();
}

int TImage::Height() const {
  return AutoSize && !picture_.Empty() ? picture_.Height() : TControl::Height();
}

void TImage::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
