#pragma once
// What the conversion steps share: their messages and the allocation of a
// result buffer.
#include <cstdint>

#include "mixer/Convert.h"

inline constexpr const char* kWaveOutOfMemory =
    "Unable to allocate memory for waveform data.  Try making more memory available by closing "
    "other applications.";
inline constexpr const char* kFormatNotSupported = "File format not supported";
inline constexpr const char* kBadChannelCount = "The file has an unsupported number of channels";
inline constexpr const char* kZeroSampleRate = "The file has a sample rate of 0";

// Allocates a result of byteCount bytes. A result that would be empty, that
// would not fit a signed 32-bit count, or that cannot be had raises the
// out-of-memory message, before anything is written.
WaveBuffer NewWaveBuffer(std::int64_t byteCount);

// Only mono and stereo exist at either end of a conversion.
void CheckChannelCount(int channels);
