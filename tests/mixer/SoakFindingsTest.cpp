// What the long soak of the mixer found, kept as plain tests.
#include "PlayFixture.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

class SoakFindingsTest : public PlayTest {};

// A pass whose first play asks for a re-mix and whose last play waits behind
// an endless one (start "never") must not re-mix from "never": the mixer
// would then mix nothing ever again and the replacing play would be lost.
TEST_F(SoakFindingsTest, ReMixStartsFromThePlayThatAskedForItNotFromNever) {
  MixSession* s = ActiveSessionWithChannels();
  MixWave* wave = MakeWave(Ramp(3000, 1));
  MixPlayParams endless = Request(s, 1, wave, 0, MixLoopForever);
  MixerPlay(&endless);
  PlayAndDispatch(100);
  const std::int32_t mixedBefore = s->MixPosition;
  ASSERT_NE(MixerUnit.InDeviceHead, nullptr);

  MixPlayParams replacing = Request(s, 0, wave, MixPlayReplaceQueue | MixPlayHold);
  MixerPlay(&replacing);
  MixPlayParams behindEndless = Request(s, 1, wave);
  MixerPlay(&behindEndless);

  EXPECT_EQ(Last(s, 1)->Start, MixNever);
  EXPECT_LE(s->MixPosition, mixedBefore + MixBlockSlots * s->BlockLength)
      << "mixing ran off to " << s->MixPosition;
  // The device is fed again with both channels' sound.
  EXPECT_EQ(VirtualWaveOutPlay(static_cast<std::size_t>(s->BlockLength)),
            static_cast<std::size_t>(s->BlockLength));
}

}  // namespace
