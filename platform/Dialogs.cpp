#include "platform/Dialogs.h"

#include <cstdio>

#include "platform/Application.h"
#include "platform/Events.h"
#include "platform/MessageLoop.h"

namespace {

// Without a back end a dialog can only be written out; it counts as
// answered at once.
void* PrintDialog(TDialogKind, const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  return nullptr;
}
bool AlwaysDismissed(void*) {
  return true;
}
void NoClose(void*) {}

DialogOps currentOps{PrintDialog, AlwaysDismissed, NoClose};

}  // namespace

void SetDialogOps(const DialogOps& ops) {
  currentOps = ops;
}
const DialogOps& GetDialogOps() {
  return currentOps;
}
bool DialogsHaveABackEnd() {
  return currentOps.Open != PrintDialog;
}

// The nested loop keeps going after the application was told to end: the
// user still has to see and answer what the dialog says.
void RunModalDialog(TDialogKind kind, const std::string& caption, const std::string& text) {
  const DialogOps ops = currentOps;
  void* dialog = ops.Open(kind, caption, text);
  while (!ops.Dismissed(dialog)) {
    try {
      if (ProcessMessages() > 0) continue;
    } catch (...) {
      Application.HandleException(nullptr);
      continue;
    }
    GetEventOps().WaitForEvents(MillisecondsToNextTimer(100));
  }
  ops.Close(dialog);
}

void ShowMessage(const std::string& text) {
  RunModalDialog(TDialogKind::Message, Application.Title, text);
}

void ShowErrorBox(const std::string& caption, const std::string& text) {
  RunModalDialog(TDialogKind::Error, caption, text);
}
