#pragma once
// Shared by the SDL screen, dialogs and event loop: which SDL window belongs
// to whom, and putting a bitmap on a window.
#include <SDL.h>

#include "platform/Graphics.h"

class SdlWindowSink {
 public:
  virtual ~SdlWindowSink() = default;
  virtual void HandleEvent(const SDL_Event& event) = 0;
};

void RegisterSdlWindow(SDL_Window* window, SdlWindowSink* sink);
void UnregisterSdlWindow(SDL_Window* window);
SdlWindowSink* FindSdlWindowSink(Uint32 windowId);

// Open dialogs, innermost last: while one is up, the forms take no input
// and keys go to the innermost dialog.
void PushSdlDialog(SdlWindowSink* dialog);
void PopSdlDialog(SdlWindowSink* dialog);
SdlWindowSink* InnermostSdlDialog();

// Copies the bitmap to the window's top-left corner and shows it.
void PutBitmapOnWindow(SDL_Window* window, const TBitmap& bitmap);

void UseSdlEvents();
void UseSdlScreen();
void UseSdlDialogs();
