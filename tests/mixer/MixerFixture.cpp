#include "MixerFixture.h"

#include <fstream>

#include "platform/MessageLoop.h"
#include "platform/Messages.h"
#include "platform/Profile.h"
#include "platform/virtual/Virtual.h"
#include "platform/virtual/VirtualEvents.h"
#include "platform/virtual/VirtualWaveOut.h"

void MixerTest::SetUp() {
  ResetMixerUnitForTests();
  UseVirtualBackend();
  ResetWindowsForTests();
  VirtualSetTime(0);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  folder_ = std::filesystem::temp_directory_path() /
            ("mixer-" + std::string(info->test_suite_name()) + "-" + info->name());
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
  SetProfileFolder(folder_.string());
}

void MixerTest::TearDown() {
  ResetMixerUnitForTests();
  SetProfileFolder("");
  std::filesystem::remove_all(folder_);
}

void MixerTest::WriteIni(const std::string& text) {
  std::ofstream(folder_ / "MIXER.INI") << text;
}

MixSession* MixerTest::ActiveSessionWithChannels() {
  MixSession* session = MixerInit();
  MixerActivate(session, true);
  MixerReserveChannels(session, 0, MixChannelAll);
  return session;
}

MixQueueEntry* MixerTest::Queue(int channel, const std::vector<std::uint8_t>& data,
                                std::int32_t start, std::int32_t end, std::uint16_t loops,
                                HWND notify, MixWave* wave) {
  MixSession& session = *MixerUnit.CurrentSession;
  waves_.push_back(data);
  MixQueueEntry* entry = TakeQueueEntry();
  entry->Request = {};
  entry->Request.Session = &session;
  entry->Request.Channel = channel;
  entry->Request.Wave = wave;
  entry->Request.NotifyWindow = notify;
  entry->Request.Loops = loops;
  entry->Wave = wave;
  entry->Length = static_cast<std::int32_t>(data.size());
  entry->Data = waves_.back().data();
  entry->Start = start;
  entry->End = end;
  MixQueueEntry** link = &session.ChannelQueue[channel];
  while (*link != nullptr) link = &(*link)->Link;
  *link = entry;
  return entry;
}

void MixerTest::PlayAndDispatch(std::size_t bytes) {
  VirtualWaveOutPlay(bytes);
  ProcessMessages();
}

std::vector<std::uint8_t> MixerTest::QueuedBlockBytes() const {
  std::vector<std::uint8_t> bytes;
  std::size_t length = static_cast<std::size_t>(MixerUnit.CurrentSession->BlockLength);
  for (MixBlock* b = MixerUnit.InDeviceHead; b != nullptr; b = b->NextInDevice) {
    bytes.insert(bytes.end(), b->Samples, b->Samples + length);
  }
  return bytes;
}

std::vector<std::uint8_t> Bytes(std::size_t count, std::uint8_t value) {
  return std::vector<std::uint8_t>(count, value);
}

std::vector<std::uint8_t> Ramp(std::size_t count, std::uint8_t first) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
  return bytes;
}
