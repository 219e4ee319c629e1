#include <SDL.h>

#include "platform/Exception.h"
#include "platform/Module.h"
#include "platform/WaveOut.h"
#include "platform/sdl/Sdl.h"
#include "platform/sdl/SdlMedia.h"
#include "platform/sdl/SdlWindows.h"

void UseSdlBackend() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
    throw Exception(std::string("Cannot start the video system: ") + SDL_GetError());
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
