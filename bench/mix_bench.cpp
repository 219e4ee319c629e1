// Mixing one 4096-byte block from 1, 2 and 8 overlapping plays with
// MixNextBlock, against SDL's own mixer adding the same sources into the
// same buffer (AUDIO_U8, full volume, once per source) and against a plain
// copy of the block.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "mixer/Mixer.h"
#include "platform/Messages.h"
#include "platform/virtual/Virtual.h"

namespace {

constexpr int kBlock = 4096;

std::vector<std::vector<std::uint8_t>> MakeSources(int count) {
  std::vector<std::vector<std::uint8_t>> sources(count, std::vector<std::uint8_t>(kBlock));
  for (int k = 0; k < count; ++k) {
    for (int i = 0; i < kBlock; ++i) sources[k][i] = static_cast<std::uint8_t>(i * (k + 3) + k);
  }
  return sources;
}

// An active session at 44100 Hz (4096-byte blocks) with `count` plays that
// all sound over the whole block.
class MixerSetup {
 public:
  explicit MixerSetup(int count) : sources_(MakeSources(count)) {
    ResetMixerUnitForTests();
    UseVirtualBackend();
    ResetWindowsForTests();
    MixConfig config{10, MixConfigRate, 1, 44};
    session_ = MixerInitConfigured(&config);
    MixerActivate(session_, true);
    MixerReserveChannels(session_, 0, MixChannelAll);
    for (int k = 0; k < count; ++k) {
      MixQueueEntry* play = TakeQueueEntry();
      *play = MixQueueEntry{};
      play->Length = kBlock;
      play->Start = 0;
      play->End = MixNever;
      play->Data = sources_[k].data();
      session_->ChannelQueue[k] = play;
    }
    block_ = TakeFreeBlock();
  }
  ~MixerSetup() { ResetMixerUnitForTests(); }
  void MixOnce() {
    session_->MixPosition = 0;
    MixNextBlock(block_, false);
    benchmark::DoNotOptimize(block_->Samples);
  }

 private:
  std::vector<std::vector<std::uint8_t>> sources_;
  MixSession* session_;
  MixBlock* block_;
};

void BM_MixNextBlock(benchmark::State& state) {
  MixerSetup setup(static_cast<int>(state.range(0)));
  for (auto _ : state) setup.MixOnce();
  state.SetBytesProcessed(state.iterations() * kBlock);
}
BENCHMARK(BM_MixNextBlock)->Arg(1)->Arg(2)->Arg(8);

void BM_SdlMixAudioFormat(benchmark::State& state) {
  auto sources = MakeSources(static_cast<int>(state.range(0)));
  std::vector<std::uint8_t> out(kBlock);
  for (auto _ : state) {
    std::memset(out.data(), 128, kBlock);
    for (auto& source : sources) {
      SDL_MixAudioFormat(out.data(), source.data(), AUDIO_U8, kBlock, SDL_MIX_MAXVOLUME);
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * kBlock);
}
BENCHMARK(BM_SdlMixAudioFormat)->Arg(1)->Arg(2)->Arg(8);

void BM_Memcpy(benchmark::State& state) {
  auto sources = MakeSources(1);
  std::vector<std::uint8_t> out(kBlock);
  for (auto _ : state) {
    std::memcpy(out.data(), sources[0].data(), kBlock);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBlock);
}
BENCHMARK(BM_Memcpy);

}  // namespace
