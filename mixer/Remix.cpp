// What to do about sound already queued in the device when the plays
// change: mix it again from a position, or let it play out.
#include <algorithm>

#include "mixer/Mixer.h"

namespace {

void MixFreeBlocksWithoutWriting() {
  for (MixBlock* block = TakeFreeBlock(); block != nullptr; block = TakeFreeBlock()) {
    if (!MixNextBlock(block, false)) {
      ReleaseBlock(block);
      return;
    }
    AppendBlock(block);
  }
}

void WriteListedBlocks(HWAVEOUT device) {
  for (MixBlock* block = MixerUnit.InDeviceHead; block != nullptr;) {
    MixBlock* next = block->NextInDevice;
    if (waveOutWrite(device, &block->WaveHeader, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
      ReleaseBlock(block);
      UnlinkBlock(block);
      throw EMixerError("Failed to write block to device");
    }
    block = next;
  }
}

}  // namespace

void RemixFromPosition(std::int32_t position, MixQueueEntry*) {
  MixSession& session = *MixerUnit.CurrentSession;
  session.MixPosition = position;
  // The device keeps playing its copies of these blocks until the reset
  // below, while their memory is mixed again.
  ReleaseAllBlocks();
  MixFreeBlocksWithoutWriting();
  std::int32_t mixedTo = session.MixPosition;
  ResetKeepingPosition(session.WaveOut);
  session.MixPosition = mixedTo;
  // Paused, so that the re-mixed blocks start together.
  waveOutPause(session.WaveOut);
  WriteListedBlocks(session.WaveOut);
  waveOutRestart(session.WaveOut);
}

void DeferToMixPosition(std::int32_t, MixQueueEntry* play) {
  MixSession& session = *MixerUnit.CurrentSession;
  if (play != nullptr) {
    std::int64_t shift = std::int64_t{session.MixPosition} - play->Start;
    std::int64_t end = std::int64_t{play->End} + shift;
    play->Start = session.MixPosition;
    // A play that never ends keeps never ending, wherever it now starts.
    play->End = (play->End == MixNever || end > MixNever || end < play->Start)
                    ? MixNever
                    : static_cast<std::int32_t>(end);
  }
  MixerService();
}
