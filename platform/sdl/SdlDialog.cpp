#include <cstdio>
#include <sstream>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Graphics.h"
#include "platform/sdl/SdlWindows.h"

namespace {

constexpr int kMargin = 16;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kIconSize = 32;
constexpr TColor kFace = RGB(240, 240, 240);

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  if (lines.empty()) lines.emplace_back();
  return lines;
}

void FillRect(TBitmap& bitmap, const TRect& rect, TColor color) {
  for (int y = std::max(rect.Top, 0); y < std::min(rect.Bottom, bitmap.Height()); ++y)
    for (int x = std::max(rect.Left, 0); x < std::min(rect.Right, bitmap.Width()); ++x)
      bitmap.SetPixel(x, y, color);
}

// A small window of its own: the text, an OK button, and for errors a red
// mark. OK, Return, Escape and the close box all dismiss it.
class DialogWindow : public SdlWindowSink {
 public:
  DialogWindow(TDialogKind kind, const std::string& caption, const std::string& text)
      : kind_(kind), lines_(Lines(text)) {
    Layout();
    window_ = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               width_, height_, SDL_WINDOW_SHOWN);
    if (!window_) {
      // Nowhere to show it: say it on standard error and count it answered.
      std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
      dismissed_ = true;
      return;
    }
    RegisterSdlWindow(window_, this);
    PushSdlDialog(this);
    SDL_RaiseWindow(window_);
    Draw();
  }
  ~DialogWindow() override {
    if (!window_) return;
    PopSdlDialog(this);
    UnregisterSdlWindow(window_);
    SDL_DestroyWindow(window_);
  }

  bool Dismissed() const { return dismissed_; }

  void HandleEvent(const SDL_Event& event) override {
    if (event.type == SDL_KEYDOWN) {
      SDL_Keycode key = event.key.keysym.sym;
      if (key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_ESCAPE || key == SDLK_SPACE)
        dismissed_ = true;
    } else if (event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT) {
      if (OnButton(event.button.x, event.button.y)) dismissed_ = true;
    } else if (event.type == SDL_WINDOWEVENT) {
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) dismissed_ = true;
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED) PutBitmapOnWindow(window_, picture_);
    }
  }

 private:
  void Layout() {
    TCanvas& canvas = picture_.Canvas();
    canvas.Font.Size = 9;
    lineHeight_ = 16;
    int textWidth = 0;
    try {
      lineHeight_ = canvas.TextHeight("Ag");
      for (const std::string& line : lines_)
        textWidth = std::max(textWidth, canvas.TextWidth(line));
    } catch (const std::exception&) {
      fontMissing_ = true;
    }
    textLeft_ = kMargin + (kind_ == TDialogKind::Error ? kIconSize + kMargin : 0);
    int textHeight = std::max(lineHeight_ * static_cast<int>(lines_.size()),
                              kind_ == TDialogKind::Error ? kIconSize : 0);
    width_ = std::max(textLeft_ + textWidth + kMargin, kButtonWidth + 2 * kMargin + 80);
    height_ = kMargin + textHeight + kMargin + kButtonHeight + kMargin / 2 + 4;
    button_ = {(width_ - kButtonWidth) / 2, height_ - kButtonHeight - kMargin / 2 - 4, 0, 0};
    button_.Right = button_.Left + kButtonWidth;
    button_.Bottom = button_.Top + kButtonHeight;
  }

  bool OnButton(int x, int y) const {
    return x >= button_.Left && x < button_.Right && y >= button_.Top && y < button_.Bottom;
  }

  void Draw() {
    picture_.SetSize(width_, height_);
    FillRect(picture_, {0, 0, width_, height_}, kFace);
    TCanvas& canvas = picture_.Canvas();
    if (kind_ == TDialogKind::Error) {
      canvas.Brush.Color = RGB(220, 40, 40);
      canvas.Pen.Color = RGB(160, 20, 20);
      canvas.Ellipse(kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize);
    }
    FillRect(picture_, button_, RGB(173, 173, 173));
    FillRect(picture_, {button_.Left + 1, button_.Top + 1, button_.Right - 1, button_.Bottom - 1},
             RGB(225, 225, 225));
    if (!fontMissing_) DrawTexts(canvas);
    PutBitmapOnWindow(window_, picture_);
  }

  void DrawTexts(TCanvas& canvas) {
    try {
      canvas.Brush.Color = kFace;
      canvas.Font.Color = RGB(0, 0, 0);
      for (std::size_t i = 0; i < lines_.size(); ++i)
        canvas.TextOut(textLeft_, kMargin + static_cast<int>(i) * lineHeight_, lines_[i]);
      canvas.Brush.Color = RGB(225, 225, 225);
      canvas.TextOut(button_.Left + (kButtonWidth - canvas.TextWidth("OK")) / 2,
                     button_.Top + (kButtonHeight - lineHeight_) / 2, "OK");
    } catch (const std::exception&) {
      // Without a font the box still shows, and still answers.
    }
  }

  TDialogKind kind_;
  std::vector<std::string> lines_;
  SDL_Window* window_ = nullptr;
  TBitmap picture_;
  TRect button_;
  int width_ = 0, height_ = 0, textLeft_ = 0, lineHeight_ = 0;
  bool fontMissing_ = false;
  bool dismissed_ = false;
};

void* Open(TDialogKind kind, const std::string& caption, const std::string& text) {
  return new DialogWindow(kind, caption, text);
}
bool Dismissed(void* dialog) {
  return static_cast<DialogWindow*>(dialog)->Dismissed();
}
void Close(void* dialog) {
  delete static_cast<DialogWindow*>(dialog);
}

}  // namespace

void UseSdlDialogs() {
  SetDialogOps({Open, Dismissed, Close});
}
