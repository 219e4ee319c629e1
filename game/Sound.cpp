#include <algorithm>

#include "game/SoundListener.h"
#include "game/Unit1.h"
#include "platform/Application.h"

// The sound front-end. Effects go to the mixer on channel 0, the voice on
// channel 1, music to the media player. A sound that cannot be had is simply
// not heard: nothing here lets an error through.

namespace {
std::string DatPath(const std::string& name) {
  return Application.ExeFolder() + "/dat/" + name;
}
}  // namespace

// Two separate waves of the click, one for each channel's field.
void TForm1::LoadStartupWaves() {
  try {
    EffectWave = Mixer1->LoadWave(DatPath("1.wav"));
    loadedWaves_.push_back(EffectWave);
    wavesByName_["1.wav"] = EffectWave;
    VoiceWave = Mixer1->LoadWave(DatPath("1.wav"));
    loadedWaves_.push_back(VoiceWave);
  } catch (const Exception&) {
  }
}

// A wave stays loaded until the window goes, so a play of it can never
// outlive its data; a later play of the same file reuses it.
MixWave* TForm1::WaveOf(const std::string& name) {
  auto found = wavesByName_.find(name);
  if (found != wavesByName_.end()) return found->second;
  MixWave* wave = Mixer1->LoadWave(DatPath(name));
  loadedWaves_.push_back(wave);
  wavesByName_[name] = wave;
  return wave;
}

void TForm1::PlayOnChannel(int channel, const std::string& name, MixWave*& field) {
  try {
    field = WaveOf(name);
    Mixer1->PlayWave(channel, field, nullptr, 0, 0);
  } catch (const Exception&) {
  }
}

void TForm1::PlayEffect(const std::string& name) {
  AnnounceSound("PlayEffect", name);
  PlayOnChannel(0, name, EffectWave);
}

void TForm1::PlayVoice(const std::string& name) {
  AnnounceSound("PlayVoice", name);
  PlayOnChannel(1, name, VoiceWave);
}

void TForm1::PlayMusic(const std::string& name) {
  AnnounceSound("PlayMusic", name);
  try {
    if (name == "not") {
      mid_p->Stop();
    } else if (!name.empty()) {
      mid_p->FileName = DatPath(name);
      mid_p->Open();
      mid_p->Play();
    }
  } catch (const Exception&) {
  }
}

// The voice's wave first, then the effect's, then the rest in the order they
// were loaded. Unloading drops a wave's queued plays, so nothing is mixed
// from freed data; the first refusal ends the freeing.
void TForm1::FreeWaves() {
  std::vector<MixWave*> order;
  for (MixWave* wave : {VoiceWave, EffectWave})
    if (wave && std::find(order.begin(), order.end(), wave) == order.end()) order.push_back(wave);
  for (MixWave* wave : loadedWaves_)
    if (std::find(order.begin(), order.end(), wave) == order.end()) order.push_back(wave);
  loadedWaves_.clear();
  wavesByName_.clear();
  VoiceWave = EffectWave = nullptr;
  try {
    for (MixWave* wave : order) Mixer1->UnloadWave(wave);
  } catch (const Exception&) {
  }
}
