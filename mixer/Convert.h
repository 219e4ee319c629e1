#pragma once
// Converting a wave's sample data, once and at load time, to the session's
// output format, so that mixing only ever adds bytes. Three steps in a fixed
// order: sample width, channel count, sample rate; integer arithmetic, one
// pass each.
//
// Ownership travels with the buffer: each step takes over the buffer it is
// given and either hands the same buffer back (nothing to do) or returns a
// new one, the old one freed. A step that raises has freed what it was given,
// so at most two sample buffers exist at any moment. The byte count is an
// in-out argument that every converting step updates.
//
// The output is always 8-bit, so the channel and rate steps work on one-byte
// samples only. Failures raise EMixerError.
#include <cstdint>
#include <memory>

#include "mixer/Mixer.h"
#include "platform/WaveOut.h"

using WaveBuffer = std::unique_ptr<std::uint8_t[]>;

// Converts data from the source's format to target's; a source already in
// the target's channel count, rate and width comes back as it is. A trailing
// partial frame is dropped, as every step drops it.
WaveBuffer ConvertWaveFormat(const PCMWAVEFORMAT& target, const PCMWAVEFORMAT& source,
                             WaveBuffer data, std::int32_t& length);

// 16-bit signed to 8-bit unsigned: the high byte with its top bit flipped.
WaveBuffer ConvertSampleWidth(WaveBuffer data, int sourceBits, int targetBits,
                              std::int32_t& length);
// Mono to stereo repeats each sample; stereo to mono averages, rounding down.
WaveBuffer ConvertChannelCount(WaveBuffer data, int sourceChannels, int targetChannels,
                               int bytesPerSample, std::int32_t& length);
// Whole-number ratios only: raising interpolates linearly, lowering averages
// groups of frames.
WaveBuffer ConvertSampleRate(WaveBuffer data, std::uint32_t sourceRate, std::uint32_t targetRate,
                             int bytesPerSample, int channels, std::int32_t& length);

// Writes the factor output frames that stretch source frame 0 towards source
// frame 1 (both read from source).
void InterpolateFrame(std::uint8_t* output, const std::uint8_t* source, std::int32_t factor,
                      int bytesPerSample, int channels);
// Writes one output frame, the average of factor source frames.
void AverageFrames(std::uint8_t* output, const std::uint8_t* source, std::int32_t factor,
                   int bytesPerSample, int channels);
