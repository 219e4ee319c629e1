// libFuzzer target: arbitrary bytes as a BMP picture, loaded from memory and
// from a file as the game loads its pictures. Every input must load the same
// sound picture both ways or be refused both ways with EInvalidGraphic,
// leaving the bitmap as it was; anything else is a finding.
#include "fuzz/BitmapLoadHarness.h"
#include "fuzz/ScratchFile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  MakeScratchFile("mofron-bitmap-fuzz", ".bmp");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (LoadBitmapFuzzInput(data, size, ScratchFile()) == BitmapOutcome::Inconsistent) std::abort();
  return 0;
}
