// Which byte of the output stream is being heard now: the device's own byte
// count moved by an offset, or the system time times the byte rate.
#include "mixer/Mixer.h"
#include "platform/Events.h"

namespace {

// The device's count of bytes played; 0 when there is no device or it
// cannot tell, which is also how the clock is set against a closed device.
std::uint32_t DeviceBytes(HWAVEOUT device) {
  if (device == nullptr) return 0;
  MMTIME time{};
  time.wType = TIME_BYTES;
  if (waveOutGetPosition(device, &time, sizeof time) != MMSYSERR_NOERROR) return 0;
  return time.u.cb;
}

}  // namespace

// Positions wrap like the 32-bit counts they come from.
std::int32_t AddPosition(std::int32_t bytes, std::int32_t offset) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes) +
                                   static_cast<std::uint32_t>(offset));
}

std::int32_t SubtractPosition(std::int32_t bytes, std::int32_t offset) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes) -
                                   static_cast<std::uint32_t>(offset));
}

std::int32_t GetPlayPosition(HWAVEOUT device, std::uint8_t trustDevice) {
  MixSession& session = *MixerUnit.CurrentSession;
  if (trustDevice == 1) {
    auto bytes = static_cast<std::int32_t>(DeviceBytes(device));
    auto offset = static_cast<std::int32_t>(session.PositionOffset);
    // Before the clock is first set there is no routine and no offset.
    return session.PositionAdjust ? session.PositionAdjust(bytes, offset) : bytes;
  }
  std::uint32_t elapsedMs = timeGetTime() - session.ClockBaseTime;
  std::uint64_t bytes = std::uint64_t{elapsedMs} * session.OutputFormat.nAvgBytesPerSec / 1000;
  auto position = static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes));
  // A stereo position never falls between the two bytes of a frame.
  if (session.OutputFormat.nBlockAlign > 1 && (position & 1) != 0) --position;
  return position;
}

void SetPlayPosition(std::int32_t position) {
  MixSession& session = *MixerUnit.CurrentSession;
  auto deviceBytes = static_cast<std::int64_t>(DeviceBytes(session.WaveOut));
  if (position > deviceBytes) {
    session.PositionOffset = static_cast<std::uint32_t>(position - deviceBytes);
    session.PositionAdjust = AddPosition;
  } else {
    session.PositionOffset = static_cast<std::uint32_t>(deviceBytes - position);
    session.PositionAdjust = SubtractPosition;
  }
  std::int64_t ms = std::int64_t{position} * 1000 / session.OutputFormat.nAvgBytesPerSec;
  session.ClockBaseTime = timeGetTime() - static_cast<std::uint32_t>(ms);
  session.MixPosition = position;
}

void ResetKeepingPosition(HWAVEOUT device) {
  std::int32_t position = GetPlayPosition(device, MixerUnit.CurrentSession->GoodWavePos);
  waveOutReset(device);
  SetPlayPosition(position);
}
