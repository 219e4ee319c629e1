#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Button.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/Image.h"
#include "platform/MessageLoop.h"
#include "platform/Timer.h"
#include "platform/WindowMessages.h"
#include "platform/virtual/Virtual.h"
#include "platform/virtual/VirtualEvents.h"
#include "platform/virtual/VirtualScreen.h"

namespace {

struct Press {
  TObject* sender;
  TMouseButton button;
  TShiftState shift;
  int x, y;
};

// What the test form does and what happened to it.
struct Script {
  bool failConstruction = false;
  bool failCreate = false;
  bool failClose = false;
  std::vector<std::string> events;
  std::vector<Press> presses;
  int ticks = 0;
};
Script script;

class TestForm : public TForm {
 public:
  explicit TestForm(TComponent* owner) : TForm(owner) {
    SetClientSize(402, 303);
    picture = new TImage(this);
    picture->SetBounds(0, 0, 400, 300);
    picture->OnMouseDown = [](TObject* sender, TMouseButton button, TShiftState shift, int x,
                              int y) {
      script.presses.push_back({sender, button, shift, x, y});
    };
    store = new TImage(this);
    store->SetBounds(500, 0, 100, 100);
    timer = new TTimer(this);
    timer->SetInterval(20);
    timer->OnTimer = [] { ++script.ticks; };
    if (script.failConstruction) throw Exception("No wave output devices available");
    OnCreate = [](TObject*) {
      script.events.push_back("create");
      if (script.failCreate) throw EInOutError("File not found");
      script.events.push_back("create done");
    };
    OnClose = [](TObject*, TCloseAction&) {
      script.events.push_back("close");
      if (script.failClose) throw EInOutError("Cannot write");
    };
    OnDestroy = [](TObject*) { script.events.push_back("destroy"); };
  }
  TImage* picture;
  TImage* store;
  TTimer* timer;
};

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application.ResetForTests();
    UseVirtualBackend();
    ResetWindowsForTests();
    ResetVirtualScreen();
    VirtualSetTime(0);
    Application.Initialize();
    Application.Title = "App";
    script = Script{};
  }
  void TearDown() override { Application.ResetForTests(); }

  TestForm* CreateShownForm() {
    TestForm* form = nullptr;
    Application.CreateForm(form);
    form->Show();
    return form;
  }
};

TEST_F(FormTest, OuterSizeSetAtStartUpLeavesAtLeastThePictureArea) {
  TestForm* form = CreateShownForm();
  form->SetWidth(409);
  form->SetHeight(329);
  EXPECT_EQ(form->Width(), 409);
  EXPECT_EQ(form->Height(), 329);
  EXPECT_GE(form->ClientWidth(), 400);
  EXPECT_GE(form->ClientHeight(), 300);
  // The buttons' column at x = 404 stays outside.
  EXPECT_LT(form->ClientWidth(), 404);
}

TEST_F(FormTest, ErrorInCreateEventIsReportedAndTheFormStillRuns) {
  script.failCreate = true;
  TestForm* form = nullptr;
  Application.CreateForm(form);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Application.MainForm(), form);
  EXPECT_EQ(script.events, (std::vector<std::string>{"create"}));
  ASSERT_EQ(VirtualDialogs().size(), 1u);
  EXPECT_EQ(VirtualDialogs()[0].kind, TDialogKind::Error);
  EXPECT_EQ(VirtualDialogs()[0].caption, "App");
  EXPECT_EQ(VirtualDialogs()[0].text, "File not found.");

  // Run shows the form, dispatches until the close request ends it, then
  // destroys the form.
  PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
  Application.Run();
  EXPECT_TRUE(Application.Terminated());
  EXPECT_EQ(script.events, (std::vector<std::string>{"create", "close", "destroy"}));
  EXPECT_EQ(Application.MainForm(), nullptr);
}

TEST_F(FormTest, ErrorWhileBuildingTheFormLeavesNothingBehind) {
  script.failConstruction = true;
  TestForm* form = nullptr;
  EXPECT_THROW(Application.CreateForm(form), Exception);
  EXPECT_EQ(form, nullptr);
  EXPECT_EQ(Application.MainForm(), nullptr);
  EXPECT_EQ(Application.ComponentCount(), 0);
  EXPECT_TRUE(script.events.empty());
  EXPECT_TRUE(VirtualDialogs().empty());
}

