#include <set>

#include "game/PairChoice.h"
#include "tests/game/RoundFixture.h"

namespace {

using namespace round_fixture;

class RoundTest : public RoundFixture {};

TEST(PairChoiceTest, LevelWidensTheChoiceOfPairs) {
  struct Case {
    int level, range;
  };
  const Case cases[] = {{0, 4},  {5, 4},  {6, 5},  {11, 5}, {12, 6},  {18, 7},
                        {24, 8}, {29, 8}, {30, 9}, {40, 9}, {1000, 9}};
  for (const Case& c : cases) {
    EXPECT_EQ(PairRange(c.level), c.range) << "level " << c.level;
    RandSeed = 99;
    std::set<int> seen;
    for (int i = 0; i < 400; ++i) seen.insert(ChoosePair(c.level, 0));
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(c.range)) << "level " << c.level;
    EXPECT_EQ(*seen.begin(), 1) << "level " << c.level;
    EXPECT_EQ(*seen.rbegin(), c.range) << "level " << c.level;
  }
}

TEST(PairChoiceTest, DifferenceTable) {
  const TDiffCell table[] = {{3, 1}, {3, 3}, {2, 1}, {2, 3}, {1, 3},
                             {1, 1}, {2, 2}, {2, 3}, {1, 1}};
  for (int n = 1; n <= 9; ++n) {
    EXPECT_EQ(DifferenceCell(n).Col, table[n - 1].Col) << "pair " << n;
    EXPECT_EQ(DifferenceCell(n).Row, table[n - 1].Row) << "pair " << n;
  }
  EXPECT_EQ(DifferenceCell(0).Col, 0);
  EXPECT_EQ(DifferenceCell(10).Row, 0);
}

// Phase 0 chooses a pair within the level's range, loads both of its
// pictures and sets its difference cell from the table.
TEST_F(RoundTest, ChoosingAPairLoadsItsPicturesAndCell) {
  for (int level : {5, 6, 40}) {
    for (int i = 0; i < 30; ++i) {
      Level = level;
      Phase = 0;
      Clock = 10;
      Tick();
      ASSERT_GE(PicNo, 1);
      ASSERT_LE(PicNo, PairRange(level)) << "level " << level;
      EXPECT_EQ(Form1->nomal2->Picture().Pixel(10, 10), LeftColour(PicNo));
      EXPECT_EQ(Form1->nomal3->Picture().Pixel(10, 10), RightColour(PicNo));
      EXPECT_EQ(DiffCol, DifferenceCell(PicNo).Col);
      EXPECT_EQ(DiffRow, DifferenceCell(PicNo).Row);
    }
  }
}

// The same pair never comes twice in a row: within a game, and from the
// last pair of one game to the first of the next.
TEST_F(RoundTest, SamePairNeverComesTwiceInARowAlsoAcrossGames) {
  for (std::uint32_t seed : {1u, 2u, 3u, 77u}) {
    RandSeed = seed;
    for (int game = 0; game < 4; ++game) {
      Press(200, 150);  // start from the title screen
      ASSERT_TRUE(Form1->Timer1->Enabled());
      for (int pair = 0; pair < 25; ++pair) {
        const int before = PicNo;
        Phase = 0;
        Tick();
        EXPECT_NE(PicNo, before) << "seed " << seed << ", game " << game;
        EXPECT_EQ(PrevPicNo, before);
      }
      Clock = 0;
      Tick();          // the result screen
      Press(20, 230);  // retry
      ASSERT_FALSE(Form1->Timer1->Enabled());
    }
  }
}

struct PhaseCase {
  const char* label;
  int phase;
  bool showTitle;
  int frameCountBefore;  // the tick raises it first
  TColor left, right;    // what the halves of the back buffer show afterwards
  bool banner;           // the title banner over the middle
  int next;
};

constexpr TColor kBefore = RGB(1, 2, 3);  // the back buffer before the tick
constexpr int kPair = 3;                  // the pair on show

