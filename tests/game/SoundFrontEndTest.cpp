#include <gtest/gtest.h>

#include "RoundFixture.h"
#include "mixer/WavWriter.h"
#include "platform/virtual/VirtualMedia.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

using namespace round_fixture;

// The effects and the voice are small waves of distinct formats, so the game
// goes through the conversion to the mixer's 8-bit mono output.
class SoundFrontEndTest : public RoundFixture {
 protected:
  void WriteWave(const std::string& name, const wav::Bytes& samples, const wav::Format& format) {
    ASSERT_TRUE(wav::WriteFile((folder_ / "dat" / name).string(), wav::Wave(format, samples)));
  }
  void WriteMidi(const std::string& name) {
    std::ofstream(folder_ / "dat" / name, std::ios::binary) << "MThd";
  }
  // The plays queued on a channel, first to last.
  std::vector<MixQueueEntry*> Queue(int channel) {
    std::vector<MixQueueEntry*> plays;
    for (MixQueueEntry* e = Form1->Mixer1->Session()->ChannelQueue[channel]; e; e = e->Link)
      plays.push_back(e);
    return plays;
  }
  bool Sounds(const std::vector<std::uint8_t>& played, const wav::Bytes& bytes) {
    // The last byte of a play is never mixed.
    return std::search(played.begin(), played.end(), bytes.begin(), bytes.end() - 1) !=
           played.end();
  }
  std::string Dat(const std::string& name) { return (folder_ / "dat" / name).string(); }
};

TEST_F(SoundFrontEndTest, GameStartQueuesClickThenJingleOnChannelZeroAndStartsTheGameMusic) {
  const wav::Bytes click = wav::Ramp(300);
  wav::Bytes jingle16(800);  // 16-bit samples whose high bytes are 0, 1, 2, ...
  for (std::size_t i = 0; i < jingle16.size(); i += 2) jingle16[i + 1] = std::uint8_t(i / 2);
  WriteWave("1.wav", click, {});
  WriteWave("start.wav", jingle16, {1, 11025, 16});
  WriteMidi("T_ssix05.mid");
  VirtualMediaLog().clear();

  Press(10, 10);
  std::vector<MixQueueEntry*> plays = Queue(0);
  ASSERT_EQ(plays.size(), 2u);
  EXPECT_EQ(plays[0]->Length, 300);
  EXPECT_EQ(plays[1]->Length, 400);
  EXPECT_GE(plays[1]->Start, plays[0]->End);
  EXPECT_EQ(VirtualMediaLog(),
            (std::vector<std::string>{"close", "open " + Dat("T_ssix05.mid"), "play"}));

  VirtualWaveOutPlay(8192);
  wav::Bytes jingle8(400);
  for (std::size_t i = 0; i < jingle8.size(); ++i) jingle8[i] = std::uint8_t(128 + i);
  EXPECT_TRUE(Sounds(VirtualWaveOutPlayed(), click));
  EXPECT_TRUE(Sounds(VirtualWaveOutPlayed(), jingle8));
}

TEST_F(SoundFrontEndTest, AFileIsLoadedOnceAndEveryPlayOfItSharesTheWave) {
  WriteWave("time.wav", wav::Ramp(50), {});
  WaitingPair(1, 1);
  for (int second = 0; second < 3; ++second) Form1->Timer3Timer(Form1->Timer3);
  std::vector<MixQueueEntry*> plays = Queue(0);
  ASSERT_EQ(plays.size(), 3u);
  EXPECT_EQ(plays[1]->Wave, plays[0]->Wave);
  EXPECT_EQ(plays[2]->Wave, plays[0]->Wave);
  EXPECT_GE(plays[1]->Start, plays[0]->End);  // queued, never cut short
  EXPECT_GE(plays[2]->Start, plays[1]->End);
}

TEST_F(SoundFrontEndTest, AMissingOrBrokenWaveIsSilentAndTheGameGoesOn) {
  std::ofstream(folder_ / "dat" / "gya1.wav") << "not a wave";
  WriteWave("good.wav", wav::Ramp(64), {});
  WaitingPair(1, 1);
  Form1->Timer3Timer(Form1->Timer3);  // time.wav is missing
  EXPECT_EQ(Clock, 29);
  Press(150, 150);  // a miss: gya1.wav is a text file
  EXPECT_EQ(Clock, 28);
  EXPECT_TRUE(Queue(0).empty());
  EXPECT_TRUE(VirtualDialogs().empty());
  Phase = 25;
  Press(10, 10);  // a hit
  ASSERT_EQ(Queue(0).size(), 1u);
  EXPECT_EQ(Queue(0)[0]->Length, 64);
}

TEST_F(SoundFrontEndTest, RetryPlaysTheVoiceOnChannelOneBesideTheClickOnChannelZero) {
  WriteWave("1.wav", wav::Ramp(10000), {});  // longer than the blocks mixed ahead
  WriteWave("yatta.wav", wav::Ramp(200), {2, 11025, 8});
  WaitingPair(1, 1);
  Clock = 0;
  GameOver = true;
  Press(0, 219);
  ASSERT_EQ(Queue(0).size(), 1u);
  ASSERT_EQ(Queue(1).size(), 1u);
  EXPECT_EQ(Queue(1)[0]->Length, 100);  // stereo made mono
  // Not behind the click: the voice sounds while the click still does.
  EXPECT_LT(Queue(1)[0]->Start, Queue(0)[0]->End);
}

TEST_F(SoundFrontEndTest, MusicThatCannotBeOpenedStopsTheOldTuneAndNothingElse) {
  WriteMidi("rei.mid");
  VirtualMediaLog().clear();
  Press(10, 10);  // T_ssix05.mid is missing
  EXPECT_EQ(VirtualMediaLog(),
            (std::vector<std::string>{"close", "open-failed " + Dat("T_ssix05.mid")}));
  EXPECT_TRUE(Form1->Timer1->Enabled());
  Clock = 0;
  Tick();  // the first tick of the result screen
  EXPECT_EQ(VirtualMediaLog().back(), "play");
}

}  // namespace
