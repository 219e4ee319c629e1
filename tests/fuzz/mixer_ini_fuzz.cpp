// libFuzzer target: arbitrary bytes as MIXER.INI. A few keys are looked up
// (a key the text never names must give its default), then a session is
// built from the file, checked against the engine's limits, and made to play
// a wave to its end; only a device the file refuses may fail, with an
// EMixerError. Anything else is a finding.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "fuzz/MixerIniHarness.h"
#include "platform/virtual/Virtual.h"

namespace {

std::filesystem::path folder;
HWND notify = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  UseVirtualBackend();
  const std::filesystem::path shm("/dev/shm");
  std::error_code ignored;
  const auto base =
      std::filesystem::is_directory(shm, ignored) ? shm : std::filesystem::temp_directory_path();
  // A folder per process, so that parallel workers never share the file.
  folder = base / ("mofron-ini-fuzz-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  SetProfileFolder(folder.string());
  notify = CreateWindowWithProc(IniFuzzNotifyProc);
  std::atexit([] {
    std::error_code e;
    std::filesystem::remove_all(folder, e);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (RunIniFuzzInput(data, size, folder, notify) == IniOutcome::Inconsistent) std::abort();
  return 0;
}
