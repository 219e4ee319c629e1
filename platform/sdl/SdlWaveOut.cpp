// The wave output device on SDL: an SDL audio device opened in exactly the
// session's format, fed from the shared block queue by SDL's audio thread.
#include <SDL.h>

#include <cstring>
#include <string>

#include "platform/WaveOutDevice.h"
#include "platform/sdl/SdlAudio.h"

namespace {

// The name the mapper (SDL's default device) goes by, also as the MIXER.INI
// section of its settings.
const char* const kMapperName = "SDL Default Device";

struct SdlWaveOutDevice : TWaveOutDevice {
  using TWaveOutDevice::TWaveOutDevice;
  SDL_AudioDeviceID id = 0;
  bool running = false;  // SDL pulls from us; before the first write it does not
};

void FeedDevice(void* user, Uint8* stream, int length) {
  auto* device = static_cast<SdlWaveOutDevice*>(user);
  auto bytes = static_cast<std::size_t>(length);
  std::size_t played = device->Play(stream, bytes);
  // Between blocks, or paused, the device plays silence.
  std::memset(stream + played, 128, bytes - played);
}

int DeviceCount() {
  if (!EnsureSdlAudio()) return 0;
  int count = SDL_GetNumAudioDevices(0);
  return count < 0 ? 0 : count;
}

bool KnownDevice(std::uint32_t id) {
  int count = DeviceCount();
  if (count == 0) return false;
  return id == WAVE_MAPPER || id < static_cast<std::uint32_t>(count);
}

std::uint32_t GetNumDevs() {
  return static_cast<std::uint32_t>(DeviceCount());
}

MMRESULT GetDevCaps(std::uint32_t id, WAVEOUTCAPSA* caps) {
  if (!KnownDevice(id)) return MMSYSERR_BADDEVICEID;
  const char* name = id == WAVE_MAPPER ? kMapperName : SDL_GetAudioDeviceName(int(id), 0);
  std::strncpy(caps->szPname, name ? name : "", sizeof caps->szPname - 1);
  // SDL converts to whatever the hardware takes, so every device offers
  // both channel counts and all three rates, and none blocks its caller.
  caps->wChannels = 2;
  caps->dwSupport = 0;
  caps->dwFormats = WAVE_FORMAT_1M08 | WAVE_FORMAT_1S08 | WAVE_FORMAT_2M08 | WAVE_FORMAT_2S08 |
                    WAVE_FORMAT_4M08 | WAVE_FORMAT_4S08;
  return MMSYSERR_NOERROR;
}

MMRESULT QueryFormat(std::uint32_t id, const PCMWAVEFORMAT& format) {
  if (!KnownDevice(id)) return MMSYSERR_BADDEVICEID;
  return IsPlayableFormat(format) ? MMSYSERR_NOERROR : WAVERR_BADFORMAT;
}

MMRESULT Open(HWAVEOUT* handle, std::uint32_t id, const PCMWAVEFORMAT& format, HWND window) {
  if (MMRESULT code = QueryFormat(id, format)) return code;
  auto* device = new SdlWaveOutDevice(window, format);
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(format.nSamplesPerSec);
  want.format = AUDIO_U8;
  want.channels = static_cast<Uint8>(format.nChannels);
  want.samples = 512;
  want.callback = FeedDevice;
  want.userdata = device;
  SDL_AudioSpec have{};
  std::string name = id == WAVE_MAPPER ? "" : SDL_GetAudioDeviceName(int(id), 0);
  device->id = SDL_OpenAudioDevice(name.empty() ? nullptr : name.c_str(), 0, &want, &have, 0);
  if (device->id == 0) {
    delete device;
    return MMSYSERR_ALLOCATED;
  }
  *handle = device;
  return MMSYSERR_NOERROR;
}

MMRESULT Prepare(HWAVEOUT, WAVEHDR*) {
  return MMSYSERR_NOERROR;
}

MMRESULT Write(HWAVEOUT handle, WAVEHDR* header) {
  auto* device = static_cast<SdlWaveOutDevice*>(handle);
  MMRESULT result = device->Write(header);
  if (result == MMSYSERR_NOERROR && !device->running) {
    device->running = true;
    SDL_PauseAudioDevice(device->id, 0);
  }
  return result;
}

MMRESULT Pause(HWAVEOUT device) {
  device->Pause();
  return MMSYSERR_NOERROR;
}

MMRESULT Restart(HWAVEOUT device) {
  device->Restart();
  return MMSYSERR_NOERROR;
}

MMRESULT Reset(HWAVEOUT device) {
  device->Reset();
  return MMSYSERR_NOERROR;
}

MMRESULT GetPosition(HWAVEOUT device, std::uint32_t* bytes) {
  *bytes = device->PlayedBytes();
  return MMSYSERR_NOERROR;
}

MMRESULT Close(HWAVEOUT handle) {
  auto* device = static_cast<SdlWaveOutDevice*>(handle);
  // Waits for a running callback, so nothing touches the device afterwards.
  SDL_CloseAudioDevice(device->id);
  delete device;
  return MMSYSERR_NOERROR;
}

}  // namespace

void UseSdlWaveOut() {
  SetWaveOutOps({GetNumDevs, GetDevCaps, QueryFormat, Open, Prepare, Write, Pause, Restart, Reset,
                 GetPosition, Close});
}
