#pragma once
// The running program's own file name, as the module-name lookup gives it.
#include <cstdint>
#include <string>

#include "platform/Resources.h"

constexpr std::uint32_t ERROR_INSUFFICIENT_BUFFER = 122;

// Writes the executable's full path (NUL-terminated) into buffer and returns
// its length; 0 on failure, with the reason in GetLastError. A path longer
// than the buffer is cut to size − 1 characters, the result is size, and the
// last error ERROR_INSUFFICIENT_BUFFER. Only the running program (null) is
// known.
std::uint32_t GetModuleFileNameA(HMODULE module, char* buffer, std::uint32_t size);

// Where the path comes from. The lookup returns false with an error code
// when it cannot tell; tests replace it, null puts the system's one back.
using ModulePathLookup = bool (*)(std::string& path, std::uint32_t& error);
void SetModulePathLookup(ModulePathLookup lookup);
