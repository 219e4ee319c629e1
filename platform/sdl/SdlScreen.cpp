#include <map>
#include <memory>
#include <vector>

#include "platform/Exception.h"
#include "platform/Form.h"
#include "platform/Image.h"
#include "platform/Screen.h"
#include "platform/WindowMessages.h"
#include "platform/sdl/SdlWindows.h"

namespace {

// What was last put on screen, to tell whether anything changed since.
struct ShownImage {
  const TImage* image;
  std::uint64_t version;
  int left, top, width, height;
  bool operator==(const ShownImage&) const = default;
};

class FormWindow : public SdlWindowSink {
 public:
  explicit FormWindow(TForm& form) : form_(form) {
    int position =
        form.Position == poScreenCenter ? SDL_WINDOWPOS_CENTERED : SDL_WINDOWPOS_UNDEFINED;
    Uint32 flags = SDL_WINDOW_SHOWN | (form.BorderStyle == bsSizeable ? SDL_WINDOW_RESIZABLE : 0);
    window_ = SDL_CreateWindow(form.Caption.c_str(), position, position, form.ClientWidth(),
                               form.ClientHeight(), flags);
    if (window_) RegisterSdlWindow(window_, this);
  }
  ~FormWindow() override {
    if (!window_) return;
    UnregisterSdlWindow(window_);
    SDL_DestroyWindow(window_);
  }

  bool Opened() const { return window_ != nullptr; }

  void Update() {
    if (!window_) return;
    SDL_SetWindowTitle(window_, form_.Caption.c_str());
    SDL_SetWindowSize(window_, form_.ClientWidth(), form_.ClientHeight());
    shown_.clear();
  }

  void Present() {
    if (!window_) return;
    std::vector<ShownImage> now = VisibleImages();
    if (now == shown_ && frame_.Width() == form_.ClientWidth() &&
        frame_.Height() == form_.ClientHeight())
      return;
    Compose();
    PutBitmapOnWindow(window_, frame_);
    shown_ = std::move(now);
  }

  void HandleEvent(const SDL_Event& event) override {
    if (event.type == SDL_WINDOWEVENT) return HandleWindowEvent(event.window);
    if (event.type == SDL_MOUSEBUTTONDOWN && !InnermostSdlDialog()) Press(event.button);
  }

 private:
  void HandleWindowEvent(const SDL_WindowEvent& event) {
    if (event.event == SDL_WINDOWEVENT_CLOSE && !InnermostSdlDialog())
      PostMessageA(form_.Handle(), WM_CLOSE, 0, 0);
    if (event.event == SDL_WINDOWEVENT_EXPOSED || event.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
      shown_.clear();
      Present();
    }
  }

  void Press(const SDL_MouseButtonEvent& event) {
    static const std::map<Uint8, std::uint32_t> kMessages{{SDL_BUTTON_LEFT, WM_LBUTTONDOWN},
                                                          {SDL_BUTTON_RIGHT, WM_RBUTTONDOWN},
                                                          {SDL_BUTTON_MIDDLE, WM_MBUTTONDOWN}};
    auto message = kMessages.find(event.button);
    if (message == kMessages.end()) return;
    PostMessageA(form_.Handle(), message->second, HeldKeys(), MakeMousePos(event.x, event.y));
  }

  static WPARAM HeldKeys() {
    WPARAM keys = 0;
    Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
    if (buttons & SDL_BUTTON_LMASK) keys |= MK_LBUTTON;
    if (buttons & SDL_BUTTON_RMASK) keys |= MK_RBUTTON;
    if (buttons & SDL_BUTTON_MMASK) keys |= MK_MBUTTON;
    SDL_Keymod mod = SDL_GetModState();
    if (mod & KMOD_SHIFT) keys |= MK_SHIFT;
    if (mod & KMOD_CTRL) keys |= MK_CONTROL;
    if (mod & KMOD_ALT) keys |= MK_ALT;
    return keys;
  }

  // Images that lie (partly) on the client area; the others are picture
  // stores the player never sees.
  std::vector<ShownImage> VisibleImages() const {
    std::vector<ShownImage> images;
    for (TControl* control : form_.Controls()) {
      auto* image = dynamic_cast<TImage*>(control);
      if (!image || !image->Visible()) continue;
      if (image->Left() >= form_.ClientWidth() || image->Top() >= form_.ClientHeight() ||
          image->Left() + image->Width() <= 0 || image->Top() + image->Height() <= 0)
        continue;
      images.push_back({image, image->Picture().Version(), image->Left(), image->Top(),
                        image->Width(), image->Height()});
    }
    return images;
  }

  void Compose() {
    frame_.SetSize(form_.ClientWidth(), form_.ClientHeight());
    for (int y = 0; y < frame_.Height(); ++y)
      std::fill(frame_.Row(y), frame_.Row(y) + frame_.Width(), form_.Color);
    for (const ShownImage& shown : VisibleImages()) DrawImage(*shown.image);
  }

  // The picture sits at the image's top-left corner, cut to the image's
  // bounds and to the client area.
  void DrawImage(const TImage& image) {
    const TBitmap& picture = image.Picture();
    int width = std::min(picture.Width(), image.Width());
    int height = std::min(picture.Height(), image.Height());
    for (int y = std::max(0, -image.Top()); y < height; ++y) {
      int frameY = image.Top() + y;
      if (frameY >= frame_.Height()) break;
      for (int x = std::max(0, -image.Left()); x < width; ++x) {
        int frameX = image.Left() + x;
        if (frameX >= frame_.Width()) break;
        frame_.Row(frameY)[frameX] = picture.Row(y)[x];
      }
    }
  }

  TForm& form_;
  SDL_Window* window_ = nullptr;
  TBitmap frame_;
  std::vector<ShownImage> shown_;
};

std::map<TForm*, std::unique_ptr<FormWindow>>& Windows() {
  static std::map<TForm*, std::unique_ptr<FormWindow>> windows;
  return windows;
}

FormWindow* WindowOf(TForm& form) {
  auto found = Windows().find(&form);
  return found == Windows().end() ? nullptr : found->second.get();
}

void ShowForm(TForm& form) {
  auto window = std::make_unique<FormWindow>(form);
  if (!window->Opened()) throw Exception(std::string("Cannot open a window: ") + SDL_GetError());
  Windows()[&form] = std::move(window);
}
void HideForm(TForm& form) {
  Windows().erase(&form);
}
void UpdateForm(TForm& form) {
  if (FormWindow* window = WindowOf(form)) window->Update();
}
void PresentForm(TForm& form) {
  if (FormWindow* window = WindowOf(form)) window->Present();
}

}  // namespace

void UseSdlScreen() {
  SetScreenOps({ShowForm, HideForm, UpdateForm, PresentForm});
}
