#include "platform/Controls.h"

#include <algorithm>

TControl::TControl(TComponent* owner) : TComponent(owner) {
  if (auto* window = dynamic_cast<TWinControl*>(owner)) SetParent(window);
}

TControl::~TControl() {
  SetParent(nullptr);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent_) std::erase(parent_->controls_, this);
  parent_ = parent;
  if (parent_) parent_->controls_.push_back(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

void TControl::MouseDown(TMouseButton, TShiftState, int, int) {}

TWinControl::~TWinControl() {
  // Owned controls go first (they unhook themselves); controls owned by
  // someone else merely leave this parent.
  DestroyComponents();
  for (TControl* control : std::vector<TControl*>(controls_)) control->SetParent(nullptr);
  if (handle_) DestroyWindow(handle_);
}

HWND TWinControl::Handle() {
  if (!handle_) handle_ = CreateWindowWithProc(StaticWndProc, this);
  return handle_;
}

TControl* TWinControl::ControlAt(int x, int y) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    if ((*it)->Visible() && (*it)->Contains(x, y)) return *it;
  }
  return nullptr;
}

LRESULT TWinControl::WndProc(std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (OnMessage) OnMessage(message, wParam, lParam);
  return DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT TWinControl::StaticWndProc(HWND window, std::uint32_t message, WPARAM wParam,
                                   LPARAM lParam) {
  auto* control = static_cast<TWinControl*>(GetWindowUserData(window));
  return control ? control->WndProc(message, wParam, lParam) : 0;
}
