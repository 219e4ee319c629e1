#include "MixerFixture.h"
#include "platform/MessageLoop.h"
#include "platform/Messages.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

using ActivationTest = MixerTest;

int FreeBlocks() {
  int count = 0;
  for (MixBlock* b : MixerUnit.BlockTable) count += b != nullptr && b->IsFree;
  return count;
}

TEST_F(ActivationTest, NothingQueuedOpensPreparesAndWritesNothing) {
  MixSession* s = MixerInit();
  MixerActivate(s, true);
  EXPECT_TRUE(s->IsActivated);
  EXPECT_EQ(MixerUnit.ActiveSession, s);
  EXPECT_TRUE(IsWindow(s->CallbackWindow));
  EXPECT_EQ(VirtualWaveOutFormat().nSamplesPerSec, 11025u);
  EXPECT_EQ(VirtualWaveOutDeviceId(), 0u);
  std::vector<std::string> expected{"open"};
  expected.insert(expected.end(), 6, "prepare");
  EXPECT_EQ(VirtualWaveOutCalls(), expected);
  EXPECT_EQ(FreeBlocks(), 6);
  for (MixBlock* b : MixerUnit.BlockTable) {
    EXPECT_EQ(b->WaveHeader.dwFlags & WHDR_DONE, WHDR_DONE);
    EXPECT_EQ(b->WaveHeader.dwBufferLength, 2048u);
  }
  EXPECT_EQ(MixerUnit.InDeviceHead, nullptr);

  VirtualWaveOutClearCalls();
  MixerActivate(s, true);  // already active: nothing at all
  EXPECT_TRUE(VirtualWaveOutCalls().empty());
}

TEST_F(ActivationTest, PrimesOnlyTheFirstBlockCountBlocks) {
  WriteIni("[default]\nWaveBlocks=2\n");
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelSingle);
  Queue(0, Ramp(30000, 0), 0, 29999);
  MixerActivate(s, true);
  EXPECT_EQ(VirtualWaveOutQueuedBlocks(), 2u);
  EXPECT_FALSE(MixerUnit.BlockTable[0]->IsFree);
  EXPECT_FALSE(MixerUnit.BlockTable[1]->IsFree);
  EXPECT_EQ(FreeBlocks(), 4);
  EXPECT_EQ(s->MixPosition, 4096);
  VirtualWaveOutPlay(2048);
  ProcessMessages();
  EXPECT_EQ(VirtualWaveOutQueuedBlocks(), 2u);
  EXPECT_EQ(FreeBlocks(), 4);
}

TEST_F(ActivationTest, DeactivationResumesWherePlaybackStopped) {
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelSingle);
  std::vector<std::uint8_t> wave = Ramp(20000, 7);
  Queue(0, wave, 0, 19999);
  s->GoodWavePos = 1;
  MixerActivate(s, true);
  VirtualWaveOutPlay(3000);
  MixerActivate(s, false);
  EXPECT_FALSE(s->IsActivated);
  EXPECT_EQ(MixerUnit.ActiveSession, nullptr);
  EXPECT_EQ(s->WaveOut, nullptr);
  EXPECT_EQ(s->CallbackWindow, nullptr);
  EXPECT_EQ(s->MixPosition, 3000);
  for (MixBlock* b : MixerUnit.BlockTable) EXPECT_EQ(b, nullptr);
  MixerActivate(s, false);  // not active: nothing more happens
  EXPECT_EQ(s->MixPosition, 3000);

  MixerActivate(s, true);
  VirtualWaveOutPlay(1000);
  std::vector<std::uint8_t> expected(wave.begin(), wave.begin() + 4000);
  EXPECT_EQ(VirtualWaveOutPlayed(), expected);
}

struct FailureCase {
  const char* name;
  VirtualWaveCall call;
  MMRESULT code;
  int succeedFirst;
  const char* message;
};

const FailureCase kFailures[] = {
    {"Open", VirtualWaveCall::Open, 4, 0, "Failed to open waveform output device #4"},
    {"ThirdPrepare", VirtualWaveCall::Prepare, 7, 2, "Unable to prepare wave header #7"},
};

class ActivationFailureTest : public MixerTest,
                              public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ActivationFailureTest, CleansUpAndLetsTheNextActivationTryAgain) {
  const FailureCase& c = GetParam();
  MixSession* s = MixerInit();
  VirtualWaveOutFail(c.call, c.code, c.succeedFirst);
  ExpectMixerError([&] { MixerActivate(s, true); }, c.message);
  EXPECT_FALSE(s->IsActivated);
  EXPECT_EQ(s->WaveOut, nullptr);
  EXPECT_EQ(s->CallbackWindow, nullptr);
  EXPECT_EQ(MixerUnit.ActiveSession, nullptr);
  EXPECT_FALSE(VirtualWaveOutIsOpen());
  for (MixBlock* b : MixerUnit.BlockTable) EXPECT_EQ(b, nullptr);

  VirtualWaveOutFail(c.call, 0);
  MixerActivate(s, true);
  EXPECT_TRUE(s->IsActivated);
  EXPECT_TRUE(VirtualWaveOutIsOpen());
}

