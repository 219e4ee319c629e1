// MIDI music through FluidSynth, rendered in an SDL audio callback of our
// own on a device of its own, so the music never passes through the wave
// mixer's device. The synthesiser and its sound font are loaded once.
#include <SDL.h>
#include <fluidsynth.h>

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

#include "platform/MediaPlayer.h"
#include "platform/Messages.h"
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlMedia.h"

namespace {

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr int kRate = 44100;
constexpr std::uint32_t MM_MCINOTIFY = 0x3B9;  // "the media device has news"

struct MusicOutput {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_player_t* player = nullptr;
  SDL_AudioDeviceID device = 0;
  std::string startFailure;
  // The sound font loads on this thread from start-up. Until it is done, an
  // opened file waits here and starts as soon as the synthesiser is ready,
  // so the first frame on the screen never waits for the music.
  std::thread loader;
  bool loaderDone = false;
  HWND readyWindow = nullptr;
  std::string pendingPath;
  bool pendingPlay = false;
  // The audio thread renders while the GUI thread opens and stops files.
  std::mutex lock;
} music;

void Render(void*, Uint8* stream, int len) {
  std::lock_guard guard(music.lock);
  fluid_synth_write_s16(music.synth, len / 4, stream, 0, 2, stream, 1, 2);
}

// Under SDL's disk driver the device name is the output file: keep the
// music apart from the wave device's file.
std::string DeviceName() {
  const char* driver = SDL_GetCurrentAudioDriver();
  if (!driver || std::string(driver) != "disk") return {};
  const char* file = std::getenv("SDL_DISKAUDIOFILE");
  return std::string(file ? file : "sdlaudio.raw") + ".music";
}

bool OpenOutputDevice() {
  SDL_AudioSpec want{};
  want.freq = kRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = Render;
  std::string name = DeviceName();
  music.device = SDL_OpenAudioDevice(name.empty() ? nullptr : name.c_str(), 0, &want, nullptr, 0);
  if (music.device == 0) return false;
  SDL_PauseAudioDevice(music.device, 0);
  return true;
}

// Loading the sound font takes a while; it runs on a thread of its own
// from start-up, beside the window's creation, and the first open waits
// for it. Only FluidSynth is touched there: SDL starts on the GUI thread.
void LoadSynth() {
  music.settings = new_fluid_settings();
  fluid_settings_setnum(music.settings, "synth.sample-rate", kRate);
  fluid_settings_setnum(music.settings, "synth.gain", 0.5);
  // Our callback drives the synthesiser, so the player must follow its samples.
  fluid_settings_setstr(music.settings, "player.timing-source", "sample");
  music.synth = new_fluid_synth(music.settings);
  if (music.synth && fluid_synth_sfload(music.synth, kSoundFont, 1) != FLUID_FAILED) return;
  music.startFailure = std::string("No MIDI sound font at ") + kSoundFont;
}

void DeleteSynth() {
  if (music.synth) delete_fluid_synth(music.synth);
  if (music.settings) delete_fluid_settings(music.settings);
  music.synth = nullptr;
  music.settings = nullptr;
}

bool StartSynth(std::string& error) {
  if (music.device) return true;
  if (music.startFailure.empty() && (!EnsureSdlAudio() || !OpenOutputDevice()))
    music.startFailure = std::string("No MIDI output device: ") + SDL_GetError();
  if (music.startFailure.empty()) return true;
  // A broken set-up is tried only once.
  DeleteSynth();
  error = music.startFailure;
  return false;
}

void SilenceLocked() {
  if (music.player) {
    fluid_player_stop(music.player);
    delete_fluid_player(music.player);
    music.player = nullptr;
  }
  if (music.synth) fluid_synth_all_sounds_off(music.synth, -1);
}

void CloseMusic() {
  music.pendingPath.clear();
  music.pendingPlay = false;
  std::lock_guard guard(music.lock);
  SilenceLocked();
}

bool IsMidiFile(const std::string& path) {
  return std::ifstream(path) && fluid_is_midifile(path.c_str());
}

bool StartPlayer(const std::string& path, std::string& error) {
  if (!StartSynth(error)) return false;
  std::lock_guard guard(music.lock);
  music.player = new_fluid_player(music.synth);
  if (!music.player || fluid_player_add(music.player, path.c_str()) != FLUID_OK) {
    SilenceLocked();
    error = "Cannot open the MIDI file " + path;
    return false;
  }
  return true;
}

bool OpenMusic(const std::string& path, std::string& error) {
  CloseMusic();
  if (!IsMidiFile(path)) {
    error = "Cannot open the MIDI file " + path;
    return false;
  }
  if (!music.loaderDone) {
    music.pendingPath = path;
    return true;
  }
  return StartPlayer(path, error);
}

// Posted by the loader when the sound font is in: the file opened in the
// meantime starts now, if it was asked to play.
LRESULT SynthReady(HWND, std::uint32_t, WPARAM, LPARAM) {
  if (music.loader.joinable()) music.loader.join();
  music.loaderDone = true;
  std::string path = std::move(music.pendingPath);
  bool play = music.pendingPlay;
  music.pendingPath.clear();
  music.pendingPlay = false;
  std::string error;
  if (!path.empty() && StartPlayer(path, error) && play) {
    std::lock_guard guard(music.lock);
    fluid_player_play(music.player);
  }
  return 0;
}

void PlayMusic() {
  if (!music.pendingPath.empty()) music.pendingPlay = true;
  std::lock_guard guard(music.lock);
  if (music.player) fluid_player_play(music.player);
}

void StopMusic() {
  music.pendingPlay = false;
  std::lock_guard guard(music.lock);
  if (!music.player) return;
  fluid_player_stop(music.player);
  fluid_synth_all_sounds_off(music.synth, -1);
}

}  // namespace

void UseSdlMedia() {
  SetMediaOps({OpenMusic, PlayMusic, StopMusic, CloseMusic});
  if (music.readyWindow) return;
  music.readyWindow = CreateWindowWithProc(SynthReady);
  music.loader = std::thread([window = music.readyWindow] {
    LoadSynth();
    PostMessageA(window, MM_MCINOTIFY, 0, 0);
  });
}

void ShutDownSdlMedia() {
  if (music.loader.joinable()) music.loader.join();
  DestroyWindow(music.readyWindow);
  music.readyWindow = nullptr;
  if (music.device) SDL_CloseAudioDevice(music.device);
  music.device = 0;
  CloseMusic();
  DeleteSynth();
}
