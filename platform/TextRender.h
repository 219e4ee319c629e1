#pragma once
// Text as coverage masks: the font engine lives in the back end, the canvas
// only blends what it gets. Every back end renders the same face, so text
// pixels are the same on screen and in tests.
#include <cstdint>
#include <string>
#include <vector>

struct TextStyle {
  int SizePoints = 9;  // at 96 dots per inch
  bool Bold = false;
  bool Italic = false;
};

// The text's cell: its advance width by the font's line height, in pixels.
struct TextExtent {
  int Width = 0;
  int Height = 0;
};

struct TextMask {
  int Width = 0;  // the cell, as MeasureText gives it
  int Height = 0;
  std::vector<std::uint8_t> Coverage;  // Width * Height, rows top to bottom, 0 = none, 255 = full
};

// Both raise Exception, naming the font file, when the font cannot be opened
// or the text cannot be laid out. Text is UTF-8.
TextExtent MeasureText(const TextStyle& style, const std::string& text);
TextMask RenderText(const TextStyle& style, const std::string& text);

// The face every text is drawn in (IPA P Gothic by default). Changing it
// closes the fonts opened so far; meant for tests of a missing font.
void SetTextFontFile(const std::string& path);
const std::string& TextFontFile();
