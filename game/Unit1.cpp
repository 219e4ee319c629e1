#include "game/Unit1.h"

#include "platform/Exception.h"
#include "platform/Resources.h"

TForm1* Form1 = nullptr;

namespace {

class EResNotFound : public Exception {
 public:
  using Exception::Exception;
};

// The six pictures kept with the window's design are compiled into the
// executable as BITMAP resources.
void LoadEmbeddedPicture(TImage* image, const char* name) {
  HRSRC resource = FindResourceA(HInstance, name, "BITMAP");
  const void* bytes = LockResource(LoadResource(HInstance, resource));
  if (!bytes) throw EResNotFound(std::string("Resource ") + name + " not found");
  image->Picture().LoadFromMemory(bytes, SizeofResource(HInstance, resource));
}

TImage* NewImage(TForm1* form, const char* name, int left, int top, int width, int height) {
  auto* image = new TImage(form);
  image->Name = name;
  image->SetBounds(left, top, width, height);
  image->AutoSize = true;
  return image;
}

TButton* NewButton(TForm1* form, const char* name, const char* caption, int top) {
  auto* button = new TButton(form);
  button->Name = name;
  button->Caption = caption;
  button->SetBounds(404, top, 81, 29);
  return button;
}

TTimer* NewTimer(TForm1* form, const char* name, std::uint32_t interval, bool enabled) {
  auto* timer = new TTimer(form);
  timer->Name = name;
  timer->SetEnabled(enabled);
  timer->SetInterval(interval);
  return timer;
}

}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  Name = "Form1";
  Caption = "モフロンちゃんのさがしっこ？";
  BorderStyle = bsDialog;
  Position = poScreenCenter;
  SetClientSize(402, 303);
  CreateComponents();
  WireEvents();
}

// In design order. The picture stores lie right of the client area, where
// the player never sees them.
void TForm1::CreateComponents() {
  cg = NewImage(this, "cg", 0, 0, 400, 300);
  bak = NewImage(this, "bak", 496, 0, 400, 300);
  // Both are 400 x 300 bitmaps from the start, so that a game shows its
  // pictures even when start-up stopped before the title picture came.
  cg->Picture().SetSize(400, 300);
  bak->Picture().SetSize(400, 300);
  nomal2 = NewImage(this, "nomal2", 496, 312, 200, 300);
  nomal3 = NewImage(this, "nomal3", 704, 312, 200, 300);
  title = NewImage(this, "title", 496, 624, 262, 61);
  LoadEmbeddedPicture(title, "TITLE");
  great = NewImage(this, "great", 912, 0, 400, 300);
  LoadEmbeddedPicture(great, "GREAT");
  cry = NewImage(this, "cry", 912, 312, 400, 300);
  LoadEmbeddedPicture(cry, "CRY");
  lv1 = NewImage(this, "lv1", 1320, 0, 400, 300);
  LoadEmbeddedPicture(lv1, "LV1");
  lv2 = NewImage(this, "lv2", 1320, 312, 400, 300);
  LoadEmbeddedPicture(lv2, "LV2");
  ending = NewImage(this, "ending", 1728, 0, 400, 300);
  LoadEmbeddedPicture(ending, "ENDING");
  mid_p = new TMediaPlayer(this);
  mid_p->Name = "mid_p";
  Button1 = NewButton(this, "Button1", "start", 124);
  Button1->TabStop = false;
  Button2 = NewButton(this, "Button2", "初期化", 184);
  Button2->TabOrder = 3;
  // The device and the channels are taken as the window is built: an error
  // here ends the program before any window is shown.
  Mixer1 = new TMixer(this);
  Mixer1->Name = "Mixer1";
  Mixer1->SetActivated(true);
  Mixer1->SetChannels(3);
  Timer1 = NewTimer(this, "Timer1", 20, false);
  Timer2 = NewTimer(this, "Timer2", 20, true);
  Timer3 = NewTimer(this, "Timer3", 1000, false);
}

void TForm1::WireEvents() {
  OnCreate = [this](TObject* sender) { FormCreate(sender); };
  OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
  OnDestroy = [this](TObject* sender) { FormDestroy(sender); };
  cg->OnMouseDown = [this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
    cgMouseDown(sender, button, shift, x, y);
  };
  Timer1->OnTimer = [this] { Timer1Timer(Timer1); };
  Timer2->OnTimer = [this] { Timer2Timer(Timer2); };
  Timer3->OnTimer = [this] { Timer3Timer(Timer3); };
  Button1->OnClick = [this](TObject* sender) { Button1Click(sender); };
  Button2->OnClick = [this](TObject* sender) { Button2Click(sender); };
}
