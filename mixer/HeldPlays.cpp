// Plays held back by MixPlayHold wait in a ring through their links: the
// session keeps the newest, whose link is the oldest.
#include "mixer/HeldPlays.h"

void HoldPlay(MixSession& session, MixQueueEntry* entry) {
  MixQueueEntry*& newest = session.HeldPlays;
  if (newest == nullptr) {
    entry->Link = entry;
  } else {
    entry->Link = newest->Link;
    newest->Link = entry;
  }
  newest = entry;
}

MixQueueEntry* TakeOldestHeldPlay(MixSession& session) {
  MixQueueEntry*& newest = session.HeldPlays;
  if (newest == nullptr) return nullptr;
  MixQueueEntry* oldest = newest->Link;
  if (oldest == newest) {
    newest = nullptr;
  } else {
    newest->Link = oldest->Link;
  }
  oldest->Link = nullptr;
  return oldest;
}

void DropHeldPlaysOfWave(MixSession* handle, const MixWave* wave) {
  MixSession& session = *ValidateSession(handle);
  // Take the whole ring apart once and hold again what stays, in order.
  MixQueueEntry* kept = nullptr;
  MixQueueEntry* keptTail = nullptr;
  while (MixQueueEntry* entry = TakeOldestHeldPlay(session)) {
    if (entry->Wave == wave) {
      ReturnQueueEntry(entry);
    } else if (kept == nullptr) {
      kept = keptTail = entry;
    } else {
      keptTail->Link = entry;
      keptTail = entry;
    }
  }
  while (kept != nullptr) {
    MixQueueEntry* next = kept->Link;
    HoldPlay(session, kept);
    kept = next;
  }
}
