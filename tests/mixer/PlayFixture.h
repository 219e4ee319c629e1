#pragma once
// Play requests on an active session with real MixWave records.
#include <memory>

#include "MixerFixture.h"
#include "mixer/Wave.h"

class PlayTest : public MixerTest {
 protected:
  // A wave record over `samples`, owned by the test.
  MixWave* MakeWave(std::vector<std::uint8_t> samples, std::int32_t claimedLength = -1) {
    auto data = std::make_unique<std::vector<std::uint8_t>>(std::move(samples));
    auto wave = std::make_unique<MixWave>();
    wave->SampleData = data->data();
    wave->SampleLength =
        claimedLength >= 0 ? claimedLength : static_cast<std::int32_t>(data->size());
    data_.push_back(std::move(data));
    records_.push_back(std::move(wave));
    return records_.back().get();
  }
  MixPlayParams Request(MixSession* s, std::int32_t channel, MixWave* wave, std::uint32_t flags = 0,
                        std::uint16_t loops = 0, HWND notify = nullptr) {
    return MixPlayParams{24, s, channel, wave, notify, flags, loops};
  }
  static MixQueueEntry* Last(MixSession* s, int channel) {
    MixQueueEntry* e = s->ChannelQueue[channel];
    while (e != nullptr && e != MixChannelClosed() && e->Link != nullptr) e = e->Link;
    return e;
  }

 private:
  std::vector<std::unique_ptr<std::vector<std::uint8_t>>> data_;
  std::vector<std::unique_ptr<MixWave>> records_;
};
