// Unloading a wave drops its plays, queued or held, unheard, and leaves
// every other play where it was.
#include <vector>

#include "MixerFixture.h"
#include "WavWriter.h"
#include "mixer/HeldPlays.h"
#include "mixer/Wave.h"
#include "platform/Messages.h"
#include "platform/Riff.h"

namespace {

LRESULT Ignore(HWND, std::uint32_t, WPARAM, LPARAM) {
  return 0;
}

class WaveUnloadTest : public MixerTest {
 protected:
  MixWave* LoadSomeWave(MixSession* session) {
    image_ = wav::Wave({}, {1, 2, 3, 4});
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = reinterpret_cast<const char*>(image_.data());
    info.cchBuffer = static_cast<std::int32_t>(image_.size());
    return MixerLoadWave(session, reinterpret_cast<const char*>(&info), nullptr, MixWaveFromMemory);
  }
  wav::Bytes image_;
};

std::vector<MixQueueEntry*> QueueOf(const MixSession& session, int channel) {
  std::vector<MixQueueEntry*> entries;
  for (MixQueueEntry* e = session.ChannelQueue[channel]; e != nullptr; e = e->Link) {
    entries.push_back(e);
  }
  return entries;
}

int FreeEntries() {
  int count = 0;
  for (MixQueueEntry* e = MixerUnit.FreeQueueEntries; e != nullptr; e = e->Link) ++count;
  return count;
}

TEST_F(WaveUnloadTest, DropsTheWavesQueuedAndHeldPlaysOnly) {
  MixSession* session = MixerInit();
  MixerReserveChannels(session, 0, MixChannelSingle);
  MixerReserveChannels(session, 3, MixChannelSingle);
  MixWave* doomed = LoadSomeWave(session);
  MixWave other{};
  HWND notify = CreateWindowWithProc(Ignore);

  const auto play = [&](int channel, MixWave* wave) {
    return Queue(channel, {9, 9}, 0, 100, 0, notify, wave);
  };
  play(0, doomed);
  MixQueueEntry* a = play(0, &other);
  play(0, doomed);
  MixQueueEntry* b = play(0, &other);
  MixQueueEntry* c = play(3, &other);
  play(3, doomed);
  MixQueueEntry* heldOther = TakeQueueEntry();
  heldOther->Wave = &other;
  MixQueueEntry* heldDoomed = TakeQueueEntry();
  heldDoomed->Wave = doomed;
  HoldPlay(*session, heldDoomed);
  HoldPlay(*session, heldOther);
  const int freeBefore = FreeEntries();

  MixerUnloadWave(session, doomed);

  EXPECT_EQ(QueueOf(*session, 0), (std::vector<MixQueueEntry*>{a, b}));
  EXPECT_EQ(QueueOf(*session, 3), (std::vector<MixQueueEntry*>{c}));
  EXPECT_EQ(session->ChannelQueue[1], MixChannelClosed());
  EXPECT_EQ(TakeOldestHeldPlay(*session), heldOther);
  EXPECT_EQ(session->HeldPlays, nullptr);
  EXPECT_EQ(FreeEntries(), freeBefore + 4);
  EXPECT_EQ(PendingMessageCount(), 0);
}

TEST_F(WaveUnloadTest, RefusesANullWaveOrABadSession) {
  MixSession* session = MixerInit();
  MixWave* wave = LoadSomeWave(session);
  ExpectMixerError([&] { MixerUnloadWave(session, nullptr); }, "The given pointer was not valid");
  MixSession bogus{};
  ExpectMixerError([&] { MixerUnloadWave(&bogus, wave); }, "Invalid Session handle");
  MixerUnloadWave(session, wave);
}

}  // namespace
