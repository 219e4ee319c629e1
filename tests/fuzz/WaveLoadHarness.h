#pragma once
// Feeds one input to the memory-image wave loader, shared by the fuzz target
// and by the unit test that replays the fuzz corpus. The first byte picks the
// session's output format, the rest is the RIFF image.
#include <cstddef>
#include <cstdint>

#include "mixer/Mixer.h"
#include "mixer/Wave.h"
#include "platform/Riff.h"

enum class LoadOutcome { Loaded, Refused, Inconsistent };

// Where every loaded byte ends up, so that reading them cannot be optimised away.
inline volatile unsigned LoadedByteSum;

inline void SetOutputFormat(MixSession& session, std::uint8_t selector) {
  static constexpr std::uint32_t kRates[] = {11025, 22050, 44100};
  const auto channels = static_cast<std::uint16_t>(selector % 2 + 1);
  const std::uint32_t rate = kRates[selector / 2 % 3];
  session.OutputFormat = {WAVE_FORMAT_PCM, channels, rate, rate * channels, channels, 8};
}

// Loads the image into the current session and gives the wave back. A
// loaded wave must hold whole output frames, every byte of which is read
// here so that the sanitizers see any byte out of place.
inline LoadOutcome LoadFuzzInput(const std::uint8_t* data, std::size_t size) {
  MixSession* session = MixerUnit.CurrentSession;
  if (size == 0 || !session) return LoadOutcome::Refused;
  SetOutputFormat(*session, data[0]);
  MMIOINFO info{};
  info.fccIOProc = FOURCC_MEM;
  info.pchBuffer = reinterpret_cast<const char*>(data + 1);
  info.cchBuffer = static_cast<std::int32_t>(size - 1);
  MixWave* wave;
  try {
    wave = MixerLoadWave(session, reinterpret_cast<const char*>(&info), nullptr, MixWaveFromMemory);
  } catch (const EMixerError&) {
    return LoadOutcome::Refused;
  }
  const std::int32_t frame = session->OutputFormat.nBlockAlign;
  unsigned sum = 0;
  for (std::int32_t i = 0; i < wave->SampleLength; ++i) sum += wave->SampleData[i];
  LoadedByteSum = sum;
  const bool whole = wave->SampleLength > 0 && wave->SampleLength % frame == 0 &&
                     wave->WaveName[sizeof wave->WaveName - 1] == '\0';
  MixerUnloadWave(session, wave);
  return whole ? LoadOutcome::Loaded : LoadOutcome::Inconsistent;
}
