// libFuzzer target: arbitrary bytes as the score file. Every input must
// either read (and then write back and read again to the same record) or be
// refused with an EInOutError; anything else is a finding.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "fuzz/ScoreFileHarness.h"

namespace {

std::string scratch;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // One file per process, so that parallel workers never share it.
  const std::filesystem::path shm("/dev/shm");
  std::error_code ignored;
  const auto folder =
      std::filesystem::is_directory(shm, ignored) ? shm : std::filesystem::temp_directory_path();
  scratch = (folder / ("mofron-score-fuzz-" + std::to_string(getpid()) + ".dat")).string();
  std::atexit([] {
    std::error_code e;
    std::filesystem::remove(scratch, e);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (ReadScoreFuzzInput(data, size, scratch) == ScoreOutcome::Inconsistent) std::abort();
  return 0;
}
