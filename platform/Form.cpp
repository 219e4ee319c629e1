#include "platform/Form.h"

#include "platform/Application.h"
#include "platform/Screen.h"
#include "platform/WindowMessages.h"

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  // A form is a top-level window, whoever owns it.
  SetParent(nullptr);
}

TForm::~TForm() {
  if (showing_) GetScreenOps().HideForm(*this);
}

void TForm::SetClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  if (showing_) GetScreenOps().UpdateForm(*this);
}

void TForm::AfterConstruction() {
  try {
    if (OnCreate) OnCreate(this);
  } catch (...) {
    Application.HandleException(this);
  }
}

void TForm::BeforeDestruction() {
  Hide();
  try {
    if (OnDestroy) OnDestroy(this);
  } catch (...) {
    Application.HandleException(this);
  }
}

void TForm::Show() {
  if (showing_) return;
  showing_ = true;
  closed_ = false;
  GetScreenOps().ShowForm(*this);
}

void TForm::Hide() {
  if (!showing_) return;
  showing_ = false;
  GetScreenOps().HideForm(*this);
}

void TForm::Close() {
  // A second request while the first is still being answered (a dialog in
  // the close event runs a nested loop) must not run the event again.
  if (closing_ || closed_) return;
  closing_ = true;
  TCloseAction action = caFree;
  try {
    if (OnClose) OnClose(this, action);
  } catch (...) {
    // The close event failed part-way; keeping the window would not undo
    // that, so it is reported and the window closes.
    Application.HandleException(this);
  }
  closing_ = false;
  if (action == caNone) return;
  closed_ = true;
  Hide();
  if (Application.MainForm() == this) Application.Terminate();
}

LRESULT TForm::WndProc(std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_LBUTTONDOWN:
      PressMouse(mbLeft, wParam, lParam);
      return 0;
    case WM_RBUTTONDOWN:
      PressMouse(mbRight, wParam, lParam);
      return 0;
    case WM_MBUTTONDOWN:
      PressMouse(mbMiddle, wParam, lParam);
      return 0;
    default:
      return TWinControl::WndProc(message, wParam, lParam);
  }
}

void TForm::PressMouse(TMouseButton button, WPARAM keys, LPARAM position) {
  int x = MouseX(position), y = MouseY(position);
  if (x < 0 || y < 0 || x >= clientWidth_ || y >= clientHeight_) return;
  TControl* control = ControlAt(x, y);
  if (!control) return;
  TShiftState shift = 0;
  if (keys & MK_SHIFT) shift |= ssShift;
  if (keys & MK_CONTROL) shift |= ssCtrl;
  if (keys & MK_ALT) shift |= ssAlt;
  if (keys & MK_LBUTTON) shift |= ssLeft;
  if (keys & MK_RBUTTON) shift |= ssRight;
  if (keys & MK_MBUTTON) shift |= ssMiddle;
  control->MouseDown(button, shift, x - control->Left(), y - control->Top());
}
