// Taking the wave output device for a session and giving it back.
#include <string>

#include "mixer/Mixer.h"

namespace {

// Mixes and writes blocks while one is free and there is something to play.
void FillFreeBlocks() {
  while (MixNextBlock(TakeFreeBlock(), true)) {
  }
}

void Activate(MixSession& session) {
  if (MixerUnit.ActiveSession != nullptr) {
    if (MixerUnit.ActiveSession == &session) return;
    throw EMixerError("Resource is already allocated to a process");
  }
  MixerUnit.ActiveSession = &session;
  sndPlaySoundA(nullptr, SND_SYNC);
  try {
    OpenDevice(&session);
  } catch (...) {
    // Give the device up at once, so that the next request tries again.
    MixerUnit.ActiveSession = nullptr;
    throw;
  }
  session.IsActivated = true;
  SetPlayPosition(session.MixPosition);
  FillFreeBlocks();
}

void Deactivate(MixSession& session) {
  CloseDevice(&session);
  session.IsActivated = false;
  if (MixerUnit.ActiveSession == &session) MixerUnit.ActiveSession = nullptr;
}

}  // namespace

void MixerActivate(MixSession* handle, bool activate) {
  MixSession* session = ValidateSession(handle);
  MixerUnit.CurrentSession = session;
  if (activate) {
    Activate(*session);
  } else {
    Deactivate(*session);
  }
}

void OpenDevice(MixSession* session) {
  if (session->WaveOut != nullptr) return;
  session->CallbackWindow = CreateWindowExA("Mixer32");
  if (session->CallbackWindow == nullptr) throw EMixerError("Failed to create callback window");
  MMRESULT result = waveOutOpen(
      &session->WaveOut, static_cast<std::uint32_t>(session->DeviceId), &session->OutputFormat,
      reinterpret_cast<std::uintptr_t>(session->CallbackWindow), 0, CALLBACK_WINDOW);
  if (static_cast<std::uint16_t>(result) != 0) {
    session->WaveOut = nullptr;
    DestroyWindow(session->CallbackWindow);
    session->CallbackWindow = nullptr;
    throw EMixerError("Failed to open waveform output device #" +
                      std::to_string(static_cast<std::uint16_t>(result)));
  }
  try {
    AllocateBlocks(session->WaveOut);
  } catch (...) {
    waveOutClose(session->WaveOut);
    session->WaveOut = nullptr;
    DestroyWindow(session->CallbackWindow);
    session->CallbackWindow = nullptr;
    throw;
  }
}

void CloseDevice(MixSession* session) {
  if (!session->IsActivated || session->WaveOut == nullptr) return;
  ResetKeepingPosition(session->WaveOut);
  ReleaseAllBlocks();
  FreeBlocks(session->WaveOut);
  waveOutClose(session->WaveOut);
  session->WaveOut = nullptr;
  DestroyWindow(session->CallbackWindow);
  session->CallbackWindow = nullptr;
}
