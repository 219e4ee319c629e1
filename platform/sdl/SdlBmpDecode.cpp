// BMP decoding through SDL2, which reads palette (1, 4, 8-bit, RLE) and
// true-colour BMPs and needs no video subsystem for it.
#include <SDL.h>

#include <memory>

#include "platform/BmpDecode.h"

namespace {

struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

}  // namespace

bool DecodeBmp(const void* data, std::size_t size, DecodedPicture& out, std::string& error) {
  SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
  if (stream == nullptr) {
    error = SDL_GetError();
    return false;
  }
  SurfacePtr loaded(SDL_LoadBMP_RW(stream, /*freesrc=*/1));
  if (!loaded) {
    error = SDL_GetError();
    return false;
  }
  // XRGB8888 is 0x00RRGGBB in a native 32-bit word, which is our pixel.
  SurfacePtr converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_XRGB8888, 0));
  if (!converted) {
    error = SDL_GetError();
    return false;
  }
  DecodedPicture picture;
  picture.Width = converted->w;
  picture.Height = converted->h;
  picture.Pixels.resize(static_cast<std::size_t>(picture.Width) * picture.Height);
  if (SDL_LockSurface(converted.get()) != 0) {
    error = SDL_GetError();
    return false;
  }
  const auto* base = static_cast<const unsigned char*>(converted->pixels);
  for (int y = 0; y < picture.Height; ++y) {
    const auto* row =
        reinterpret_cast<const Uint32*>(base + static_cast<std::size_t>(y) * converted->pitch);
    for (int x = 0; x < picture.Width; ++x) {
      picture.Pixels[static_cast<std::size_t>(y) * picture.Width + x] = row[x] & 0x00FFFFFFu;
    }
  }
  SDL_UnlockSurface(converted.get());
  out = std::move(picture);
  return true;
}
