#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "FileBytes.h"
#include "game/Unit1.h"
#include "platform/Application.h"
#include "platform/MessageLoop.h"
#include "platform/Module.h"
#include "platform/Random.h"
#include "platform/virtual/Virtual.h"
#include "platform/virtual/VirtualEvents.h"
#include "platform/virtual/VirtualScreen.h"

namespace fs = std::filesystem;

namespace {

const char* kFarewell = "おねしょしちゃってごめんね";
const char* kTitle = "モフロンちゃん";

fs::path TestData() {
  return fs::path(std::getenv("MOFRON_TEST_DATA")) / "game" / "data";
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

// The designed 400 x 300 picture area before anything was drawn on it.
bool BlankPicture(const TBitmap& picture) {
  if (picture.Width() != 400 || picture.Height() != 300) return false;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x)
      if (picture.Pixel(x, y) != RGB(255, 255, 255)) return false;
  return true;
}

// A folder laid out like the one beside the executable.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application.ResetForTests();
    UseVirtualBackend();
    ResetWindowsForTests();
    ResetVirtualScreen();
    ResetGameState();
    VirtualSetTime(4321);
    RandSeed = 0;
    folder_ =
        fs::temp_directory_path() /
        ("mofron-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "cg");
    fs::create_directories(folder_ / "dat");
    fs::copy_file(TestData() / "start.bmp", folder_ / "cg" / "start.bmp");
    WriteBytes(ScorePath(), "Mofron\r\n9\r\n0\r\n5\r\n6\r\n");
    SetExeFolder(folder_.string());
    Application.Initialize();
    Application.Title = kTitle;
  }
  void TearDown() override {
    Application.ResetForTests();
    Form1 = nullptr;
    fs::remove_all(folder_);
  }

  fs::path ScorePath() const { return folder_ / "dat" / "my.dat"; }

  void StartUp() {
    Application.CreateForm(Form1);
    ASSERT_NE(Form1, nullptr);
    Form1->Show();
  }

  fs::path folder_;
};

TEST_F(StartupTest, StartUpReadsTheScoreShowsTheTitlePictureAndSizesTheWindow) {
  StartUp();
  EXPECT_TRUE(VirtualDialogs().empty());
  EXPECT_EQ(Form1->Caption, "モフロンちゃんのさがしっこ？");
  EXPECT_EQ(RandSeed, 4321u) << "seeded from the clock";
  EXPECT_EQ(my.name, "Mofron");
  EXPECT_EQ(my.hi, 9);
  EXPECT_EQ(my.flag, 1);
  EXPECT_EQ(my.score, 0);
  EXPECT_EQ(my.miss, 0);
  TBitmap start;
  start.LoadFromFile((folder_ / "cg" / "start.bmp").string());
  EXPECT_TRUE(SamePixels(Form1->cg->Picture(), start));
  EXPECT_TRUE(SamePixels(Form1->bak->Picture(), start));
  EXPECT_NE(&Form1->cg->Picture(), &Form1->bak->Picture());
  EXPECT_EQ(Form1->Width(), 409);
  EXPECT_EQ(Form1->Height(), 329);
  EXPECT_GE(Form1->ClientWidth(), 400);
  EXPECT_GE(Form1->ClientHeight(), 300);
}

TEST_F(StartupTest, WindowHoldsItsComponentsAsDesigned) {
  StartUp();
  const char* order[] = {"cg",      "bak",    "nomal2", "nomal3", "title", "great",
                         "cry",     "lv1",    "lv2",    "ending", "mid_p", "Button1",
                         "Button2", "Mixer1", "Timer1", "Timer2", "Timer3"};
  ASSERT_EQ(Form1->ComponentCount(), 17);
  for (int i = 0; i < 17; ++i) EXPECT_EQ(Form1->Components(i)->Name, order[i]);
  // The mixer holds the device and channels 0 and 1 before FormCreate runs.
  EXPECT_TRUE(Form1->Mixer1->Activated());
  EXPECT_EQ(Form1->Mixer1->Channels(), 3);
  EXPECT_EQ(Form1->title->Width(), 262);
  EXPECT_EQ(Form1->title->Height(), 61);
  for (TImage* image : {Form1->great, Form1->cry, Form1->lv1, Form1->lv2, Form1->ending}) {
    EXPECT_EQ(image->Picture().Width(), 400) << image->Name;
    EXPECT_EQ(image->Picture().Height(), 300) << image->Name;
  }
  EXPECT_EQ(Form1->Button1->Caption, "start");
  EXPECT_EQ(Form1->Button2->Caption, "初期化");
  EXPECT_GE(Form1->Button1->Left(), Form1->ClientWidth()) << "buttons lie outside the picture";
  EXPECT_FALSE(Form1->Timer1->Enabled());
  EXPECT_TRUE(Form1->Timer2->Enabled());
  EXPECT_FALSE(Form1->Timer3->Enabled());
  EXPECT_EQ(Form1->Timer1->Interval(), 20u);
  EXPECT_EQ(Form1->Timer2->Interval(), 20u);
  EXPECT_EQ(Form1->Timer3->Interval(), 1000u);
  // Only cg lies on the client area: presses there are cg's.
  EXPECT_EQ(Form1->ControlAt(10, 10), Form1->cg);
  EXPECT_EQ(Form1->ControlAt(Form1->ClientWidth() - 1, 10), nullptr);
}

struct FailureCase {
  const char* label;
  const char* score;    // my.dat contents, or null for none
  const char* picture;  // start.bmp contents, or null to keep the good one
  tmy expected;         // my after start-up
  bool pictureLoaded;
};

