#include <cstdint>

#include "mixer/ConvertBuffer.h"

namespace {

void MonoToStereo(const std::uint8_t* in, std::uint8_t* out, std::int32_t frames) {
  for (std::int32_t i = 0; i < frames; ++i) {
    out[2 * i] = in[i];
    out[2 * i + 1] = in[i];
  }
}

// Both samples taken unsigned, so the mean rounds down.
void StereoToMono(const std::uint8_t* in, std::uint8_t* out, std::int32_t frames) {
  for (std::int32_t i = 0; i < frames; ++i) {
    out[i] = static_cast<std::uint8_t>((in[2 * i] + in[2 * i + 1]) / 2);
  }
}

}  // namespace

WaveBuffer ConvertChannelCount(WaveBuffer data, int sourceChannels, int targetChannels,
                               int bytesPerSample, std::int32_t& length) {
  if (sourceChannels == targetChannels) return data;
  CheckChannelCount(sourceChannels);
  CheckChannelCount(targetChannels);
  if (bytesPerSample != 1) throw EMixerError(kFormatNotSupported);
  const std::int32_t frames = length > 0 ? length / sourceChannels : 0;
  WaveBuffer result = NewWaveBuffer(std::int64_t{frames} * targetChannels);
  if (sourceChannels == 1) {
    MonoToStereo(data.get(), result.get(), frames);
  } else {
    StereoToMono(data.get(), result.get(), frames);
  }
  length = frames * targetChannels;
  return result;
}