INSTANTIATE_TEST_SUITE_P(Cases, ActivationFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ActivationTest, MissingWindowClassRefusesActivation) {
  MixSession* s = MixerInit();
  ResetWindowsForTests();  // forgets the "Mixer32" class
  ExpectMixerError([&] { MixerActivate(s, true); }, "Failed to create callback window");
  EXPECT_FALSE(s->IsActivated);
  EXPECT_FALSE(VirtualWaveOutIsOpen());
  EXPECT_EQ(MixerUnit.ActiveSession, nullptr);
}

TEST_F(ActivationTest, DeviceHeldByAnotherSessionRefused) {
  MixSession* s = MixerInit();
  MixSession other{};
  MixerUnit.ActiveSession = &other;
  ExpectMixerError([&] { MixerActivate(s, true); }, "Resource is already allocated to a process");
  EXPECT_EQ(MixerUnit.ActiveSession, &other);
  EXPECT_FALSE(s->IsActivated);
  MixerUnit.ActiveSession = nullptr;
}

class BlockListTest : public MixerTest {
 protected:
  void SetUp() override {
    MixerTest::SetUp();
    MixerActivate(MixerInit(), true);
    for (int i = 0; i < 3; ++i) blocks[i] = MixerUnit.BlockTable[i];
  }
  std::vector<MixBlock*> List() const {
    std::vector<MixBlock*> list;
    for (MixBlock* b = MixerUnit.InDeviceHead; b != nullptr; b = b->NextInDevice) {
      list.push_back(b);
    }
    return list;
  }
  MixBlock* blocks[3];
};

TEST_F(BlockListTest, UnlinkingTheTailThenAppendingLinksBehindTheNewTail) {
  for (MixBlock* b : blocks) AppendBlock(b);
  EXPECT_EQ(UnlinkBlock(blocks[2]), blocks[2]);
  EXPECT_EQ(List(), (std::vector<MixBlock*>{blocks[0], blocks[1]}));
  EXPECT_EQ(MixerUnit.InDeviceTail, blocks[1]);
  EXPECT_EQ(AppendBlock(blocks[2]), blocks[0]);
  EXPECT_EQ(List(), (std::vector<MixBlock*>{blocks[0], blocks[1], blocks[2]}));
}

TEST_F(BlockListTest, UnlinkingHeadMiddleAndStrangers) {
  EXPECT_EQ(UnlinkBlock(blocks[0]), nullptr);  // empty list
  AppendBlock(blocks[0]);
  AppendBlock(blocks[1]);
  EXPECT_EQ(UnlinkBlock(blocks[2]), nullptr);
  EXPECT_EQ(List(), (std::vector<MixBlock*>{blocks[0], blocks[1]}));
  EXPECT_EQ(UnlinkBlock(blocks[0]), blocks[0]);
  EXPECT_EQ(MixerUnit.InDeviceHead, blocks[1]);
  EXPECT_EQ(UnlinkBlock(blocks[1]), blocks[1]);
  EXPECT_EQ(MixerUnit.InDeviceHead, nullptr);
  EXPECT_EQ(MixerUnit.InDeviceTail, nullptr);
}

TEST_F(BlockListTest, AppendingTheTailAgainBeepsAndChangesNothing) {
  AppendBlock(blocks[0]);
  AppendBlock(blocks[1]);
  int beeps = MessageBeepCount();
  EXPECT_EQ(AppendBlock(blocks[1]), blocks[0]);
  EXPECT_EQ(MessageBeepCount(), beeps + 1);
  EXPECT_EQ(List(), (std::vector<MixBlock*>{blocks[0], blocks[1]}));
  EXPECT_EQ(blocks[1]->NextInDevice, nullptr);
}

TEST_F(BlockListTest, ReleaseAllEmptiesTheListAndFreesEveryBlock) {
  for (MixBlock* b : blocks) {
    b->IsFree = false;
    AppendBlock(b);
  }
  ReleaseAllBlocks();
  EXPECT_TRUE(List().empty());
  for (MixBlock* b : blocks) EXPECT_TRUE(b->IsFree);
}

TEST_F(BlockListTest, TakeFreeBlockScansOnlyTheBlockCount) {
  MixBlock* taken[3] = {TakeFreeBlock(), TakeFreeBlock(), TakeFreeBlock()};
  EXPECT_EQ(taken[0], blocks[0]);
  EXPECT_EQ(taken[2], blocks[2]);
  EXPECT_EQ(taken[1]->OwnerSession, MixerUnit.ActiveSession);
  EXPECT_EQ(TakeFreeBlock(), nullptr);  // blocks 3 to 5 are never used with 3 blocks
  ReleaseBlock(taken[1]);
  EXPECT_EQ(TakeFreeBlock(), blocks[1]);
}

}  // namespace
