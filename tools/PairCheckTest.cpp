// The pair check must pass a pair only when the change lies wholly inside
// its cell's inner area, and say clearly what is wrong otherwise.
#include <gtest/gtest.h>

#include <filesystem>

#include "PairCheck.h"
#include "platform/Graphics.h"

namespace {

struct PairCase {
  const char* Name;
  TCell Cell;
  std::vector<TPixelBox> Changes;
  bool Ok;
  const char* MessagePart;  // the message must say this
  int Width = kShownWidth;
  int Height = kShownHeight;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const PairCase& c, std::ostream* out) { *out << c.Name; }

void Fill(TBitmap& picture, const TPixelBox& box, TColor colour) {
  for (int y = box.Top; y <= box.Bottom; ++y)
    for (int x = box.Left; x <= box.Right; ++x) picture.SetPixel(x, y, colour);
}

// A left picture with some detail (so that equal pixels are not just one
// colour), and a right one that is its copy with the given changes.
void MakePair(const PairCase& c, TBitmap& left, TBitmap& right) {
  left.SetSize(c.Width, c.Height);
  right.SetSize(c.Width, c.Height);
  for (int y = 0; y < c.Height; ++y)
    for (int x = 0; x < c.Width; ++x) {
      const TColor shade = RGB(x % 256, y % 256, (x * y) % 256);
      left.SetPixel(x, y, shade);
      right.SetPixel(x, y, shade);
    }
  for (const TPixelBox& change : c.Changes) Fill(right, change, RGB(255, 0, 255));
}

const PairCase kCases[] = {
    {"SpotInsideCell", {3, 1}, {{150, 30, 170, 50}}, true, "21 x 21 px at x 150..170, y 30..50"},
    {"SpotFillsInnerAreaExactly", {3, 1}, {{139, 7, 192, 68}}, true, "inside column 3, row 1"},
    {"MiddleCell", {2, 2}, {{90, 100, 110, 120}}, true, "inside column 2, row 2"},
    {"TinySpotPassesWithNote", {1, 3}, {{30, 190, 33, 193}}, true, "note: 4 px across"},
    {"NothingDiffers", {1, 1}, {}, false, "nothing to find"},
    {"IntoLeftMargin", {3, 1}, {{138, 30, 150, 40}}, false, "x 138..150"},
    {"IntoRightMargin", {3, 1}, {{180, 30, 193, 40}}, false, "beyond column 3, row 1"},
    {"IntoTopMargin", {1, 1}, {{20, 6, 30, 20}}, false, "y 6..20"},
    {"IntoBottomMargin", {2, 3}, {{80, 200, 90, 219}}, false, "(x 73..126, y 157..218)"},
    {"WrongCell", {1, 1}, {{150, 30, 170, 50}}, false, "beyond column 1, row 1"},
    {"StrayPixelFarAway", {2, 2}, {{90, 100, 110, 120}, {5, 290, 5, 290}}, false, "x 5..110, y 100..290"},
    {"ChangeOnlyBeyondShownPart", {1, 1}, {{250, 30, 260, 40}}, false, "nothing to find", 400, 300},
    {"PictureTooNarrow", {1, 1}, {{20, 20, 30, 30}}, false, "7.bmp is 150 x 300, smaller", 150, 300},
    {"PictureTooShort", {1, 1}, {{20, 20, 30, 30}}, false, "is 200 x 200, smaller", 200, 200},
};

class PairCheckCases : public testing::TestWithParam<PairCase> {};

TEST_P(PairCheckCases, JudgesThePair) {
  const PairCase& c = GetParam();
  TBitmap left, right;
  MakePair(c, left, right);
  const TPairVerdict verdict = CheckPair(7, left, right, c.Cell);
  EXPECT_EQ(verdict.Ok, c.Ok) << verdict.Message;
  EXPECT_NE(verdict.Message.find("pair 7: "), std::string::npos) << verdict.Message;
  EXPECT_NE(verdict.Message.find(c.MessagePart), std::string::npos) << verdict.Message;
}

INSTANTIATE_TEST_SUITE_P(Table, PairCheckCases, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(PairCheck, CellsMatchTheClickAreas) {
  // Columns touch, rows leave one pixel between them, as the clicks count.
  const struct {
    TCell Cell;
    TPixelBox Expected;
  } cells[] = {
      {{1, 1}, {1, 1, 66, 74}},
      {{2, 2}, {67, 76, 132, 149}},
      {{3, 3}, {133, 151, 198, 224}},
  };
  for (const auto& c : cells) {
    const TPixelBox got = CellBox(c.Cell);
    EXPECT_EQ(got.Describe(), c.Expected.Describe());
  }
}

TEST(PairCheck, UnreadableFileFailsThePairNamingTheFile) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "pair_check_no_pictures";
  std::filesystem::create_directories(folder);
  std::filesystem::remove(folder / "4.bmp");
  const TPairVerdict verdict = CheckPairFiles(folder.string(), 4);
  EXPECT_FALSE(verdict.Ok);
  EXPECT_NE(verdict.Message.find("pair 4: "), std::string::npos) << verdict.Message;
  EXPECT_NE(verdict.Message.find("4.bmp"), std::string::npos) << verdict.Message;
}

}  // namespace
