#pragma once
// Controls: components with a place on a parent window, and windowed
// controls, which have a window handle of their own (created when first
// asked for) so that others can post messages to them.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Component.h"
#include "platform/Messages.h"

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Keys and buttons held while a mouse event happened.
using TShiftState = std::uint32_t;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16,
                      ssMiddle = 32, ssDouble = 64;

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                       int X, int Y)>;

class TWinControl;

class TControl : public TComponent {
 public:
  // A control owned by a windowed control sits on it, as the form designer
  // places it.
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  virtual int Width() const { return width_; }
  virtual int Height() const { return height_; }
  void SetBounds(int left, int top, int width, int height);
  bool Visible() const { return visible_; }
  void SetVisible(bool on) { visible_ = on; }

  bool Contains(int x, int y) const {
    return x >= left_ && y >= top_ && x < left_ + Width() && y < top_ + Height();
  }
  // A mouse press at (x, y) relative to the control's top-left corner.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);

 private:
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner) : TControl(owner) {}
  ~TWinControl() override;

  // The window handle, created on first use; messages posted to it reach
  // WndProc on the GUI thread.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }

  // Controls placed on this one, bottom first (later ones lie on top).
  const std::vector<TControl*>& Controls() const { return controls_; }
  // The topmost visible control containing (x, y), or null.
  TControl* ControlAt(int x, int y) const;

  // Called with each message posted to Handle().
  std::function<void(std::uint32_t message, WPARAM wParam, LPARAM lParam)> OnMessage;

 protected:
  virtual LRESULT WndProc(std::uint32_t message, WPARAM wParam, LPARAM lParam);

 private:
  friend class TControl;
  static LRESULT StaticWndProc(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam);
  HWND handle_ = nullptr;
  std::vector<TControl*> controls_;
};
