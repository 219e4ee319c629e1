// The round engine: one tick of Timer1 while a game or its result screen is
// up. Each tick composes the frame in the back buffer and puts it on the
// screen with one shaken copy; only the clock face is drawn on the screen
// itself, after that copy.
#include <string>

#include "game/ErrorReport.h"
#include "game/Frame.h"
#include "game/PairChoice.h"
#include "game/Unit1.h"
#include "platform/Application.h"

namespace {

// Phases: 0-25 bring a pair in and let it wait, 100-107 answer a hit,
// 200-207 a miss, 300-310 play the level-up.
constexpr std::int32_t kWaiting = 25;
constexpr std::int32_t kLevelUp = 300;
constexpr std::int32_t kLevelUpStep = 6;  // a level-up at every sixth level

bool Within(std::int32_t value, std::int32_t first, std::int32_t last) {
  return value >= first && value <= last;
}

std::string PairPicturePath(std::int32_t picNo, const char* suffix) {
  return Application.ExeFolder() + "/cg/" + std::to_string(picNo) + suffix + ".bmp";
}

}  // namespace

// A picture that cannot be loaded ends the tick where it failed and is
// reported; Phase stays 0, so the next tick chooses a pair again.
void TForm1::Timer1Timer(TObject* Sender) {
  try {
    RoundTick();
  } catch (...) {
    ReportHandlerError(Sender);
  }
}

void TForm1::RoundTick() {
  if (++FrameCount > 99) FrameCount = 0;
  if (Clock <= 0) return ResultScreenTick();
  if (Phase == 0) ChooseNextPair();
  StepPhase();
  if (Phase == kLevelUp) PlayEffect("lv.wav");
  ShakeCopy();
  DrawClockFace();
}

// PicNo is kept from game to game, so the same pair never comes twice in a
// row, not even across the start of a new game.
void TForm1::ChooseNextPair() {
  PrevPicNo = PicNo;
  PicNo = ChoosePair(Level, PrevPicNo);
  const TDiffCell cell = DifferenceCell(PicNo);
  DiffCol = cell.Col;
  DiffRow = cell.Row;
  nomal2->Picture().LoadFromFile(PairPicturePath(PicNo, ""));
  nomal3->Picture().LoadFromFile(PairPicturePath(PicNo, "a"));
}

// Draws this phase's frame into the back buffer, then moves on. A new pair
// wipes in half by half: left (0-3), right (4-7), then both (8-25), while the
// other half still shows what was there before.
void TForm1::StepPhase() {
  TBitmap& back = bak->Picture();
  if (Within(Phase, 0, 3)) {
    HalfCopy(back, nomal2->Picture(), kLeftHalf);
    ++Phase;
  } else if (Within(Phase, 4, 7)) {
    HalfCopy(back, nomal3->Picture(), kRightHalf);
    ++Phase;
  } else if (Within(Phase, 8, kWaiting)) {
    HalfCopy(back, nomal2->Picture(), kLeftHalf);
    HalfCopy(back, nomal3->Picture(), kRightHalf);
    if (Phase == kWaiting) {
      ShowTitle = false;  // the pair now waits here for a click
    } else {
      if (ShowTitle) DrawTitleBanner(back, title->Picture());
      ++Phase;
    }
  } else if (Within(Phase, 100, 106)) {
    FullCopy(back, great->Picture());
    ++Phase;
  } else if (Phase == 107) {
    Phase = 0;
    ++Level;
    if (Level % kLevelUpStep == 0) Phase = kLevelUp;
  } else if (Within(Phase, 200, 206)) {
    FullCopy(back, cry->Picture());
    ++Phase;
  } else if (Phase == 207) {
    Phase = 0;
    Level /= 2;
    if (Level < 1) Level = 1;
  } else if (Within(Phase, kLevelUp, 309)) {
    FullCopy(back, FrameCount % 2 == 0 ? lv1->Picture() : lv2->Picture());
    ++Phase;
  } else if (Phase == 310) {
    Phase = 0;
  }
}

void TForm1::ShakeCopy() {
  ShakeCopyOnto(cg->Picture(), bak->Picture());
}
