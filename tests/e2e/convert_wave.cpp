// Writes a wave file's sample bytes as the game's mixer holds them (8-bit
// mono 11025 Hz unless MIXER.INI beside this tool says otherwise), so that
// end-to-end tests can look for them in the sound device's output.
//   convert_wave FILE > BYTES
#include <cstdio>

#include "mixer/Mixer.h"
#include "platform/virtual/Virtual.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: convert_wave FILE\n");
    return 2;
  }
  UseVirtualBackend();
  try {
    MixSession* session = MixerInit();
    MixWave* wave = MixerLoadWave(session, argv[1], nullptr, MixWaveFromFile);
    std::fwrite(wave->SampleData, 1, wave->SampleLength, stdout);
    MixerUnloadWave(session, wave);
    MixerEndSession(session);
  } catch (const Exception& error) {
    std::fprintf(stderr, "convert_wave: %s\n", error.what());
    return 1;
  }
  return 0;
}
