#include <gtest/gtest.h>

#include <string>

#include "MixerFixture.h"
#include "mixer/MixerComponent.h"
#include "mixer/fChannel.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

class MixerComponentTest : public MixerTest {
 protected:
  bool IsOpen(int channel) const {
    return mixer->Session()->ChannelQueue[channel] != MixChannelClosed();
  }
  int OpenCount() const { return mixer->Session()->OpenChannelCount; }
  TMixer* mixer = nullptr;
  void SetUp() override {
    MixerTest::SetUp();
    mixer = new TMixer(nullptr);
  }
  void TearDown() override {
    delete mixer;
    MixerTest::TearDown();
  }
};

TEST_F(MixerComponentTest, ConstructionMakesASessionWithoutDeviceOrChannels) {
  EXPECT_EQ(ValidateSession(mixer->Session()), mixer->Session());
  EXPECT_FALSE(mixer->Activated());
  EXPECT_EQ(mixer->Channels(), 0);
  EXPECT_EQ(OpenCount(), 0);
  EXPECT_FALSE(VirtualWaveOutIsOpen());
  std::uint16_t size = mixer->PlayRequest().Size;
  MixSession* session = mixer->PlayRequest().Session;
  EXPECT_EQ(size, 24);
  EXPECT_EQ(session, mixer->Session());
}

TEST_F(MixerComponentTest, ASecondComponentIsRefusedAndTheFirstKeepsItsSession) {
  ExpectMixerError([] { TMixer second(nullptr); }, "Session already initialized");
  EXPECT_EQ(ValidateSession(mixer->Session()), mixer->Session());
}

TEST_F(MixerComponentTest, ActivatedTakesAndGivesBackTheDeviceOnlyOnChange) {
  mixer->SetActivated(true);
  EXPECT_TRUE(VirtualWaveOutIsOpen());
  VirtualWaveOutClearCalls();
  mixer->SetActivated(true);
  EXPECT_TRUE(VirtualWaveOutCalls().empty());
  mixer->SetActivated(false);
  EXPECT_FALSE(VirtualWaveOutIsOpen());
  EXPECT_FALSE(mixer->Activated());
}

TEST_F(MixerComponentTest, FailedActivationKeepsTheStoredValue) {
  VirtualWaveOutFail(VirtualWaveCall::Open, 2);
  ExpectMixerError([this] { mixer->SetActivated(true); },
                   "Failed to open waveform output device #2");
  EXPECT_FALSE(mixer->Activated());
}

TEST_F(MixerComponentTest, DesigningStoresActivatedWithoutTheDeviceButStillOpensChannels) {
  mixer->SetDesigning(true);
  mixer->SetActivated(true);
  EXPECT_TRUE(mixer->Activated());
  EXPECT_FALSE(VirtualWaveOutIsOpen());
  mixer->SetChannels(3);
  EXPECT_TRUE(IsOpen(0) && IsOpen(1));
}

TEST_F(MixerComponentTest, ChannelsActsOnChangedBitsOnly) {
  mixer->SetChannels(3);
  EXPECT_TRUE(IsOpen(0) && IsOpen(1) && !IsOpen(2));
  // A channel opened behind the component's back: a single reserve of it
  // would be refused, the all-channels reserve is not.
  MixerReserveChannels(mixer->Session(), 5, MixChannelSingle);
  mixer->SetChannels(255);
  EXPECT_EQ(OpenCount(), 8);
  mixer->SetChannels(254);
  EXPECT_FALSE(IsOpen(0));
  EXPECT_EQ(OpenCount(), 7);
}

TEST_F(MixerComponentTest, ChannelsZeroReleasesEveryChannelAtOnce) {
  mixer->SetChannels(5);
  MixerReserveChannels(mixer->Session(), 6, MixChannelSingle);
  mixer->SetChannels(0);
  EXPECT_EQ(OpenCount(), 0);  // channel 6 too: one release of all
}

TEST_F(MixerComponentTest, ChannelsOutOfStepWithTheSessionReportsTheMixersError) {
  MixerReserveChannels(mixer->Session(), 1, MixChannelSingle);
  ExpectMixerError([this] { mixer->SetChannels(2); }, "The channel has already been opened");
  EXPECT_EQ(mixer->Channels(), 0);
}

TEST_F(MixerComponentTest, PlayWaveFillsTheEmbeddedRequest) {
  mixer->SetActivated(true);
  mixer->SetChannels(3);
  MixWave wave{};
  std::uint8_t data[4] = {1, 2, 3, 4};
  wave.SampleData = data;
  wave.SampleLength = 4;
  TWinControl notify(nullptr);
  mixer->PlayWave(1, &wave, &notify, 0, 2);
  const MixPlayParams& request = mixer->PlayRequest();
  std::uint16_t size = request.Size, loops = request.Loops;
  std::int32_t channel = request.Channel;
  MixWave* played = request.Wave;
  HWND notifyWindow = request.NotifyWindow;
  EXPECT_EQ(size, 24);
  EXPECT_EQ(channel, 1);
  EXPECT_EQ(played, &wave);
  EXPECT_EQ(notifyWindow, notify.Handle());
  EXPECT_EQ(loops, 2);
  ASSERT_NE(mixer->Session()->ChannelQueue[1], nullptr);
  HWND queuedNotify = mixer->Session()->ChannelQueue[1]->Request.NotifyWindow;
  EXPECT_EQ(queuedNotify, notify.Handle());
  mixer->PlayWave(0, &wave, nullptr, 0, 0);
  notifyWindow = mixer->PlayRequest().NotifyWindow;
  EXPECT_EQ(notifyWindow, nullptr);
  MixerClearChannel(mixer->Session(), 0, MixChannelAll | MixChannelNoRemix);
}

TEST_F(MixerComponentTest, DestructionClosesChannelsThenReleasesTheDeviceThenEndsTheSession) {
  mixer->SetActivated(true);
  mixer->SetChannels(3);
  MixSession* session = mixer->Session();
  delete mixer;
  mixer = nullptr;
  EXPECT_FALSE(VirtualWaveOutIsOpen());
  EXPECT_EQ(MixerUnit.CurrentSession, nullptr);
  ExpectMixerError([session] { ValidateSession(session); }, "Invalid Session handle");
  TMixer again(nullptr);  // the one session may be made anew
}

TEST(ChannelPickerLayout, EachCheckBoxSitsUnderTheLabelOfItsChannel) {
  EXPECT_EQ(TfChannels.Caption, "Channels");
  EXPECT_EQ(TfChannels.ClientWidth, 116);
  EXPECT_EQ(TfChannels.ClientHeight, 72);
  EXPECT_EQ(TfChannels.FontHeight, -11);
  EXPECT_EQ(TfChannels.OkModalResult, mrOk);
  for (int i = 0; i < 8; ++i) {
    const auto& label = TfChannels.Labels[i];
    const auto& box = TfChannels.CheckBoxes[i];
    EXPECT_EQ(label.Caption, std::to_string(7 - i));
    EXPECT_EQ(box.Tag, 7 - i);
    EXPECT_EQ(box.Left, label.Left);
    EXPECT_GT(box.Top, label.Top);
    if (i > 0) {
      EXPECT_GT(label.Left, TfChannels.Labels[i - 1].Left);
    }
  }
}

}  // namespace
