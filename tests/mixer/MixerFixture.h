#pragma once
// A clean mixer on the virtual back end for every test: no session, a fresh
// pool, the virtual device with its defaults, the clock at 0, and MIXER.INI
// looked up in a folder of the test's own.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "mixer/Mixer.h"

class MixerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes MIXER.INI into the test's configuration folder.
  void WriteIni(const std::string& text);
  // A session that holds the virtual device, with channels 0..7 open.
  MixSession* ActiveSessionWithChannels();
  // Queues a play on an open channel behind its last one, as MixerPlay
  // would, with the given start, end, loops and wave bytes.
  MixQueueEntry* Queue(int channel, const std::vector<std::uint8_t>& data, std::int32_t start,
                       std::int32_t end, std::uint16_t loops = 0, HWND notify = nullptr,
                       MixWave* wave = nullptr);
  // Plays `bytes` on the virtual device, then dispatches what it posted.
  void PlayAndDispatch(std::size_t bytes);
  // The bytes of the in-device list's blocks, head first.
  std::vector<std::uint8_t> QueuedBlockBytes() const;

  std::filesystem::path folder_;
  std::vector<std::vector<std::uint8_t>> waves_;  // keeps queued plays' data alive
};

// Expects an EMixerError carrying exactly `message`.
template <class F>
void ExpectMixerError(F&& call, const std::string& message) {
  try {
    call();
    ADD_FAILURE() << "no error, expected \"" << message << "\"";
  } catch (const EMixerError& error) {
    EXPECT_EQ(std::string(error.what()), message);
  }
}

std::vector<std::uint8_t> Bytes(std::size_t count, std::uint8_t value);
// count bytes counting up from `first`, wrapping at 256.
std::vector<std::uint8_t> Ramp(std::size_t count, std::uint8_t first);
