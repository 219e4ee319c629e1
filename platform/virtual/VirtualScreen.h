#pragma once
// The virtual back end's screen and dialogs: forms are shown nowhere (tests
// read the pictures' pixels directly), dialogs are recorded and answered by
// the test, and input is injected the way the real back end delivers it.
#include <functional>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Dialogs.h"

struct VirtualDialog {
  TDialogKind kind;
  std::string caption;
  std::string text;
};

void UseVirtualScreen();
// Forgets recorded dialogs, the handler and the counters.
void ResetVirtualScreen();

// Every dialog put up so far, oldest first.
const std::vector<VirtualDialog>& VirtualDialogs();
// Called once for each dialog while it is up (inside its nested loop); the
// dialog is dismissed when the handler returns. Without a handler a dialog
// is dismissed at once.
void SetVirtualDialogHandler(std::function<void(const VirtualDialog&)> handler);
bool VirtualDialogOpen();

// How often the main form's picture was put on the "screen", and whether it
// is shown.
int VirtualPresentCount();
bool VirtualMainFormShown();

// A mouse press at client position (x, y) of the main form, delivered like
// the real back end does (ignored outside the client area or while a dialog
// is up), then dispatched.
void VirtualMouseDown(int x, int y, TMouseButton button, TShiftState shift = 0);
// The window manager's close request to the main form, then dispatched.
void VirtualCloseRequest();
