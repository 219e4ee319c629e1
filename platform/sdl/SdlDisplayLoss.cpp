#include "platform/sdl/SdlDisplayLoss.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef MOFRON_HAVE_X11
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#endif

namespace {

#ifdef MOFRON_HAVE_X11
// Xlib calls this when the X server goes away, from deep inside whatever
// call was talking to it, and by default then calls exit(). exit() runs the
// static destructors while the interrupted frames above are still in the
// middle of their work: windows are destroyed under a form that is drawing
// itself, and SDL waits for events from the lost server forever or frees
// what those frames still hold. Nothing can be shown any more, so the
// process ends here without running destructors, like a killed process.
// The score file is only ever replaced whole, so it stays as it was.
int LostDisplay(Display*) {
  std::fputs("The connection to the display was lost.\n", stderr);
  std::fflush(stderr);
  std::_Exit(EXIT_FAILURE);
}
#endif

}  // namespace

void EndProcessOnDisplayLoss() {
#ifdef MOFRON_HAVE_X11
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "x11") == 0) XSetIOErrorHandler(LostDisplay);
#endif
}
