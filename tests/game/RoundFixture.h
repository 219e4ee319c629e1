#pragma once
// The main window on the virtual back end, beside a folder of its own that
// holds small pictures written by the test: every pair picture and every
// embedded picture is one flat colour of its own, so a pixel tells which
// picture it came from. The random generator is seeded by the test.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "game/SoundListener.h"
#include "game/Unit1.h"
#include "platform/Application.h"
#include "platform/Messages.h"
#include "platform/Module.h"
#include "platform/Random.h"
#include "platform/virtual/Virtual.h"
#include "platform/virtual/VirtualEvents.h"
#include "platform/virtual/VirtualScreen.h"

namespace round_fixture {

namespace fs = std::filesystem;

// The flat colours of the test pictures.
constexpr TColor kStartColour = RGB(10, 20, 30);
inline TColor LeftColour(int pair) {
  return RGB(20 * pair, 200, 0);
}
inline TColor RightColour(int pair) {
  return RGB(20 * pair, 0, 200);
}
constexpr TColor kGreat = RGB(250, 250, 0);
constexpr TColor kCry = RGB(0, 0, 250);
constexpr TColor kLv1 = RGB(250, 0, 0);
constexpr TColor kLv2 = RGB(0, 250, 0);
constexpr TColor kEnding = RGB(0, 100, 100);
constexpr TColor kBanner = RGB(100, 0, 100);
constexpr TColor kPink = RGB(255, 128, 192);

// An uncompressed 24-bit BMP, bottom-up, every pixel from pixel(x, y).
template <class PixelAt>
void WriteBmp(const fs::path& path, int width, int height, PixelAt pixel) {
  const int rowBytes = (width * 3 + 3) & ~3;
  const std::uint32_t imageBytes = static_cast<std::uint32_t>(rowBytes * height);
  std::vector<std::uint8_t> b;
  auto put16 = [&b](std::uint32_t v) {
    b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
  };
  auto put32 = [&](std::uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
  b.push_back('B');
  b.push_back('M');
  put32(54 + imageBytes);
  put32(0);
  put32(54);
  put32(40);
  put32(static_cast<std::uint32_t>(width));
  put32(static_cast<std::uint32_t>(height));
  put16(1);
  put16(24);
  put32(0);
  put32(imageBytes);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  const std::size_t header = b.size();
  b.resize(header + imageBytes, 0);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = b.data() + header + static_cast<std::size_t>(rowBytes) * (height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const TColor c = pixel(x, y);
      row[3 * x] = std::uint8_t(c);
      row[3 * x + 1] = std::uint8_t(c >> 8);
      row[3 * x + 2] = std::uint8_t(c >> 16);
    }
  }
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

inline void Fill(TBitmap& bitmap, int width, int height, TColor colour) {
  bitmap.SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, colour);
}

// A picture whose every pixel names its own position, so a copy shows
// which source pixel each destination pixel took.
inline TColor PositionColour(int x, int y) {
  return RGB(x & 255, y & 255, (x >> 8) | (y >> 8) << 4);
}
inline void FillWithPositions(TBitmap& bitmap, int width, int height) {
  bitmap.SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, PositionColour(x, y));
}

// The next draws of the generator from seed, without disturbing it.
inline std::vector<int> DrawsFrom(std::uint32_t seed, const std::vector<int>& ranges) {
  const std::uint32_t saved = RandSeed;
  RandSeed = seed;
  std::vector<int> draws;
  for (int range : ranges) draws.push_back(Random(range));
  RandSeed = saved;
  return draws;
}

// What the shaken copy of back should put on a 400 x 300 screen for jitter
// (a, b, c, d), on top of what the screen held before.
inline void ExpectedShake(TBitmap& screen, const TBitmap& back, int a, int b, int c, int d) {
  screen.Canvas().CopyRect({-a, -b, 400 + c, 300 + d}, back.Canvas(), {0, 0, 400, 300});
}

inline bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

inline void CopyBitmap(TBitmap& to, const TBitmap& from) {
  to.SetSize(from.Width(), from.Height());
  to.Canvas().CopyRect({0, 0, from.Width(), from.Height()}, from.Canvas(),
                       {0, 0, from.Width(), from.Height()});
}

// How many pixels of the rectangle have the colour.
inline int CountColour(const TBitmap& bitmap, TRect r, TColor colour) {
  int count = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) count += bitmap.Pixel(x, y) == colour;
  return count;
}

using SoundCall = std::pair<std::string, std::string>;  // helper, file name

class RoundFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSoundListener(nullptr);
    sounds_.clear();
    Application.ResetForTests();
    UseVirtualBackend();
    ResetWindowsForTests();
    ResetVirtualScreen();
    ResetGameState();
    VirtualSetTime(1000);
    folder_ = fs::temp_directory_path() /
              ("mofron-rounds-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "cg");
    fs::create_directories(folder_ / "dat");
    WriteBmp(folder_ / "cg" / "start.bmp", 400, 300, [](int, int) { return kStartColour; });
    for (int n = 1; n <= 9; ++n) {
      WriteBmp(PairPath(n, ""), 200, 300, [n](int, int) { return LeftColour(n); });
      WriteBmp(PairPath(n, "a"), 200, 300, [n](int, int) { return RightColour(n); });
    }
    std::ofstream(folder_ / "dat" / "my.dat", std::ios::binary) << "Test\r\n7\r\n0\r\n0\r\n0\r\n";
    SetExeFolder(folder_.string());
    Application.Initialize();
    Application.Title = "モフロンちゃん";
    Application.CreateForm(Form1);
    ASSERT_NE(Form1, nullptr);
    Form1->Show();
    Fill(Form1->great->Picture(), 400, 300, kGreat);
    Fill(Form1->cry->Picture(), 400, 300, kCry);
    Fill(Form1->lv1->Picture(), 400, 300, kLv1);
    Fill(Form1->lv2->Picture(), 400, 300, kLv2);
    Fill(Form1->ending->Picture(), 400, 300, kEnding);
    Fill(Form1->title->Picture(), 262, 61, kBanner);
    SetSoundListener([this](const std::string& helper, const std::string& name) {
      sounds_.emplace_back(helper, name);
    });
    RandSeed = 12345;
  }

  void TearDown() override {
    SetSoundListener(nullptr);
    Application.ResetForTests();
    Form1 = nullptr;
    fs::remove_all(folder_);
  }

  fs::path PairPath(int n, const char* suffix) const {
    return folder_ / "cg" / (std::to_string(n) + suffix + ".bmp");
  }
  fs::path ScorePath() const { return folder_ / "dat" / "my.dat"; }

  // One tick of the round engine, as Timer1 delivers it.
  void Tick() { Form1->Timer1Timer(Form1->Timer1); }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) Tick();
  }
  void Press(int x, int y, TMouseButton button = mbLeft) { VirtualMouseDown(x, y, button); }

  // A game under way with a pair fully shown, its difference in (col, row).
  void WaitingPair(int col, int row) {
    Form1->Timer1->SetEnabled(true);
    Form1->Timer3->SetEnabled(true);
    Form1->Timer2->SetEnabled(false);
    Clock = 30;
    Phase = 25;
    DiffCol = col;
    DiffRow = row;
  }

  int CountSound(const std::string& helper, const std::string& name) const {
    int n = 0;
    for (const SoundCall& call : sounds_) n += call == SoundCall{helper, name};
    return n;
  }

  TBitmap& Screen() { return Form1->cg->Picture(); }
  TBitmap& Back() { return Form1->bak->Picture(); }

  fs::path folder_;
  std::vector<SoundCall> sounds_;
};

}  // namespace round_fixture
