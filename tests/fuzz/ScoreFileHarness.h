#pragma once
// Feeds one input to the score file reader, shared by the fuzz target and by
// the unit test that replays its corpus. The bytes become the file; a file
// that reads must write back and read again to the very same record.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "game/ScoreFile.h"
#include "platform/Exception.h"

enum class ScoreOutcome { Read, Refused, Inconsistent };

inline void WriteScoreFuzzBytes(const std::string& path, const void* data, std::size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

inline bool SameRecord(const tmy& a, const tmy& b) {
  return a.name == b.name && a.hi == b.hi && a.flag == b.flag && a.score == b.score &&
         a.miss == b.miss;
}

// `path` is a scratch file of the caller's own. Only EInOutError may come out
// of a read; anything else escapes and is a finding.
inline ScoreOutcome ReadScoreFuzzInput(const std::uint8_t* data, std::size_t size,
                                       const std::string& path) {
  WriteScoreFuzzBytes(path, data, size);
  tmy first;
  try {
    ReadScoreFile(path, first);
  } catch (const EInOutError&) {
    return ScoreOutcome::Refused;
  }
  // What was read must survive a save and the next start-up unchanged: the
  // best score is the one thing this file exists to keep.
  const std::string written = FormatScoreFile(first);
  WriteScoreFuzzBytes(path, written.data(), written.size());
  tmy second;
  try {
    ReadScoreFile(path, second);
  } catch (const EInOutError&) {
    return ScoreOutcome::Inconsistent;
  }
  const bool same = SameRecord(first, second) && FormatScoreFile(second) == written;
  return same ? ScoreOutcome::Read : ScoreOutcome::Inconsistent;
}
