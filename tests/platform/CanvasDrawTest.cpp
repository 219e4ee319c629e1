#include <gtest/gtest.h>

#include <string>

#include "platform/Exception.h"
#include "platform/Graphics.h"
#include "platform/TextRender.h"

namespace {

constexpr TColor kWhite = RGB(255, 255, 255);
constexpr TColor kBrush = RGB(0, 0, 255);
constexpr TColor kFont = RGB(255, 255, 0);
constexpr TColor kPen = RGB(0, 128, 0);

// Each channel of c lies between those of a and b.
bool Between(TColor c, TColor a, TColor b) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const unsigned v = (c >> shift) & 255, x = (a >> shift) & 255, y = (b >> shift) & 255;
    if (v < std::min(x, y) || v > std::max(x, y)) return false;
  }
  return true;
}

struct TextCase {
  const char* text;
  int size;
  bool bold, italic;
};

class CanvasText : public ::testing::TestWithParam<TextCase> {};

TEST_P(CanvasText, FillsExactlyItsCellWithBrushAndFontColours) {
  const TextCase c = GetParam();
  TBitmap bitmap;
  bitmap.SetSize(300, 120);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Font.Size = c.size;
  canvas.Font.Bold = c.bold;
  canvas.Font.Italic = c.italic;
  canvas.Font.Color = kFont;
  canvas.Brush.Color = kBrush;
  const int width = canvas.TextWidth(c.text);
  const int height = canvas.TextHeight(c.text);
  ASSERT_GT(width, c.size / 2);
  ASSERT_GT(height, c.size);  // a line is taller than the em at 96 dpi
  ASSERT_LT(width, 300 - 20);
  canvas.TextOut(20, 10, c.text);
  int fontPixels = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const TColor p = bitmap.Pixel(x, y);
      const bool inCell = x >= 20 && x < 20 + width && y >= 10 && y < 10 + height;
      if (!inCell) {
        ASSERT_EQ(p, kWhite) << x << "," << y;
      } else {
        ASSERT_TRUE(Between(p, kBrush, kFont)) << x << "," << y << " " << std::hex << p;
        fontPixels += p == kFont;
      }
    }
  }
  EXPECT_GT(fontPixels, 0);
  // The top-left pixel of the cell is above every glyph: brush only.
  EXPECT_EQ(bitmap.Pixel(20, 10), kBrush);
}

INSTANTIATE_TEST_SUITE_P(Texts, CanvasText,
                         ::testing::Values(TextCase{"50秒", 17, true, true},
                                           TextCase{"正解数", 28, true, true},
                                           TextCase{"⇒12", 28, false, false},
                                           TextCase{"(hi:7)", 16, true, false},
                                           TextCase{"HI-SCORE!!", 20, false, true}));

TEST(CanvasTextClip, TextAcrossTheEdgesIsClipped) {
  TBitmap bitmap;
  bitmap.SetSize(40, 20);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Font.Size = 28;
  canvas.Brush.Color = kBrush;
  canvas.TextOut(-15, -10, "正解数");
  EXPECT_EQ(bitmap.Pixel(0, 0), kBrush);
  EXPECT_TRUE(Between(bitmap.Pixel(39, 19), kBrush, canvas.Font.Color));
  canvas.TextOut(1000, 1000, "正解数");  // wholly outside: nothing, no crash
  canvas.TextOut(-1000, 5, "x");
}

TEST(CanvasTextClip, EmptyTextDrawsNothing) {
  TBitmap bitmap;
  bitmap.SetSize(10, 10);
  bitmap.Canvas().Brush.Color = kBrush;
  const auto before = bitmap.Version();
  bitmap.Canvas().TextOut(0, 0, "");
  EXPECT_EQ(bitmap.Pixel(0, 0), kWhite);
  EXPECT_EQ(bitmap.Version(), before);
}

