#include "platform/sdl/SdlWindows.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {
std::map<Uint32, SdlWindowSink*>& Sinks() {
  static std::map<Uint32, SdlWindowSink*> sinks;
  return sinks;
}
std::vector<SdlWindowSink*>& Dialogs() {
  static std::vector<SdlWindowSink*> dialogs;
  return dialogs;
}
}  // namespace

void RegisterSdlWindow(SDL_Window* window, SdlWindowSink* sink) {
  Sinks()[SDL_GetWindowID(window)] = sink;
}

void UnregisterSdlWindow(SDL_Window* window) {
  Sinks().erase(SDL_GetWindowID(window));
}

SdlWindowSink* FindSdlWindowSink(Uint32 windowId) {
  auto found = Sinks().find(windowId);
  return found == Sinks().end() ? nullptr : found->second;
}

void PushSdlDialog(SdlWindowSink* dialog) {
  Dialogs().push_back(dialog);
}
void PopSdlDialog(SdlWindowSink* dialog) {
  std::erase(Dialogs(), dialog);
}
SdlWindowSink* InnermostSdlDialog() {
  return Dialogs().empty() ? nullptr : Dialogs().back();
}

void PutBitmapOnWindow(SDL_Window* window, const TBitmap& bitmap) {
  SDL_Surface* target = SDL_GetWindowSurface(window);
  if (!target || bitmap.Empty()) return;
  SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<TColor*>(bitmap.Row(0)), bitmap.Width(), bitmap.Height(), 32, bitmap.Width() * 4,
      SDL_PIXELFORMAT_RGB888);
  if (!source) return;
  SDL_BlitSurface(source, nullptr, target, nullptr);
  SDL_FreeSurface(source);
  SDL_UpdateWindowSurface(window);
}
