#include "PlayFixture.h"
#include "platform/MessageLoop.h"
#include "platform/Messages.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

struct Notice {
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Notice> notices;

LRESULT Record(HWND, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (message == MM_WOM_DONE) notices.push_back({wParam, lParam});
  return 0;
}

// A busy, trusted-clock session: channel 0 plays until 19999, channel 2
// until 2999, channels 1 and 3 are idle; three blocks are in the device
// (MixPosition 6144) and 1000 bytes have been heard ("now").
class PlayStartTest : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    WriteIni("[default]\nGoodWavePos=1\n");
    notices.clear();
    s = MixerInit();
    MixerReserveChannels(s, 0, MixChannelAll);
    Queue(0, Bytes(20000, 150), 0, 19999);
    Queue(2, Bytes(3000, 160), 0, 2999);
    MixerActivate(s, true);
    VirtualWaveOutPlay(1000);
    VirtualWaveOutClearCalls();
  }
  bool Remixed() const {
    const auto& calls = VirtualWaveOutCalls();
    return std::find(calls.begin(), calls.end(), "reset") != calls.end();
  }
  MixSession* s = nullptr;
};

struct StartCase {
  const char* name;
  std::int32_t channel;
  std::uint32_t flags;
  std::int32_t start;
  bool remix;
};

const StartCase kStarts[] = {
    {"IdleQueuesAtMixPosition", 1, 0, 6144, false},
    {"BusyFollowsALaterEnd", 0, 0, 19999, false},
    {"BusyNeverBeforeMixPosition", 2, 0, 6144, false},
    {"ImmediateIdleStartsNow", 1, MixPlayImmediate, 1000, true},
    {"ImmediateBusyFollowsTheEndEvenBeforeMixPosition", 2, MixPlayImmediate, 2999, true},
    {"ImmediateBusyWithLaterEnd", 0, MixPlayImmediate, 19999, false},
    {"ReplaceStartsAtMixPosition", 0, MixPlayReplaceQueue, 6144, true},
    {"ReplaceImmediateStartsNow", 0, MixPlayReplaceQueue | MixPlayImmediate, 1000, true},
};

