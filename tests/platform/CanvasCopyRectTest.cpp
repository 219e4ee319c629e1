#include <gtest/gtest.h>

#include <vector>

#include "platform/Graphics.h"

namespace {

constexpr TColor kWhite = RGB(255, 255, 255);

// A picture whose every pixel is different: the colour tells where it came from.
TColor Tag(int x, int y) {
  return static_cast<TColor>(y * 1000 + x + 1);
}

void FillTagged(TBitmap& bitmap, int width, int height) {
  bitmap.SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, Tag(x, y));
}

std::vector<TColor> RowOf(const TBitmap& bitmap, int y) {
  return std::vector<TColor>(bitmap.Row(y), bitmap.Row(y) + bitmap.Width());
}

TEST(CanvasCopyRect, OneToOneCopyEqualsTheSource) {
  TBitmap source, target;
  FillTagged(source, 400, 300);
  target.SetSize(400, 300);
  target.Canvas().CopyRect({0, 0, 400, 300}, source.Canvas(), {0, 0, 400, 300});
  for (int y = 0; y < 300; ++y) ASSERT_EQ(RowOf(target, y), RowOf(source, y)) << "row " << y;
}

TEST(CanvasCopyRect, HalfSizeTakesThePixelUnderEachCentre) {
  TBitmap source, target;
  FillTagged(source, 8, 8);
  target.SetSize(10, 10);
  target.Canvas().CopyRect({1, 1, 5, 5}, source.Canvas(), {0, 0, 8, 8});
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 1 && x < 5 && y >= 1 && y < 5;
      const TColor want = inside ? Tag(2 * (x - 1) + 1, 2 * (y - 1) + 1) : kWhite;
      EXPECT_EQ(target.Pixel(x, y), want) << x << "," << y;
    }
  }
}

TEST(CanvasCopyRect, DoubleSizeRepeatsEachPixelTwice) {
  TBitmap source, target;
  FillTagged(source, 4, 4);
  target.SetSize(8, 8);
  target.Canvas().CopyRect({0, 0, 8, 8}, source.Canvas(), {0, 0, 4, 4});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(target.Pixel(x, y), Tag(x / 2, y / 2)) << x << "," << y;
}

TEST(CanvasCopyRect, DestinationWithNegativeCornerIsClippedAtTheEdges) {
  // Row A B C D doubled onto (-1, 0)-(7, 1): A A B B C C D D shifted left by
  // one, of which the 5 pixels of the target see A B B C C.
  TBitmap source, target;
  FillTagged(source, 4, 1);
  target.SetSize(5, 1);
  target.Canvas().CopyRect({-1, 0, 7, 1}, source.Canvas(), {0, 0, 4, 1});
  EXPECT_EQ(RowOf(target, 0),
            (std::vector<TColor>{Tag(0, 0), Tag(1, 0), Tag(1, 0), Tag(2, 0), Tag(2, 0)}));
}

TEST(CanvasCopyRect, ShakenCopyFillsTheWholeScreenWithTheStretchedPicture) {
  // The back buffer stretched onto (-4, -4)-(404, 304): 408 x 308 pixels from 400 x 300.
  TBitmap back, screen;
  FillTagged(back, 400, 300);
  screen.SetSize(400, 300);
  screen.Canvas().CopyRect({-4, -4, 404, 304}, back.Canvas(), {0, 0, 400, 300});
  // Screen x = 0 is offset 4 of 408: its centre 4.5 * 400/408 = 4.41 falls in source x 4;
  // screen x = 399 is offset 403: 403.5 * 400/408 = 395.6, source x 395. Likewise for rows:
  // 4.5 * 300/308 = 4.38 and 303.5 * 300/308 = 295.6.
  EXPECT_EQ(screen.Pixel(0, 0), Tag(4, 4));
  EXPECT_EQ(screen.Pixel(399, 0), Tag(395, 4));
  EXPECT_EQ(screen.Pixel(0, 299), Tag(4, 295));
  EXPECT_EQ(screen.Pixel(399, 299), Tag(395, 295));
  // Every screen pixel comes from the picture, in order, with no gap or jump.
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      const TColor c = screen.Pixel(x, y);
      ASSERT_NE(c, kWhite) << x << "," << y;
      if (x > 0) {
        const TColor step = c - screen.Pixel(x - 1, y);
        ASSERT_TRUE(step == 0 || step == 1) << x << "," << y;
      }
    }
  }
}

