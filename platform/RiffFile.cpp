// Opening, reading, seeking and closing a RIFF reader.
#include <cerrno>
#include <cstdio>
#include <limits>
#include <memory>
#include <new>

#include "platform/Riff.h"
#include "platform/RiffSource.h"

namespace {

HMMIO Fail(MMIOINFO* info, std::uint32_t code) {
  if (info) info->wErrorRet = code;
  return nullptr;
}

// A memory file is read in place; an image with no bytes is a valid, empty
// file, but a size without an address, or a negative size, is not.
std::uint32_t OpenMemory(TMmioFile& reader, const MMIOINFO& info) {
  if (info.cchBuffer < 0 || (info.cchBuffer > 0 && !info.pchBuffer)) return MMIOERR_CANNOTOPEN;
  reader.image = reinterpret_cast<const std::uint8_t*>(info.pchBuffer);
  reader.size = static_cast<std::uint64_t>(info.cchBuffer);
  return 0;
}

std::uint32_t OpenDisk(TMmioFile& reader, const char* fileName) {
  if (!fileName) return MMIOERR_CANNOTOPEN;
  errno = 0;
  reader.file = std::fopen(fileName, "rb");
  if (!reader.file) return errno == ENOENT ? MMIOERR_FILENOTFOUND : MMIOERR_CANNOTOPEN;
  if (std::fseek(reader.file, 0, SEEK_END) != 0) return MMIOERR_CANNOTOPEN;
  const long end = std::ftell(reader.file);
  // A directory opens on some systems but has no readable length.
  if (end < 0) return MMIOERR_CANNOTOPEN;
  reader.size = static_cast<std::uint64_t>(end);
  return 0;
}

}  // namespace

HMMIO mmioOpen(const char* fileName, MMIOINFO* info, std::uint32_t flags) {
  if (flags & (MMIO_WRITE | MMIO_READWRITE)) return Fail(info, MMIOERR_CANNOTWRITE);
  std::unique_ptr<TMmioFile> reader(new (std::nothrow) TMmioFile);
  if (!reader) return Fail(info, MMIOERR_CANNOTOPEN);
  std::uint32_t code;
  if (info && info->fccIOProc == FOURCC_MEM) {
    code = OpenMemory(*reader, *info);
  } else if (info && info->fccIOProc != 0) {
    code = MMIOERR_CANNOTOPEN;  // no other I/O procedures are installed
  } else {
    code = OpenDisk(*reader, fileName);
  }
  if (code != 0) return Fail(info, code);
  if (info) info->wErrorRet = 0;
  return reader.release();
}

std::int32_t mmioRead(HMMIO file, void* buffer, std::int32_t count) {
  if (!file || count < 0 || (count > 0 && !buffer)) return -1;
  const std::size_t got = file->ReadAt(file->position, buffer, static_cast<std::size_t>(count));
  file->position += got;
  return static_cast<std::int32_t>(got);
}

std::int64_t mmioSeek(HMMIO file, std::int64_t offset, int origin) {
  if (!file) return -1;
  std::int64_t base;
  switch (origin) {
    case SEEK_SET:
      base = 0;
      break;
    case SEEK_CUR:
      base = static_cast<std::int64_t>(file->position);
      break;
    case SEEK_END:
      base = static_cast<std::int64_t>(file->size);
      break;
    default:
      return -1;
  }
  // Sources are far below 2^62 bytes, so only a hostile offset can overflow.
  if (offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset) return -1;
  const std::int64_t target = base + offset;
  if (target < 0) return -1;
  file->position = static_cast<std::uint64_t>(target);
  return target;
}

std::uint32_t mmioClose(HMMIO file, std::uint32_t /*flags*/) {
  if (!file) return MMIOERR_INVALIDFILE;
  delete file;
  return 0;
}
