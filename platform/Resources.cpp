#include "platform/Resources.h"

#include <vector>

struct TModuleRecord {
  std::vector<const TResourceEntry*> entries;
};

namespace {

TModuleRecord& MainModule() {
  static TModuleRecord module;
  return module;
}

TModuleRecord& Resolve(HMODULE module) { return module ? *module : MainModule(); }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

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

const HINSTANCE HInstance = nullptr;

HRSRC FindResourceA(HMODULE module, const char* name, const char* type) {
  if (!name || !type) return nullptr;
  for (const TResourceEntry* entry : Resolve(module).entries) {
    if (Matches(type, entry->type, entry->typeId) && Matches(name, entry->name, entry->nameId))
      return entry;
  }
  return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) { return resource; }

const void* LockResource(HGLOBAL data) { return data ? data->data : nullptr; }

std::uint32_t SizeofResource(HMODULE, HRSRC resource) { return resource ? resource->size : 0; }

// The bytes are part of the executable image: there is nothing to free.
bool FreeResource(HGLOBAL) { return false; }

void RegisterResources(HMODULE module, const TResourceEntry* entries, int count) {
  TModuleRecord& target = Resolve(module);
  for (int i = 0; i < count; ++i) target.entries.push_back(&entries[i]);
}
