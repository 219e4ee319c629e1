// The SDL wave output device, driven through SDL's disk audio driver: what
// the mixer wrote must be found in the driver's output file, block by block
// in the order written (the driver plays silence wherever it runs dry
// between blocks, since it is not paced).
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "MixerFixture.h"
#include "WavWriter.h"
#include "mixer/Wave.h"
#include "platform/MessageLoop.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

class SdlDiskAudioTest : public MixerTest {
 protected:
  void SetUp() override {
    MixerTest::SetUp();
    output_ = folder_ / "disk-audio.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
    UseSdlWaveOut();
  }
  void TearDown() override {
    UseVirtualWaveOut();
    MixerTest::TearDown();
  }
  // Runs the message loop until every channel has retired its plays.
  bool RunUntilQuiet(MixSession* s) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      ProcessMessages();
      if (std::all_of(std::begin(s->ChannelQueue), std::end(s->ChannelQueue),
                      [](MixQueueEntry* q) { return q == nullptr || q == MixChannelClosed(); })) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }
  std::vector<std::uint8_t> Output() const {
    std::ifstream in(output_, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  // Each block's worth of `expected` (the sound up to the last play's end)
  // appears in the output after the previous one. Sound past the end may
  // never be played: the device is closed once the plays are retired.
  void ExpectBlocksInOrder(const std::vector<std::uint8_t>& expected, std::size_t blockLength) {
    std::vector<std::uint8_t> file = Output();
    ASSERT_GE(file.size(), expected.size());
    auto from = file.begin();
    for (std::size_t at = 0; at < expected.size(); at += blockLength) {
      auto block = expected.begin() + static_cast<std::ptrdiff_t>(at);
      auto length = static_cast<std::ptrdiff_t>(std::min(blockLength, expected.size() - at));
      auto found = std::search(from, file.end(), block, block + length);
      ASSERT_NE(found, file.end()) << "block at stream position " << at << " not found";
      from = found + length;
    }
  }
  std::filesystem::path output_;
};

std::uint8_t Sum(int a, int b) {
  return static_cast<std::uint8_t>(std::clamp(a + b - 128, 0, 255));
}

TEST_F(SdlDiskAudioTest, QueuedPlaysAreMixedIntoTheFile) {
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelAll);
  std::vector<std::uint8_t> a = Ramp(5001, 0), b = Ramp(3001, 77);
  Queue(0, a, 0, 5000);
  Queue(1, b, 1000, 4000);
  MixerActivate(s, true);
  ASSERT_TRUE(RunUntilQuiet(s));
  MixerEndSession(s);

  std::vector<std::uint8_t> expected(5000);
  for (int i = 0; i < 5000; ++i) expected[i] = a[i];
  for (int i = 1000; i < 4000; ++i) expected[i] = Sum(a[i], b[i - 1000]);
  ExpectBlocksInOrder(expected, 2048);
}

TEST_F(SdlDiskAudioTest, LoadedWavePlaysOnTwoChannelsAndBehindItself) {
  std::vector<std::uint8_t> samples = wav::Ramp(10000);
  std::string path = (folder_ / "ramp.wav").string();
  ASSERT_TRUE(wav::WriteFile(path, wav::Wave(wav::Format(1, 11025, 8), samples)));
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelAll);
  MixerActivate(s, true);
  MixWave* wave = MixerLoadWave(s, path.c_str(), nullptr, MixWaveFromFile);
  MixPlayParams held{24, s, 0, wave, nullptr, MixPlayHold, 0};
  MixPlayParams together{24, s, 1, wave, nullptr, 0, 0};
  MixPlayParams behind{24, s, 0, wave, nullptr, 0, 0};
  MixerPlay(&held);
  MixerPlay(&together);  // starts the held play with it, both at 0
  MixerPlay(&behind);    // on channel 0 from the first one's end, 9999
  ASSERT_TRUE(RunUntilQuiet(s));
  MixerUnloadWave(s, wave);
  MixerEndSession(s);

  std::vector<std::uint8_t> expected(19998);
  for (int i = 0; i < 9999; ++i) expected[i] = Sum(samples[i], samples[i]);
  for (int i = 0; i < 9999; ++i) expected[9999 + i] = samples[i];
  ExpectBlocksInOrder(expected, 2048);
}

}  // namespace
