// Finding, entering and leaving chunks.
#include <cstdint>
#include <limits>

#include "platform/Riff.h"
#include "platform/RiffSource.h"

namespace {

constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

std::uint32_t ReadWord(const std::uint8_t* bytes) {
  return bytes[0] | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// The first byte after a chunk's contents and its pad byte. At most
// 2^63 + 2^32 + 1, so it never wraps.
std::uint64_t ChunkEnd(std::int64_t dataOffset, std::uint32_t size) {
  return static_cast<std::uint64_t>(dataOffset) + size + (size & 1u);
}

// A parent's contents end where its declared size says, even when the source
// is shorter: reads past the source's end simply find nothing.
std::uint64_t ContentsEnd(const MMCKINFO* parent) {
  if (!parent) return kNoLimit;
  return static_cast<std::uint64_t>(parent->dwDataOffset) + parent->cksize;
}

bool HasType(FOURCC id) {
  return id == FOURCC_RIFF || id == FOURCC_LIST;
}

struct Wanted {
  bool anyId;
  FOURCC id;
  bool checkType;
  FOURCC type;
};

Wanted WantedFrom(const MMCKINFO& chunk, std::uint32_t flags) {
  if (flags & MMIO_FINDRIFF) return {false, FOURCC_RIFF, true, chunk.fccType};
  if (flags & MMIO_FINDLIST) return {false, FOURCC_LIST, true, chunk.fccType};
  if (flags & MMIO_FINDCHUNK) return {false, chunk.ckid, false, 0};
  return {true, 0, false, 0};
}

// Reads the chunk header at the reader's position. False when the header
// does not fit before limit or the source ends inside it.
bool ReadHeader(TMmioFile& file, std::uint64_t limit, MMCKINFO& found) {
  const std::uint64_t at = file.position;
  if (at > limit || limit - at < 8) return false;
  std::uint8_t header[12];
  if (file.ReadAt(at, header, 8) != 8) return false;
  found.ckid = ReadWord(header);
  found.cksize = ReadWord(header + 4);
  found.fccType = 0;
  found.dwDataOffset = static_cast<std::int64_t>(at + 8);
  found.dwFlags = 0;
  if (HasType(found.ckid)) {
    if (limit - at < 12 || file.ReadAt(at + 8, header + 8, 4) != 4) return false;
    found.fccType = ReadWord(header + 8);
  }
  return true;
}

}  // namespace

std::uint32_t mmioDescend(HMMIO file, MMCKINFO* chunk, const MMCKINFO* parent,
                          std::uint32_t flags) {
  if (!file || !chunk) return MMIOERR_INVALIDFILE;
  const Wanted wanted = WantedFrom(*chunk, flags);
  const std::uint64_t limit = ContentsEnd(parent);
  MMCKINFO found;
  // Every step moves at least one header forward, so the walk always ends.
  while (ReadHeader(*file, limit, found)) {
    const bool idMatches = wanted.anyId || found.ckid == wanted.id;
    if (idMatches && (!wanted.checkType || found.fccType == wanted.type)) {
      *chunk = found;
      file->position =
          static_cast<std::uint64_t>(found.dwDataOffset) + (HasType(found.ckid) ? 4 : 0);
      return 0;
    }
    file->position = ChunkEnd(found.dwDataOffset, found.cksize);
  }
  return MMIOERR_CHUNKNOTFOUND;
}

std::uint32_t mmioAscend(HMMIO file, const MMCKINFO* chunk, std::uint32_t /*flags*/) {
  if (!file || !chunk || chunk->dwDataOffset < 0) return MMIOERR_INVALIDFILE;
  file->position = ChunkEnd(chunk->dwDataOffset, chunk->cksize);
  return 0;
}
