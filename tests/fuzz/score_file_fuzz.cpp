// libFuzzer target: arbitrary bytes as the score file. Every input must
// either read (and then write back and read again to the same record) or be
// refused with an EInOutError; anything else is a finding.
#include "fuzz/ScoreFileHarness.h"
#include "fuzz/ScratchFile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  MakeScratchFile("mofron-score-fuzz", ".dat");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (ReadScoreFuzzInput(data, size, ScratchFile()) == ScoreOutcome::Inconsistent) std::abort();
  return 0;
}
