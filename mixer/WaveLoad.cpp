// Loading a wave: every check in a fixed order, the first failure raised,
// and nothing the call acquired left behind when it fails.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>

#include "mixer/Convert.h"
#include "mixer/Mixer.h"
#include "mixer/Wave.h"
#include "mixer/WaveSource.h"

namespace {

const char* const kOutOfMemory =
    "Unable to allocate memory for waveform data.  Try making more memory available by closing "
    "other applications.";
// 0xB4 is the acute accent of the Western Windows code page: one byte.
const char* const kDeviceCannotPlay = "The waveform device can\xB4t play this format";

constexpr FOURCC kWave = mmioFOURCC('W', 'A', 'V', 'E');
constexpr FOURCC kFmt = mmioFOURCC('f', 'm', 't', ' ');
constexpr FOURCC kData = mmioFOURCC('d', 'a', 't', 'a');
constexpr std::uint32_t kFormatBytes = 16;

struct DeleteWave {
  void operator()(MixWave* wave) const {
    delete[] wave->SampleData;
    delete wave;
  }
};
using WaveHolder = std::unique_ptr<MixWave, DeleteWave>;

// Asks about the device that activation opens: the same number, passed the
// same way, so -1 names the wave mapper here as well.
void CheckDeviceFormat(const MixSession& session) {
  const MMRESULT result = waveOutOpen(nullptr, static_cast<std::uint32_t>(session.DeviceId),
                                      &session.OutputFormat, 0, 0, WAVE_FORMAT_QUERY);
  if (result != MMSYSERR_NOERROR) throw EMixerError(kDeviceCannotPlay);
}

MMCKINFO FindChunk(HMMIO reader, const MMCKINFO* parent, FOURCC id, std::uint32_t flags,
                   const char* missing) {
  MMCKINFO chunk{};
  if (flags == MMIO_FINDRIFF) {
    chunk.fccType = id;
  } else {
    chunk.ckid = id;
  }
  if (mmioDescend(reader, &chunk, parent, flags) != 0) throw EMixerError(missing);
  return chunk;
}

std::uint16_t Word(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Dword(const std::uint8_t* p) {
  return Word(p) | static_cast<std::uint32_t>(Word(p + 2)) << 16;
}

// A format chunk that declares fewer than 16 bytes is refused rather than
// completed with the bytes of whatever follows it.
void ReadFormat(HMMIO reader, const MMCKINFO& fmt, MixWave& wave) {
  std::uint8_t bytes[kFormatBytes];
  if (fmt.cksize < kFormatBytes || mmioRead(reader, bytes, kFormatBytes) != kFormatBytes) {
    throw EMixerError("Failed to read format chunk");
  }
  wave.FormatTag = Word(bytes);
  wave.SourceChannels = Word(bytes + 2);
  wave.SourceRate = Dword(bytes + 4);
  wave.SourceAvgBytesPerSec = Dword(bytes + 8);
  wave.SourceBlockAlign = Word(bytes + 12);
  wave.SourceBitsPerSample = Word(bytes + 14);
}

void CheckFormat(const MixWave& wave) {
  if (wave.FormatTag != WAVE_FORMAT_PCM) throw EMixerError("The file is not a PCM file");
  if (wave.SourceBlockAlign == 0) throw EMixerError("The file has a block alignment of 0");
}

std::int64_t BytesLeft(HMMIO reader) {
  const std::int64_t here = mmioSeek(reader, 0, SEEK_CUR);
  const std::int64_t end = mmioSeek(reader, 0, SEEK_END);
  mmioSeek(reader, here, SEEK_SET);
  return end > here ? end - here : 0;
}

// The whole data chunk in one read. A declared size the source cannot hold
// is refused before anything is allocated for it.
WaveBuffer ReadData(HMMIO reader, const MMCKINFO& data) {
  const std::uint32_t size = data.cksize;
  if (size == 0) throw EMixerError("The data chunk has no data");
  if (size > BytesLeft(reader)) throw EMixerError("Failed to read data chunk");
  // Byte counts are signed 32-bit.
  if (size > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
    throw EMixerError(kOutOfMemory);
  }
  WaveBuffer buffer(new (std::nothrow) std::uint8_t[size]);
  if (!buffer) throw EMixerError(kOutOfMemory);
  const auto length = static_cast<std::int32_t>(size);
  if (mmioRead(reader, buffer.get(), length) != length) {
    throw EMixerError("Failed to read data chunk");
  }
  return buffer;
}

PCMWAVEFORMAT SourceFormat(const MixWave& wave) {
  return {wave.FormatTag,        wave.SourceChannels,
          wave.SourceRate,       wave.SourceAvgBytesPerSec,
          wave.SourceBlockAlign, wave.SourceBitsPerSample};
}

// Nothing reads the name; a memory image gets a fixed one.
void SetWaveName(MixWave& wave, const char* name, std::uint32_t flags) {
  std::string text;
  if (flags & MixWaveFromResource) {
    text = IS_INTRESOURCE(name) ? "res#" + std::to_string(reinterpret_cast<std::uintptr_t>(name))
                                : name;
  } else if (flags & MixWaveFromMemory) {
    text = "memory image";
  } else {
    text = name;
  }
  text.copy(wave.WaveName, sizeof wave.WaveName - 1);
}

}  // namespace

MixWave* MixerLoadWave(MixSession* handle, const char* name, HMODULE module, std::uint32_t flags) {
  MixSession* session = ValidateSession(handle);
  MixerUnit.CurrentSession = session;
  CheckDeviceFormat(*session);
  WaveHolder wave(new (std::nothrow) MixWave{});
  if (!wave) throw EMixerError(kOutOfMemory);

  WaveSource source;
  source.Open(name, module, flags);
  HMMIO reader = source.Reader();
  const MMCKINFO riff = FindChunk(reader, nullptr, kWave, MMIO_FINDRIFF, "This is not a WAVE file");
  const MMCKINFO fmt = FindChunk(reader, &riff, kFmt, MMIO_FINDCHUNK, "WAVE file is corrupted");
  ReadFormat(reader, fmt, *wave);
  CheckFormat(*wave);
  mmioAscend(reader, &fmt, 0);
  const MMCKINFO data =
      FindChunk(reader, &riff, kData, MMIO_FINDCHUNK, "WAVE file has no data chunk");

  std::int32_t length = static_cast<std::int32_t>(data.cksize);
  WaveBuffer samples = ReadData(reader, data);
  samples =
      ConvertWaveFormat(session->OutputFormat, SourceFormat(*wave), std::move(samples), length);
  if (!samples) throw EMixerError("Failed to convert wave format");
  source.Close();

  wave->SampleData = samples.release();
  wave->SampleLength = length;
  SetWaveName(*wave, name, flags);
  return wave.release();
}