class StartPositionTest : public PlayStartTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartPositionTest, StartAndRemixFollowFlagsAndChannelState) {
  const StartCase& c = GetParam();
  MixPlayParams request = Request(s, c.channel, MakeWave(Bytes(500, 170)), c.flags);
  MixerPlay(&request);
  MixQueueEntry* play = Last(s, c.channel);
  EXPECT_EQ(play->Start, c.start);
  EXPECT_EQ(play->End, c.start + 499);
  EXPECT_EQ(Remixed(), c.remix);
  if (c.flags & MixPlayReplaceQueue) {
    EXPECT_EQ(s->ChannelQueue[c.channel], play);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, StartPositionTest, ::testing::ValuesIn(kStarts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayStartTest, EndPositions) {
  struct Case {
    std::int32_t length;
    std::uint16_t loops;
    std::int32_t end;
  };
  MixerReleaseChannels(s, 1, 0);
  MixerReserveChannels(s, 1, 0);
  for (Case c : {Case{500, 0, 6144 + 499}, Case{500, 2, 6144 + 1499}, Case{500, 0xFFFF, MixNever},
                 Case{1 << 30, 3, MixNever}, Case{0x7FFFFFFF, 0xFFFE, MixNever}}) {
    MixPlayParams request =
        Request(s, 1, MakeWave(Bytes(20000, 1), c.length), MixPlayReplaceQueue, c.loops);
    s->MixPosition = 6144;
    MixerPlay(&request);
    EXPECT_EQ(s->ChannelQueue[1]->End, c.end) << c.length << " x " << c.loops;
  }
}

TEST_F(PlayStartTest, HeldPlaysStartTogetherInTheOrderMade) {
  MixWave* wave = MakeWave(Bytes(500, 170));
  std::vector<std::int32_t> channels{3, 1, 2};
  for (std::int32_t channel : channels) {
    MixPlayParams request = Request(s, channel, wave, MixPlayHold | MixPlayImmediate);
    MixerPlay(&request);
  }
  EXPECT_TRUE(VirtualWaveOutCalls().empty());
  EXPECT_EQ(s->ChannelQueue[3], nullptr);
  EXPECT_EQ(Last(s, 2)->End, 2999);
  MixPlayParams fourth = Request(s, 1, wave, MixPlayImmediate);
  MixerPlay(&fourth);
  EXPECT_EQ(s->HeldPlays, nullptr);
  EXPECT_EQ(s->ChannelQueue[3]->Start, 1000);  // now
  EXPECT_EQ(s->ChannelQueue[1]->Start, 1000);  // now
  EXPECT_EQ(Last(s, 1)->Start, 1499);          // behind the held play made before it
  EXPECT_EQ(Last(s, 2)->Start, 2999);          // behind the channel's own play
}

TEST_F(PlayStartTest, HeldPlayOfAReleasedChannelOrUnloadedWaveIsDroppedUnheard) {
  HWND notify = CreateWindowWithProc(Record);
  MixWave* kept = MakeWave(Bytes(300, 170));
  MixWave* gone = MakeWave(Bytes(300, 180));
  MixPlayParams onClosed = Request(s, 3, kept, MixPlayHold, 0, notify);
  MixPlayParams ofGone = Request(s, 1, gone, MixPlayHold, 0, notify);
  MixPlayParams stays = Request(s, 1, kept, MixPlayHold, 0, notify);
  MixerPlay(&onClosed);
  MixerPlay(&ofGone);
  MixerPlay(&stays);
  MixerReleaseChannels(s, 3, 0);
  DropHeldPlaysOfWave(s, gone);
  MixPlayParams go = Request(s, 4, kept);
  MixerPlay(&go);
  EXPECT_EQ(s->ChannelQueue[3], MixChannelClosed());
  ASSERT_NE(s->ChannelQueue[1], nullptr);
  EXPECT_EQ(s->ChannelQueue[1]->Wave, kept);
  EXPECT_EQ(s->ChannelQueue[1]->Link, nullptr);
  for (int i = 0; i < 12; ++i) PlayAndDispatch(2048);
  EXPECT_EQ(notices.size(), 1u);  // only the play that was heard
}

TEST_F(PlayStartTest, NotificationContract) {
  HWND notify = CreateWindowWithProc(Record);
  MixWave* wave = MakeWave(Bytes(500, 170));
  MixPlayParams heard = Request(s, 3, wave, 0, 0, notify);
  MixPlayParams endless = Request(s, 1, wave, 0, MixLoopForever, notify);
  MixPlayParams replaced = Request(s, 2, wave, 0, 0, notify);
  MixPlayParams replacing = Request(s, 2, wave, MixPlayReplaceQueue);
  MixerPlay(&heard);
  MixerPlay(&endless);
  MixerPlay(&replaced);
  MixerPlay(&replacing);
  MixerClearChannel(s, 1, MixChannelNoRemix);
  for (int i = 0; i < 12; ++i) PlayAndDispatch(2048);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].wParam, 3u);
  EXPECT_EQ(notices[0].lParam, reinterpret_cast<LPARAM>(wave));
}

using SilentSessionTest = PlayTest;

TEST_F(SilentSessionTest, FirstPlayRebasesToZeroAndIsHeardThenNotified) {
  VirtualWaveOutClearCalls();
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelAll);
  MixerActivate(s, true);
  s->MixPosition = 777;  // left over from earlier playing
  HWND notify = CreateWindowWithProc(Record);
  notices.clear();
  std::vector<std::uint8_t> samples = Ramp(3000, 5);
  MixWave* wave = MakeWave(samples);
  MixPlayParams first = Request(s, 0, wave, 0, 0, notify);
  MixPlayParams second = Request(s, 0, wave);
  MixerPlay(&first);
  EXPECT_EQ(s->ChannelQueue[0]->Start, 0);
  EXPECT_EQ(s->ChannelQueue[0]->End, 2999);
  // The idle device was paused while the blocks went in, then restarted.
  std::vector<std::string> calls(VirtualWaveOutCalls().end() - 4, VirtualWaveOutCalls().end());
  EXPECT_EQ(calls, (std::vector<std::string>{"pause", "write", "write", "restart"}));
  MixerPlay(&second);
  EXPECT_EQ(Last(s, 0)->Start, 4096);  // the first one's end lies before MixPosition

  VirtualWaveOutPlay(2998);
  MixerService();
  ProcessMessages();
  EXPECT_TRUE(notices.empty());
  VirtualWaveOutPlay(1);
  MixerService();
  ProcessMessages();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].wParam, 0u);
  EXPECT_EQ(notices[0].lParam, reinterpret_cast<LPARAM>(wave));
  VirtualWaveOutPlay(1);
  std::vector<std::uint8_t> expected(samples.begin(), samples.end() - 1);
  expected.push_back(128);  // the last byte of the last pass is not mixed
  EXPECT_EQ(VirtualWaveOutPlayed(), expected);
}

}  // namespace
