#pragma once
// The score file: five lines (name, best score, flag, score, misses), each
// ended by CR LF, the text taken byte for byte.
#include <string>

#include "game/GameState.h"

// Where the score file lies, relative to the executable's folder.
inline constexpr const char* kScoreFileName = "/dat/my.dat";

// Fills record from the file field by field; raises EInOutError when the file
// cannot be read or a number does not parse (the fields read before keep
// their new values). A file that ends early leaves the rest at 0.
void ReadScoreFile(const std::string& path, tmy& record);
// Writes the record to a new file beside path and renames it over path, so
// that a failed write leaves the old file as it was. Raises EInOutError.
void WriteScoreFile(const std::string& path, const tmy& record);
// The exact bytes WriteScoreFile writes.
std::string FormatScoreFile(const tmy& record);
