// The shaken copy of the back buffer onto the screen, which the game does
// every 20 ms, against its peer: a plain memcpy of one frame of the same
// 400 x 300 pixels of 32 bits. The ratio of the two is the cost of stretching.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "platform/Graphics.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

// Jitter drawn up front, so that the loop measures the copy and not the dice.
std::array<TRect, 256> ShakenRects() {
  std::mt19937 dice(7);
  std::uniform_int_distribution<int> jitter(0, 4);
  std::array<TRect, 256> rects;
  for (TRect& r : rects) {
    r.Left = -jitter(dice);
    r.Top = -jitter(dice);
    r.Right = kWidth + jitter(dice);
    r.Bottom = kHeight + jitter(dice);
  }
  return rects;
}

void FillPattern(TBitmap& bitmap) {
  bitmap.SetSize(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) bitmap.SetPixel(x, y, RGB(x, y, x ^ y));
}

void BM_ShakenStretchedCopy(benchmark::State& state) {
  TBitmap back, screen;
  FillPattern(back);
  screen.SetSize(kWidth, kHeight);
  const std::array<TRect, 256> rects = ShakenRects();
  std::size_t i = 0;
  for (auto _ : state) {
    screen.Canvas().CopyRect(rects[i++ & 255], back.Canvas(), {0, 0, kWidth, kHeight});
    benchmark::DoNotOptimize(screen.Row(0));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * sizeof(TColor));
}
BENCHMARK(BM_ShakenStretchedCopy);

void BM_PlainFrameMemcpy(benchmark::State& state) {
  std::vector<TColor> from(kWidth * kHeight, RGB(1, 2, 3)), to(kWidth * kHeight);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(TColor));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * sizeof(TColor));
}
BENCHMARK(BM_PlainFrameMemcpy);

// The half copy of a pair picture: a jittered 200 x 300 piece stretched onto one half.
void BM_HalfCopy(benchmark::State& state) {
  TBitmap picture, back;
  FillPattern(picture);
  back.SetSize(kWidth, kHeight);
  const std::array<TRect, 256> rects = ShakenRects();
  std::size_t i = 0;
  for (auto _ : state) {
    const TRect& r = rects[i++ & 255];
    back.Canvas().CopyRect({200, 0, 400, 300}, picture.Canvas(),
                           {-r.Left, -r.Top, 200 - (r.Right - kWidth), 300 - (r.Bottom - kHeight)});
    benchmark::DoNotOptimize(back.Row(0));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_HalfCopy);

}  // namespace
