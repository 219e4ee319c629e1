#pragma once
// Errors that reach a handler of the game (a picture that cannot be loaded)
// are shown in the standard error box and the game goes on.
#include "platform/Component.h"

// Call inside a catch block: reports the error being handled, unless one
// such report is still up. The box is modal but timers keep ticking under
// it, so a tick that fails again would otherwise stack a box on a box every
// 20 ms; that failure is dropped instead, and the next tick after the box
// is dismissed tries again.
void ReportHandlerError(TObject* sender);
