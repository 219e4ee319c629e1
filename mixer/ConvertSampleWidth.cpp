#include <cstdint>

#include "mixer/ConvertBuffer.h"

WaveBuffer ConvertSampleWidth(WaveBuffer data, int sourceBits, int targetBits,
                              std::int32_t& length) {
  if (sourceBits == targetBits) return data;
  // Only 16 to 8 bits ever happens: output is always 8-bit.
  if (sourceBits != 16 || targetBits != 8) throw EMixerError(kFormatNotSupported);
  const std::int32_t samples = length > 0 ? length / 2 : 0;  // a trailing odd byte is dropped
  WaveBuffer result = NewWaveBuffer(samples);
  const std::uint8_t* in = data.get();
  std::uint8_t* out = result.get();
  // The high byte of a little-endian sample, its sign bit flipped, is the
  // unsigned 8-bit sample; the low byte is dropped without rounding.
  for (std::int32_t i = 0; i < samples; ++i) {
    out[i] = static_cast<std::uint8_t>(in[2 * i + 1] ^ 0x80);
  }
  length = samples;
  return result;
}
