// The result screen: redrawn at every round-engine tick once the clock has
// run out, until the player picks retry or quit.
#include <string>

#include "game/Frame.h"
#include "game/Unit1.h"
#include "platform/Random.h"

namespace {

constexpr TColor kGrey = RGB(128, 128, 128);
constexpr TColor kWhite = RGB(255, 255, 255);
// The hi-score line blinks between these at every tick.
constexpr TColor kHiScoreEven = RGB(255, 70, 163);
constexpr TColor kHiScoreOdd = RGB(255, 81, 255);

// Each text jitters on its own by 0-4 pixels right and down.
void JitteredText(TCanvas& canvas, int x, int y, const std::string& text) {
  const int a = Random(5);
  const int b = Random(5);
  canvas.TextOut(x + a, y + b, text);
}

}  // namespace

void TForm1::ResultScreenTick() {
  // The first result tick of this game: the music and the effect come once.
  if (!GameOver) {
    PlayMusic("rei.mid");
    PlayEffect("katan.wav");
  }
  GameOver = true;
  // Once the best equals the score, this holds at every later tick too, so
  // the hi-score line keeps blinking as long as the screen shows.
  const bool newBest = my.score >= my.hi;
  if (newBest) my.hi = my.score;
  FullCopy(bak->Picture(), ending->Picture());
  ShakeCopy();

  TCanvas& canvas = cg->Canvas();
  canvas.Font.Color = kGrey;
  canvas.Font.Bold = true;
  canvas.Font.Italic = true;
  canvas.Brush.Color = kWhite;
  canvas.Font.Size = 28;
  JitteredText(canvas, 250, 120, "正解数");
  JitteredText(canvas, 260, 160, "⇒" + std::to_string(my.score));
  canvas.Font.Size = 16;
  JitteredText(canvas, 270, 200, "(hi:" + std::to_string(my.hi) + ")");
  if (!newBest) return;
  canvas.Font.Color = FrameCount % 2 == 0 ? kHiScoreEven : kHiScoreOdd;
  canvas.Font.Size = 20;
  JitteredText(canvas, 230, 225, "HI-SCORE!!");
}
