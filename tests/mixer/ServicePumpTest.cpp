#include "MixerFixture.h"
#include "platform/MessageLoop.h"
#include "platform/Messages.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

struct Notice {
  HWND window;
  std::uint32_t message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Notice> notices;

LRESULT Record(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  notices.push_back({window, message, wParam, lParam});
  return 0;
}

class ServicePumpTest : public MixerTest {
 protected:
  void SetUp() override {
    MixerTest::SetUp();
    notices.clear();
  }
  int QueuedInDevice() const {
    int count = 0;
    for (MixBlock* b = MixerUnit.InDeviceHead; b != nullptr; b = b->NextInDevice) ++count;
    return count;
  }
};

TEST_F(ServicePumpTest, KeepsExactlyBlockCountBlocksInTheDevice) {
  WriteIni("[default]\nWaveBlocks=4\n");
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelSingle);
  std::vector<std::uint8_t> wave = Ramp(40000, 0);
  Queue(0, wave, 0, 39999);
  MixerActivate(s, true);
  EXPECT_EQ(QueuedInDevice(), 4);
  for (int round = 0; round < 6; ++round) {
    PlayAndDispatch(2048);
    EXPECT_EQ(QueuedInDevice(), 4);
    EXPECT_EQ(VirtualWaveOutQueuedBlocks(), 4u);
  }
  EXPECT_EQ(VirtualWaveOutPlayed(),
            std::vector<std::uint8_t>(wave.begin(), wave.begin() + 6 * 2048));
  EXPECT_EQ(s->MixPosition, 10 * 2048);
}

TEST_F(ServicePumpTest, HeardPlaysAreRetiredAndTheirWindowTold) {
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelAll);
  HWND notify = CreateWindowWithProc(Record);
  auto* waveHandle = reinterpret_cast<MixWave*>(0x5150);
  Queue(3, Bytes(1000, 90), 0, 999, 0, notify, waveHandle);
  Queue(5, Bytes(3000, 70), 0, 2999, 0, nullptr, nullptr);
  MixerActivate(s, true);
  // One block heard: past the first play's end, not yet the second's.
  PlayAndDispatch(2048);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].window, notify);
  EXPECT_EQ(notices[0].message, MM_WOM_DONE);
  EXPECT_EQ(notices[0].wParam, 3u);
  EXPECT_EQ(notices[0].lParam, reinterpret_cast<LPARAM>(waveHandle));
  EXPECT_EQ(s->ChannelQueue[3], nullptr);
  EXPECT_NE(s->ChannelQueue[5], nullptr);
  PlayAndDispatch(2048);
  EXPECT_EQ(s->ChannelQueue[5], nullptr);  // retired without a window to tell
  EXPECT_EQ(notices.size(), 1u);
}

TEST_F(ServicePumpTest, RetiresOnlyWhatTheDeviceHasPlayedWhateverTheTimeSays) {
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelSingle);
  HWND notify = CreateWindowWithProc(Record);
  Queue(0, Bytes(500, 90), 0, 499, 0, notify);
  MixerActivate(s, true);
  s->GoodWavePos = 0;  // the time clock is for starting plays, never for retiring them
  VirtualWaveOutPlay(498);
  MixerService();
  ProcessMessages();
  EXPECT_TRUE(notices.empty());
  VirtualWaveOutPlay(1);
  MixerService();
  ProcessMessages();
  EXPECT_EQ(notices.size(), 1u);
}

TEST_F(ServicePumpTest, NoticeWithoutAnActiveSessionDoesNothing) {
  EXPECT_EQ(CallbackWindowProc(nullptr, MM_WOM_DONE, 0, 0), 0);
  EXPECT_EQ(MixerUnit.CurrentSession, nullptr);
  MixSession* s = MixerInit();
  EXPECT_EQ(CallbackWindowProc(nullptr, MM_WOM_DONE, 0, 0), 0);
  EXPECT_EQ(MixerUnit.CurrentSession, nullptr);  // the pump works on the active session only
  MixerUnit.CurrentSession = s;
}

TEST_F(ServicePumpTest, RefusedWriteInTheWindowProcedureIsContained) {
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelSingle);
  Queue(0, Bytes(20000, 33), 0, 19999);
  MixerActivate(s, true);
  VirtualWaveOutFail(VirtualWaveCall::Write, 5);
  PlayAndDispatch(2048);  // the pump's write is refused inside message dispatch
  EXPECT_EQ(QueuedInDevice(), 2);
  VirtualWaveOutFail(VirtualWaveCall::Write, 0);
  PlayAndDispatch(2048);
  EXPECT_EQ(QueuedInDevice(), 3);
}

}  // namespace
