#include "platform/WaveOut.h"

#include <atomic>
#include <mutex>
#include <set>

#include "platform/WaveOutDevice.h"

namespace {

std::uint32_t NoDevices() {
  return 0;
}
MMRESULT NoDriverCaps(std::uint32_t, WAVEOUTCAPSA*) {
  return MMSYSERR_NODRIVER;
}
MMRESULT NoDriverQuery(std::uint32_t, const PCMWAVEFORMAT&) {
  return MMSYSERR_NODRIVER;
}
MMRESULT NoDriverOpen(HWAVEOUT*, std::uint32_t, const PCMWAVEFORMAT&, HWND) {
  return MMSYSERR_NODRIVER;
}
MMRESULT NoDriver(HWAVEOUT) {
  return MMSYSERR_NODRIVER;
}
MMRESULT NoDriverHeader(HWAVEOUT, WAVEHDR*) {
  return MMSYSERR_NODRIVER;
}
MMRESULT NoDriverPosition(HWAVEOUT, std::uint32_t*) {
  return MMSYSERR_NODRIVER;
}

// Until a back end is chosen there is no device at all.
WaveOutOps ops{NoDevices,      NoDriverCaps,     NoDriverQuery, NoDriverOpen,
               NoDriverHeader, NoDriverHeader,   NoDriver,      NoDriver,
               NoDriver,       NoDriverPosition, NoDriver};

// Handles that are open now, so that a stale or made-up handle is refused
// instead of followed.
std::mutex devicesMutex;
std::set<HWAVEOUT> openDevices;
std::atomic<int> beeps{0};

bool IsOpen(HWAVEOUT device) {
  std::lock_guard lock(devicesMutex);
  return openDevices.count(device) != 0;
}

bool HeaderUsable(const WAVEHDR* header, std::uint32_t size) {
  return header != nullptr && size >= sizeof(WAVEHDR) && header->lpData != nullptr;
}

}  // namespace

void SetWaveOutOps(const WaveOutOps& newOps) {
  ops = newOps;
}

bool IsPlayableFormat(const PCMWAVEFORMAT& f) {
  bool rate = f.nSamplesPerSec == 11025 || f.nSamplesPerSec == 22050 || f.nSamplesPerSec == 44100;
  return f.wFormatTag == WAVE_FORMAT_PCM && f.wBitsPerSample == 8 &&
         (f.nChannels == 1 || f.nChannels == 2) && rate && f.nBlockAlign == f.nChannels &&
         f.nAvgBytesPerSec == f.nSamplesPerSec * f.nBlockAlign;
}

std::uint32_t waveOutGetNumDevs() {
  return ops.GetNumDevs();
}

MMRESULT waveOutGetDevCapsA(std::uint32_t deviceId, WAVEOUTCAPSA* caps, std::uint32_t size) {
  if (caps == nullptr || size < sizeof(WAVEOUTCAPSA)) return MMSYSERR_INVALPARAM;
  *caps = {};
  return ops.GetDevCaps(deviceId, caps);
}

MMRESULT waveOutOpen(HWAVEOUT* device, std::uint32_t deviceId, const PCMWAVEFORMAT* format,
                     std::uintptr_t callback, std::uintptr_t, std::uint32_t flags) {
  if (format == nullptr) return MMSYSERR_INVALPARAM;
  if (flags & WAVE_FORMAT_QUERY) return ops.QueryFormat(deviceId, *format);
  if (device == nullptr) return MMSYSERR_INVALPARAM;
  HWND window = (flags & CALLBACK_WINDOW) ? reinterpret_cast<HWND>(callback) : nullptr;
  HWAVEOUT opened = nullptr;
  MMRESULT result = ops.Open(&opened, deviceId, *format, window);
  if (result != MMSYSERR_NOERROR) return result;
  std::lock_guard lock(devicesMutex);
  openDevices.insert(opened);
  *device = opened;
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, std::uint32_t size) {
  if (!IsOpen(device)) return MMSYSERR_INVALHANDLE;
  if (!HeaderUsable(header, size)) return MMSYSERR_INVALPARAM;
  MMRESULT result = ops.Prepare(device, header);
  if (result == MMSYSERR_NOERROR) SetWaveHeaderFlags(*header, WHDR_PREPARED, 0);
  return result;
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, std::uint32_t size) {
  if (!IsOpen(device)) return MMSYSERR_INVALHANDLE;
  if (!HeaderUsable(header, size)) return MMSYSERR_INVALPARAM;
  if (WaveHeaderFlags(*header) & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  SetWaveHeaderFlags(*header, 0, WHDR_PREPARED);
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, std::uint32_t size) {
  if (!IsOpen(device)) return MMSYSERR_INVALHANDLE;
  if (!HeaderUsable(header, size)) return MMSYSERR_INVALPARAM;
  return ops.Write(device, header);
}

MMRESULT waveOutPause(HWAVEOUT device) {
  return IsOpen(device) ? ops.Pause(device) : MMSYSERR_INVALHANDLE;
}

MMRESULT waveOutRestart(HWAVEOUT device) {
  return IsOpen(device) ? ops.Restart(device) : MMSYSERR_INVALHANDLE;
}

MMRESULT waveOutReset(HWAVEOUT device) {
  return IsOpen(device) ? ops.Reset(device) : MMSYSERR_INVALHANDLE;
}

MMRESULT waveOutGetPosition(HWAVEOUT device, MMTIME* time, std::uint32_t size) {
  if (!IsOpen(device)) return MMSYSERR_INVALHANDLE;
  if (time == nullptr || size < sizeof(MMTIME)) return MMSYSERR_INVALPARAM;
  // Bytes are the one time format we keep; like the platform, a device
  // answers other requests in a format it has, and says so in wType.
  std::uint32_t bytes = 0;
  MMRESULT result = ops.GetPosition(device, &bytes);
  if (result != MMSYSERR_NOERROR) return result;
  time->wType = TIME_BYTES;
  time->u.cb = bytes;
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutClose(HWAVEOUT device) {
  if (!IsOpen(device)) return MMSYSERR_INVALHANDLE;
  if (device->QueuedBlocks() != 0) return WAVERR_STILLPLAYING;
  {
    std::lock_guard lock(devicesMutex);
    openDevices.erase(device);
  }
  return ops.Close(device);
}

bool sndPlaySoundA(const char*, std::uint32_t) {
  return true;
}

bool MessageBeep(std::uint32_t) {
  ++beeps;
  return true;
}

int MessageBeepCount() {
  return beeps;
}
