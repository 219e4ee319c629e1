#include "PlayFixture.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

// Channel 0 sounds a long play; three blocks are in the device and 1000
// bytes of them have been heard.
class RemixTest : public PlayTest {
 protected:
  void Start(const char* ini) {
    WriteIni(ini);
    s = MixerInit();
    MixerReserveChannels(s, 0, MixChannelAll);
    Queue(0, long_, 0, 19999);
    MixerActivate(s, true);
    VirtualWaveOutPlay(1000);
    VirtualWaveOutClearCalls();
  }
  std::vector<MixBlock*> List() const {
    std::vector<MixBlock*> list;
    for (MixBlock* b = MixerUnit.InDeviceHead; b != nullptr; b = b->NextInDevice) {
      list.push_back(b);
    }
    return list;
  }
  std::vector<std::uint8_t> long_ = Ramp(20000, 3);
  MixSession* s = nullptr;
};

TEST_F(RemixTest, ClearingTheOnlySoundFallsSilentAtOnce) {
  Start("[default]\nGoodWavePos=1\n");
  MixerClearChannel(s, 0, 0);
  EXPECT_EQ(VirtualWaveOutCalls(), (std::vector<std::string>{"reset", "pause", "restart"}));
  EXPECT_TRUE(List().empty());
  for (MixBlock* b : MixerUnit.BlockTable) EXPECT_TRUE(b->IsFree);
  EXPECT_EQ(VirtualWaveOutPlay(4096), 0u);
  EXPECT_EQ(s->MixPosition, 1000);
}

TEST_F(RemixTest, ImmediatePlayIsHeardFromNowInFreshlyMixedBlocks) {
  Start("[default]\nGoodWavePos=1\n");
  std::vector<std::uint8_t> blocksBefore = QueuedBlockBytes();
  MixPlayParams request = Request(s, 1, MakeWave(Bytes(500, 200)), MixPlayImmediate);
  MixerPlay(&request);
  std::vector<std::string> expected{"reset", "pause", "write", "write", "write", "restart"};
  EXPECT_EQ(VirtualWaveOutCalls(), expected);
  // Every block received sound, so all three are listed, in mixing order.
  std::vector<MixBlock*> list = List();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0]->StartPosition, 1000);
  EXPECT_EQ(list[1]->StartPosition, 3048);
  EXPECT_EQ(list[2]->StartPosition, 5096);
  EXPECT_EQ(s->MixPosition, 7144);
  EXPECT_NE(QueuedBlockBytes(), blocksBefore);
  VirtualWaveOutPlay(600);
  std::vector<std::uint8_t> heard(VirtualWaveOutPlayed().begin() + 1000,
                                  VirtualWaveOutPlayed().end());
  for (int i = 0; i < 600; ++i) {
    int sum = long_[1000 + i] + (i < 499 ? 200 : 128) - 128;
    ASSERT_EQ(heard[i], std::clamp(sum, 0, 255)) << i;
  }
}

TEST_F(RemixTest, RefusedRewriteLeavesTheDevicePausedAndTheBlockFree) {
  Start("");
  VirtualWaveOutFail(VirtualWaveCall::Write, 9, 1);  // the second block is refused
  MixPlayParams request = Request(s, 0, MakeWave(Bytes(5000, 200)), MixPlayReplaceQueue);
  MixBlock* refused = MixerUnit.BlockTable[1];
  ExpectMixerError([&] { MixerPlay(&request); }, "Failed to write block to device");
  EXPECT_TRUE(VirtualWaveOutIsPaused());
  EXPECT_EQ(VirtualWaveOutQueuedBlocks(), 1u);
  EXPECT_TRUE(refused->IsFree);
  EXPECT_EQ(List(), (std::vector<MixBlock*>{MixerUnit.BlockTable[0], MixerUnit.BlockTable[2]}));
  EXPECT_EQ(s->ChannelQueue[0]->Length, 5000);  // the play stays queued
}

TEST_F(RemixTest, DeferringChangesNothingAlreadyInTheDevice) {
  Start("[default]\nRemix=2\n");
  std::vector<std::uint8_t> blocksBefore = QueuedBlockBytes();
  MixPlayParams request = Request(s, 1, MakeWave(Bytes(500, 200)), MixPlayImmediate);
  MixerPlay(&request);
  EXPECT_EQ(VirtualWaveOutCalls(), std::vector<std::string>{});
  EXPECT_EQ(QueuedBlockBytes(), blocksBefore);
  EXPECT_EQ(s->ChannelQueue[1]->Start, 6144);  // moved to MixPosition
  EXPECT_EQ(s->ChannelQueue[1]->End, 6643);
  MixerClearChannel(s, 0, 0);  // only runs the pump
  EXPECT_EQ(QueuedBlockBytes(), blocksBefore);
  EXPECT_EQ(VirtualWaveOutQueuedBlocks(), 3u);
}

TEST_F(RemixTest, DeferKeepsEndlessPlaysEndlessAndLeavesPlaysAtMixPosition) {
  Start("[default]\nRemix=2\n");
  MixQueueEntry endless{};
  endless.Start = 100;
  endless.End = MixNever;
  DeferToMixPosition(0, &endless);
  EXPECT_EQ(endless.Start, 6144);
  EXPECT_EQ(endless.End, MixNever);
  MixQueueEntry later{};
  later.Start = 9000;  // would start after MixPosition: moved earlier, still endless
  later.End = MixNever;
  DeferToMixPosition(0, &later);
  EXPECT_EQ(later.Start, 6144);
  EXPECT_EQ(later.End, MixNever);
  MixQueueEntry there{};
  there.Start = 6144;
  there.End = 7000;
  DeferToMixPosition(0, &there);
  EXPECT_EQ(there.Start, 6144);
  EXPECT_EQ(there.End, 7000);
}

}  // namespace
