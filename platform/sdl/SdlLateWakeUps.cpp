#include "platform/sdl/SdlLateWakeUps.h"

#ifdef MOFRON_HAVE_X11
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#endif

namespace {

#ifdef MOFRON_HAVE_X11
XErrorHandler previousHandler = nullptr;

// The sound device's thread wakes the event loop by posting an event, and
// SDL delivers the wake-up as an X event sent to one of our windows over a
// connection of its own. When that window is a dialog that the GUI thread
// is destroying at the same moment, the server may handle the destruction
// first and answer the send with BadWindow; Xlib's default handler would
// then end the whole program over a wake-up that nobody needs any more.
// The error can also come to light only when SDL closes that connection as
// the program ends, after SDL has put back the handler it found at start:
// so this one is installed before SDL starts, and stays. Every other error
// is handled as before.
int SkipLateWakeUp(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  return previousHandler ? previousHandler(display, error) : 0;
}
#endif

}  // namespace

void IgnoreLateWakeUps() {
#ifdef MOFRON_HAVE_X11
  XErrorHandler previous = XSetErrorHandler(SkipLateWakeUp);
  if (previous != SkipLateWakeUp) previousHandler = previous;
#endif
}
