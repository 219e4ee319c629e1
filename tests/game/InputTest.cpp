#include "game/HitTest.h"
#include "tests/game/RoundFixture.h"

namespace {

using namespace round_fixture;

class InputTest : public RoundFixture {
 protected:
  // The result screen of a finished game.
  void ResultScreen() {
    WaitingPair(1, 1);
    Clock = 0;
    Tick();
    ASSERT_TRUE(GameOver);
    sounds_.clear();
  }
};

struct HitCase {
  int col, row, x, y;
  bool hit;
};

// A counted press in the difference cell, in either half, is a hit: the
// answer phase, a point and "good.wav". Anywhere else is a miss that costs
// a second. Every button alike.
TEST_F(InputTest, PressIsTestedAgainstTheDifferenceCellInEitherHalf) {
  const HitCase cases[] = {
      // the corners of cell (1, 1) and just outside them
      {1, 1, 1, 1, true},
      {1, 1, 66, 74, true},
      {1, 1, 201, 1, true},
      {1, 1, 266, 74, true},
      {1, 1, 0, 1, false},
      {1, 1, 67, 1, false},
      {1, 1, 1, 75, false},
      {1, 1, 200, 1, false},
      {1, 1, 267, 1, false},
      // column 3 ends at x 198 and 398
      {3, 1, 133, 10, true},
      {3, 1, 198, 10, true},
      {3, 1, 199, 10, false},
      {3, 2, 200, 100, false},
      {3, 3, 199, 200, false},
      {3, 3, 333, 200, true},
      {3, 3, 332, 200, false},
      {3, 3, 398, 200, true},
      {3, 3, 399, 200, false},
      // rows are one pixel apart
      {2, 2, 100, 75, false},
      {2, 2, 100, 76, true},
      {2, 2, 100, 149, true},
      {2, 2, 100, 150, false},
      {2, 3, 300, 151, true},
      {2, 3, 300, 224, true},
      {2, 3, 300, 225, false},
      {2, 3, 100, 299, false},
  };
  for (const HitCase& c : cases) {
    for (TMouseButton button : {mbLeft, mbRight}) {
      const std::string label = "cell " + std::to_string(c.col) + "," + std::to_string(c.row) +
                                " at " + std::to_string(c.x) + "," + std::to_string(c.y) +
                                (button == mbLeft ? " left" : " right");
      EXPECT_EQ(HitsDifference(c.x, c.y, c.col, c.row), c.hit) << label;
      WaitingPair(c.col, c.row);
      my.score = 4;
      my.miss = 2;
      ShowTitle = true;
      sounds_.clear();
      Press(c.x, c.y, button);
      EXPECT_FALSE(ShowTitle) << label;
      if (c.hit) {
        EXPECT_EQ(Phase, 100) << label;
        EXPECT_EQ(my.score, 5) << label;
        EXPECT_EQ(my.miss, 2) << label;
        EXPECT_EQ(Clock, 30) << label;
        EXPECT_EQ(sounds_, (std::vector<SoundCall>{{"PlayEffect", "good.wav"}})) << label;
      } else {
        EXPECT_EQ(Phase, 200) << label;
        EXPECT_EQ(my.score, 4) << label;
        EXPECT_EQ(my.miss, 3) << label;
        EXPECT_EQ(Clock, 29) << label;
        EXPECT_EQ(sounds_, (std::vector<SoundCall>{{"PlayEffect", "gya1.wav"}})) << label;
      }
    }
  }
}

// Only a fully shown pair (phases 8 to 25) with time left takes a press.
TEST_F(InputTest, PressesThatDoNotCount) {
  struct Case {
    int phase, clock;
  };
  const Case cases[] = {{0, 30},   {7, 30},   {100, 30}, {107, 30}, {200, 30},
                        {207, 30}, {300, 30}, {310, 30}, {25, 0},   {25, -1}};
  for (const Case& c : cases) {
    for (int x : {100, 1}) {  // a hit and a miss of cell (2, 2)
      WaitingPair(2, 2);
      Phase = c.phase;
      Clock = c.clock;
      ShowTitle = true;
      my.score = 1;
      my.miss = 1;
      sounds_.clear();
      Press(x, 100);
      EXPECT_EQ(Phase, c.phase) << c.phase << " " << c.clock;
      EXPECT_EQ(Clock, c.clock) << c.phase;
      EXPECT_EQ(my.score, 1) << c.phase;
      EXPECT_EQ(my.miss, 1) << c.phase;
      EXPECT_TRUE(ShowTitle) << c.phase;
      EXPECT_TRUE(sounds_.empty()) << c.phase;
    }
  }
  WaitingPair(2, 2);
  Phase = 8;
  Press(100, 100);
  EXPECT_EQ(Phase, 100) << "phase 8 shows the whole pair";
}

// A press anywhere on the title screen starts a game of 50 seconds with
// its sounds and the title banner; the misses since start-up are kept.
TEST_F(InputTest, PressOnTheTitleScreenStartsAGame) {
  for (TMouseButton button : {mbLeft, mbRight, mbMiddle}) {
    SetUp();
    my.score = 9;
    my.miss = 3;
    Level = 8;
    Phase = 42;
    Press(399, 299, button);
    EXPECT_TRUE(Form1->Timer1->Enabled());
    EXPECT_TRUE(Form1->Timer3->Enabled());
    EXPECT_FALSE(Form1->Timer2->Enabled());
    EXPECT_EQ(Clock, 50);
    EXPECT_FALSE(GameOver);
    EXPECT_EQ(Phase, 0);
    EXPECT_EQ(my.score, 0);
    EXPECT_EQ(Level, 0);
    EXPECT_TRUE(ShowTitle);
    EXPECT_EQ(my.miss, 3);
    EXPECT_EQ(sounds_, (std::vector<SoundCall>{{"PlayEffect", "1.wav"},
                                               {"PlayEffect", "start.wav"},
                                               {"PlayMusic", "T_ssix05.mid"}}));
    TearDown();
  }
}

enum class Outcome { Nothing, Retry, Quit };

// The result screen's two choices at the left edge of its picture.
TEST_F(InputTest, ResultScreenRegions) {
  struct Case {
    int x, y;
    Outcome outcome;
  };
  const Case cases[] = {
      {0, 219, Outcome::Retry},     {56, 253, Outcome::Retry},   {20, 230, Outcome::Retry},
      {57, 230, Outcome::Nothing},  {0, 218, Outcome::Nothing},  {0, 254, Outcome::Nothing},
      {0, 263, Outcome::Nothing},   {0, 264, Outcome::Quit},     {56, 294, Outcome::Quit},
      {0, 294, Outcome::Quit},      {57, 280, Outcome::Nothing}, {0, 295, Outcome::Nothing},
      {200, 150, Outcome::Nothing},
  };
  for (const Case& c : cases) {
    const std::string label = std::to_string(c.x) + "," + std::to_string(c.y);
    EXPECT_EQ(InRetryRegion(c.x, c.y), c.outcome == Outcome::Retry) << label;
    EXPECT_EQ(InQuitRegion(c.x, c.y), c.outcome == Outcome::Quit) << label;
    SetUp();
    ResultScreen();
    my.score = 6;
    Level = 4;
    Phase = 25;
    Press(c.x, c.y, mbRight);
    switch (c.outcome) {
      case Outcome::Nothing:
        EXPECT_TRUE(GameOver) << label;
        EXPECT_TRUE(Form1->Timer1->Enabled()) << label;
        EXPECT_TRUE(sounds_.empty()) << label;
        EXPECT_TRUE(VirtualMainFormShown()) << label;
        break;
      case Outcome::Retry:
        EXPECT_EQ(Clock, 50) << label;
        EXPECT_FALSE(GameOver) << label;
        EXPECT_FALSE(Form1->Timer1->Enabled()) << label;
        EXPECT_FALSE(Form1->Timer3->Enabled()) << label;
        EXPECT_TRUE(Form1->Timer2->Enabled()) << label;
        EXPECT_EQ(sounds_,
                  (std::vector<SoundCall>{{"PlayEffect", "1.wav"}, {"PlayVoice", "yatta.wav"}}))
            << label;
        EXPECT_EQ(my.score, 0) << label;
        EXPECT_EQ(Level, 0) << label;
        EXPECT_EQ(Phase, 0) << label;
        EXPECT_EQ(CountColour(Screen(), {0, 0, 400, 300}, kStartColour), 400 * 300) << label;
        EXPECT_EQ(CountColour(Back(), {0, 0, 400, 300}, kStartColour), 400 * 300) << label;
        break;
      case Outcome::Quit:
        EXPECT_FALSE(VirtualMainFormShown()) << label;
        EXPECT_TRUE(Application.Terminated()) << label;
        ASSERT_EQ(VirtualDialogs().size(), 1u) << label;
        EXPECT_EQ(VirtualDialogs()[0].text, "おねしょしちゃってごめんね") << label;
        EXPECT_EQ(sounds_, (std::vector<SoundCall>{{"PlayEffect", "1.wav"}})) << label;
        {
          std::ifstream in(ScorePath(), std::ios::binary);
          const std::string bytes((std::istreambuf_iterator<char>(in)), {});
          EXPECT_EQ(bytes, "Test\r\n7\r\n1\r\n6\r\n0\r\n") << label;
        }
        break;
    }
    TearDown();
  }
}

// Retry, then a press on the title screen: a new game of 50 seconds.
TEST_F(InputTest, AfterRetryAPressStartsANewGame) {
  ResultScreen();
  Press(0, 219);
  ASSERT_FALSE(GameOver);
  Press(300, 10);
  EXPECT_TRUE(Form1->Timer1->Enabled());
  EXPECT_EQ(Clock, 50);
  EXPECT_EQ(Phase, 0);
  EXPECT_TRUE(ShowTitle);
}

// A title picture that has gone missing is reported; the game stays on
// the title screen and goes on.
TEST_F(InputTest, RetryWithTheTitlePictureMissingIsReported) {
  ResultScreen();
  fs::remove(folder_ / "cg" / "start.bmp");
  Press(0, 219);
  ASSERT_EQ(VirtualDialogs().size(), 1u);
  EXPECT_EQ(VirtualDialogs()[0].kind, TDialogKind::Error);
  EXPECT_FALSE(GameOver);
  EXPECT_FALSE(Form1->Timer1->Enabled());
  Press(10, 10);
  EXPECT_TRUE(Form1->Timer1->Enabled()) << "the title screen still starts a game";
}

// A miss at the last second ends the game: the next tick is the result screen.
TEST_F(InputTest, MissAtTheLastSecondEndsTheGame) {
  WaitingPair(1, 1);
  Clock = 1;
  Press(10, 250);
  EXPECT_EQ(Clock, 0);
  EXPECT_FALSE(GameOver);
  Tick();
  EXPECT_TRUE(GameOver);
}

// "start" begins a 5-second game without the start sounds, the music or
// the banner, from any screen; "初期化" clears the best score.
TEST_F(InputTest, ButtonsStartAShortGameAndClearTheBest) {
  for (bool fromResult : {false, true}) {
    SetUp();
    if (fromResult) ResultScreen();
    my.score = 3;
    my.miss = 4;
    Level = 9;
    Phase = 25;
    Form1->Button1->Click();
    EXPECT_TRUE(Form1->Timer1->Enabled());
    EXPECT_TRUE(Form1->Timer3->Enabled());
    EXPECT_FALSE(Form1->Timer2->Enabled());
    EXPECT_EQ(Clock, 5);
    EXPECT_EQ(my.score, 0);
    EXPECT_EQ(my.miss, 0);
    EXPECT_EQ(Level, 0);
    EXPECT_EQ(Phase, 25);
    EXPECT_FALSE(ShowTitle);
    EXPECT_TRUE(sounds_.empty());
    // The short game runs out and ends in the result screen even when it
    // was started from one.
    VirtualAdvance(5000);
    EXPECT_EQ(Clock, 0) << (fromResult ? "from the result screen" : "from the title");
    VirtualAdvance(20);
    EXPECT_TRUE(GameOver);
    EXPECT_EQ(CountSound("PlayMusic", "rei.mid"), 1);
    TearDown();
  }
  SetUp();
  my.hi = 12;
  Form1->Button2->Click();
  EXPECT_EQ(my.hi, 0);
}

}  // namespace
