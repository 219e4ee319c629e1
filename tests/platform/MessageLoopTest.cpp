#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/MessageLoop.h"
#include "platform/Messages.h"
#include "platform/Timer.h"
#include "platform/virtual/Virtual.h"
#include "platform/virtual/VirtualEvents.h"

namespace {

struct Received {
  HWND window;
  std::uint32_t message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Received> received;

LRESULT Record(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  received.push_back({window, message, wParam, lParam});
  return 0;
}

class MessageLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseVirtualBackend();
    ResetWindowsForTests();
    VirtualSetTime(0);
    received.clear();
  }
};

TEST_F(MessageLoopTest, PostedMessagesReachTheirWindowInOrder) {
  ASSERT_TRUE(RegisterClassA("Probe", Record));
  HWND a = CreateWindowExA("Probe");
  HWND b = CreateWindowWithProc(Record);
  ASSERT_TRUE(PostMessageA(a, MM_WOM_DONE, 3, 77));
  ASSERT_TRUE(PostMessageA(b, 12, 1, -1));
  EXPECT_EQ(ProcessMessages(), 2);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].window, a);
  EXPECT_EQ(received[0].wParam, 3u);
  EXPECT_EQ(received[0].lParam, 77);
  EXPECT_EQ(received[1].window, b);
}

TEST_F(MessageLoopTest, ClassRegisteredTwiceReportsAlreadyExists) {
  ASSERT_TRUE(RegisterClassA("Twice", Record));
  EXPECT_FALSE(RegisterClassA("Twice", Record));
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
  EXPECT_EQ(CreateWindowExA("Unknown"), nullptr);
}

TEST_F(MessageLoopTest, DestroyingAWindowDropsItsPendingMessages) {
  HWND gone = CreateWindowWithProc(Record);
  HWND kept = CreateWindowWithProc(Record);
  PostMessageA(gone, 1, 0, 0);
  PostMessageA(kept, 2, 0, 0);
  ASSERT_TRUE(DestroyWindow(gone));
  EXPECT_FALSE(IsWindow(gone));
  EXPECT_FALSE(PostMessageA(gone, 3, 0, 0));
  ProcessMessages();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, 2u);
}

TEST_F(MessageLoopTest, MessagePostedFromAnotherThreadArrives) {
  HWND window = CreateWindowWithProc(Record);
  std::thread poster([window] { PostMessageA(window, MM_WOM_DONE, 0, 42); });
  poster.join();
  ProcessMessages();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].lParam, 42);
}

TEST_F(MessageLoopTest, TimerTicksAtItsIntervalAndNeverQueuesTwice) {
  TTimer timer;
  timer.SetInterval(20);
  int ticks = 0;
  timer.OnTimer = [&ticks] { ++ticks; };
  VirtualAdvance(100);
  EXPECT_EQ(ticks, 5);
  // The clock jumps far ahead without the loop running: one tick, not many.
  VirtualSetTime(1000);
  ProcessMessages();
  EXPECT_EQ(ticks, 6);
  ProcessMessages();
  EXPECT_EQ(ticks, 6);
  timer.SetEnabled(false);
  VirtualAdvance(200);
  EXPECT_EQ(ticks, 6);
}

}  // namespace
