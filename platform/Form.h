#pragma once
// Forms: top-level windows with a caption, a client area on which their
// controls sit, and the create, close and destroy events.
#include <string>

#include "platform/Controls.h"
#include "platform/Graphics.h"

enum TFormBorderStyle { bsSizeable, bsDialog };
enum TPosition { poDesigned, poScreenCenter };
enum TCloseAction { caNone, caHide, caFree };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  std::string Caption;
  TFormBorderStyle BorderStyle = bsDialog;
  TPosition Position = poScreenCenter;
  TColor Color = RGB(240, 240, 240);  // the client area around the controls

  // The client area, and the outer size around it. A fixed dialog frame
  // adds FrameWidth and FrameHeight (borders and caption bar).
  static constexpr int FrameWidth = 6;
  static constexpr int FrameHeight = 25;
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  void SetClientSize(int width, int height);
  int Width() const override { return clientWidth_ + FrameWidth; }
  int Height() const override { return clientHeight_ + FrameHeight; }
  void SetWidth(int width) { SetClientSize(width - FrameWidth, clientHeight_); }
  void SetHeight(int height) { SetClientSize(clientWidth_, height - FrameHeight); }

  TNotifyEvent OnCreate;
  TCloseEvent OnClose;
  TNotifyEvent OnDestroy;

  // Runs the create event; an error in it is reported and the form is kept.
  void AfterConstruction();
  void BeforeDestruction() override;

  void Show();
  void Hide();
  bool Showing() const { return showing_; }
  // Asks the form to close: the close event, then the window goes and, for
  // the main form, the application ends. An error in the close event is
  // reported and the form closes all the same.
  void Close();
  bool Closed() const { return closed_; }

 protected:
  LRESULT WndProc(std::uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PressMouse(TMouseButton button, WPARAM keys, LPARAM position);
  int clientWidth_ = 0, clientHeight_ = 0;
  bool showing_ = false;
  bool closing_ = false;
  bool closed_ = false;
};
