#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "mixer/Convert.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const char* const kOutOfMemory =
    "Unable to allocate memory for waveform data.  Try making more memory available by closing "
    "other applications.";

PCMWAVEFORMAT Format(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  const auto align = static_cast<std::uint16_t>(channels * bits / 8);
  return {1, channels, rate, rate * align, align, bits};
}

Bytes Samples16(std::initializer_list<std::int16_t> samples) {
  Bytes bytes;
  for (std::int16_t s : samples) {
    const auto u = static_cast<std::uint16_t>(s);
    bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  return bytes;
}

WaveBuffer Copy(const Bytes& bytes) {
  WaveBuffer buffer(new std::uint8_t[bytes.size()]);
  if (!bytes.empty()) std::memcpy(buffer.get(), bytes.data(), bytes.size());
  return buffer;
}

Bytes Convert(const PCMWAVEFORMAT& target, const PCMWAVEFORMAT& source, const Bytes& in) {
  auto length = static_cast<std::int32_t>(in.size());
  WaveBuffer out = ConvertWaveFormat(target, source, Copy(in), length);
  return Bytes(out.get(), out.get() + length);
}

std::string ConvertError(const PCMWAVEFORMAT& target, const PCMWAVEFORMAT& source,
                         const Bytes& in) {
  try {
    Convert(target, source, in);
  } catch (const EMixerError& e) {
    return e.what();
  }
  return "no error";
}

Bytes Ramp(std::size_t count) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  return bytes;
}

struct ConvertCase {
  const char* name;
  PCMWAVEFORMAT source;
  PCMWAVEFORMAT target;
  Bytes in;
  Bytes expected;
};

TEST(ConvertWaveFormat, ProducesTheExpectedBytes) {
  const ConvertCase cases[] = {
      {"already in the output format",
       Format(1, 11025, 8),
       Format(1, 11025, 8),
       {1, 128, 255},
       {1, 128, 255}},
      {"16 to 8 bits keeps the high byte, sign flipped",
       Format(1, 11025, 16),
       Format(1, 11025, 8),
       Samples16({-32768, -257, -256, -1, 0, 255, 256, 32767}),
       {0, 126, 127, 127, 128, 128, 129, 255}},
      {"16-bit chunk of 7 bytes gives 3 samples",
       Format(1, 11025, 16),
       Format(1, 11025, 8),
       {0, 0x80, 0xFF, 0xFF, 0x00, 0x7F, 0x55},
       {0, 127, 255}},
      {"stereo to mono rounds the mean down",
       Format(2, 11025, 8),
       Format(1, 11025, 8),
       {200, 101, 255, 0},
       {150, 127}},
      {"mono to stereo repeats each sample",
       Format(1, 11025, 8),
       Format(2, 11025, 8),
       {10, 20},
       {10, 10, 20, 20}},
      {"doubling the rate interpolates and repeats the last frame",
       Format(1, 11025, 8),
       Format(1, 22050, 8),
       {100, 103, 90},
       {100, 101, 103, 97, 90, 90}},
      {"doubling a stereo rate keeps the channels apart",
       Format(2, 11025, 8),
       Format(2, 22050, 8),
       {0, 255, 10, 245},
       {0, 255, 5, 250, 10, 245, 10, 245}},
      {"halving the rate averages, copies the last frame, drops the rest",
       Format(1, 22050, 8),
       Format(1, 11025, 8),
       {100, 101, 130, 140, 7},
       {101, 130}},
      {"averages truncate toward silence",
       Format(1, 44100, 8),
       Format(1, 11025, 8),
       {127, 127, 127, 128, 50, 60, 70, 80},
       {128, 50}},
      {"a stereo source in a stereo session loses its partial frame",
       Format(2, 11025, 8),
       Format(2, 11025, 8),
       {1, 2, 3},
       {1, 2}},
      {"16-bit stereo to 8-bit stereo loses its partial frame",
       Format(2, 11025, 16),
       Format(2, 11025, 8),
       Samples16({0, 256, 512}),
       {128, 129}},
  };
  for (const ConvertCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Convert(c.target, c.source, c.in), c.expected);
  }
}

