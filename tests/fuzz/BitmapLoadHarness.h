#pragma once
// Feeds one input to the BMP loading path the game uses, shared by the fuzz
// target and by the unit test that replays its corpus: the bytes are loaded
// from memory (the embedded pictures) and from a file (the pair pictures).
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "platform/Exception.h"
#include "platform/Graphics.h"

enum class BitmapOutcome { Loaded, Refused, Inconsistent };

namespace bitmap_fuzz {

// A picture that a refused load must leave exactly as it was.
inline void Prime(TBitmap& bitmap) {
  bitmap.SetSize(3, 2);
  bitmap.SetPixel(1, 1, RGB(1, 2, 3));
}

inline bool StillPrimed(const TBitmap& bitmap) {
  if (bitmap.Width() != 3 || bitmap.Height() != 2) return false;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      if (bitmap.Pixel(x, y) != (x == 1 && y == 1 ? RGB(1, 2, 3) : RGB(255, 255, 255)))
        return false;
  return true;
}

// Every pixel is read, so that the sanitizers see one out of place.
inline bool PixelsAreSound(const TBitmap& bitmap) {
  if (bitmap.Width() < 1 || bitmap.Height() < 1 || bitmap.Width() > TBitmap::kMaxPictureSide ||
      bitmap.Height() > TBitmap::kMaxPictureSide) {
    return false;
  }
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (bitmap.Pixel(x, y) & 0xFF000000u) return false;
  return true;
}

inline bool SamePicture(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

// Loads with `load`; true when it loaded, false when refused with
// EInvalidGraphic. Anything else escapes.
template <class Load>
bool TryLoad(Load&& load) {
  try {
    load();
    return true;
  } catch (const EInvalidGraphic&) {
    return false;
  }
}

}  // namespace bitmap_fuzz

// `path` is a scratch file of the caller's own. Both ways must agree: the
// same picture, or both refused with the bitmap untouched.
inline BitmapOutcome LoadBitmapFuzzInput(const std::uint8_t* data, std::size_t size,
                                         const std::string& path) {
  using namespace bitmap_fuzz;
  TBitmap fromMemory;
  Prime(fromMemory);
  const bool memoryLoaded = TryLoad([&] { fromMemory.LoadFromMemory(data, size); });

  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  TBitmap fromFile;
  Prime(fromFile);
  const bool fileLoaded = TryLoad([&] { fromFile.LoadFromFile(path); });

  if (memoryLoaded != fileLoaded) return BitmapOutcome::Inconsistent;
  if (!memoryLoaded) {
    return StillPrimed(fromMemory) && StillPrimed(fromFile) ? BitmapOutcome::Refused
                                                            : BitmapOutcome::Inconsistent;
  }
  return PixelsAreSound(fromMemory) && SamePicture(fromMemory, fromFile)
             ? BitmapOutcome::Loaded
             : BitmapOutcome::Inconsistent;
}
