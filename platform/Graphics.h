#pragma once
// Bitmaps and their canvas: what the picture area and the off-screen picture
// stores are made of. Pixels are 32-bit 0x00RRGGBB; drawing is done in
// software, the same on every back end, so tests read exact pixels.
#include <cstdint>
#include <string>
#include <vector>

using TColor = std::uint32_t;  // 0x00RRGGBB
constexpr TColor RGB(int r, int g, int b) {
  return (static_cast<TColor>(r & 255) << 16) | (static_cast<TColor>(g & 255) << 8) |
         static_cast<TColor>(b & 255);
}

// Covers the pixels with Left <= x < Right and Top <= y < Bottom.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
};

// Every text is drawn in one face, IPA P Gothic (see TextRender.h), which has
// all the glyphs the game draws; Name only says so.
struct TFont {
  std::string Name = "IPAPGothic";
  TColor Color = RGB(0, 0, 0);
  int Size = 9;  // points, at 96 dots per inch
  bool Bold = false;
  bool Italic = false;
};

struct TBrush {
  TColor Color = RGB(255, 255, 255);
};

struct TPen {
  TColor Color = RGB(0, 0, 0);
};

class TBitmap;

class TCanvas {
 public:
  explicit TCanvas(TBitmap& target) : target_(target) {}
  TFont Font;
  TBrush Brush;
  TPen Pen;

  // Stretches source's rectangle onto dest (nearest pixel: each destination
  // pixel takes the source pixel under its centre). Whatever falls outside
  // this canvas's bitmap is clipped; destination pixels whose source pixel
  // lies outside the source bitmap are left as they were. Empty or mirrored
  // (negative width or height) rectangles draw nothing. The source may be
  // this canvas itself.
  void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);
  // Draws UTF-8 text with its top-left corner at (x, y), opaque: the text's
  // cell (its width by the font's line height) is filled with the brush
  // colour first, then the glyphs are blended over it in the font colour.
  // Raises Exception when the font cannot be opened.
  void TextOut(int x, int y, const std::string& text);
  // The size of the cell TextOut fills for this text in the current font.
  int TextWidth(const std::string& text) const;
  int TextHeight(const std::string& text) const;
  // A filled ellipse inside (left, top)-(right, bottom), right and bottom
  // edges excluded: filled with the brush colour, outlined 1 pixel wide with
  // the pen colour, clipped to the bitmap.
  void Ellipse(int left, int top, int right, int bottom);
  TBitmap& Bitmap() const { return target_; }

 private:
  TBitmap& target_;
};

class TBitmap {
 public:
  static constexpr int kMaxPictureSide = 8192;
  TBitmap() : canvas_(*this) {}
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // Every pixel becomes white; negative sizes count as 0.
  void SetSize(int width, int height);
  // Reads a BMP file (8-bit palette, 4-bit, 24-bit, RLE); raises EFOpenError
  // when the file cannot be opened and EInvalidGraphic when it is not a BMP
  // we can read (pictures above kMaxPictureSide on a side are refused).
  // On failure the bitmap keeps its old picture.
  void LoadFromFile(const std::string& path);
  // The same from BMP bytes in memory (embedded pictures).
  void LoadFromMemory(const void* data, std::size_t size);

  TColor Pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  void SetPixel(int x, int y, TColor c) { pixels_[static_cast<std::size_t>(y) * width_ + x] = c; }
  TColor* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const TColor* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  TCanvas& Canvas() { return canvas_; }
  const TCanvas& Canvas() const { return canvas_; }
  // Bumped by every change, so a screen knows when to show the bitmap again.
  std::uint64_t Version() const { return version_; }
  void Touch() { ++version_; }

 private:
  int width_ = 0, height_ = 0;
  std::vector<TColor> pixels_;
  TCanvas canvas_;
  std::uint64_t version_ = 0;
};
