#include "platform/Application.h"
#include "platform/Events.h"
#include "platform/WindowMessages.h"
#include "platform/sdl/SdlWindows.h"

namespace {

Uint32 wakeEvent = static_cast<Uint32>(-1);

std::uint32_t SdlNowMs() {
  return SDL_GetTicks();
}

bool IsKey(const SDL_Event& event) {
  return event.type == SDL_KEYDOWN || event.type == SDL_KEYUP;
}

Uint32 WindowOf(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      return event.window.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return event.button.windowID;
    default:
      return 0;
  }
}

// The program is asked to end as a whole (a signal, or the last window's
// close box): the main form's close path runs as for its own close box.
void RequestQuit() {
  TForm* form = Application.MainForm();
  if (form && form->Showing() && !InnermostSdlDialog())
    PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
}

void Translate(const SDL_Event& event) {
  if (event.type == SDL_QUIT) return RequestQuit();
  if (IsKey(event)) {
    // A modal dialog owns the keyboard, wherever the focus lies.
    if (SdlWindowSink* dialog = InnermostSdlDialog()) dialog->HandleEvent(event);
    return;
  }
  if (Uint32 window = WindowOf(event)) {
    if (SdlWindowSink* sink = FindSdlWindowSink(window)) sink->HandleEvent(event);
  }
}

void SdlWaitForEvents(std::uint32_t timeoutMs) {
  SDL_Event event;
  if (!SDL_WaitEventTimeout(&event, static_cast<int>(timeoutMs))) return;
  Translate(event);
  while (SDL_PollEvent(&event)) Translate(event);
}

void SdlWake() {
  SDL_Event event{};
  event.type = wakeEvent;
  SDL_PushEvent(&event);
}

}  // namespace

void UseSdlEvents() {
  if (wakeEvent == static_cast<Uint32>(-1)) wakeEvent = SDL_RegisterEvents(1);
  SetEventOps({SdlNowMs, SdlWaitForEvents, SdlWake});
}