// Each phase draws into the back buffer and then moves on.
TEST_F(RoundTest, PhaseTableDrawsAndMovesOn) {
  const TColor L = LeftColour(kPair), R = RightColour(kPair);
  const PhaseCase cases[] = {
      {"wipe in left", 1, false, 0, L, kBefore, false, 2},
      {"last left", 3, true, 0, L, kBefore, false, 4},
      {"first right", 4, true, 0, kBefore, R, false, 5},
      {"last right", 7, false, 0, kBefore, R, false, 8},
      {"both", 8, false, 0, L, R, false, 9},
      {"both with banner", 8, true, 0, L, R, true, 9},
      {"last banner", 24, true, 0, L, R, true, 25},
      {"waiting: no banner", 25, true, 0, L, R, false, 25},
      {"hit", 100, false, 0, kGreat, kGreat, false, 101},
      {"hit last drawn", 106, false, 0, kGreat, kGreat, false, 107},
      {"hit done", 107, false, 0, kBefore, kBefore, false, 0},
      {"miss", 200, false, 0, kCry, kCry, false, 201},
      {"miss last drawn", 206, false, 0, kCry, kCry, false, 207},
      {"miss done", 207, false, 0, kBefore, kBefore, false, 0},
      {"level-up, even frame", 300, false, 1, kLv1, kLv1, false, 301},
      {"level-up, odd frame", 305, false, 4, kLv2, kLv2, false, 306},
      {"level-up frame count wraps to even", 309, false, 99, kLv1, kLv1, false, 310},
      {"level-up done", 310, false, 0, kBefore, kBefore, false, 0},
      {"between waiting and hit", 26, false, 0, kBefore, kBefore, false, 26},
      {"between answers", 150, false, 0, kBefore, kBefore, false, 150},
      {"negative", -1, false, 0, kBefore, kBefore, false, -1},
  };
  Form1->nomal2->Picture().LoadFromFile(PairPath(kPair, "").string());
  Form1->nomal3->Picture().LoadFromFile(PairPath(kPair, "a").string());
  for (const PhaseCase& c : cases) {
    Fill(Back(), 400, 300, kBefore);
    Phase = c.phase;
    ShowTitle = c.showTitle;
    FrameCount = c.frameCountBefore;
    Level = 1;
    Clock = 10;
    Tick();
    EXPECT_EQ(Phase, c.next) << c.label;
    EXPECT_EQ(Back().Pixel(30, 30), c.left) << c.label;
    EXPECT_EQ(Back().Pixel(370, 270), c.right) << c.label;
    EXPECT_EQ(Back().Pixel(200, 158) == kBanner, c.banner) << c.label;
    if (c.phase == 25) {
      EXPECT_FALSE(ShowTitle) << c.label;
    }
  }
}

// The new pair comes in half by half: four ticks the left half, four the
// right, while the other half keeps the previous frame; then both.
TEST_F(RoundTest, NewPairWipesInHalfByHalf) {
  Fill(Back(), 400, 300, kBefore);
  Clock = 10;
  Phase = 0;
  for (int tick = 0; tick < 9; ++tick) {
    Tick();
    const TColor left = LeftColour(PicNo), right = RightColour(PicNo);
    const int shown = tick < 4 ? 1 : tick < 8 ? 2 : 3;  // 1 left only, 2 both after right
    EXPECT_EQ(CountColour(Back(), {0, 0, 200, 300}, left), 200 * 300) << "tick " << tick;
    EXPECT_EQ(CountColour(Back(), {200, 0, 400, 300}, shown == 1 ? kBefore : right), 200 * 300)
        << "tick " << tick;
  }
  EXPECT_EQ(Phase, 9);
}

// Each half copy draws its own jitter, left, top, right, bottom in that
// order, and trims the picture by it; the shaken copy draws next.
TEST_F(RoundTest, HalfCopiesAndShakeDrawTheirJitterInOrder) {
  FillWithPositions(Form1->nomal2->Picture(), 200, 300);
  FillWithPositions(Form1->nomal3->Picture(), 200, 300);
  Fill(Back(), 400, 300, kBefore);
  Clock = 10;
  Phase = 9;
  const std::uint32_t seed = 4242;
  RandSeed = seed;
  const std::vector<int> j = DrawsFrom(seed, std::vector<int>(12, 5));
  TBitmap expectedScreen;
  CopyBitmap(expectedScreen, Screen());
  Tick();
  for (int half = 0; half < 2; ++half) {
    const int x0 = half * 200, a = j[4 * half], b = j[4 * half + 1], c = j[4 * half + 2],
              d = j[4 * half + 3];
    EXPECT_EQ(Back().Pixel(x0, 0), PositionColour(a, b)) << "half " << half;
    EXPECT_EQ(Back().Pixel(x0 + 199, 299), PositionColour(199 - c, 299 - d)) << "half " << half;
  }
  ExpectedShake(expectedScreen, Back(), j[8], j[9], j[10], j[11]);
  // The clock face is drawn over the bottom middle; compare everything else.
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      if (y >= 273 && x >= 157 && x < 245) continue;
      ASSERT_EQ(Screen().Pixel(x, y), expectedScreen.Pixel(x, y)) << x << "," << y;
    }
  }
}

