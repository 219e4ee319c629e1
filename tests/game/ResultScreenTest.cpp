#include <optional>

#include "tests/game/RoundFixture.h"

namespace {

using namespace round_fixture;

constexpr TColor kGrey = RGB(128, 128, 128);
constexpr TColor kHiEven = RGB(255, 70, 163);
constexpr TColor kHiOdd = RGB(255, 81, 255);

struct Offset {
  int a, b;
  bool operator==(const Offset&) const = default;
};

class ResultScreenTest : public RoundFixture {
 protected:
  // Plays a game to its end with the given score against the given best.
  void EndGame(int score, int best) {
    Press(100, 100);
    my.hi = best;
    my.score = score;
    Clock = 0;
    sounds_.clear();
  }

  // Where the screen shows text (bold italic on white, in size and colour)
  // with its top-left corner at (x + a, y + b), a and b 0 to 4. Only the
  // first rows rows are compared: the next text may cover the rest.
  std::optional<Offset> FindText(int x, int y, const std::string& text, int size, TColor colour,
                                 int rows) {
    TBitmap cell;
    cell.SetSize(400, 60);
    TCanvas& canvas = cell.Canvas();
    canvas.Font.Size = size;
    canvas.Font.Color = colour;
    canvas.Font.Bold = true;
    canvas.Font.Italic = true;
    canvas.Brush.Color = RGB(255, 255, 255);
    canvas.TextOut(0, 0, text);
    const int width = canvas.TextWidth(text);
    const int height = std::min(canvas.TextHeight(text), rows);
    std::optional<Offset> found;
    for (int b = 0; b <= 4; ++b) {
      for (int a = 0; a <= 4; ++a) {
        bool same = true;
        for (int cy = 0; cy < height && same; ++cy)
          for (int cx = 0; cx < width && same; ++cx)
            same = Screen().Pixel(x + a + cx, y + b + cy) == cell.Pixel(cx, cy);
        if (same) {
          EXPECT_FALSE(found) << text << " matches at two places";
          found = Offset{a, b};
        }
      }
    }
    return found;
  }
};

// The music and the effect of the result screen come once per game end,
// at its first tick, however long the screen shows.
TEST_F(ResultScreenTest, ResultMusicAndEffectComeOncePerGame) {
  for (int game = 1; game <= 2; ++game) {
    EndGame(0, 5);
    VirtualAdvance(20);
    EXPECT_EQ(sounds_,
              (std::vector<SoundCall>{{"PlayMusic", "rei.mid"}, {"PlayEffect", "katan.wav"}}))
        << "game " << game;
    VirtualAdvance(3000);
    EXPECT_EQ(CountSound("PlayMusic", "rei.mid"), 1) << "game " << game;
    EXPECT_EQ(CountSound("PlayEffect", "katan.wav"), 1) << "game " << game;
    EXPECT_TRUE(GameOver);
    Press(20, 230);  // retry
  }
}

// The screen: the result picture shaken, the number of hits and the best,
// each text jittered by its own draws, taken after the shake's.
TEST_F(ResultScreenTest, ScoreAndBestJitterEachByTheirOwnDraws) {
  EndGame(3, 8);
  Phase = 25;
  const std::uint32_t seed = 777;
  RandSeed = seed;
  const std::vector<int> j = DrawsFrom(seed, std::vector<int>(10, 5));
  Tick();
  EXPECT_TRUE(GameOver);
  EXPECT_EQ(Phase, 25) << "the last phase is kept";
  EXPECT_EQ(CountColour(Screen(), {0, 0, 240, 300}, kEnding), 240 * 300);
  EXPECT_EQ(FindText(250, 120, "正解数", 28, kGrey, 36), (Offset{j[4], j[5]}));
  EXPECT_EQ(FindText(260, 160, "⇒3", 28, kGrey, 36), (Offset{j[6], j[7]}));
  EXPECT_EQ(FindText(270, 200, "(hi:8)", 16, kGrey, 21), (Offset{j[8], j[9]}));
  EXPECT_EQ(my.hi, 8);
  EXPECT_EQ(CountColour(Screen(), {0, 0, 400, 300}, kHiEven), 0);
  EXPECT_EQ(CountColour(Screen(), {0, 0, 400, 300}, kHiOdd), 0);
}

// A score that reaches or ties the best becomes the best and brings the
// hi-score line, which blinks between its two colours from tick to tick;
// a lower score leaves the best and shows no line.
TEST_F(ResultScreenTest, HiScoreLine) {
  struct Case {
    int score, best;
    bool cleared;  // "初期化" pressed before the game ended
    bool line;
    int bestAfter;
  };
  const Case cases[] = {{5, 3, false, true, 5},  {3, 3, false, true, 3}, {0, 0, false, true, 0},
                        {2, 5, false, false, 5}, {1, 9, true, true, 1},  {0, 9, true, true, 0}};
  for (const Case& c : cases) {
    SetUp();
    EndGame(c.score, c.best);
    if (c.cleared) Form1->Button2->Click();
    const std::string label = std::to_string(c.score) + " against " + std::to_string(c.best);
    for (int tick = 0; tick < 4; ++tick) {
      const bool evenFrame = (FrameCount + 1) % 2 == 0;
      const std::uint32_t seed = 1000 + tick;
      RandSeed = seed;
      const std::vector<int> j = DrawsFrom(seed, std::vector<int>(12, 5));
      Tick();
      EXPECT_EQ(my.hi, c.bestAfter) << label;
      EXPECT_EQ(FindText(270, 200, "(hi:" + std::to_string(c.bestAfter) + ")", 16, kGrey, 21),
                (Offset{j[8], j[9]}))
          << label;
      const std::optional<Offset> even = FindText(230, 225, "HI-SCORE!!", 20, kHiEven, 40);
      const std::optional<Offset> odd = FindText(230, 225, "HI-SCORE!!", 20, kHiOdd, 40);
      if (!c.line) {
        EXPECT_FALSE(even || odd) << label;
        continue;
      }
      EXPECT_EQ(evenFrame ? even : odd, (Offset{j[10], j[11]})) << label << " tick " << tick;
      EXPECT_FALSE(evenFrame ? odd : even) << label << " tick " << tick;
    }
    TearDown();
  }
}

}  // namespace
