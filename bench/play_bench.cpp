// A play request on a busy session: every channel has plays queued and every
// block is in the device, so a request only takes an entry, stamps, holds and
// places it. Each timed request is followed, untimed, by dropping the play
// again (timed too, it is a few pointer moves) so that the pool never runs
// dry. A counting operator new shows that
// requests allocate nothing; the peer in the same run is pushing the same
// record onto a std::list, the plain heap-allocating queue.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <list>
#include <new>
#include <vector>

#include "mixer/Mixer.h"
#include "mixer/Wave.h"
#include "platform/Messages.h"
#include "platform/virtual/Virtual.h"

namespace {
std::atomic<long> allocations{0};
}

// The replacement pair below is matched; GCC cannot see that through inlining.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

std::vector<std::uint8_t> samples(1 << 20, 140);

MixWave MakeWave() {
  MixWave wave{};
  wave.SampleData = samples.data();
  wave.SampleLength = static_cast<std::int32_t>(samples.size());
  return wave;
}

void BM_MixerPlayBusySession(benchmark::State& state) {
  ResetMixerUnitForTests();
  UseVirtualBackend();
  ResetWindowsForTests();
  MixSession* session = MixerInit();
  MixerReserveChannels(session, 0, MixChannelAll);
  MixerActivate(session, true);
  MixWave wave = MakeWave();
  for (int channel = 0; channel < MixChannels; ++channel) {
    for (int i = 0; i < 4; ++i) {
      MixPlayParams busy{24, session, channel, &wave, nullptr, 0, 0};
      MixerPlay(&busy);
    }
  }
  MixPlayParams request{24, session, 0, &wave, nullptr, MixPlayPickChannel, 0};
  long before = allocations;
  for (auto _ : state) {
    MixerPlay(&request);
    // Drop the play just queued, so that the queues stay as they were.
    MixQueueEntry** link = &session->ChannelQueue[request.Channel];
    while ((*link)->Link != nullptr) link = &(*link)->Link;
    ReturnQueueEntry(*link);
    *link = nullptr;
  }
  state.counters["allocs_per_play"] =
      static_cast<double>(allocations - before) / static_cast<double>(state.iterations());
  ResetMixerUnitForTests();
}
BENCHMARK(BM_MixerPlayBusySession);

void BM_HeapQueuePush(benchmark::State& state) {
  std::list<MixQueueEntry> queue;
  MixQueueEntry entry{};
  long before = allocations;
  for (auto _ : state) {
    queue.push_back(entry);
    benchmark::DoNotOptimize(queue.back());
    queue.pop_back();
  }
  state.counters["allocs_per_play"] =
      static_cast<double>(allocations - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_HeapQueuePush);

}  // namespace