TEST_F(FormTest, EveryMouseButtonReachesTheImageUnderIt) {
  TestForm* form = CreateShownForm();
  VirtualMouseDown(10, 20, mbLeft);
  VirtualMouseDown(399, 299, mbRight, ssShift);
  VirtualMouseDown(200, 100, mbMiddle);
  VirtualMouseDown(401, 10, mbLeft);  // client area, but no control there
  VirtualMouseDown(450, 10, mbLeft);  // beyond the client area
  VirtualMouseDown(-1, 10, mbLeft);
  ASSERT_EQ(script.presses.size(), 3u);
  EXPECT_EQ(script.presses[0].sender, form->picture);
  EXPECT_EQ(script.presses[0].button, mbLeft);
  EXPECT_EQ(script.presses[0].x, 10);
  EXPECT_EQ(script.presses[0].y, 20);
  EXPECT_TRUE(script.presses[0].shift & ssLeft);
  EXPECT_EQ(script.presses[1].button, mbRight);
  EXPECT_EQ(script.presses[1].x, 399);
  EXPECT_EQ(script.presses[1].y, 299);
  EXPECT_EQ(script.presses[1].shift, ssShift | ssRight);
  EXPECT_EQ(script.presses[2].button, mbMiddle);
}

TEST_F(FormTest, CloseRequestRunsTheCloseEventAndEndsTheApplication) {
  TestForm* form = CreateShownForm();
  VirtualCloseRequest();
  EXPECT_EQ(script.events, (std::vector<std::string>{"create", "create done", "close"}));
  EXPECT_FALSE(form->Showing());
  EXPECT_TRUE(Application.Terminated());
  VirtualCloseRequest();  // the window is gone: nothing more happens
  EXPECT_EQ(script.events.size(), 3u);
  Application.DestroyForms();
  EXPECT_EQ(script.events.back(), "destroy");
}

TEST_F(FormTest, ErrorInCloseEventIsReportedAndTheFormClosesAnyway) {
  script.failClose = true;
  TestForm* form = CreateShownForm();
  form->Close();
  ASSERT_EQ(VirtualDialogs().size(), 1u);
  EXPECT_EQ(VirtualDialogs()[0].text, "Cannot write.");
  EXPECT_FALSE(form->Showing());
  EXPECT_TRUE(Application.Terminated());
}

TEST_F(FormTest, TimersAndPostedMessagesGoOnWhileADialogIsUp) {
  TestForm* form = CreateShownForm();
  auto* button = new TButton(form);
  int received = 0;
  button->OnMessage = [&received](std::uint32_t message, WPARAM, LPARAM lParam) {
    if (message == MM_WOM_DONE) received += static_cast<int>(lParam);
  };
  int ticksWhenAsked = -1;
  bool openWhileAsked = false;
  SetVirtualDialogHandler([&](const VirtualDialog&) {
    openWhileAsked = VirtualDialogOpen();
    PostMessageA(button->Handle(), MM_WOM_DONE, 0, 7);
    VirtualMouseDown(10, 10, mbLeft);  // the form takes no input meanwhile
    VirtualAdvance(100);
    ticksWhenAsked = script.ticks;
  });
  ShowMessage("Hello");
  EXPECT_TRUE(openWhileAsked);
  EXPECT_EQ(ticksWhenAsked, 5);
  EXPECT_EQ(received, 7);
  EXPECT_TRUE(script.presses.empty());
  EXPECT_FALSE(VirtualDialogOpen());
  ASSERT_EQ(VirtualDialogs().size(), 1u);
  EXPECT_EQ(VirtualDialogs()[0].kind, TDialogKind::Message);
  EXPECT_EQ(VirtualDialogs()[0].caption, "App");
  EXPECT_EQ(VirtualDialogs()[0].text, "Hello");
}

TEST_F(FormTest, WindowedControlGetsAHandleThatGoesWithIt) {
  TestForm* form = CreateShownForm();
  auto* button = new TButton(form);
  EXPECT_FALSE(button->HandleAllocated());
  HWND handle = button->Handle();
  EXPECT_TRUE(IsWindow(handle));
  EXPECT_EQ(button->Handle(), handle);
  FreeComponent(button);
  EXPECT_FALSE(IsWindow(handle));
}

TEST(ExceptionTextTest, EndsWithAFullStopUnlessPunctuated) {
  const std::pair<const char*, const char*> cases[] = {
      {"File not found", "File not found."},
      {"Done.", "Done."},
      {"Oops!", "Oops!"},
      {"", ""},
      {"おねしょ", "おねしょ"},
  };
  for (auto [message, shown] : cases) EXPECT_EQ(ExceptionText(Exception(message)), shown);
}

}  // namespace

namespace {

TEST_F(FormTest, ErrorLetThroughByAHandlerIsReportedAndTheLoopGoesOn) {
  TestForm* form = nullptr;
  Application.CreateForm(form);
  auto* button = new TButton(form);
  button->OnMessage = [](std::uint32_t message, WPARAM, LPARAM) {
    if (message == MM_WOM_DONE) throw EInOutError("Disk full");
  };
  PostMessageA(button->Handle(), MM_WOM_DONE, 0, 0);
  PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
  Application.Run();
  ASSERT_EQ(VirtualDialogs().size(), 1u);
  EXPECT_EQ(VirtualDialogs()[0].kind, TDialogKind::Error);
  EXPECT_EQ(VirtualDialogs()[0].text, "Disk full.");
  EXPECT_EQ(script.events.back(), "destroy") << "the close request after it was still served";
}

}  // namespace
