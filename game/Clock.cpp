// The countdown (Timer3), its clock face, and the idle shake of the title
// picture (Timer2).
#include <string>

#include "game/Unit1.h"

namespace {
constexpr TColor kWhite = RGB(255, 255, 255);
constexpr TColor kPink = RGB(255, 128, 192);
}  // namespace

// Runs on idle over the result screen, where the clock stays where it ended.
void TForm1::Timer3Timer(TObject*) {
  if (GameOver) return;
  --Clock;
  PlayEffect("time.wav");
}

// On the screen itself, after the shaken copy, so the clock holds still
// while the picture under it trembles. Only drawn while time is left, so 0
// is never shown.
void TForm1::DrawClockFace() {
  TCanvas& canvas = cg->Canvas();
  canvas.Font.Color = kWhite;
  canvas.Font.Size = 17;
  canvas.Font.Bold = true;
  canvas.Font.Italic = true;
  canvas.Pen.Color = kPink;
  canvas.Brush.Color = kPink;
  canvas.Ellipse(157, 273, 245, 300);
  canvas.TextOut(175, 275, std::to_string(Clock) + "秒");
}

// The back buffer holds the title picture while the title screen waits.
void TForm1::Timer2Timer(TObject*) {
  ShakeCopy();
}
