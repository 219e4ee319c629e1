#pragma once
// The image component: a control that holds a bitmap as its picture. On a
// form's client area it is what the player sees; elsewhere it serves as an
// off-screen picture store.
#include "platform/Controls.h"
#include "platform/Graphics.h"

class TImage : public TControl {
 public:
  explicit TImage(TComponent* owner) : TControl(owner) {}

  TBitmap& Picture() { return picture_; }
  const TBitmap& Picture() const { return picture_; }
  TCanvas& Canvas() { return picture_.Canvas(); }

  // With AutoSize the image takes its picture's size whenever it has one.
  bool AutoSize = false;
  int Width() const override;
  int Height() const override;

  // Every button reaches the handler.
  TMouseEvent OnMouseDown;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  TBitmap picture_;
};
