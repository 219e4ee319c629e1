// The fixed pool of queue entries: no play ever allocates.
#include "mixer/Mixer.h"

void ResetQueuePool() {
  MixQueueEntry* pool = MixerUnit.QueuePool;
  for (int i = 0; i + 1 < MixQueuePoolSize; ++i) pool[i].Link = &pool[i + 1];
  pool[MixQueuePoolSize - 1].Link = nullptr;
  MixerUnit.FreeQueueEntries = &pool[0];
}

MixQueueEntry* TakeQueueEntry() {
  MixQueueEntry* entry = MixerUnit.FreeQueueEntries;
  if (entry == nullptr) return nullptr;
  MixerUnit.FreeQueueEntries = entry->Link;
  entry->Link = nullptr;
  return entry;
}

void ReturnQueueEntry(MixQueueEntry* entry) {
  if (entry == nullptr) return;
  entry->Link = MixerUnit.FreeQueueEntries;
  MixerUnit.FreeQueueEntries = entry;
}
