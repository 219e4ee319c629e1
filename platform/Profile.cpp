#include "platform/Profile.h"

#include <ini.h>
#include <strings.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/Module.h"

namespace {

std::string chosenFolder;

struct Lookup {
  const char* section;
  const char* key;
  std::optional<std::string> value;
};

int Match(void* user, const char* section, const char* name, const char* value) {
  auto* lookup = static_cast<Lookup*>(user);
  if (!lookup->value && strcasecmp(section, lookup->section) == 0 &&
      strcasecmp(name, lookup->key) == 0) {
    lookup->value = value;
  }
  return 1;
}

int ToInt(const std::string& text) {
  errno = 0;
  long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string ResolvePath(const char* fileName) {
  std::filesystem::path path(fileName);
  if (path.has_parent_path()) return path.string();
  return (std::filesystem::path(ProfileFolder()) / path).string();
}

}  // namespace

void SetProfileFolder(const std::string& folder) {
  chosenFolder = folder;
}

std::string ProfileFolder() {
  return chosenFolder.empty() ? GetExeFolder() : chosenFolder;
}

int GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                          const char* fileName) {
  if (section == nullptr || key == nullptr || fileName == nullptr) return defaultValue;
  Lookup lookup{section, key, std::nullopt};
  // A file that cannot be opened answers -1; parse errors on single lines
  // only skip those lines.
  if (ini_parse(ResolvePath(fileName).c_str(), Match, &lookup) == -1) return defaultValue;
  return lookup.value ? ToInt(*lookup.value) : defaultValue;
}
