// A guard in front of the BMP decoder: a damaged header can claim a picture of
// billions of pixels, and a decoder would try to allocate it before finding
// that the data is not there.
#include <string>

#include "platform/BmpDecode.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;

std::uint32_t ReadU32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t ReadU16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

std::string CheckBmpHeader(const void* data, std::size_t size, int maxSide) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  if (size < kFileHeaderSize + 12) return "too short for a BMP header";
  if (bytes[0] != 'B' || bytes[1] != 'M') return "no BMP signature";
  const unsigned char* info = bytes + kFileHeaderSize;
  const std::uint32_t infoSize = ReadU32(info);
  long long width = 0, height = 0;
  if (infoSize == 12) {  // the old OS/2 core header: 16-bit sizes
    width = ReadU16(info + 4);
    height = ReadU16(info + 6);
  } else if (infoSize >= 40 && infoSize <= 124) {
    width = static_cast<std::int32_t>(ReadU32(info + 4));
    height = static_cast<std::int32_t>(ReadU32(info + 8));
    if (height < 0) height = -height;  // rows stored top to bottom
  } else {
    return "unknown BMP header size " + std::to_string(infoSize);
  }
  if (width < 1 || height < 1) return "picture has no pixels";
  if (width > maxSide || height > maxSide) {
    return "picture of " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels is larger than " + std::to_string(maxSide) + " on a side";
  }
  return {};
}
