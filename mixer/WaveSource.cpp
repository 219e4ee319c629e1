#include "mixer/WaveSource.h"

#include <limits>
#include <string>

#include "mixer/Mixer.h"
#include "mixer/Wave.h"

const char* WaveNameOrNumber(const char* name, char (&digits)[8]) {
  if (!IS_INTRESOURCE(name)) return name;
  const std::string number = std::to_string(reinterpret_cast<std::uintptr_t>(name));
  number.copy(digits, sizeof digits - 1);
  digits[number.size()] = '\0';
  return digits;
}

void WaveSource::Open(const char* name, HMODULE module, std::uint32_t flags) {
  if (flags & MixWaveFromResource) {
    OpenResource(name, module);
  } else if (flags & MixWaveFromMemory) {
    OpenMemory(name);
  } else {
    OpenFile(name);
  }
}

void WaveSource::Close() {
  if (reader_) mmioClose(reader_, 0);
  reader_ = nullptr;
  if (resource_) FreeResource(resource_);
  resource_ = nullptr;
}

void WaveSource::OpenResource(const char* name, HMODULE module) {
  HRSRC found = FindResourceA(module, name, "WAVE");
  resource_ = found ? LoadResource(module, found) : nullptr;
  if (!resource_) {
    char digits[8];
    throw EMixerError(std::string("Failed to open \"WAVE\" resource ") +
                      WaveNameOrNumber(name, digits));
  }
  const void* bytes = LockResource(resource_);
  if (!bytes) throw EMixerError("Failed to lock \"WAVE\" resource");
  // A read-only memory file over the resource's bytes that cannot grow.
  MMIOINFO info{};
  info.fccIOProc = FOURCC_MEM;
  info.pchBuffer = static_cast<const char*>(bytes);
  const std::uint32_t size = SizeofResource(module, found);
  // Larger than a memory file can describe: refuse rather than cut it short.
  info.cchBuffer = size > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())
                       ? -1
                       : static_cast<std::int32_t>(size);
  info.adwInfo[0] = 0;
  reader_ = mmioOpen(nullptr, &info, MMIO_READ);
  if (!reader_) {
    throw EMixerError("Failed to open resource, mmioOpen error= " + std::to_string(info.wErrorRet) +
                      ".#13May need to make sure resource is marked read-write");
  }
}

void WaveSource::OpenMemory(const char* descriptor) {
  // A number or null cannot be the address of a descriptor.
  MMIOINFO info{};
  if (IS_INTRESOURCE(descriptor)) {
    info.wErrorRet = MMIOERR_CANNOTOPEN;
  } else {
    info = *reinterpret_cast<const MMIOINFO*>(descriptor);
    reader_ = mmioOpen(nullptr, &info, MMIO_READ);
  }
  if (!reader_) {
    throw EMixerError(
        "Failed to open memory file, mmioOpen error=" + std::to_string(info.wErrorRet) +
        ".#13May need to make sure memory is read-write");
  }
}

void WaveSource::OpenFile(const char* fileName) {
  // A memory descriptor or number given as a file name has no text to show.
  const char* text = IS_INTRESOURCE(fileName) ? "" : fileName;
  MMIOINFO info{};
  if (*text) reader_ = mmioOpen(text, &info, MMIO_READ);
  if (!reader_) throw EMixerError(std::string("Failed to open wave file ") + text);
}
