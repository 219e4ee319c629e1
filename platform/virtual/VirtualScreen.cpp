#include "platform/virtual/VirtualScreen.h"

#include "platform/Application.h"
#include "platform/MessageLoop.h"
#include "platform/Screen.h"
#include "platform/WindowMessages.h"

namespace {

struct State {
  std::vector<VirtualDialog> dialogs;
  std::function<void(const VirtualDialog&)> handler;
  int openDialogs = 0;
  int presents = 0;
};
State state;

struct OpenDialog {
  VirtualDialog dialog;
  bool answered = false;
};

void ShowForm(TForm&) {}
void HideForm(TForm&) {}
void UpdateForm(TForm&) {}
void PresentForm(TForm&) {
  ++state.presents;
}

void* Open(TDialogKind kind, const std::string& caption, const std::string& text) {
  VirtualDialog dialog{kind, caption, text};
  state.dialogs.push_back(dialog);
  ++state.openDialogs;
  return new OpenDialog{dialog};
}

bool Dismissed(void* handle) {
  auto* dialog = static_cast<OpenDialog*>(handle);
  if (!dialog->answered) {
    dialog->answered = true;
    // A copy: the handler may let further dialogs be recorded meanwhile.
    auto handler = state.handler;
    if (handler) handler(dialog->dialog);
  }
  return true;
}

void Close(void* handle) {
  delete static_cast<OpenDialog*>(handle);
  --state.openDialogs;
}

HWND MainWindow() {
  TForm* form = Application.MainForm();
  return form && form->Showing() ? form->Handle() : nullptr;
}

}  // namespace

void UseVirtualScreen() {
  SetScreenOps({ShowForm, HideForm, UpdateForm, PresentForm});
  SetDialogOps({Open, Dismissed, Close});
}

void ResetVirtualScreen() {
  state = State{};
}

const std::vector<VirtualDialog>& VirtualDialogs() {
  return state.dialogs;
}
void SetVirtualDialogHandler(std::function<void(const VirtualDialog&)> handler) {
  state.handler = std::move(handler);
}
bool VirtualDialogOpen() {
  return state.openDialogs > 0;
}
int VirtualPresentCount() {
  return state.presents;
}
bool VirtualMainFormShown() {
  return MainWindow() != nullptr;
}

void VirtualMouseDown(int x, int y, TMouseButton button, TShiftState shift) {
  HWND window = MainWindow();
  if (!window || state.openDialogs > 0) return;
  static constexpr std::uint32_t kMessages[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
  static constexpr WPARAM kButtonKeys[] = {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON};
  WPARAM keys = kButtonKeys[button];
  if (shift & ssShift) keys |= MK_SHIFT;
  if (shift & ssCtrl) keys |= MK_CONTROL;
  if (shift & ssAlt) keys |= MK_ALT;
  PostMessageA(window, kMessages[button], keys, MakeMousePos(x, y));
  ProcessMessages();
}

void VirtualCloseRequest() {
  HWND window = MainWindow();
  if (!window || state.openDialogs > 0) return;
  PostMessageA(window, WM_CLOSE, 0, 0);
  ProcessMessages();
}
