#include "MixerFixture.h"
#include "platform/virtual/VirtualEvents.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

using PlayClockTest = MixerTest;

struct TimeCase {
  const char* name;
  MixConfig config;
  std::int32_t setTo;
  std::uint32_t elapsedMs;
  std::int32_t expected;
};

const TimeCase kTimeCases[] = {
    {"OneSecondMono11k", {10, 0, 1, 11}, 0, 1000, 11025},
    {"OneSecondFromPosition", {10, 0, 1, 11}, 22050, 1000, 33075},
    {"StereoOddRoundedDown", {10, 1, 2, 11}, 0, 20, 440},  // 441 bytes: between two frame bytes
    {"StereoEvenKept", {10, 1, 2, 11}, 0, 40, 882},
    {"MonoOddKept", {10, 2, 1, 22}, 0, 20, 441},
    // Hours of play would overflow a 32-bit product of milliseconds and rate.
    {"FiveHoursStereo44k", {10, 3, 2, 44}, 0, 5 * 3600 * 1000, 1587600000},
    {"FiveHoursMono22k", {10, 2, 1, 22}, 0, 5 * 3600 * 1000, 396900000},
};

class TimeClockTest : public MixerTest, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(TimeClockTest, ReadsElapsedTimesByteRate) {
  const TimeCase& c = GetParam();
  VirtualSetTime(123456);
  MixerInitConfigured(&c.config);
  SetPlayPosition(c.setTo);
  EXPECT_EQ(MixerUnit.CurrentSession->MixPosition, c.setTo);
  VirtualSetTime(123456 + c.elapsedMs);
  EXPECT_EQ(GetPlayPosition(nullptr, 0), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeClockTest, ::testing::ValuesIn(kTimeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayClockTest, DeviceClockOffsetFollowsDeviceBytes) {
  struct Case {
    std::size_t deviceBytes;
    std::int32_t setTo;
    bool add;
    std::uint32_t offset;
  };
  for (Case c :
       {Case{2000, 500, false, 1500}, Case{200, 500, true, 300}, Case{2000, 2000, false, 0}}) {
    SCOPED_TRACE(c.deviceBytes);
    ResetMixerUnitForTests();
    MixSession* s = MixerInit();
    MixerReserveChannels(s, 0, MixChannelSingle);
    Queue(0, Bytes(8000, 50), 0, 7999);
    MixerActivate(s, true);
    ASSERT_EQ(VirtualWaveOutPlay(c.deviceBytes), c.deviceBytes);
    SetPlayPosition(c.setTo);
    EXPECT_EQ(s->PositionAdjust, c.add ? &AddPosition : &SubtractPosition);
    EXPECT_EQ(s->PositionOffset, c.offset);
    EXPECT_EQ(GetPlayPosition(s->WaveOut, 1), c.setTo);
    VirtualWaveOutPlay(100);
    EXPECT_EQ(GetPlayPosition(s->WaveOut, 1), c.setTo + 100);
    MixerEndSession(s);
  }
}

TEST_F(PlayClockTest, ClosedDeviceCountsAsZeroAndUnsetClockIsSafe) {
  MixSession* s = MixerInit();
  EXPECT_EQ(s->PositionAdjust, nullptr);
  EXPECT_EQ(GetPlayPosition(s->WaveOut, 1), 0);  // never set: no routine to call
  SetPlayPosition(700);
  EXPECT_EQ(s->PositionAdjust, &AddPosition);
  EXPECT_EQ(s->PositionOffset, 700u);
  EXPECT_EQ(GetPlayPosition(nullptr, 1), 700);
}

TEST_F(PlayClockTest, ResetKeepsThePositionHeardNotTheOneMixed) {
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelSingle);
  Queue(0, Bytes(20000, 60), 0, 19999);
  s->GoodWavePos = 1;
  MixerActivate(s, true);
  ASSERT_EQ(s->MixPosition, 3 * 2048);
  VirtualWaveOutPlay(1234);
  std::int32_t heard = GetPlayPosition(s->WaveOut, 1);
  ResetKeepingPosition(s->WaveOut);
  EXPECT_EQ(heard, 1234);
  EXPECT_EQ(s->MixPosition, 1234);
  EXPECT_EQ(VirtualWaveOutQueuedBlocks(), 0u);
  EXPECT_EQ(GetPlayPosition(s->WaveOut, 1), 1234);
}

}  // namespace
