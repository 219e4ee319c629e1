#pragma once
// The virtual wave output device: it plays only the bytes a test tells it to
// and keeps every byte it played. The blocks that finish post their
// MM_WOM_DONE message; the test then dispatches it with ProcessMessages.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/WaveOut.h"

struct VirtualWaveDevice {
  std::string name = "Virtual Wave Out";
  std::uint16_t channels = 2;
  std::uint32_t support = 0;  // WAVECAPS_* bits, e.g. WAVECAPS_SYNC
  MMRESULT capsResult = MMSYSERR_NOERROR;
};

// Installs the virtual device and puts it back to its defaults: one device
// and the mapper, both "Virtual Wave Out", two channels, not synchronous,
// nothing failing, nothing played.
void UseVirtualWaveOut();
// Devices 0..n-1 and the mapper (WAVE_MAPPER); the device count is n.
void VirtualWaveOutSetDevices(const std::vector<VirtualWaveDevice>& devices,
                              const VirtualWaveDevice& mapper);

enum class VirtualWaveCall { Open, Prepare, Write };
// The call succeeds `succeedFirst` more times, then fails with `code` until
// it is set again; code 0 makes it succeed.
void VirtualWaveOutFail(VirtualWaveCall call, MMRESULT code, int succeedFirst = 0);

// Plays up to `bytes` bytes of the blocks queued in the open device (the one
// opened last). Returns the number played: fewer when the queue runs dry,
// none while paused.
std::size_t VirtualWaveOutPlay(std::size_t bytes);
// Every byte played since UseVirtualWaveOut, in order.
const std::vector<std::uint8_t>& VirtualWaveOutPlayed();
// Every device call made, in order: "open", "prepare", "unprepare", "write",
// "pause", "restart", "reset", "close".
const std::vector<std::string>& VirtualWaveOutCalls();
void VirtualWaveOutClearCalls();

bool VirtualWaveOutIsOpen();
bool VirtualWaveOutIsPaused();
std::size_t VirtualWaveOutQueuedBlocks();
// The format and device number of the last open.
PCMWAVEFORMAT VirtualWaveOutFormat();
std::uint32_t VirtualWaveOutDeviceId();