TEST(ConvertWaveFormat, RateFactorsAreWholeNumbers) {
  struct RateCase {
    std::uint32_t source, target;
    std::size_t outFrames;  // from 10 source frames
  };
  const RateCase cases[] = {
      {11025, 22050, 20}, {11025, 44100, 40}, {22050, 44100, 20}, {8000, 22050, 20},
      {8000, 44100, 50},  {8000, 11025, 10},  {32000, 44100, 10}, {22050, 11025, 5},
      {44100, 11025, 2},  {44100, 22050, 5},  {48000, 22050, 5},  {32000, 11025, 3},
      {16000, 11025, 10}, {48000, 44100, 10},
  };
  for (const RateCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.source) + " to " + std::to_string(c.target));
    const Bytes in = Ramp(10);
    const Bytes out = Convert(Format(1, c.target, 8), Format(1, c.source, 8), in);
    ASSERT_EQ(out.size(), c.outFrames);
    // A factor of 1 copies; otherwise every stretch begins on a source sample.
    if (c.outFrames >= 10) {
      const std::size_t m = c.outFrames / 10;
      for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(out[i * m], in[i]);
    }
  }
}

TEST(ConvertWaveFormat, EachStepUpdatesTheLength) {
  const Bytes in = Ramp(8000);
  std::int32_t length = 8000;
  WaveBuffer data = ConvertSampleWidth(Copy(in), 16, 8, length);
  EXPECT_EQ(length, 4000);
  data = ConvertChannelCount(std::move(data), 2, 1, 1, length);
  EXPECT_EQ(length, 2000);
  data = ConvertSampleRate(std::move(data), 22050, 11025, 1, 1, length);
  EXPECT_EQ(length, 1000);

  EXPECT_EQ(Convert(Format(1, 11025, 8), Format(2, 22050, 16), in).size(), 1000u);
}

TEST(ConvertWaveFormat, NothingToDoHandsBackTheSameBuffer) {
  WaveBuffer data = Copy({1, 2, 3, 4});
  std::uint8_t* const original = data.get();
  std::int32_t length = 4;
  data = ConvertWaveFormat(Format(1, 22050, 8), Format(1, 22050, 8), std::move(data), length);
  EXPECT_EQ(data.get(), original);
  data = ConvertSampleWidth(std::move(data), 8, 8, length);
  data = ConvertChannelCount(std::move(data), 2, 2, 1, length);
  data = ConvertSampleRate(std::move(data), 44100, 44100, 1, 2, length);
  EXPECT_EQ(data.get(), original);
  EXPECT_EQ(length, 4);
}

TEST(ConvertWaveFormat, RefusesWhatItCannotConvert) {
  const std::string unsupported = "File format not supported";
  const std::string channels = "The file has an unsupported number of channels";
  const std::string zeroRate = "The file has a sample rate of 0";
  struct FailCase {
    const char* name;
    PCMWAVEFORMAT source;
    PCMWAVEFORMAT target;
    Bytes in;
    std::string message;
  };
  const FailCase cases[] = {
      {"24-bit source", Format(1, 11025, 24), Format(1, 11025, 8), Ramp(6), unsupported},
      {"32-bit source", Format(1, 11025, 32), Format(1, 11025, 8), Ramp(8), unsupported},
      {"12-bit source", Format(1, 11025, 12), Format(1, 11025, 8), Ramp(6), unsupported},
      {"0-bit source", Format(1, 11025, 0), Format(1, 11025, 8), Ramp(6), unsupported},
      {"16-bit target", Format(1, 11025, 8), Format(1, 11025, 16), Ramp(6), unsupported},
      {"stereo frame cut short for a mono target",
       Format(2, 11025, 8),
       Format(1, 11025, 8),
       {7},
       kOutOfMemory},
      {"half a 16-bit sample", Format(1, 11025, 16), Format(1, 11025, 8), {7}, kOutOfMemory},
      {"fewer frames than the rate factor", Format(1, 44100, 8), Format(1, 11025, 8), Ramp(3),
       kOutOfMemory},
      {"half a frame in a stereo session",
       Format(2, 11025, 8),
       Format(2, 11025, 8),
       {7},
       kOutOfMemory},
      {"a rate factor too large for 32-bit lengths", Format(1, 1, 8), Format(1, 0xFFFFFFFF, 8),
       Ramp(2), kOutOfMemory},
      {"no channels", Format(0, 11025, 8), Format(1, 11025, 8), Ramp(4), channels},
      {"three channels", Format(3, 11025, 8), Format(1, 11025, 8), Ramp(6), channels},
      {"three 16-bit channels", Format(3, 22050, 16), Format(2, 11025, 8), Ramp(12), channels},
      {"a rate of 0", Format(1, 0, 8), Format(1, 11025, 8), Ramp(4), zeroRate},
      {"a rate of 0 after the other steps", Format(2, 0, 16), Format(1, 11025, 8), Ramp(8),
       zeroRate},
  };
  for (const FailCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ConvertError(c.target, c.source, c.in), c.message);
  }
}

}  // namespace
