#include "mixer/Mixer.h"

MixerUnitState MixerUnit{};

void ResetMixerUnitForTests() {
  MixSession* session = MixerUnit.CurrentSession;
  if (session != nullptr && session->WaveOut != nullptr) {
    waveOutReset(session->WaveOut);
    FreeBlocks(session->WaveOut);
    waveOutClose(session->WaveOut);
  }
  for (MixBlock*& block : MixerUnit.BlockTable) {
    delete block;
    block = nullptr;
  }
  if (session != nullptr && session->CallbackWindow != nullptr) {
    DestroyWindow(session->CallbackWindow);
  }
  delete session;
  MixerUnit = MixerUnitState{};
  ResetQueuePool();
}
