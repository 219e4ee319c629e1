#include "platform/virtual/VirtualWaveOut.h"

#include <cstring>
#include <map>

#include "platform/WaveOutDevice.h"

namespace {

struct Failure {
  MMRESULT code = MMSYSERR_NOERROR;
  int succeedFirst = 0;
};

struct State {
  std::vector<VirtualWaveDevice> devices{VirtualWaveDevice{}};
  VirtualWaveDevice mapper;
  std::map<VirtualWaveCall, Failure> failures;
  std::vector<std::uint8_t> played;
  std::vector<std::string> calls;
  TWaveOutDevice* current = nullptr;
  PCMWAVEFORMAT format{};
  std::uint32_t deviceId = 0;
};

State state;

MMRESULT Injected(VirtualWaveCall call) {
  Failure& failure = state.failures[call];
  if (failure.code == MMSYSERR_NOERROR) return MMSYSERR_NOERROR;
  if (failure.succeedFirst > 0) {
    --failure.succeedFirst;
    return MMSYSERR_NOERROR;
  }
  return failure.code;
}

const VirtualWaveDevice* Find(std::uint32_t id) {
  if (id == WAVE_MAPPER) return state.devices.empty() ? nullptr : &state.mapper;
  return id < state.devices.size() ? &state.devices[id] : nullptr;
}

std::uint32_t GetNumDevs() {
  return static_cast<std::uint32_t>(state.devices.size());
}

MMRESULT GetDevCaps(std::uint32_t id, WAVEOUTCAPSA* caps) {
  const VirtualWaveDevice* device = Find(id);
  if (device == nullptr) return MMSYSERR_BADDEVICEID;
  if (device->capsResult != MMSYSERR_NOERROR) return device->capsResult;
  std::strncpy(caps->szPname, device->name.c_str(), sizeof(caps->szPname) - 1);
  caps->wChannels = device->channels;
  caps->dwSupport = device->support;
  caps->dwFormats = WAVE_FORMAT_1M08 | WAVE_FORMAT_2M08 | WAVE_FORMAT_4M08;
  if (device->channels > 1)
    caps->dwFormats |= WAVE_FORMAT_1S08 | WAVE_FORMAT_2S08 | WAVE_FORMAT_4S08;
  return MMSYSERR_NOERROR;
}

MMRESULT QueryFormat(std::uint32_t id, const PCMWAVEFORMAT& format) {
  if (Find(id) == nullptr) return MMSYSERR_BADDEVICEID;
  return IsPlayableFormat(format) ? MMSYSERR_NOERROR : WAVERR_BADFORMAT;
}

MMRESULT Open(HWAVEOUT* device, std::uint32_t id, const PCMWAVEFORMAT& format, HWND window) {
  state.calls.push_back("open");
  if (MMRESULT code = Injected(VirtualWaveCall::Open)) return code;
  if (MMRESULT code = QueryFormat(id, format)) return code;
  state.current = new TWaveOutDevice(window, format);
  state.format = format;
  state.deviceId = id;
  *device = state.current;
  return MMSYSERR_NOERROR;
}

MMRESULT Prepare(HWAVEOUT, WAVEHDR*) {
  state.calls.push_back("prepare");
  return Injected(VirtualWaveCall::Prepare);
}

MMRESULT Write(HWAVEOUT device, WAVEHDR* header) {
  state.calls.push_back("write");
  if (MMRESULT code = Injected(VirtualWaveCall::Write)) return code;
  return device->Write(header);
}

MMRESULT Pause(HWAVEOUT device) {
  state.calls.push_back("pause");
  device->Pause();
  return MMSYSERR_NOERROR;
}

MMRESULT Restart(HWAVEOUT device) {
  state.calls.push_back("restart");
  device->Restart();
  return MMSYSERR_NOERROR;
}

MMRESULT Reset(HWAVEOUT device) {
  state.calls.push_back("reset");
  device->Reset();
  return MMSYSERR_NOERROR;
}

MMRESULT GetPosition(HWAVEOUT device, std::uint32_t* bytes) {
  *bytes = device->PlayedBytes();
  return MMSYSERR_NOERROR;
}

MMRESULT Close(HWAVEOUT device) {
  state.calls.push_back("close");
  if (state.current == device) state.current = nullptr;
  delete device;
  return MMSYSERR_NOERROR;
}

}  // namespace

void UseVirtualWaveOut() {
  // A device a previous test left open is only forgotten: its handle stays
  // registered but nothing plays it any more.
  state = State{};
  // Unprepare is the same everywhere and needs no back end.
  SetWaveOutOps({GetNumDevs, GetDevCaps, QueryFormat, Open, Prepare, Write, Pause, Restart, Reset,
                 GetPosition, Close});
}

void VirtualWaveOutSetDevices(const std::vector<VirtualWaveDevice>& devices,
                              const VirtualWaveDevice& mapper) {
  state.devices = devices;
  state.mapper = mapper;
}

void VirtualWaveOutFail(VirtualWaveCall call, MMRESULT code, int succeedFirst) {
  state.failures[call] = {code, succeedFirst};
}

std::size_t VirtualWaveOutPlay(std::size_t bytes) {
  if (state.current == nullptr) return 0;
  std::size_t start = state.played.size();
  state.played.resize(start + bytes);
  std::size_t played = state.current->Play(state.played.data() + start, bytes);
  state.played.resize(start + played);
  return played;
}

const std::vector<std::uint8_t>& VirtualWaveOutPlayed() {
  return state.played;
}
const std::vector<std::string>& VirtualWaveOutCalls() {
  return state.calls;
}
void VirtualWaveOutClearCalls() {
  state.calls.clear();
}
bool VirtualWaveOutIsOpen() {
  return state.current != nullptr;
}
bool VirtualWaveOutIsPaused() {
  return state.current != nullptr && state.current->Paused();
}
std::size_t VirtualWaveOutQueuedBlocks() {
  return state.current == nullptr ? 0 : state.current->QueuedBlocks();
}
PCMWAVEFORMAT VirtualWaveOutFormat() {
  return state.format;
}
std::uint32_t VirtualWaveOutDeviceId() {
  return state.deviceId;
}
