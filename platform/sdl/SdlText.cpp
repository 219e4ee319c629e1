// Text through SDL2_ttf: one face, opened once per (size, style) and kept.
#include <SDL.h>
#include <SDL_ttf.h>

#include <map>
#include <memory>
#include <mutex>
#include <tuple>

#include "platform/Exception.h"
#include "platform/TextRender.h"

namespace {

constexpr int kDotsPerInch = 96;

struct FontClose {
  void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
};
struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

using FontKey = std::tuple<int, bool, bool>;

struct FontCache {
  std::mutex lock;
  std::string file = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";
  std::map<FontKey, std::unique_ptr<TTF_Font, FontClose>> fonts;
};

FontCache& Cache() {
  static FontCache cache;
  return cache;
}

[[noreturn]] void Fail(const std::string& what) {
  throw Exception(what + " (font file \"" + Cache().file + "\"): " + TTF_GetError());
}

// Called with the cache's lock held.
TTF_Font* FontFor(const TextStyle& style) {
  FontCache& cache = Cache();
  if (!TTF_WasInit() && TTF_Init() != 0) Fail("Cannot start the text renderer");
  const int size = style.SizePoints > 0 ? style.SizePoints : 1;
  const FontKey key{size, style.Bold, style.Italic};
  auto found = cache.fonts.find(key);
  if (found != cache.fonts.end()) return found->second.get();
  TTF_Font* font = TTF_OpenFontDPI(cache.file.c_str(), size, kDotsPerInch, kDotsPerInch);
  if (font == nullptr) Fail("Cannot open the font");
  TTF_SetFontStyle(font, (style.Bold ? TTF_STYLE_BOLD : 0) | (style.Italic ? TTF_STYLE_ITALIC : 0));
  cache.fonts.emplace(key, font);
  return font;
}

TextExtent Measure(TTF_Font* font, const std::string& text) {
  TextExtent extent;
  extent.Height = TTF_FontHeight(font);
  if (!text.empty() && TTF_SizeUTF8(font, text.c_str(), &extent.Width, nullptr) != 0) {
    Fail("Cannot lay out text");
  }
  return extent;
}

}  // namespace

TextExtent MeasureText(const TextStyle& style, const std::string& text) {
  std::lock_guard<std::mutex> hold(Cache().lock);
  return Measure(FontFor(style), text);
}

TextMask RenderText(const TextStyle& style, const std::string& text) {
  std::lock_guard<std::mutex> hold(Cache().lock);
  TTF_Font* font = FontFor(style);
  const TextExtent extent = Measure(font, text);
  TextMask mask;
  mask.Width = extent.Width;
  mask.Height = extent.Height;
  mask.Coverage.assign(static_cast<std::size_t>(mask.Width) * mask.Height, 0);
  if (mask.Width <= 0 || mask.Height <= 0) return mask;
  // Blended rendering in white gives ARGB pixels whose alpha is the coverage.
  const SDL_Color white{255, 255, 255, 255};
  std::unique_ptr<SDL_Surface, SurfaceFree> rendered(
      TTF_RenderUTF8_Blended(font, text.c_str(), white));
  if (!rendered) Fail("Cannot render text");
  std::unique_ptr<SDL_Surface, SurfaceFree> argb(
      SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  if (!argb) Fail("Cannot render text");
  if (SDL_LockSurface(argb.get()) != 0) Fail("Cannot render text");
  const int width = std::min(mask.Width, argb->w);
  const int height = std::min(mask.Height, argb->h);
  const auto* base = static_cast<const unsigned char*>(argb->pixels);
  for (int y = 0; y < height; ++y) {
    const auto* row =
        reinterpret_cast<const Uint32*>(base + static_cast<std::size_t>(y) * argb->pitch);
    for (int x = 0; x < width; ++x) {
      mask.Coverage[static_cast<std::size_t>(y) * mask.Width + x] =
          static_cast<std::uint8_t>(row[x] >> 24);
    }
  }
  SDL_UnlockSurface(argb.get());
  return mask;
}

void SetTextFontFile(const std::string& path) {
  std::lock_guard<std::mutex> hold(Cache().lock);
  Cache().fonts.clear();
  Cache().file = path;
}

const std::string& TextFontFile() {
  return Cache().file;
}
