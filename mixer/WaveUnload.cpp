// Giving a wave back: its plays go first, unheard and without notice, so
// that nothing is ever mixed from its freed samples.
#include "mixer/Mixer.h"
#include "mixer/Wave.h"

namespace {

// Unlinks the wave's plays from one channel queue; the others keep their order.
void DropQueuedPlays(MixQueueEntry*& head, const MixWave* wave) {
  MixQueueEntry** link = &head;
  while (*link) {
    MixQueueEntry* entry = *link;
    if (entry->Wave == wave) {
      *link = entry->Link;
      ReturnQueueEntry(entry);
    } else {
      link = &entry->Link;
    }
  }
}

}  // namespace

void MixerUnloadWave(MixSession* handle, MixWave* wave) {
  MixSession* session = ValidateSession(handle);
  if (!wave) throw EMixerError("The given pointer was not valid");
  for (MixQueueEntry*& queue : session->ChannelQueue) {
    if (queue != MixChannelClosed()) DropQueuedPlays(queue, wave);
  }
  DropHeldPlaysOfWave(session, wave);
  delete[] wave->SampleData;
  delete wave;
}
