#pragma once
// The ring of held plays of a session, oldest first out.
#include "mixer/Mixer.h"

void HoldPlay(MixSession& session, MixQueueEntry* entry);
// Unlinks and returns the oldest held play with a null link; null when none.
MixQueueEntry* TakeOldestHeldPlay(MixSession& session);
