#include "platform/ModuleFileName.h"

#include <cstring>
#include <filesystem>

#include "platform/Messages.h"

namespace {

constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kModuleNotFound = 126;

// The process's own image as the system links it; where there is no such
// link the lookup simply fails with its error.
bool SystemLookup(std::string& path, std::uint32_t& error) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) {
    error = kFileNotFound;
    return false;
  }
  path = exe.string();
  return true;
}

ModulePathLookup lookup = SystemLookup;

}  // namespace

void SetModulePathLookup(ModulePathLookup newLookup) {
  lookup = newLookup ? newLookup : SystemLookup;
}

std::uint32_t GetModuleFileNameA(HMODULE module, char* buffer, std::uint32_t size) {
  std::string path;
  std::uint32_t error = 0;
  if (module != nullptr) {
    SetLastError(kModuleNotFound);
    return 0;
  }
  if (!lookup(path, error)) {
    SetLastError(error);
    return 0;
  }
  if (buffer == nullptr || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() >= size) {
    std::memcpy(buffer, path.data(), size - 1);
    buffer[size - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<std::uint32_t>(path.size());
}
