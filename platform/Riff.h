#pragma once
// The buffered RIFF reader: opens a file or a memory image, finds chunks by
// identifier, reads their contents and steps out of them again. Read-only.
//
// Outside data comes in here, so every position is a 64-bit offset: a chunk
// size near 2^32 or larger than the source only makes a later search or read
// come up empty; nothing is ever read outside the source.
#include <cstdint>

using FOURCC = std::uint32_t;

constexpr FOURCC mmioFOURCC(char a, char b, char c, char d) {
  return static_cast<std::uint8_t>(a) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b)) << 8 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(c)) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(d)) << 24;
}

constexpr FOURCC FOURCC_RIFF = mmioFOURCC('R', 'I', 'F', 'F');
constexpr FOURCC FOURCC_LIST = mmioFOURCC('L', 'I', 'S', 'T');
// The I/O procedure of a memory file.
constexpr FOURCC FOURCC_MEM = mmioFOURCC('M', 'E', 'M', ' ');

// Open flags. Only reading is offered; the write modes are refused.
constexpr std::uint32_t MMIO_READ = 0x0000;
constexpr std::uint32_t MMIO_WRITE = 0x0001;
constexpr std::uint32_t MMIO_READWRITE = 0x0002;

// Search flags of mmioDescend; without one, it enters the chunk at the
// current position whatever its identifier.
constexpr std::uint32_t MMIO_FINDCHUNK = 0x0010;
constexpr std::uint32_t MMIO_FINDRIFF = 0x0020;
constexpr std::uint32_t MMIO_FINDLIST = 0x0040;

// Results of the reader's calls: 0 is success, otherwise one of these.
constexpr std::uint32_t MMIOERR_FILENOTFOUND = 257;
constexpr std::uint32_t MMIOERR_CANNOTOPEN = 259;
constexpr std::uint32_t MMIOERR_CANNOTWRITE = 262;
constexpr std::uint32_t MMIOERR_CHUNKNOTFOUND = 265;
constexpr std::uint32_t MMIOERR_INVALIDFILE = 272;  // null handle or chunk record

// Describes how to open a source. For a memory file the caller sets the I/O
// procedure to FOURCC_MEM, the image's address and size; everything else zero.
// mmioOpen leaves its error code in wErrorRet.
struct MMIOINFO {
  std::uint32_t dwFlags;  // unused by the reader; kept for callers that fill it
  FOURCC fccIOProc;       // FOURCC_MEM for a memory file, 0 for a disk file
  std::uint32_t wErrorRet;
  std::int32_t cchBuffer;    // memory file: size of the image in bytes
  const char* pchBuffer;     // memory file: the image
  std::uint32_t adwInfo[3];  // memory file: [0] is the expansion step, 0 = cannot grow
};

// One chunk: its identifier, declared size, form or list type (RIFF and
// LIST chunks only) and where its contents begin in the source.
struct MMCKINFO {
  FOURCC ckid;
  std::uint32_t cksize;  // as declared; may claim more than the source holds
  FOURCC fccType;
  std::int64_t dwDataOffset;  // for RIFF and LIST: the offset of the type field
  std::uint32_t dwFlags;
};

struct TMmioFile;
using HMMIO = TMmioFile*;

// Opens a memory file when info names FOURCC_MEM, otherwise the named disk
// file. Null on failure, with the reason in info->wErrorRet when info is given.
HMMIO mmioOpen(const char* fileName, MMIOINFO* info, std::uint32_t flags);
// Reads up to count bytes from the current position; returns how many were
// read (0 at the end of the source), or -1 for a bad handle or count.
std::int32_t mmioRead(HMMIO file, void* buffer, std::int32_t count);
// Moves the position (origin SEEK_SET, SEEK_CUR or SEEK_END); returns the new
// position, or -1 when it would be negative or the origin is unknown.
std::int64_t mmioSeek(HMMIO file, std::int64_t offset, int origin);
// Finds a chunk from the current position, within parent when one is given,
// and leaves the position at the chunk's contents (after the type field of a
// RIFF or LIST chunk). Chunks are skipped by their size rounded up to even.
std::uint32_t mmioDescend(HMMIO file, MMCKINFO* chunk, const MMCKINFO* parent, std::uint32_t flags);
// Moves to the end of a chunk entered with mmioDescend, past its pad byte.
std::uint32_t mmioAscend(HMMIO file, const MMCKINFO* chunk, std::uint32_t flags);
std::uint32_t mmioClose(HMMIO file, std::uint32_t flags);
