#include "platform/sdl/SdlAudio.h"

#include <SDL.h>

bool EnsureSdlAudio() {
  return SDL_WasInit(SDL_INIT_AUDIO) != 0 || SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}