TEST(CanvasCopyRect, DestinationLargerThanTheTargetKeepsItsScale) {
  TBitmap source, target;
  FillTagged(source, 10, 10);
  target.SetSize(5, 5);
  target.Canvas().CopyRect({2, 2, 12, 12}, source.Canvas(), {0, 0, 10, 10});
  EXPECT_EQ(target.Pixel(1, 1), kWhite);
  EXPECT_EQ(target.Pixel(1, 4), kWhite);
  EXPECT_EQ(target.Pixel(2, 2), Tag(0, 0));
  EXPECT_EQ(target.Pixel(4, 4), Tag(2, 2));
  EXPECT_EQ(target.Pixel(4, 2), Tag(2, 0));
}

TEST(CanvasCopyRect, SourceReadsOutsideTheSourceLeaveTheTargetAlone) {
  TBitmap source, target;
  FillTagged(source, 3, 2);
  target.SetSize(6, 3);
  // Two columns left of the source and one row below it.
  target.Canvas().CopyRect({0, 0, 5, 3}, source.Canvas(), {-2, 0, 3, 3});
  EXPECT_EQ(RowOf(target, 0),
            (std::vector<TColor>{kWhite, kWhite, Tag(0, 0), Tag(1, 0), Tag(2, 0), kWhite}));
  EXPECT_EQ(RowOf(target, 1),
            (std::vector<TColor>{kWhite, kWhite, Tag(0, 1), Tag(1, 1), Tag(2, 1), kWhite}));
  EXPECT_EQ(RowOf(target, 2), std::vector<TColor>(6, kWhite));
}

TEST(CanvasCopyRect, EmptyOrMirroredRectanglesDrawNothing) {
  const TRect cases[][2] = {
      {{0, 0, 0, 4}, {0, 0, 4, 4}},    // empty destination
      {{0, 0, 4, 4}, {0, 0, 4, 0}},    // empty source
      {{4, 0, 0, 4}, {0, 0, 4, 4}},    // mirrored destination
      {{0, 0, 4, 4}, {0, 4, 4, 0}},    // mirrored source
      {{9, 9, 20, 20}, {0, 0, 4, 4}},  // entirely right of and below the target
      {{0, 0, 4, 4}, {5, 0, 9, 4}},    // source entirely beside the source bitmap
  };
  for (const auto& c : cases) {
    TBitmap source, target;
    FillTagged(source, 4, 4);
    target.SetSize(4, 4);
    const auto before = target.Version();
    target.Canvas().CopyRect(c[0], source.Canvas(), c[1]);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(RowOf(target, y), std::vector<TColor>(4, kWhite));
    EXPECT_EQ(target.Version(), before);
  }
}

TEST(CanvasCopyRect, DrawingBumpsTheVersion) {
  TBitmap source, target;
  FillTagged(source, 4, 4);
  target.SetSize(4, 4);
  const auto before = target.Version();
  target.Canvas().CopyRect({0, 0, 4, 4}, source.Canvas(), {0, 0, 4, 4});
  EXPECT_GT(target.Version(), before);
}

TEST(CanvasCopyRect, CopyOntoItselfReadsThePictureAsItWasBefore) {
  TBitmap bitmap;
  FillTagged(bitmap, 4, 1);
  bitmap.Canvas().CopyRect({1, 0, 5, 1}, bitmap.Canvas(), {0, 0, 4, 1});
  EXPECT_EQ(RowOf(bitmap, 0), (std::vector<TColor>{Tag(0, 0), Tag(0, 0), Tag(1, 0), Tag(2, 0)}));
}

TEST(CanvasCopyRect, SetSizeMakesEveryPixelWhite) {
  TBitmap bitmap;
  FillTagged(bitmap, 3, 3);
  bitmap.SetSize(2, 5);
  ASSERT_EQ(bitmap.Width(), 2);
  ASSERT_EQ(bitmap.Height(), 5);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(RowOf(bitmap, y), std::vector<TColor>(2, kWhite));
  bitmap.SetSize(-1, 4);
  EXPECT_TRUE(bitmap.Empty());
}

}  // namespace