// The steps run in order and the first failure ends them: what ran before it
// shows, nothing after it does, and the window opens all the same.
TEST_F(StartupTest, FailureEndsStartUpAtItsStepAndIsReported) {
  const FailureCase cases[] = {
      {"score file missing", nullptr, nullptr, {"", 0, 0, 0, 0}, false},
      {"number does not parse", "Name\r\n8\r\nx\r\n", nullptr, {"Name", 8, 0, 0, 0}, false},
      {"title picture missing", "Name\r\n8\r\n0\r\n5\r\n6\r\n", "", {"Name", 8, 0, 5, 6}, false},
      {"title picture unreadable",
       "Name\r\n8\r\n0\r\n5\r\n6\r\n",
       "BMnot a picture",
       {"Name", 8, 0, 5, 6},
       false},
  };
  for (const FailureCase& c : cases) {
    SetUp();
    fs::remove(ScorePath());
    if (c.score) WriteBytes(ScorePath(), c.score);
    if (c.picture && !*c.picture) fs::remove(folder_ / "cg" / "start.bmp");
    if (c.picture && *c.picture) WriteBytes(folder_ / "cg" / "start.bmp", c.picture);
    StartUp();
    ASSERT_EQ(VirtualDialogs().size(), 1u) << c.label;
    EXPECT_EQ(VirtualDialogs()[0].kind, TDialogKind::Error) << c.label;
    EXPECT_EQ(VirtualDialogs()[0].caption, kTitle) << c.label;
    EXPECT_EQ(RandSeed, 4321u) << c.label;
    EXPECT_EQ(my.name, c.expected.name) << c.label;
    EXPECT_EQ(my.hi, c.expected.hi) << c.label;
    EXPECT_EQ(my.flag, c.expected.flag) << c.label;
    EXPECT_EQ(my.score, c.expected.score) << c.label;
    EXPECT_EQ(my.miss, c.expected.miss) << c.label;
    EXPECT_TRUE(BlankPicture(Form1->cg->Picture())) << c.label << ": no title picture";
    EXPECT_TRUE(BlankPicture(Form1->bak->Picture())) << c.label;
    EXPECT_EQ(Form1->Width(), 408) << c.label << ": designed size kept";
    EXPECT_EQ(Form1->Height(), 328) << c.label;
    EXPECT_TRUE(VirtualMainFormShown()) << c.label;
    TearDown();
  }
}

TEST_F(StartupTest, ClosingWritesTheScoreFileAndBidsFarewell) {
  StartUp();
  my.score = 3;
  my.miss = 2;
  VirtualCloseRequest();
  EXPECT_EQ(ReadBytes(ScorePath()), "Mofron\r\n9\r\n1\r\n3\r\n2\r\n");
  ASSERT_EQ(VirtualDialogs().size(), 1u);
  EXPECT_EQ(VirtualDialogs()[0].kind, TDialogKind::Message);
  EXPECT_EQ(VirtualDialogs()[0].caption, kTitle);
  EXPECT_EQ(VirtualDialogs()[0].text, kFarewell);
  EXPECT_FALSE(VirtualMainFormShown());
  EXPECT_TRUE(Application.Terminated());
}

TEST_F(StartupTest, ClosingAfterAMissingScoreFileWritesAFreshOne) {
  fs::remove(ScorePath());
  StartUp();
  VirtualCloseRequest();
  EXPECT_EQ(ReadBytes(ScorePath()), "\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST_F(StartupTest, ScoreFileThatCannotBeWrittenIsReportedKeptAndTheWindowCloses) {
  StartUp();
  const std::string old = ReadBytes(ScorePath());
  fs::create_directory(ScorePath().string() + ".new");
  my.hi = 50;
  VirtualCloseRequest();
  ASSERT_EQ(VirtualDialogs().size(), 1u) << "the error, and no farewell";
  EXPECT_EQ(VirtualDialogs()[0].kind, TDialogKind::Error);
  EXPECT_EQ(VirtualDialogs()[0].caption, kTitle);
  EXPECT_EQ(ReadBytes(ScorePath()), old);
  EXPECT_FALSE(VirtualMainFormShown());
  EXPECT_TRUE(Application.Terminated());
}

TEST_F(StartupTest, TitlePictureKeepsChangingWhileTheFarewellIsUp) {
  StartUp();
  int ticks = 0;
  Form1->Timer2->OnTimer = [&ticks] { ++ticks; };
  SetVirtualDialogHandler([](const VirtualDialog&) { VirtualAdvance(200); });
  VirtualCloseRequest();
  EXPECT_EQ(ticks, 10);
}

}  // namespace

namespace {

TEST_F(StartupTest, AGameIsSeenEvenWhenStartUpStoppedBeforeTheTitlePicture) {
  fs::remove(ScorePath());
  for (int n = 1; n <= 9; ++n)
    for (const char* suffix : {"", "a"})
      fs::copy_file(TestData() / "start.bmp",
                    folder_ / "cg" / (std::to_string(n) + suffix + ".bmp"));
  StartUp();
  ASSERT_EQ(VirtualDialogs().size(), 1u);
  VirtualMouseDown(10, 10, mbLeft);
  VirtualAdvance(20 * 12);  // the pair has wiped in
  const TBitmap& screen = Form1->cg->Picture();
  ASSERT_EQ(screen.Width(), 400);
  ASSERT_EQ(screen.Height(), 300);
  int drawn = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) drawn += screen.Pixel(x, y) != RGB(255, 255, 255);
  EXPECT_GT(drawn, 400 * 300 / 2);
}

}  // namespace
