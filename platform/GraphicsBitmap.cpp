// TBitmap: size, and loading BMP pictures from files and memory.
#include <filesystem>
#include <fstream>

#include "platform/BmpDecode.h"
#include "platform/Exception.h"
#include "platform/Graphics.h"

namespace {

// The largest BMP file a picture within the side limit can need: 32 bits a
// pixel plus generous room for headers and palette.
constexpr std::size_t kMaxBmpFileBytes =
    static_cast<std::size_t>(TBitmap::kMaxPictureSide) * TBitmap::kMaxPictureSide * 4 + 65536;

constexpr char kInvalidBitmap[] = "Bitmap image is not valid";

std::vector<unsigned char> ReadWholeFile(const std::string& path) {
  // A folder opens as a stream on some systems, so check for a file first.
  std::error_code ignored;
  std::ifstream file;
  if (std::filesystem::is_regular_file(path, ignored)) {
    file.open(path, std::ios::binary | std::ios::ate);
  }
  if (!file.is_open()) throw EFOpenError("Cannot open file \"" + path + "\"");
  const std::streamoff length = file.tellg();
  if (length < 0) throw EFOpenError("Cannot read file \"" + path + "\"");
  if (static_cast<std::size_t>(length) > kMaxBmpFileBytes) {
    throw EInvalidGraphic(std::string(kInvalidBitmap) + ": \"" + path + "\" is too large");
  }
  std::vector<unsigned char> bytes(static_cast<std::size_t>(length));
  file.seekg(0);
  if (!file.read(reinterpret_cast<char*>(bytes.data()), length)) {
    throw EFOpenError("Cannot read file \"" + path + "\"");
  }
  return bytes;
}

// Decodes into a fresh picture so that a failure leaves the bitmap alone.
DecodedPicture Decode(const void* data, std::size_t size, const std::string& what) {
  std::string problem;
  if (size > kMaxBmpFileBytes) {
    problem = "too large";
  } else {
    problem = CheckBmpHeader(data, size, TBitmap::kMaxPictureSide);
  }
  DecodedPicture picture;
  if (problem.empty() && !DecodeBmp(data, size, picture, problem) && problem.empty()) {
    problem = "unreadable";
  }
  if (!problem.empty()) {
    throw EInvalidGraphic(std::string(kInvalidBitmap) + ": " + what + " (" + problem + ")");
  }
  return picture;
}

}  // namespace

void TBitmap::SetSize(int width, int height) {
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  pixels_.assign(static_cast<std::size_t>(width_) * height_, RGB(255, 255, 255));
  Touch();
}

void TBitmap::LoadFromFile(const std::string& path) {
  const std::vector<unsigned char> bytes = ReadWholeFile(path);
  DecodedPicture picture = Decode(bytes.data(), bytes.size(), "\"" + path + "\"");
  width_ = picture.Width;
  height_ = picture.Height;
  pixels_ = std::move(picture.Pixels);
  Touch();
}

void TBitmap::LoadFromMemory(const void* data, std::size_t size) {
  DecodedPicture picture = Decode(data, size, "picture in memory");
  width_ = picture.Width;
  height_ = picture.Height;
  pixels_ = std::move(picture.Pixels);
  Touch();
}
