#pragma once
// Module resources: named blocks of bytes compiled into the executable (see
// cmake/EmbedResources.cmake), found by module, type and name. A name or
// type may be a number below 65536 in place of a text (MAKEINTRESOURCEA).
// Every failure is reported as a null result.
#include <cstdint>

using HMODULE = void*;  // null: the running executable
using HINSTANCE = HMODULE;
struct TResourceEntry;
using HRSRC = const TResourceEntry*;
using HGLOBAL = const TResourceEntry*;

// The running executable's module. Other modules have no resources here.
inline const HINSTANCE HInstance = nullptr;
constexpr std::uint32_t ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
constexpr std::uint32_t ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr std::uint32_t ERROR_MOD_NOT_FOUND = 126;

inline const char* MAKEINTRESOURCEA(std::uint16_t id) {
  return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(id));
}
inline bool IS_INTRESOURCE(const char* name) {
  return reinterpret_cast<std::uintptr_t>(name) < 65536;
}

// Names and types match without regard to ASCII letter case. A miss sets
// GetLastError.
HRSRC FindResourceA(HMODULE module, const char* name, const char* type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
const void* LockResource(HGLOBAL data);
std::uint32_t SizeofResource(HMODULE module, HRSRC resource);
bool FreeResource(HGLOBAL data);

// One resource as the generated tables describe it: a type and a name, each
// a text or (with a null text) a number.
struct TResourceEntry {
  const char* type;
  std::uint16_t typeId;
  const char* name;
  std::uint16_t nameId;
  const unsigned char* data;
  std::uint32_t size;
};
// Adds resources to the executable; the entries must live as long as the
// program.
void RegisterResources(const TResourceEntry* entries, int count);
