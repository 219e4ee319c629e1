#include "platform/RiffSource.h"

#include <algorithm>
#include <cstring>

TMmioFile::~TMmioFile() {
  if (file) std::fclose(file);
}

std::size_t TMmioFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
  if (offset >= size || count == 0) return 0;
  const std::size_t wanted =
      static_cast<std::size_t>(std::min<std::uint64_t>(count, size - offset));
  auto* out = static_cast<std::uint8_t*>(buffer);
  if (!file) {
    std::memcpy(out, image + offset, wanted);
    return wanted;
  }
  return ReadFile(offset, out, wanted);
}

// Small reads are served from the window; a read larger than the window
// (a whole data chunk) goes straight to the file.
std::size_t TMmioFile::ReadFile(std::uint64_t offset, std::uint8_t* out, std::size_t count) {
  if (count >= kWindowBytes) {
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return 0;
    return std::fread(out, 1, count, file);
  }
  std::size_t copied = 0;
  while (copied < count) {
    const std::uint64_t at = offset + copied;
    if (at < windowStart || at >= windowStart + windowFill) {
      if (!FillWindow(at)) break;
    }
    const std::size_t inWindow = static_cast<std::size_t>(windowStart + windowFill - at);
    const std::size_t take = std::min(count - copied, inWindow);
    std::memcpy(out + copied, window.get() + (at - windowStart), take);
    copied += take;
  }
  return copied;
}

bool TMmioFile::FillWindow(std::uint64_t offset) {
  if (!window) window = std::make_unique<std::uint8_t[]>(kWindowBytes);
  windowStart = offset;
  windowFill = 0;
  if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return false;
  windowFill = std::fread(window.get(), 1, kWindowBytes, file);
  return windowFill > 0;
}
