#pragma once
// Every sound request the game makes is announced here first, whether or
// not it can be heard: tests follow the game's sound cues through it.
#include <functional>
#include <string>

// helper is "PlayEffect", "PlayVoice" or "PlayMusic"; name is the file name.
using SoundListener = std::function<void(const std::string& helper, const std::string& name)>;

void SetSoundListener(SoundListener listener);
void AnnounceSound(const char* helper, const std::string& name);
