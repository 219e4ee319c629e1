// Converting a 10-second 16-bit stereo 44100 Hz wave to 8-bit mono 11025 Hz:
// our load-time conversion against SDL2's converter on the same samples.
// Ours is integer and single-pass per step (high byte, channel mean, group
// average); SDL resamples with a band-limited filter, which costs more and
// sounds cleaner. Both copy the input into a fresh buffer every iteration,
// each into a buffer allocated for that load, as a loader would.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "mixer/Convert.h"

namespace {

constexpr int kRate = 44100;
constexpr int kSeconds = 10;

// Two tones, one per channel, so that neither converter sees silence.
const std::vector<std::uint8_t>& Source() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::vector<std::uint8_t> out;
    out.reserve(std::size_t{kRate} * kSeconds * 4);
    for (int i = 0; i < kRate * kSeconds; ++i) {
      for (double hz : {440.0, 660.0}) {
        const auto s = static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * hz * i / kRate));
        out.push_back(static_cast<std::uint8_t>(s & 0xFF));
        out.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
      }
    }
    return out;
  }();
  return bytes;
}

void Ours(benchmark::State& state) {
  const std::vector<std::uint8_t>& in = Source();
  const PCMWAVEFORMAT source{1, 2, kRate, kRate * 4, 4, 16};
  const PCMWAVEFORMAT target{1, 1, 11025, 11025, 1, 8};
  for (auto _ : state) {
    WaveBuffer data(new std::uint8_t[in.size()]);
    std::memcpy(data.get(), in.data(), in.size());
    auto length = static_cast<std::int32_t>(in.size());
    data = ConvertWaveFormat(target, source, std::move(data), length);
    benchmark::DoNotOptimize(data.get());
    if (length != 11025 * kSeconds) state.SkipWithError("unexpected output length");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * in.size()));
}

void Sdl(benchmark::State& state) {
  const std::vector<std::uint8_t>& in = Source();
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, AUDIO_S16LSB, 2, kRate, AUDIO_U8, 1, 11025) <= 0) {
    state.SkipWithError("SDL_BuildAudioCVT found nothing to convert");
    return;
  }
  for (auto _ : state) {
    WaveBuffer buffer(new std::uint8_t[in.size() * static_cast<std::size_t>(cvt.len_mult)]);
    std::memcpy(buffer.get(), in.data(), in.size());
    cvt.buf = buffer.get();
    cvt.len = static_cast<int>(in.size());
    if (SDL_ConvertAudio(&cvt) != 0) state.SkipWithError(SDL_GetError());
    benchmark::DoNotOptimize(buffer.get());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * in.size()));
  state.counters["out_bytes"] = cvt.len_cvt;
}

BENCHMARK(Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(Sdl)->Unit(benchmark::kMillisecond);

}  // namespace
