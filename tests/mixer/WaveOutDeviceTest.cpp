#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/MessageLoop.h"
#include "platform/Messages.h"
#include "platform/virtual/Virtual.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

std::vector<LPARAM> done;

LRESULT Record(HWND, std::uint32_t message, WPARAM, LPARAM lParam) {
  if (message == MM_WOM_DONE) done.push_back(lParam);
  return 0;
}

class WaveOutDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseVirtualBackend();
    ResetWindowsForTests();
    done.clear();
    window = CreateWindowWithProc(Record);
    ASSERT_EQ(waveOutOpen(&device, 0, &format, reinterpret_cast<std::uintptr_t>(window), 0,
                          CALLBACK_WINDOW),
              MMSYSERR_NOERROR);
    for (int i = 0; i < 3; ++i) {
      data[i].assign(100, static_cast<std::uint8_t>(10 * (i + 1)));
      headers[i] = WAVEHDR{};
      headers[i].lpData = reinterpret_cast<char*>(data[i].data());
      headers[i].dwBufferLength = 100;
      ASSERT_EQ(waveOutPrepareHeader(device, &headers[i], sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
  }
  void TearDown() override {
    waveOutReset(device);
    waveOutClose(device);
  }
  std::uint32_t Position() {
    MMTIME time{TIME_BYTES, {0}};
    EXPECT_EQ(waveOutGetPosition(device, &time, sizeof time), MMSYSERR_NOERROR);
    return time.u.cb;
  }
  PCMWAVEFORMAT format{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8};
  HWND window = nullptr;
  HWAVEOUT device = nullptr;
  std::vector<std::uint8_t> data[3];
  WAVEHDR headers[3];
};

TEST_F(WaveOutDeviceTest, PlaysBlocksInOrderAndReportsEachAsDone) {
  for (WAVEHDR& h : headers) ASSERT_EQ(waveOutWrite(device, &h, sizeof h), MMSYSERR_NOERROR);
  std::memset(data[1].data(), 99, 100);  // the device plays what it was given
  EXPECT_EQ(VirtualWaveOutPlay(150), 150u);
  EXPECT_EQ(Position(), 150u);
  EXPECT_TRUE(WaveHeaderFlags(headers[0]) & WHDR_DONE);
  EXPECT_FALSE(WaveHeaderFlags(headers[1]) & WHDR_DONE);
  ProcessMessages();
  EXPECT_EQ(done, (std::vector<LPARAM>{reinterpret_cast<LPARAM>(&headers[0])}));
  EXPECT_EQ(VirtualWaveOutPlay(1000), 150u);  // runs dry after the last block
  std::vector<std::uint8_t> expected(100, 10);
  expected.insert(expected.end(), 100, 20);
  expected.insert(expected.end(), 100, 30);
  EXPECT_EQ(VirtualWaveOutPlayed(), expected);
}

TEST_F(WaveOutDeviceTest, ResetHandsEveryQueuedBlockBackAndRestartsTheCount) {
  for (WAVEHDR& h : headers) waveOutWrite(device, &h, sizeof h);
  VirtualWaveOutPlay(30);
  ASSERT_EQ(waveOutReset(device), MMSYSERR_NOERROR);
  EXPECT_EQ(Position(), 0u);
  for (WAVEHDR& h : headers) EXPECT_EQ(WaveHeaderFlags(h) & (WHDR_DONE | WHDR_INQUEUE), WHDR_DONE);
  ProcessMessages();
  EXPECT_EQ(done.size(), 3u);
  EXPECT_EQ(VirtualWaveOutPlay(10), 0u);
}

TEST_F(WaveOutDeviceTest, PausedDevicePlaysNothingUntilRestarted) {
  waveOutPause(device);
  waveOutWrite(device, &headers[0], sizeof(WAVEHDR));
  EXPECT_EQ(VirtualWaveOutPlay(50), 0u);
  waveOutRestart(device);
  EXPECT_EQ(VirtualWaveOutPlay(50), 50u);
}

TEST_F(WaveOutDeviceTest, RefusesMisuse) {
  WAVEHDR unprepared{};
  unprepared.lpData = reinterpret_cast<char*>(data[0].data());
  unprepared.dwBufferLength = 10;
  EXPECT_EQ(waveOutWrite(device, &unprepared, sizeof unprepared), WAVERR_UNPREPARED);
  EXPECT_EQ(waveOutWrite(device, &headers[0], sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutWrite(device, &headers[0], sizeof(WAVEHDR)), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveOutUnprepareHeader(device, &headers[0], sizeof(WAVEHDR)), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveOutClose(device), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveOutWrite(device, nullptr, sizeof(WAVEHDR)), MMSYSERR_INVALPARAM);
  auto* stranger = reinterpret_cast<HWAVEOUT>(&unprepared);
  EXPECT_EQ(waveOutWrite(stranger, &headers[1], sizeof(WAVEHDR)), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(waveOutReset(stranger), MMSYSERR_INVALHANDLE);
}

TEST_F(WaveOutDeviceTest, FormatQueryAcceptsOnlyTheMixersFormats) {
  struct Case {
    PCMWAVEFORMAT format;
    MMRESULT result;
  };
  for (Case c : {Case{{1, 2, 44100, 88200, 2, 8}, MMSYSERR_NOERROR},
                 Case{{1, 1, 22050, 22050, 1, 8}, MMSYSERR_NOERROR},
                 Case{{1, 1, 48000, 48000, 1, 8}, WAVERR_BADFORMAT},
                 Case{{1, 1, 11025, 22050, 2, 16}, WAVERR_BADFORMAT},
                 Case{{1, 3, 11025, 33075, 3, 8}, WAVERR_BADFORMAT},
                 Case{{2, 1, 11025, 11025, 1, 8}, WAVERR_BADFORMAT}}) {
    EXPECT_EQ(waveOutOpen(nullptr, WAVE_MAPPER, &c.format, 0, 0, WAVE_FORMAT_QUERY), c.result)
        << c.format.nSamplesPerSec << " " << c.format.wBitsPerSample;
  }
  EXPECT_EQ(waveOutOpen(nullptr, 5, &format, 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_BADDEVICEID);
}

}  // namespace
