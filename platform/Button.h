#pragma once
// The push button: a caption, a place and a click event.
#include <string>

#include "platform/Controls.h"

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* owner) : TWinControl(owner) {}

  std::string Caption;
  bool TabStop = true;
  int TabOrder = 0;
  TNotifyEvent OnClick;
  // What a press and release of the button does.
  void Click() {
    if (OnClick) OnClick(this);
  }
};
