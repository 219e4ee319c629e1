#include "game/SoundListener.h"

namespace {
SoundListener listener;
}

void SetSoundListener(SoundListener l) { listener = std::move(l); }

void AnnounceSound(const char* helper, const std::string& name) {
  if (listener) listener(helper, name);
}
