#include <cstring>

#include "MixerFixture.h"
#include "platform/ModuleFileName.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

using SessionTest = MixerTest;

int FreeEntries() {
  int count = 0;
  for (MixQueueEntry* e = MixerUnit.FreeQueueEntries; e != nullptr; e = e->Link) ++count;
  return count;
}

TEST_F(SessionTest, NewSessionHasMagicClosedChannelsAndNoDevice) {
  MixSession* s = MixerInit();
  EXPECT_EQ(MixerUnit.CurrentSession, s);
  EXPECT_EQ(ValidateSession(s), s);
  EXPECT_EQ(s->Magic, 21554);
  EXPECT_EQ(s->Magic2, 21554);
  for (MixQueueEntry* q : s->ChannelQueue) EXPECT_EQ(q, MixChannelClosed());
  EXPECT_FALSE(s->IsActivated);
  EXPECT_EQ(s->WaveOut, nullptr);
  EXPECT_EQ(s->OpenChannelCount, 0);
  EXPECT_EQ(MixerUnit.ActiveSession, nullptr);
}

TEST_F(SessionTest, SecondInitLeavesFirstSessionAndItsPlays) {
  MixSession* s = MixerInit();
  MixerReserveChannels(s, 0, MixChannelSingle);
  MixQueueEntry* play = Queue(0, Bytes(10, 1), 0, 9);
  ExpectMixerError([] { MixerInit(); }, "Session already initialized");
  EXPECT_EQ(MixerUnit.CurrentSession, s);
  EXPECT_EQ(s->ChannelQueue[0], play);
  EXPECT_EQ(FreeEntries(), 99);
}

TEST_F(SessionTest, RefusedDevicesLeaveNoSession) {
  VirtualWaveDevice sync;
  sync.name = "Slow Card";
  sync.support = WAVECAPS_SYNC;
  VirtualWaveOutSetDevices({sync}, sync);
  ExpectMixerError([] { MixerInit(); },
                   "Slow Card is a syncronous (blocking) wave output device.  This will not permit "
                   "audio to play while other applications are running");
  EXPECT_EQ(MixerUnit.CurrentSession, nullptr);

  VirtualWaveOutSetDevices({VirtualWaveDevice{}}, VirtualWaveDevice{});
  WriteIni("[not compatible]\nvirtual wave out=1\n");
  ExpectMixerError([] { MixerInit(); },
                   "Virtual Wave Out is not compatible with the realtime mixer");
  EXPECT_EQ(MixerUnit.CurrentSession, nullptr);

  WriteIni("[not compatible]\nVirtual Wave Out=0\n");
  EXPECT_NE(MixerInit(), nullptr);
}

TEST_F(SessionTest, NoDevicesRefused) {
  VirtualWaveOutSetDevices({}, VirtualWaveDevice{});
  ExpectMixerError([] { MixerInit(); }, "No wave output devices available");
  EXPECT_EQ(MixerUnit.CurrentSession, nullptr);
}

TEST_F(SessionTest, FailedCapabilityQueryNamesUnknownDevice) {
  VirtualWaveDevice broken;
  broken.capsResult = MMSYSERR_ERROR;
  VirtualWaveOutSetDevices({broken}, broken);
  WriteIni("[Unknown Device]\nWaveBlocks=6\n");
  MixConfig stereo{10, 1, 2, 0};
  MixSession* s = MixerInitConfigured(&stereo);
  EXPECT_STREQ(s->DeviceName, "Unknown Device");
  EXPECT_EQ(s->BlockCount, 6);
  EXPECT_EQ(s->OutputFormat.nChannels, 1);
}

TEST_F(SessionTest, ModuleNameFailureReportsTheCode) {
  SetModulePathLookup([](std::string&, std::uint32_t& error) {
    error = 31;
    return false;
  });
  ExpectMixerError([] { MixerInit(); }, "GetModuleFileName error #31");
  SetModulePathLookup(nullptr);
  EXPECT_EQ(MixerUnit.CurrentSession, nullptr);
  EXPECT_NE(MixerInit(), nullptr);
}

TEST_F(SessionTest, InvalidHandlesRefused) {
  MixSession* s = MixerInit();
  MixSession forged{};
  std::memcpy(&forged, s, sizeof forged);
  ExpectMixerError([] { ValidateSession(nullptr); }, "Invalid Session handle");
  ExpectMixerError([&] { ValidateSession(&forged); }, "Invalid Session handle");
  s->Magic2 = 1;
  ExpectMixerError([&] { ValidateSession(s); }, "Invalid Session handle");
  s->Magic2 = MixSessionMagic;
  EXPECT_EQ(ValidateSession(s), s);
}

TEST_F(SessionTest, EndedSessionHandleRefusedEverywhere) {
  MixSession* s = ActiveSessionWithChannels();
  Queue(2, Bytes(5000, 9), 0, 4999);
  MixerEndSession(s);
  EXPECT_EQ(MixerUnit.CurrentSession, nullptr);
  EXPECT_EQ(MixerUnit.ActiveSession, nullptr);
  EXPECT_FALSE(VirtualWaveOutIsOpen());
  EXPECT_EQ(FreeEntries(), 100);
  const char* kInvalid = "Invalid Session handle";
  ExpectMixerError([&] { ValidateSession(s); }, kInvalid);
  ExpectMixerError([&] { MixerActivate(s, true); }, kInvalid);
  ExpectMixerError([&] { MixerReserveChannels(s, 0, 0); }, kInvalid);
  ExpectMixerError([&] { MixerClearChannel(s, 0, 0); }, kInvalid);
  ExpectMixerError([&] { MixerReleaseChannels(s, 0, 0); }, kInvalid);
  ExpectMixerError([&] { MixerEndSession(s); }, kInvalid);
  EXPECT_NE(MixerInit(), nullptr);
}

}  // namespace
