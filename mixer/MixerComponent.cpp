#include "mixer/MixerComponent.h"

TMixer::TMixer(TComponent* owner) : TComponent(owner) {
  session_ = MixerInit();
  if (!session_) throw EMixerError("Initialization failed (MixerInit)");
  playRequest_.Size = MixPlayParamsRecordSize;
  playRequest_.Session = session_;
}

TMixer::~TMixer() {
  // Channels first, then the device, then the session: each step needs the
  // ones after it still in place. Nothing may escape a destructor; the
  // mixer's own clean-up runs even when a step refuses.
  try {
    SetChannels(0);
  } catch (const Exception&) {
  }
  try {
    SetActivated(false);
  } catch (const Exception&) {
  }
  try {
    if (session_) MixerEndSession(session_);
  } catch (const Exception&) {
  }
}

void TMixer::SetActivated(bool on) {
  if (on == activated_) return;
  // The form designer edits the value without taking the sound device.
  if (!Designing()) MixerActivate(session_, on);
  activated_ = on;
}

void TMixer::SetChannels(std::uint8_t openChannels) {
  if (openChannels == channels_) return;
  if (openChannels == 255) {
    MixerReserveChannels(session_, 0, MixChannelAll);
  } else if (openChannels == 0) {
    MixerReleaseChannels(session_, 0, MixChannelAll);
  } else {
    ChangeChannelBits(channels_, openChannels);
  }
  channels_ = openChannels;
}

// Only the channels whose bit changes are touched, so the stored value must
// always match the channels open in the session.
void TMixer::ChangeChannelBits(std::uint8_t from, std::uint8_t to) {
  // Written with one mask rather than comparing two extracted bits as bools:
  // g++ 12.2 at -O2 folds that comparison wrongly and skips opened channels.
  const unsigned changed = from ^ to;
  for (int channel = 0; channel < MixChannels; ++channel) {
    const unsigned bit = 1u << channel;
    if (!(changed & bit)) continue;
    if (to & bit)
      MixerReserveChannels(session_, channel, MixChannelSingle);
    else
      MixerReleaseChannels(session_, channel, 0);
  }
}

MixWave* TMixer::LoadWave(const std::string& fileName) {
  return MixerLoadWave(session_, fileName.c_str(), nullptr, MixWaveFromFile);
}

void TMixer::UnloadWave(MixWave* wave) {
  MixerUnloadWave(session_, wave);
}

void TMixer::PlayWave(std::int32_t channel, MixWave* wave, TWinControl* notify, std::uint32_t flags,
                      std::uint16_t loops) {
  playRequest_.Channel = channel;
  playRequest_.Wave = wave;
  playRequest_.NotifyWindow = notify ? notify->Handle() : nullptr;
  playRequest_.Flags = flags;
  playRequest_.Loops = loops;
  MixerPlay(&playRequest_);
}
