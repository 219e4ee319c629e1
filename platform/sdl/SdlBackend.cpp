#include <SDL.h>

#include "platform/Exception.h"
#include "platform/Module.h"
#include "platform/WaveOut.h"
#include "platform/sdl/Sdl.h"
#include "platform/sdl/SdlDisplayLoss.h"
#include "platform/sdl/SdlLateWakeUps.h"
#include "platform/sdl/SdlMedia.h"
#include "platform/sdl/SdlWindows.h"

void UseSdlBackend() {
  // The windows are drawn in software and blitted: X11's own framebuffer is
  // far quicker to set up and cheaper per frame than one through OpenGL.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  IgnoreLateWakeUps();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
    throw Exception(std::string("Cannot start the video system: ") + SDL_GetError());
  EndProcessOnDisplayLoss();
  if (char* base = SDL_GetBasePath()) {
    SetExeFolder(base);
    SDL_free(base);
  }
  UseSdlEvents();
  UseSdlScreen();
  UseSdlDialogs();
  UseSdlMedia();
  UseSdlWaveOut();
}

void ShutDownSdlBackend() {
  ShutDownSdlMedia();
  SDL_Quit();
}