// The banner is the 262 x 61 title stretched onto (69-a, 128-b)-(331+c, 189+d),
// its jitter drawn after the two half copies.
TEST_F(RoundTest, TitleBannerSwellsByItsOwnJitter) {
  for (std::uint32_t seed : {5u, 6u, 7u, 8u}) {
    Form1->nomal2->Picture().LoadFromFile(PairPath(1, "").string());
    Form1->nomal3->Picture().LoadFromFile(PairPath(1, "a").string());
    Clock = 10;
    Phase = 12;
    ShowTitle = true;
    RandSeed = seed;
    const std::vector<int> j = DrawsFrom(seed, {5, 5, 5, 5, 5, 5, 5, 5, 10, 10, 10, 10});
    Tick();
    const TRect expected{69 - j[8], 128 - j[9], 331 + j[10], 189 + j[11]};
    const int inside = CountColour(Back(), expected, kBanner);
    EXPECT_EQ(inside, expected.Width() * expected.Height()) << "seed " << seed;
    EXPECT_EQ(CountColour(Back(), {0, 0, 400, 300}, kBanner), inside) << "seed " << seed;
  }
}

struct LevelCase {
  int level;
  bool hit;
  int levelAfter;
  bool levelUp;
};

// After the answer's eight ticks a hit raises the level, a miss halves it
// (never below 1); every sixth level brings the level-up and its sound.
TEST_F(RoundTest, LevelRulesAfterHitsAndMisses) {
  const LevelCase cases[] = {{0, true, 1, false},  {5, true, 6, true},   {6, true, 7, false},
                             {11, true, 12, true}, {0, false, 1, false}, {1, false, 1, false},
                             {7, false, 3, false}, {12, false, 6, false}};
  for (const LevelCase& c : cases) {
    WaitingPair(2, 2);
    Level = c.level;
    sounds_.clear();
    Press(100, c.hit ? 100 : 20);
    ASSERT_EQ(Phase, c.hit ? 100 : 200);
    Ticks(8);
    EXPECT_EQ(Level, c.levelAfter) << c.level << (c.hit ? " hit" : " miss");
    EXPECT_EQ(Phase, c.levelUp ? 300 : 0) << c.level;
    EXPECT_EQ(CountSound("PlayEffect", "lv.wav"), c.levelUp ? 1 : 0) << c.level;
    if (!c.levelUp) continue;
    Ticks(11);  // ten level-up frames and the closing step
    EXPECT_EQ(Phase, 0);
    EXPECT_EQ(CountSound("PlayEffect", "lv.wav"), 1);
  }
}

// A pair whose picture cannot be loaded is reported once; ticks that keep
// coming while the error box is up open no second box; after it is
// dismissed, the next failure is reported again.
TEST_F(RoundTest, PairThatCannotBeLoadedIsReportedInOneBoxAtATime) {
  for (int n = 1; n <= 9; ++n) fs::remove(PairPath(n, "a"));
  Press(200, 150);  // start a game
  int ticksUnderTheBox = 0;
  SetVirtualDialogHandler([&ticksUnderTheBox](const VirtualDialog&) {
    const int before = FrameCount;
    VirtualAdvance(200);
    ticksUnderTheBox = FrameCount - before;
  });
  VirtualAdvance(20);
  ASSERT_EQ(VirtualDialogs().size(), 1u);
  EXPECT_EQ(VirtualDialogs()[0].kind, TDialogKind::Error);
  EXPECT_EQ(VirtualDialogs()[0].caption, "モフロンちゃん");
  EXPECT_NE(VirtualDialogs()[0].text.find("a.bmp"), std::string::npos) << VirtualDialogs()[0].text;
  EXPECT_EQ(ticksUnderTheBox, 10) << "the ticks went on under the box";
  EXPECT_EQ(Phase, 0);
  VirtualAdvance(20);
  EXPECT_EQ(VirtualDialogs().size(), 2u) << "the next failure after the box is reported";
  SetVirtualDialogHandler(nullptr);
  for (int n = 1; n <= 9; ++n)
    WriteBmp(PairPath(n, "a"), 200, 300, [n](int, int) { return RightColour(n); });
  VirtualAdvance(20);
  EXPECT_EQ(Phase, 1) << "a pair that loads goes on";
}

}  // namespace
