// Keeping the device fed: every finished block brings the pump round once.
#include "mixer/Mixer.h"

void RetireEndedPlays() {
  MixSession& session = *MixerUnit.CurrentSession;
  // Retiring follows what has been heard, so only the device's count will do.
  std::int32_t heard = GetPlayPosition(session.WaveOut, 1);
  for (int channel = 0; channel < MixChannels; ++channel) {
    MixQueueEntry*& queue = session.ChannelQueue[channel];
    if (queue == MixChannelClosed()) continue;
    while (queue != nullptr && heard >= queue->End) {
      MixQueueEntry* ended = queue;
      queue = ended->Link;
      if (ended->Request.NotifyWindow != nullptr) {
        PostMessageA(ended->Request.NotifyWindow, MM_WOM_DONE, static_cast<WPARAM>(channel),
                     reinterpret_cast<LPARAM>(ended->Wave));
      }
      ReturnQueueEntry(ended);
    }
  }
}

namespace {

void TakeBackFinishedBlocks() {
  MixBlock* block = MixerUnit.InDeviceHead;
  while (block != nullptr) {
    if (WaveHeaderFlags(block->WaveHeader) & WHDR_DONE) {
      UnlinkBlock(block);
      ReleaseBlock(block);
      block = MixerUnit.InDeviceHead;
    } else {
      block = block->NextInDevice;
    }
  }
}

}  // namespace

void MixerService() {
  MixerUnit.CurrentSession = MixerUnit.ActiveSession;
  if (MixerUnit.CurrentSession == nullptr) return;
  TakeBackFinishedBlocks();
  RetireEndedPlays();
  while (MixNextBlock(TakeFreeBlock(), true)) {
  }
}

LRESULT CallbackWindowProc(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (message != MM_WOM_DONE) return DefWindowProcA(window, message, wParam, lParam);
  // The pump works on the session that holds the device, whichever block
  // this notice is for. A device that refuses a block here has nobody to
  // tell: the block is free again and the next request or notice retries.
  try {
    MixerService();
  } catch (const EMixerError&) {
  }
  return 0;
}
