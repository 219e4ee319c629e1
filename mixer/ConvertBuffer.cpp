#include "mixer/ConvertBuffer.h"

#include <limits>
#include <new>

WaveBuffer NewWaveBuffer(std::int64_t byteCount) {
  if (byteCount <= 0 || byteCount > std::numeric_limits<std::int32_t>::max()) {
    throw EMixerError(kWaveOutOfMemory);
  }
  WaveBuffer buffer(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(byteCount)]);
  if (!buffer) throw EMixerError(kWaveOutOfMemory);
  return buffer;
}

void CheckChannelCount(int channels) {
  if (channels != 1 && channels != 2) throw EMixerError(kBadChannelCount);
}
