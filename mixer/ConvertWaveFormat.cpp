#include <cstdint>

#include "mixer/ConvertBuffer.h"

namespace {

// A source already in the output format skips every step, so nothing else
// would cut a trailing partial frame; mixing it would shift every later play
// of its channel by one sample.
WaveBuffer DropPartialFrame(WaveBuffer data, int frameBytes, std::int32_t& length) {
  const std::int32_t whole = length - length % frameBytes;
  if (whole <= 0) throw EMixerError(kWaveOutOfMemory);
  length = whole;
  return data;
}

}  // namespace

WaveBuffer ConvertWaveFormat(const PCMWAVEFORMAT& target, const PCMWAVEFORMAT& source,
                             WaveBuffer data, std::int32_t& length) {
  // The output is 8-bit by construction; nothing else can be mixed.
  if (target.wBitsPerSample != 8) throw EMixerError(kFormatNotSupported);
  CheckChannelCount(target.nChannels);
  const int targetBytes = target.wBitsPerSample / 8;
  if (source.nChannels == target.nChannels && source.nSamplesPerSec == target.nSamplesPerSec &&
      source.wBitsPerSample == target.wBitsPerSample) {
    return DropPartialFrame(std::move(data), targetBytes * target.nChannels, length);
  }
  data = ConvertSampleWidth(std::move(data), source.wBitsPerSample, target.wBitsPerSample, length);
  data =
      ConvertChannelCount(std::move(data), source.nChannels, target.nChannels, targetBytes, length);
  data = ConvertSampleRate(std::move(data), source.nSamplesPerSec, target.nSamplesPerSec,
                           targetBytes, target.nChannels, length);
  return DropPartialFrame(std::move(data), targetBytes * target.nChannels, length);
}
