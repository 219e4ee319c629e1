#pragma once
// Turns the bytes of a BMP file into 0x00RRGGBB pixels. The decoding itself is
// a library's job and lives in the back end; this header is all the rest of
// the platform sees of it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DecodedPicture {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;  // Width * Height, rows top to bottom, 0x00RRGGBB
};

// Checks the file and info headers before any decoder sees the data: the
// signature, a known header size, and width and height from 1 to maxSide.
// Returns an empty string when they look sound, else what is wrong.
std::string CheckBmpHeader(const void* data, std::size_t size, int maxSide);

// Decodes a whole BMP file held in memory. Returns false and says why in
// `error` when the bytes are not a picture the decoder can read; `out` is
// then left untouched. The caller has already passed CheckBmpHeader.
bool DecodeBmp(const void* data, std::size_t size, DecodedPicture& out, std::string& error);
