#include "PlayFixture.h"

namespace {

using PlayChecksTest = PlayTest;

int FreeEntries() {
  int count = 0;
  for (MixQueueEntry* e = MixerUnit.FreeQueueEntries; e != nullptr; e = e->Link) ++count;
  return count;
}

TEST_F(PlayChecksTest, ChecksComeInOrderAndChangeNothing) {
  MixSession* s = MixerInit();
  MixWave* wave = MakeWave(Bytes(100, 1));
  ExpectMixerError([] { MixerPlay(nullptr); }, "nil parameters pointer passed to MixerPlay");
  MixPlayParams badSession = Request(nullptr, 0, nullptr);
  ExpectMixerError([&] { MixerPlay(&badSession); }, "Invalid Session handle");
  MixPlayParams noWave = Request(s, 0, nullptr);
  ExpectMixerError([&] { MixerPlay(&noWave); }, "nil wave pointer passed to MixerPlay!");
  MixerReserveChannels(s, 0, MixChannelAll);
  MixPlayParams inactive = Request(s, 0, wave);
  ExpectMixerError([&] { MixerPlay(&inactive); },
                   "Wave device not allocated, call MixerActivate(hMixSession,TRUE)");
  MixerActivate(s, true);
  MixerReleaseChannels(s, 0, MixChannelAll);
  for (std::uint32_t flags : {0u, MixPlayPickChannel, MixPlayHold}) {
    MixPlayParams noChannel = Request(s, 0, wave, flags);
    ExpectMixerError([&] { MixerPlay(&noChannel); },
                     "You must open a channel before you can play a wave");
  }
  EXPECT_EQ(s->HeldPlays, nullptr);
  EXPECT_EQ(s->PlayCounter, 0);
  EXPECT_EQ(FreeEntries(), 100);
}

TEST_F(PlayChecksTest, ChannelOutsideTheTableIsRefusedBeforeAnyStamp) {
  MixSession* s = MixerInit();
  MixerActivate(s, true);
  MixerReserveChannels(s, 0, MixChannelAll);
  MixWave* wave = MakeWave(Bytes(100, 1));
  for (std::int32_t channel : {8, -1, 1000}) {
    MixPlayParams request = Request(s, channel, wave);
    ExpectMixerError([&] { MixerPlay(&request); }, "Invalid channel number");
  }
  EXPECT_EQ(s->PlayCounter, 0);
  for (std::int32_t stamp : s->ChannelStamp) EXPECT_EQ(stamp, 0);
  EXPECT_EQ(FreeEntries(), 100);
}

TEST_F(PlayChecksTest, ClosedChannelIsRefusedButStillStamped) {
  MixSession* s = MixerInit();
  MixerActivate(s, true);
  MixerReserveChannels(s, 0, MixChannelAll);
  MixerReleaseChannels(s, 3, 0);
  MixPlayParams request = Request(s, 3, MakeWave(Bytes(100, 1)));
  ExpectMixerError([&] { MixerPlay(&request); }, "The specified channel was not open");
  EXPECT_EQ(s->PlayCounter, 1);
  EXPECT_EQ(s->ChannelStamp[3], 1);
  EXPECT_EQ(FreeEntries(), 100);
}

TEST_F(PlayChecksTest, PoolRunsDryAtHundredOutstandingAndRecoversOnRetirement) {
  MixSession* s = MixerInit();
  MixerActivate(s, true);
  MixerReserveChannels(s, 0, MixChannelAll);
  MixWave* wave = MakeWave(Bytes(100, 1));
  for (int i = 0; i < 100; ++i) {
    MixPlayParams request = Request(s, i % 8, wave);
    MixerPlay(&request);
  }
  MixPlayParams more = Request(s, 0, wave);
  ExpectMixerError([&] { MixerPlay(&more); }, "Not enough memory");
  EXPECT_EQ(s->ChannelStamp[0], 101);  // stamped before the pool was asked
  PlayAndDispatch(2048);               // the first plays have been heard
  MixerPlay(&more);
  EXPECT_EQ(Last(s, 0)->Request.Channel, 0);
}

struct LruCase {
  const char* name;
  std::vector<int> open;
  std::vector<int> busy;
  std::vector<std::int32_t> stamps;  // per channel 0..7
  std::int32_t chosen;
};

const LruCase kLruCases[] = {
    {"NewSessionTakesChannel0", {0, 1}, {}, {0, 0, 0, 0, 0, 0, 0, 0}, 0},
    {"ClosedChannel0NeverChosen", {1, 2, 3, 4, 5, 6, 7}, {}, {0, 0, 0, 0, 0, 0, 0, 0}, 1},
    {"SmallestStampAmongBusy", {0, 1, 2}, {0, 1, 2}, {10, 5, 8, 0, 0, 0, 0, 0}, 1},
    {"EqualStampsKeepTheLowerChannel", {0, 1, 2}, {0, 1, 2}, {4, 4, 4, 0, 0, 0, 0, 0}, 0},
    // An idle channel does not win for being idle; an idle candidate ends the search.
    {"IdleWithLargerStampLoses", {0, 1, 2}, {0}, {3, 9, 1, 0, 0, 0, 0, 0}, 2},
    {"IdleCandidateStops", {0, 1, 2}, {0, 2}, {5, 2, 1, 0, 0, 0, 0, 0}, 1},
};

class LruTest : public PlayTest, public ::testing::WithParamInterface<LruCase> {};

TEST_P(LruTest, PicksTheLeastRecentlyUsedOpenChannel) {
  const LruCase& c = GetParam();
  MixSession* s = MixerInit();
  MixerActivate(s, true);
  for (int channel : c.open) MixerReserveChannels(s, channel, MixChannelSingle);
  for (int channel : c.busy) Queue(channel, Bytes(50000, 140), 0, 49999);
  for (int i = 0; i < 8; ++i) s->ChannelStamp[i] = c.stamps[i];
  s->PlayCounter = 100;
  MixPlayParams request = Request(s, 77, MakeWave(Bytes(10, 1)), MixPlayPickChannel);
  MixerPlay(&request);
  EXPECT_EQ(request.Channel, c.chosen);
  EXPECT_EQ(s->ChannelStamp[c.chosen], 101);
  EXPECT_EQ(Last(s, c.chosen)->Request.Channel, c.chosen);
}

INSTANTIATE_TEST_SUITE_P(Cases, LruTest, ::testing::ValuesIn(kLruCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
