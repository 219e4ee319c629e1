#include "MixerFixture.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

using ChannelsTest = MixerTest;

std::vector<bool> OpenChannels(const MixSession* s) {
  std::vector<bool> open;
  for (MixQueueEntry* q : s->ChannelQueue) open.push_back(q != MixChannelClosed());
  return open;
}

struct ReserveError {
  const char* name;
  std::int32_t channel;
  std::int32_t mode;
  const char* message;
};

const ReserveError kReserveErrors[] = {
    {"Channel8", 8, 0, "Invalid channel number"},
    {"ChannelMinus1", -1, 0, "Invalid channel number"},
    {"Mode3", 0, 3, "Invalid Flags"},
    {"ModeAboveTwoBeforeChannel", 99, 7, "Invalid Flags"},
    {"NegativeMode", 0, -1, "Invalid flag"},
    {"CountZero", 0, 2, "Invalid number of channels"},
    {"CountNine", 9, 2, "Invalid number of channels"},
    {"AlreadyOpen", 4, 0, "The channel has already been opened"},
};

class ReserveErrorTest : public MixerTest, public ::testing::WithParamInterface<ReserveError> {};

TEST_P(ReserveErrorTest, RefusedWithoutChangingTheTable) {
  const ReserveError& c = GetParam();
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 4, MixChannelSingle);
  std::vector<bool> before = OpenChannels(s);
  ExpectMixerError([&] { MixerReserveChannels(s, c.channel, c.mode); }, c.message);
  EXPECT_EQ(OpenChannels(s), before);
  EXPECT_EQ(s->OpenChannelCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReserveErrorTest, ::testing::ValuesIn(kReserveErrors),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChannelsTest, ReserveModesOpenWhatTheySayAndKeepOpenQueues) {
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 3, MixChannelFirstN);
  EXPECT_EQ(OpenChannels(s), (std::vector<bool>{1, 1, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(s->OpenChannelCount, 3);
  MixQueueEntry* play = Queue(1, Bytes(10, 1), 0, 9);
  MixerReserveChannels(s, 5, MixChannelFirstN);  // 0..2 already open: no error, no double count
  EXPECT_EQ(s->OpenChannelCount, 5);
  EXPECT_EQ(s->ChannelQueue[1], play);
  MixerReserveChannels(s, 123, MixChannelAll);  // the channel argument means nothing here
  EXPECT_EQ(s->OpenChannelCount, 8);
  EXPECT_EQ(s->ChannelQueue[1], play);
}

TEST_F(ChannelsTest, ClearAndReleaseCheckTheirChannel) {
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 2, MixChannelSingle);
  for (auto op : {&MixerClearChannel, &MixerReleaseChannels}) {
    ExpectMixerError([&] { op(s, 8, 0); }, "Invalid channel number");
    ExpectMixerError([&] { op(s, -1, MixChannelNoRemix); }, "Invalid channel number");
    ExpectMixerError([&] { op(s, 5, 0); }, "The specified channel was not open");
  }
  EXPECT_EQ(s->OpenChannelCount, 1);
  MixerClearChannel(s, -7, MixChannelAll);  // ignored channel, closed ones skipped
  MixerReleaseChannels(s, 99, MixChannelAll);
  EXPECT_EQ(s->OpenChannelCount, 0);
  EXPECT_EQ(OpenChannels(s), std::vector<bool>(8, false));
}

TEST_F(ChannelsTest, DroppedPlaysGoBackToThePoolInOrderAndUnheard) {
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelAll);
  MixQueueEntry* a = Queue(6, Bytes(10, 1), 0, 9);
  MixQueueEntry* b = Queue(6, Bytes(10, 1), 9, 18);
  MixQueueEntry* other = Queue(2, Bytes(10, 1), 0, 9);
  MixerClearChannel(s, 6, 0);
  EXPECT_EQ(s->ChannelQueue[6], nullptr);
  EXPECT_EQ(s->ChannelQueue[2], other);
  EXPECT_EQ(MixerUnit.FreeQueueEntries, b);  // given back first to last
  EXPECT_EQ(b->Link, a);
  MixerReleaseChannels(s, 2, 0);
  EXPECT_EQ(s->ChannelQueue[2], MixChannelClosed());
  EXPECT_EQ(s->OpenChannelCount, 7);
  EXPECT_EQ(MixerUnit.FreeQueueEntries, other);
}

struct RemixCase {
  const char* name;
  bool queueSomething;
  std::int32_t flags;
  bool activated;
  bool remixed;
};

const RemixCase kRemixCases[] = {
    {"DroppedPlayRemixes", true, 0, true, true},
    {"NoRemixFlag", true, MixChannelNoRemix, true, false},
    {"IdleChannelDropsNothing", false, 0, true, false},
    {"WithoutTheDevice", true, 0, false, false},
};

class ClearRemixTest : public MixerTest, public ::testing::WithParamInterface<RemixCase> {};

TEST_P(ClearRemixTest, RemixesOnlyWhenSomethingHeldByTheDeviceWasDropped) {
  const RemixCase& c = GetParam();
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelSingle);
  if (c.queueSomething) Queue(0, Bytes(10000, 200), 0, 9999);
  if (c.activated) MixerActivate(s, true);
  VirtualWaveOutClearCalls();
  MixerClearChannel(s, 0, c.flags);
  bool reset = !VirtualWaveOutCalls().empty() && VirtualWaveOutCalls()[0] == "reset";
  EXPECT_EQ(reset, c.remixed);
  EXPECT_EQ(s->ChannelQueue[0], nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClearRemixTest, ::testing::ValuesIn(kRemixCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChannelsTest, ReleaseNeverRemixesAndLeavesQueuedSoundToPlayOut) {
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelSingle);
  Queue(0, Bytes(10000, 200), 0, 9999);
  MixerActivate(s, true);
  VirtualWaveOutClearCalls();
  MixerReleaseChannels(s, 0, 0);
  EXPECT_TRUE(VirtualWaveOutCalls().empty());
  EXPECT_EQ(VirtualWaveOutQueuedBlocks(), 3u);
}

}  // namespace
