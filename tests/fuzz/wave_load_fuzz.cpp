// libFuzzer target: arbitrary bytes as a memory image for the wave loader.
// Every input must either load into whole frames or be refused with an
// EMixerError; anything else (a crash, a sanitizer report, a leak, a wave
// with a partial frame) is a finding.
#include <cstdlib>

#include "fuzz/WaveLoadHarness.h"
#include "platform/Profile.h"
#include "platform/virtual/Virtual.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  UseVirtualBackend();
  SetProfileFolder("/nonexistent/mofron-fuzz");  // defaults only, whatever the machine holds
  MixerInit();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (LoadFuzzInput(data, size) == LoadOutcome::Inconsistent) std::abort();
  return 0;
}
