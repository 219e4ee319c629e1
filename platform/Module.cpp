#include "platform/Module.h"

namespace {
std::string& Folder() {
  static std::string folder = ".";
  return folder;
}
}  // namespace

void SetExeFolder(const std::string& folder) {
  std::string trimmed = folder;
  while (trimmed.size() > 1 && (trimmed.back() == '/' || trimmed.back() == '\\'))
    trimmed.pop_back();
  Folder() = trimmed;
}

const std::string& GetExeFolder() {
  return Folder();
}
