// One tick of the round engine while a pair waits for a click (two half
// copies, the shaken copy onto the screen, the clock face), beside its peer:
// a plain copy of one 400 x 300 frame of the same pixel format. A tick
// should cost at most 20 such copies.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "game/Unit1.h"
#include "platform/Application.h"
#include "platform/Messages.h"
#include "platform/Module.h"
#include "platform/Random.h"
#include "platform/virtual/Virtual.h"
#include "platform/virtual/VirtualEvents.h"
#include "platform/virtual/VirtualScreen.h"

namespace {

namespace fs = std::filesystem;

// A picture with some detail, so that nothing about it is uniform.
void Paint(TBitmap& bitmap, int width, int height, unsigned salt) {
  bitmap.SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      bitmap.SetPixel(x, y, RGB(x * 3 + salt, y * 5 + x, (x ^ y) + salt));
}

// The main window on the virtual back end, showing a waiting pair.
class Game {
 public:
  Game() {
    folder_ = fs::temp_directory_path() / "mofron-tick-bench";
    fs::create_directories(folder_ / "cg");
    fs::create_directories(folder_ / "dat");
    std::ofstream(folder_ / "dat" / "my.dat", std::ios::binary) << "Bench\r\n0\r\n0\r\n0\r\n0\r\n";
    Application.ResetForTests();
    UseVirtualBackend();
    ResetWindowsForTests();
    ResetVirtualScreen();
    ResetGameState();
    SetExeFolder(folder_.string());
    Application.Initialize();
    Application.Title = "モフロンちゃん";
    Application.CreateForm(Form1);
    Form1->Show();
    Paint(Form1->bak->Picture(), 400, 300, 0);
    Paint(Form1->cg->Picture(), 400, 300, 1);
    Paint(Form1->nomal2->Picture(), 200, 300, 2);
    Paint(Form1->nomal3->Picture(), 200, 300, 3);
    Form1->Timer1->SetEnabled(true);
    Clock = 42;
    Phase = 25;
    RandSeed = 1;
  }
  ~Game() {
    Application.ResetForTests();
    Form1 = nullptr;
    fs::remove_all(folder_);
  }

 private:
  fs::path folder_;
};

void BM_WaitingTick(benchmark::State& state) {
  Game game;
  for (auto _ : state) {
    Form1->Timer1Timer(Form1->Timer1);
    benchmark::DoNotOptimize(Form1->cg->Picture().Row(0));
  }
  if (Phase != 25) state.SkipWithError("the pair stopped waiting");
}
BENCHMARK(BM_WaitingTick);

void BM_FrameCopy(benchmark::State& state) {
  TBitmap from, to;
  Paint(from, 400, 300, 4);
  to.SetSize(400, 300);
  const std::size_t bytes = 400 * 300 * sizeof(TColor);
  for (auto _ : state) {
    std::memcpy(to.Row(0), from.Row(0), bytes);
    benchmark::DoNotOptimize(to.Row(0));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameCopy);

}  // namespace
