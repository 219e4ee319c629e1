#include <memory>

#include "tests/game/RoundFixture.h"

namespace {

using namespace round_fixture;

class ClockTest : public RoundFixture {
 protected:
  // The clock face's text as it would look on its pink cell.
  static TBitmap* ClockText(const std::string& text) {
    auto* bitmap = new TBitmap;
    Fill(*bitmap, 100, 40, kPink);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Font.Color = RGB(255, 255, 255);
    canvas.Font.Size = 17;
    canvas.Font.Bold = true;
    canvas.Font.Italic = true;
    canvas.Brush.Color = kPink;
    canvas.TextOut(0, 0, text);
    return bitmap;
  }

  // Whether the screen shows text's cell with its top-left corner at (175, 275).
  bool ShowsClock(const std::string& text) {
    std::unique_ptr<TBitmap> expected(ClockText(text));
    const int width = expected->Canvas().TextWidth(text);
    const int height = std::min(expected->Canvas().TextHeight(text), 300 - 275);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (Screen().Pixel(175 + x, 275 + y) != expected->Pixel(x, y)) return false;
    return true;
  }
};

// Once a second during a game the clock goes down with "time.wav"; the
// title and result screens hear nothing.
TEST_F(ClockTest, CountdownRunsOnlyDuringAGame) {
  VirtualAdvance(3000);
  EXPECT_EQ(CountSound("PlayEffect", "time.wav"), 0) << "title screen";
  Press(100, 100);
  VirtualAdvance(999);
  EXPECT_EQ(Clock, 50);
  VirtualAdvance(1);
  EXPECT_EQ(Clock, 49);
  EXPECT_EQ(CountSound("PlayEffect", "time.wav"), 1);
  Clock = 1;
  VirtualAdvance(1000);
  EXPECT_EQ(Clock, 0);
  VirtualAdvance(20);
  ASSERT_TRUE(GameOver);
  sounds_.clear();
  VirtualAdvance(3000);
  EXPECT_EQ(Clock, 0) << "the clock stays where it ended";
  EXPECT_EQ(CountSound("PlayEffect", "time.wav"), 0) << "result screen";
  EXPECT_TRUE(Form1->Timer3->Enabled()) << "idle, not off";
}

// A game of 50 seconds ends about 50 seconds after it starts, and every
// miss brings the end one second closer.
TEST_F(ClockTest, GameEndsWhenTheClockRunsOut) {
  for (int misses : {0, 3}) {
    SetUp();
    Press(100, 100);
    int missed = 0, elapsed = 0;
    while (!GameOver && elapsed < 60000) {
      if (missed < misses && Phase >= 8 && Phase < 100) {
        Press(10, 280);  // below every cell: a miss
        ++missed;
      }
      VirtualAdvance(20);
      elapsed += 20;
    }
    EXPECT_EQ(missed, misses);
    EXPECT_GT(elapsed, (50 - misses) * 1000 - 20) << misses << " misses";
    EXPECT_LE(elapsed, (50 - misses) * 1000 + 20) << misses << " misses";
    EXPECT_EQ(CountSound("PlayEffect", "time.wav"), 50 - misses);
    TearDown();
  }
}

// The clock face lies on the screen over the shaken picture: the pink
// ellipse and the seconds. It shows 50 at the first tick, and a clock at 0
// is never shown: that tick is the result screen.
TEST_F(ClockTest, ClockFaceIsDrawnOverTheShakenPicture) {
  Press(100, 100);
  VirtualAdvance(20);
  ASSERT_EQ(Phase, 1);
  // Inside the ellipse but right of the text: the brush; at its top-left
  // corner: outside it, so the picture.
  EXPECT_EQ(Screen().Pixel(240, 287), kPink);
  EXPECT_EQ(Screen().Pixel(157, 273), LeftColour(PicNo));
  EXPECT_TRUE(ShowsClock("50秒"));
  EXPECT_FALSE(ShowsClock("49秒"));
  for (int tick = 0; tick < 30; ++tick) {
    VirtualAdvance(20);
    EXPECT_EQ(Screen().Pixel(240, 287), kPink) << "tick " << tick;
  }
  Clock = 1;
  VirtualAdvance(20);
  EXPECT_TRUE(ShowsClock("1秒"));
  Clock = 0;
  VirtualAdvance(20);
  EXPECT_EQ(Screen().Pixel(240, 287), kEnding) << "no clock face on the result screen";
  EXPECT_FALSE(ShowsClock("0秒"));
}

// On the title screen the back buffer (the title picture) is shaken onto
// the screen at every Timer2 tick; during a game Timer2 is off.
TEST_F(ClockTest, TitlePictureTremblesWhileWaiting) {
  FillWithPositions(Back(), 400, 300);
  for (std::uint32_t seed : {11u, 12u, 13u}) {
    RandSeed = seed;
    const std::vector<int> j = DrawsFrom(seed, {5, 5, 5, 5});
    TBitmap expected;
    CopyBitmap(expected, Screen());
    ExpectedShake(expected, Back(), j[0], j[1], j[2], j[3]);
    VirtualAdvance(20);
    EXPECT_TRUE(SamePixels(Screen(), expected)) << "seed " << seed;
  }
  Press(100, 100);
  Form1->Timer1->SetEnabled(false);
  Fill(Screen(), 400, 300, kCry);
  VirtualAdvance(200);
  EXPECT_EQ(CountColour(Screen(), {0, 0, 400, 300}, kCry), 400 * 300) << "Timer2 is off";
}

}  // namespace
