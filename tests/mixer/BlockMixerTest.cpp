#include <algorithm>

#include "MixerFixture.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

struct SumCase {
  const char* name;
  std::vector<std::uint8_t> sources;  // one byte per source
  std::uint8_t expected;
};

const SumCase kSums[] = {
    {"TwoHundredAndHundred", {200, 100}, 172},
    {"ClampsHigh", {255, 255}, 255},
    {"ClampsLow", {0, 0}, 0},
    {"SilenceStaysSilence", {128, 128, 128}, 128},
    {"OppositesCancel", {0, 255}, 127},
    {"SingleCopied", {37}, 37},
    // Clamped once at the end, not after each source: order cannot matter.
    {"ClampOnlyOnce", {255, 255, 0}, 254},
    {"EightLoud", {255, 255, 255, 255, 255, 255, 255, 255}, 255},
    {"EightQuiet", {129, 129, 129, 129, 129, 129, 129, 129}, 136},
};

class MixSamplesTest : public ::testing::TestWithParam<SumCase> {};

TEST_P(MixSamplesTest, SumsAroundSilenceAndClampsOnce) {
  const SumCase& c = GetParam();
  std::vector<std::vector<std::uint8_t>> data;
  std::vector<const std::uint8_t*> sources;
  for (std::uint8_t b : c.sources) data.push_back(Bytes(3, b));
  for (auto& d : data) sources.push_back(d.data());
  std::vector<std::uint8_t> out(3, 9);
  MixSamples8(out.data(), sources.data(), static_cast<int>(sources.size()), 3);
  EXPECT_EQ(out, Bytes(3, c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, MixSamplesTest, ::testing::ValuesIn(kSums),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MixSamplesLongTest, EveryByteOfALongRunMatchesTheSum) {
  for (int count = 2; count <= 8; ++count) {
    std::vector<std::vector<std::uint8_t>> data;
    std::vector<const std::uint8_t*> sources;
    for (int k = 0; k < count; ++k) data.push_back(Ramp(4096, static_cast<std::uint8_t>(k * 37)));
    for (auto& d : data) sources.push_back(d.data());
    std::vector<std::uint8_t> out(4097, 0xEE);
    MixSamples8(out.data(), sources.data(), count, 4095);
    for (int i = 0; i < 4095; ++i) {
      int sum = 128;
      for (auto& d : data) sum += d[i] - 128;
      ASSERT_EQ(out[i], std::clamp(sum, 0, 255)) << "count " << count << " byte " << i;
    }
    EXPECT_EQ(out[4095], 0xEE);  // nothing written past the length
  }
}

// MixNextBlock on an active session whose device holds nothing, so each
// call mixes exactly one block at MixPosition.
class BlockMixerTest : public MixerTest {
 protected:
  void SetUp() override {
    MixerTest::SetUp();
    WriteIni("[default]\nWaveBlockLen=1000\n");
    session = ActiveSessionWithChannels();
  }
  std::vector<std::uint8_t> MixOne() {
    MixBlock* block = TakeFreeBlock();
    EXPECT_TRUE(MixNextBlock(block, false));
    ReleaseBlock(block);
    return std::vector<std::uint8_t>(block->Samples, block->Samples + 1000);
  }
  MixSession* session = nullptr;
};

std::vector<std::uint8_t> Join(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& v, std::size_t from,
                                std::size_t count) {
  return std::vector<std::uint8_t>(v.begin() + from, v.begin() + from + count);
}

TEST_F(BlockMixerTest, OnePlayIsCopiedUnchanged) {
  std::vector<std::uint8_t> wave = Ramp(3000, 1);
  Queue(4, wave, 0, 2999);
  EXPECT_EQ(MixOne(), Slice(wave, 0, 1000));
  EXPECT_EQ(MixerUnit.CurrentSession->MixPosition, 1000);
  EXPECT_EQ(MixOne(), Slice(wave, 1000, 1000));
}

TEST_F(BlockMixerTest, SilenceUntilALateStart) {
  std::vector<std::uint8_t> wave = Ramp(2000, 3);
  Queue(0, wave, 100, 2099);
  EXPECT_EQ(MixOne(), Join({Bytes(100, 128), Slice(wave, 0, 900)}));
}

TEST_F(BlockMixerTest, PlayEndingMidBlockIsFollowedBySilenceThenItsSuccessor) {
  std::vector<std::uint8_t> first = Ramp(301, 10);
  std::vector<std::uint8_t> second = Ramp(500, 90);
  Queue(1, first, 0, 300);  // the last byte of a pass is not mixed
  Queue(1, second, 400, 899);
  EXPECT_EQ(MixOne(),
            Join({Slice(first, 0, 300), Bytes(100, 128), Slice(second, 0, 499), Bytes(101, 128)}));
}

TEST_F(BlockMixerTest, OverlappingPlaysAreSummedOnlyWhereTheyOverlap) {
  Queue(0, Bytes(600, 200), 0, 600);
  Queue(5, Bytes(600, 100), 400, 1000);
  EXPECT_EQ(MixOne(), Join({Bytes(400, 200), Bytes(200, 172), Bytes(400, 100)}));
}

TEST_F(BlockMixerTest, LoopRepeatsFromTheFirstByteAcrossBlocks) {
  std::vector<std::uint8_t> wave = Ramp(300, 0);
  Queue(2, wave, 0, 300 * 8 - 1, 7);
  std::vector<std::uint8_t> mixed = Join({MixOne(), MixOne(), MixOne()});
  for (int i = 0; i < 2399; ++i) ASSERT_EQ(mixed[i], wave[i % 300]) << i;
  EXPECT_EQ(Slice(mixed, 2399, 601), Bytes(601, 128));
}

TEST_F(BlockMixerTest, EndlessLoopStartingPartWayIntoAPass) {
  std::vector<std::uint8_t> wave = Ramp(300, 40);
  Queue(3, wave, -250, MixNever, MixLoopForever);
  std::vector<std::uint8_t> mixed = MixOne();
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(mixed[i], wave[(i + 250) % 300]) << i;
}

TEST_F(BlockMixerTest, NothingToPlayReleasesTheBlockAndWritesNothing) {
  Queue(0, Bytes(10, 1), 0, 9);
  session->MixPosition = 9;  // that play has ended
  MixBlock* block = TakeFreeBlock();
  VirtualWaveOutClearCalls();
  EXPECT_FALSE(MixNextBlock(block, true));
  EXPECT_TRUE(block->IsFree);
  EXPECT_EQ(session->MixPosition, 9);
  EXPECT_TRUE(VirtualWaveOutCalls().empty());
  EXPECT_FALSE(MixNextBlock(nullptr, true));
}

TEST_F(BlockMixerTest, FarFutureStartGivesWholeSilentBlocksWritten) {
  Queue(0, Bytes(10, 1), 5000, 5009);
  MixBlock* block = TakeFreeBlock();
  EXPECT_TRUE(MixNextBlock(block, true));
  EXPECT_EQ(std::vector<std::uint8_t>(block->Samples, block->Samples + 1000), Bytes(1000, 128));
  EXPECT_EQ(block->StartPosition, 0);
  EXPECT_EQ(MixerUnit.InDeviceHead, block);
  EXPECT_EQ(VirtualWaveOutQueuedBlocks(), 1u);
}

TEST_F(BlockMixerTest, WavesWithoutSamplesAreNeverMixed) {
  std::vector<std::uint8_t> after = Ramp(500, 20);
  Queue(0, Bytes(50, 200), 0, 49);
  Queue(0, {}, 100, 99);  // an empty wave: end before start
  Queue(0, after, 100, 599);
  Queue(6, {}, 0, MixNever, MixLoopForever);  // empty and endless: nothing to loop over
  EXPECT_EQ(MixOne(),
            Join({Bytes(49, 200), Bytes(51, 128), Slice(after, 0, 499), Bytes(401, 128)}));
}

TEST_F(BlockMixerTest, RefusedWriteFreesTheBlockAndReports) {
  Queue(0, Bytes(3000, 7), 0, 2999);
  VirtualWaveOutFail(VirtualWaveCall::Write, 5);
  MixBlock* block = TakeFreeBlock();
  ExpectMixerError([&] { MixNextBlock(block, true); }, "Failed to write block to device");
  EXPECT_TRUE(block->IsFree);
  EXPECT_EQ(MixerUnit.InDeviceHead, nullptr);
  EXPECT_EQ(session->MixPosition, 1000);
}

}  // namespace
