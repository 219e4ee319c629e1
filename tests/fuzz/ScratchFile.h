#pragma once
// A scratch file for a fuzz target that must go through the file system: one
// per process, so that parallel workers never share it, in memory where
// /dev/shm exists, and removed when the process ends.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

inline std::string& ScratchFile() {
  static std::string path;
  return path;
}

inline void MakeScratchFile(const std::string& stem, const std::string& extension) {
  const std::filesystem::path shm("/dev/shm");
  std::error_code ignored;
  const auto folder =
      std::filesystem::is_directory(shm, ignored) ? shm : std::filesystem::temp_directory_path();
  ScratchFile() = (folder / (stem + "-" + std::to_string(getpid()) + extension)).string();
  std::atexit([] {
    std::error_code e;
    std::filesystem::remove(ScratchFile(), e);
  });
}
