#include <cstdint>
#include <cstring>

#include "mixer/ConvertBuffer.h"

namespace {

// Rates are unsigned 32-bit, so the factors are worked out in 64 bits.
std::int64_t RaiseFactor(std::uint32_t sourceRate, std::uint32_t targetRate) {
  return targetRate / sourceRate;
}

// The ratio rounded to the nearest whole number, halves rounded up.
std::int64_t LowerFactor(std::uint32_t sourceRate, std::uint32_t targetRate) {
  return (std::int64_t{sourceRate} + targetRate / 2) / targetRate;
}

WaveBuffer Raise(const std::uint8_t* in, std::int32_t frames, std::int64_t factor, int frameBytes,
                 std::int32_t& length) {
  WaveBuffer result = NewWaveBuffer(std::int64_t{frames} * factor * frameBytes);
  // The buffer fits in 32 bits, so the factor does too.
  const auto m = static_cast<std::int32_t>(factor);
  std::uint8_t* out = result.get();
  for (std::int32_t i = 0; i + 1 < frames; ++i) {
    InterpolateFrame(out + std::int64_t{i} * m * frameBytes, in + std::int64_t{i} * frameBytes, m,
                     1, frameBytes);
  }
  // The last frame has nothing to lean towards: it is repeated.
  const std::uint8_t* last = in + std::int64_t{frames - 1} * frameBytes;
  for (std::int32_t j = 0; j < m; ++j) {
    std::memcpy(out + (std::int64_t{frames - 1} * m + j) * frameBytes, last, frameBytes);
  }
  length = frames * m * frameBytes;
  return result;
}

WaveBuffer Lower(const std::uint8_t* in, std::int32_t frames, std::int64_t factor, int frameBytes,
                 std::int32_t& length) {
  const std::int64_t outFrames = frames / factor;
  WaveBuffer result = NewWaveBuffer(outFrames * frameBytes);
  const auto k = static_cast<std::int32_t>(factor);  // at most frames here
  std::uint8_t* out = result.get();
  for (std::int64_t o = 0; o + 1 < outFrames; ++o) {
    AverageFrames(out + o * frameBytes, in + o * k * frameBytes, k, 1, frameBytes);
  }
  // The last output frame is a plain copy; frames after its group are dropped.
  std::memcpy(out + (outFrames - 1) * frameBytes, in + (outFrames - 1) * k * frameBytes,
              frameBytes);
  length = static_cast<std::int32_t>(outFrames * frameBytes);
  return result;
}

}  // namespace

void InterpolateFrame(std::uint8_t* output, const std::uint8_t* source, std::int32_t factor,
                      int bytesPerSample, int channels) {
  const int frameBytes = bytesPerSample * channels;
  for (int c = 0; c < channels; ++c) {
    const int a = source[c];
    const int b = source[frameBytes + c];
    const int step = (b - a) / factor;  // truncated toward zero: never overshoots b
    for (std::int32_t j = 0; j < factor; ++j) {
      output[j * frameBytes + c] = static_cast<std::uint8_t>(a + j * step);
    }
  }
}

void AverageFrames(std::uint8_t* output, const std::uint8_t* source, std::int32_t factor,
                   int bytesPerSample, int channels) {
  const int frameBytes = bytesPerSample * channels;
  for (int c = 0; c < channels; ++c) {
    std::int64_t sum = 0;
    for (std::int32_t j = 0; j < factor; ++j) sum += source[j * frameBytes + c] - 128;
    output[c] = static_cast<std::uint8_t>(sum / factor + 128);
  }
}

WaveBuffer ConvertSampleRate(WaveBuffer data, std::uint32_t sourceRate, std::uint32_t targetRate,
                             int bytesPerSample, int channels, std::int32_t& length) {
  if (sourceRate == targetRate) return data;
  if (sourceRate == 0 || targetRate == 0) throw EMixerError(kZeroSampleRate);
  CheckChannelCount(channels);
  if (bytesPerSample != 1) throw EMixerError(kFormatNotSupported);
  const int frameBytes = channels;
  const std::int32_t frames = length > 0 ? length / frameBytes : 0;
  if (sourceRate < targetRate) {
    return Raise(data.get(), frames, RaiseFactor(sourceRate, targetRate), frameBytes, length);
  }
  return Lower(data.get(), frames, LowerFactor(sourceRate, targetRate), frameBytes, length);
}
