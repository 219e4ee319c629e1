#pragma once
// Loaded waves: a RIFF WAVE image read from a file, a "WAVE" resource or a
// memory image, checked, read whole and converted once to the output format
// of the session that was current, so that playing only ever adds bytes.
#include <cstdint>

#include "platform/Resources.h"

struct MixSession;

// Where MixerLoadWave reads from. Resource is tested first, then memory;
// anything else is a file (the component passes 1).
constexpr std::uint32_t MixWaveFromFile = 1;
constexpr std::uint32_t MixWaveFromResource = 2;
constexpr std::uint32_t MixWaveFromMemory = 4;

struct MixWave {
  // The first 16 bytes of the source's "fmt " chunk, as read: they keep
  // describing the source, not the converted samples.
  std::uint16_t FormatTag;
  std::uint16_t SourceChannels;
  std::uint32_t SourceRate;
  std::uint32_t SourceAvgBytesPerSec;
  std::uint16_t SourceBlockAlign;  // bytes per source frame
  std::uint16_t SourceBitsPerSample;
  // Laid out like a wave header; only the samples and their count are used.
  std::uint8_t* SampleData;   // in the session's output format; owned by the wave
  std::int32_t SampleLength;  // bytes at SampleData
  std::uint32_t Recorded;
  std::uintptr_t User;
  std::uint32_t Flags;
  std::uint32_t Loops;
  void* Next;
  std::uintptr_t Reserved;
  char WaveName[16];  // the source's name, at most 15 characters
};

// name: for a file its path; for a resource its name, or a number made with
// MAKEINTRESOURCEA; for a memory image the address of an MMIOINFO that
// describes it (copied, never changed). module: the resource's module.
MixWave* MixerLoadWave(MixSession* session, const char* name, HMODULE module, std::uint32_t flags);
// Drops the wave's queued and held plays unheard, then frees it.
void MixerUnloadWave(MixSession* session, MixWave* wave);
