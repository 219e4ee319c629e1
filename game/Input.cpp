// Presses on the picture area, and the two buttons. Every mouse button acts
// alike, and what a press means depends on the screen: the title screen
// starts a game, the result screen offers retry and quit, and during a game
// a press on a fully shown pair is tested against its difference cell.
#include "game/ErrorReport.h"
#include "game/HitTest.h"
#include "game/Unit1.h"
#include "platform/Application.h"

namespace {
constexpr std::int32_t kGameSeconds = 50;
constexpr std::int32_t kShortGameSeconds = 5;
constexpr std::int32_t kHitPhase = 100;
constexpr std::int32_t kMissPhase = 200;
constexpr std::int32_t kPairShownFrom = 8;  // phases 8 to 25 show the whole pair
}  // namespace

void TForm1::cgMouseDown(TObject*, TMouseButton, TShiftState, int X, int Y) {
  if (!Timer1->Enabled() && !GameOver) return StartGame();
  if (GameOver) return ResultScreenClick(X, Y);
  PairClick(X, Y);
}

void TForm1::StartGame() {
  Timer1->SetEnabled(true);
  Timer3->SetEnabled(true);
  Timer2->SetEnabled(false);
  Clock = kGameSeconds;
  GameOver = false;
  Phase = 0;
  PlayEffect("1.wav");
  PlayEffect("start.wav");
  PlayMusic("T_ssix05.mid");
  my.score = 0;
  Level = 0;
  ShowTitle = true;
}

void TForm1::ResultScreenClick(int x, int y) {
  if (InRetryRegion(x, y)) return BackToTitle();
  if (InQuitRegion(x, y)) Close();  // FormClose saves the score and says farewell
}

// The music is left playing: the title music is not started again.
void TForm1::BackToTitle() {
  Clock = kGameSeconds;
  GameOver = false;
  Timer1->SetEnabled(false);
  Timer3->SetEnabled(false);
  Timer2->SetEnabled(true);
  PlayEffect("1.wav");
  PlayVoice("yatta.wav");
  my.score = 0;
  Level = 0;
  Phase = 0;
  try {
    const std::string titlePicture = Application.ExeFolder() + kTitlePictureName;
    cg->Picture().LoadFromFile(titlePicture);
    bak->Picture().LoadFromFile(titlePicture);
  } catch (...) {
    ReportHandlerError(this);
  }
}

// Only a fully shown pair takes a press, and only while time is left; a
// press during the wipe-in or an answer does nothing at all.
void TForm1::PairClick(int x, int y) {
  if (Phase < kPairShownFrom || Phase >= kHitPhase || Clock <= 0) return;
  ShowTitle = false;
  if (HitsDifference(x, y, DiffCol, DiffRow)) {
    Phase = kHitPhase;
    ++my.score;
    PlayEffect("good.wav");
  } else {
    Phase = kMissPhase;
    PlayEffect("gya1.wav");
    ++my.miss;
    --Clock;  // a miss costs a second
  }
}

// "start": a 5-second game without the start sounds, the game music and the
// title banner. It also leaves the result screen, so that the countdown
// runs and the pair takes presses; on the other screens GameOver is false
// already.
void TForm1::Button1Click(TObject*) {
  Timer1->SetEnabled(true);
  Timer3->SetEnabled(true);
  Timer2->SetEnabled(false);
  Clock = kShortGameSeconds;
  my.score = 0;
  Level = 0;
  my.miss = 0;
  GameOver = false;
}

// Clears the best score; the file receives it at the next closing.
void TForm1::Button2Click(TObject*) {
  my.hi = 0;
}
