#include "platform/Resources.h"

#include <vector>

#include "platform/Messages.h"

namespace {

std::vector<const TResourceEntry*>& ExecutableResources() {
  static std::vector<const TResourceEntry*> entries;
  return entries;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameText(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (Lower(*a) != Lower(*b)) return false;
  }
  return *a == *b;
}

// A key is either a number (below 65536) or a text; it matches an entry's
// text or number of the same kind only.
bool Matches(const char* key, const char* text, std::uint16_t id) {
  if (IS_INTRESOURCE(key)) return !text && reinterpret_cast<std::uintptr_t>(key) == id;
  return text && SameText(key, text);
}

}  // namespace

HRSRC FindResourceA(HMODULE module, const char* name, const char* type) {
  if (module != HInstance) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  bool typeFound = false;
  for (const TResourceEntry* entry : ExecutableResources()) {
    if (!type || !Matches(type, entry->type, entry->typeId)) continue;
    typeFound = true;
    if (name && Matches(name, entry->name, entry->nameId)) return entry;
  }
  SetLastError(typeFound ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
  return resource;
}

const void* LockResource(HGLOBAL data) {
  return data ? data->data : nullptr;
}

std::uint32_t SizeofResource(HMODULE, HRSRC resource) {
  return resource ? resource->size : 0;
}

// The bytes are part of the executable image: there is nothing to free.
bool FreeResource(HGLOBAL) {
  return false;
}

void RegisterResources(const TResourceEntry* entries, int count) {
  for (int i = 0; i < count; ++i) ExecutableResources().push_back(&entries[i]);
}
