#pragma once
// The wave output device: a stream of 8-bit PCM fed in blocks. Blocks are
// played in the order written; as each one finishes the device sets its done
// flag and posts MM_WOM_DONE to the callback window given at open
// (wParam = the device, lParam = the block's header). The calls forward to
// the back end chosen at run time.
#include <atomic>
#include <cstdint>

#include "platform/Messages.h"

struct TWaveOutDevice;
using HWAVEOUT = TWaveOutDevice*;
using MMRESULT = std::uint32_t;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT WAVERR_BADFORMAT = 32;
constexpr MMRESULT WAVERR_STILLPLAYING = 33;
constexpr MMRESULT WAVERR_UNPREPARED = 34;

// Device number that picks the system's default device.
constexpr std::uint32_t WAVE_MAPPER = 0xFFFFFFFFu;

// waveOutOpen flags.
constexpr std::uint32_t WAVE_FORMAT_QUERY = 0x0001;
constexpr std::uint32_t CALLBACK_WINDOW = 0x00010000;

constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

// The first 16 bytes of a RIFF "fmt " chunk.
struct PCMWAVEFORMAT {
  std::uint16_t wFormatTag;
  std::uint16_t nChannels;
  std::uint32_t nSamplesPerSec;
  std::uint32_t nAvgBytesPerSec;
  std::uint16_t nBlockAlign;
  std::uint16_t wBitsPerSample;
};
static_assert(sizeof(PCMWAVEFORMAT) == 16);

constexpr std::uint32_t WAVECAPS_SYNC = 0x0010;
// dwFormats bits for the 8-bit formats a device can play.
constexpr std::uint32_t WAVE_FORMAT_1M08 = 0x0001;
constexpr std::uint32_t WAVE_FORMAT_1S08 = 0x0002;
constexpr std::uint32_t WAVE_FORMAT_2M08 = 0x0010;
constexpr std::uint32_t WAVE_FORMAT_2S08 = 0x0020;
constexpr std::uint32_t WAVE_FORMAT_4M08 = 0x0100;
constexpr std::uint32_t WAVE_FORMAT_4S08 = 0x0200;

struct WAVEOUTCAPSA {
  std::uint16_t wMid;
  std::uint16_t wPid;
  std::uint32_t vDriverVersion;
  char szPname[32];
  std::uint32_t dwFormats;
  std::uint16_t wChannels;
  std::uint16_t wReserved1;
  std::uint32_t dwSupport;
};

// Header flags. The device owns a header from waveOutWrite until it sets
// WHDR_DONE; it sets that bit from its own thread, so read it with
// WaveHeaderFlags.
constexpr std::uint32_t WHDR_DONE = 0x0001;
constexpr std::uint32_t WHDR_PREPARED = 0x0002;
constexpr std::uint32_t WHDR_INQUEUE = 0x0010;

struct WAVEHDR {
  char* lpData;
  std::uint32_t dwBufferLength;  // bytes
  std::uint32_t dwBytesRecorded;
  std::uintptr_t dwUser;
  std::uint32_t dwFlags;
  std::uint32_t dwLoops;
  WAVEHDR* lpNext;
  std::uintptr_t reserved;
};

inline std::uint32_t WaveHeaderFlags(const WAVEHDR& header) {
  return std::atomic_ref<std::uint32_t>(const_cast<std::uint32_t&>(header.dwFlags))
      .load(std::memory_order_acquire);
}

constexpr std::uint32_t TIME_MS = 0x0001;
constexpr std::uint32_t TIME_SAMPLES = 0x0002;
constexpr std::uint32_t TIME_BYTES = 0x0004;

struct MMTIME {
  std::uint32_t wType;
  union {
    std::uint32_t ms;
    std::uint32_t sample;
    std::uint32_t cb;  // bytes played since open or the last reset
  } u;
};

std::uint32_t waveOutGetNumDevs();
MMRESULT waveOutGetDevCapsA(std::uint32_t deviceId, WAVEOUTCAPSA* caps, std::uint32_t size);
inline MMRESULT waveOutGetDevCaps(std::uint32_t deviceId, WAVEOUTCAPSA* caps, std::uint32_t size) {
  return waveOutGetDevCapsA(deviceId, caps, size);
}
// With WAVE_FORMAT_QUERY only asks whether the format could be opened
// (device may then be null); otherwise opens the device in exactly that
// format, with callback the window (CALLBACK_WINDOW) that hears of blocks done.
MMRESULT waveOutOpen(HWAVEOUT* device, std::uint32_t deviceId, const PCMWAVEFORMAT* format,
                     std::uintptr_t callback, std::uintptr_t instance, std::uint32_t flags);
MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, std::uint32_t size);
MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, std::uint32_t size);
MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, std::uint32_t size);
MMRESULT waveOutPause(HWAVEOUT device);
MMRESULT waveOutRestart(HWAVEOUT device);
// Stops at once and hands back every queued block as done, each with its
// message; the byte count starts again from 0.
MMRESULT waveOutReset(HWAVEOUT device);
MMRESULT waveOutGetPosition(HWAVEOUT device, MMTIME* time, std::uint32_t size);
MMRESULT waveOutClose(HWAVEOUT device);

// The simple sound player and the warning beep: we play neither, but keep
// the calls so that callers read as they would anywhere else. The beep is
// counted so that a test can see it was asked for.
constexpr std::uint32_t SND_SYNC = 0x0000;
bool sndPlaySoundA(const char* sound, std::uint32_t flags);
bool MessageBeep(std::uint32_t type);
int MessageBeepCount();

// What a back end supplies. Handles and headers reach it already checked.
struct WaveOutOps {
  std::uint32_t (*GetNumDevs)();
  MMRESULT (*GetDevCaps)(std::uint32_t deviceId, WAVEOUTCAPSA* caps);
  MMRESULT (*QueryFormat)(std::uint32_t deviceId, const PCMWAVEFORMAT& format);
  MMRESULT (*Open)
  (HWAVEOUT* device, std::uint32_t deviceId, const PCMWAVEFORMAT& format, HWND callbackWindow);
  MMRESULT (*Prepare)(HWAVEOUT device, WAVEHDR* header);
  MMRESULT (*Write)(HWAVEOUT device, WAVEHDR* header);
  MMRESULT (*Pause)(HWAVEOUT device);
  MMRESULT (*Restart)(HWAVEOUT device);
  MMRESULT (*Reset)(HWAVEOUT device);
  MMRESULT (*GetPosition)(HWAVEOUT device, std::uint32_t* bytes);
  MMRESULT (*Close)(HWAVEOUT device);
};

void SetWaveOutOps(const WaveOutOps& ops);

// True for the formats our devices play: 8-bit unsigned PCM, one or two
// channels, 11025, 22050 or 44100 samples per second, consistent sizes.
bool IsPlayableFormat(const PCMWAVEFORMAT& format);

// Back ends.
void UseSdlWaveOut();