TEST(CanvasTextFont, MissingFontFileRaisesAnErrorNamingIt) {
  const std::string original = TextFontFile();
  const std::string missing = "/nonexistent/fonts/missing.ttf";
  SetTextFontFile(missing);
  TBitmap bitmap;
  bitmap.SetSize(10, 10);
  try {
    bitmap.Canvas().TextOut(0, 0, "50秒");
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find(missing), std::string::npos) << e.Message();
  }
  SetTextFontFile(original);
  EXPECT_EQ(bitmap.Pixel(0, 0), kWhite);
  EXPECT_NO_THROW(bitmap.Canvas().TextOut(0, 0, "50秒"));
}

TEST(CanvasEllipse, FilledWithTheBrushOutlinedWithThePenInsideItsRectangle) {
  TBitmap bitmap;
  bitmap.SetSize(20, 12);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush.Color = kBrush;
  canvas.Pen.Color = kPen;
  canvas.Ellipse(2, 1, 18, 11);  // 16 x 10, centre between pixels 9|10 and 5|6
  struct Probe {
    int x, y;
    TColor want;
  };
  const Probe probes[] = {
      {9, 5, kBrush}, {10, 6, kBrush}, {5, 5, kBrush},                     // interior
      {2, 5, kPen},   {17, 6, kPen},                                       // left and right ends
      {9, 1, kPen},   {10, 10, kPen},                                      // top and bottom
      {2, 1, kWhite}, {17, 1, kWhite}, {2, 10, kWhite}, {17, 10, kWhite},  // corners
  };
  for (const Probe& p : probes) EXPECT_EQ(bitmap.Pixel(p.x, p.y), p.want) << p.x << "," << p.y;
  // Nothing outside the rectangle; the right and bottom edges are not part of it.
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 20; ++x) {
      if (x >= 2 && x < 18 && y >= 1 && y < 11) continue;
      EXPECT_EQ(bitmap.Pixel(x, y), kWhite) << x << "," << y;
    }
  }
  // Symmetric about the rectangle's centre.
  for (int y = 1; y < 11; ++y)
    for (int x = 2; x < 18; ++x) EXPECT_EQ(bitmap.Pixel(x, y), bitmap.Pixel(19 - x, 11 - y));
}

TEST(CanvasEllipse, ClippedAtTheBitmapEdgesAndEmptyForEmptyRectangles) {
  TBitmap bitmap;
  bitmap.SetSize(20, 10);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush.Color = kBrush;
  canvas.Pen.Color = kPen;
  canvas.Ellipse(-10, -10, 10, 10);  // the quarter around the origin shows
  EXPECT_EQ(bitmap.Pixel(0, 0), kBrush);
  EXPECT_EQ(bitmap.Pixel(9, 0), kPen);
  EXPECT_EQ(bitmap.Pixel(0, 9), kPen);
  EXPECT_EQ(bitmap.Pixel(10, 0), kWhite);
  EXPECT_EQ(bitmap.Pixel(9, 9), kWhite);
  const auto before = bitmap.Version();
  canvas.Ellipse(15, 2, 15, 8);
  canvas.Ellipse(18, 8, 12, 2);
  EXPECT_EQ(bitmap.Version(), before);
  EXPECT_EQ(bitmap.Pixel(15, 5), kWhite);
  canvas.Ellipse(14, 4, 15, 6);  // one pixel wide: all outline
  EXPECT_EQ(bitmap.Pixel(14, 4), kPen);
  EXPECT_EQ(bitmap.Pixel(14, 5), kPen);
}

TEST(CanvasEllipse, ClockFaceSitsInItsRectangle) {
  TBitmap screen;
  screen.SetSize(400, 300);
  TCanvas& canvas = screen.Canvas();
  canvas.Brush.Color = canvas.Pen.Color = RGB(255, 128, 192);
  canvas.Ellipse(157, 273, 245, 300);
  EXPECT_EQ(screen.Pixel(201, 286), RGB(255, 128, 192));
  EXPECT_EQ(screen.Pixel(157, 286), RGB(255, 128, 192));
  EXPECT_EQ(screen.Pixel(156, 286), kWhite);
  EXPECT_EQ(screen.Pixel(245, 286), kWhite);
  EXPECT_EQ(screen.Pixel(201, 272), kWhite);
  EXPECT_EQ(screen.Pixel(201, 299), RGB(255, 128, 192));
  EXPECT_EQ(screen.Pixel(157, 273), kWhite);
}

}  // namespace
