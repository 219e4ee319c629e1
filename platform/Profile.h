#pragma once
// Integer settings from INI files. Section and key names compare without
// regard to case; a missing file, section or key gives the default; the
// first matching key counts. A value is read as a signed decimal number from
// its start (leading spaces skipped); a value with no digits reads 0.
#include <string>

// A bare file name (no directory part) resolves inside the configuration
// folder: the executable's folder unless SetProfileFolder chose another.
int GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                          const char* fileName);

// Empty puts the executable's folder back.
void SetProfileFolder(const std::string& folder);
std::string ProfileFolder();
