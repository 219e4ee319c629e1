// libFuzzer target: arbitrary bytes as a BMP picture, loaded from memory and
// from a file as the game loads its pictures. Every input must load the same
// sound picture both ways or be refused both ways with EInvalidGraphic,
// leaving the bitmap as it was; anything else is a finding.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "fuzz/BitmapLoadHarness.h"

namespace {

std::string scratch;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // One file per process, so that parallel workers never share it.
  const std::filesystem::path shm("/dev/shm");
  std::error_code ignored;
  const auto folder =
      std::filesystem::is_directory(shm, ignored) ? shm : std::filesystem::temp_directory_path();
  scratch = (folder / ("mofron-bitmap-fuzz-" + std::to_string(getpid()) + ".bmp")).string();
  std::atexit([] {
    std::error_code e;
    std::filesystem::remove(scratch, e);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (LoadBitmapFuzzInput(data, size, scratch) == BitmapOutcome::Inconsistent) std::abort();
  return 0;
}
