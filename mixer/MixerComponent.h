#pragma once
// TMixer: the non-visual component through which a window uses the mixer.
// It owns one mixer session from construction to destruction and turns its
// two stored properties into mixer calls.
#include <cstdint>
#include <string>

#include "mixer/Mixer.h"
#include "platform/Controls.h"

// The size that callers have always put in a play request's size field
// (the record as laid out with 32-bit handles); the mixer does not read it.
constexpr std::uint16_t MixPlayParamsRecordSize = 24;

class TMixer : public TComponent {
 public:
  explicit TMixer(TComponent* owner);
  ~TMixer() override;

  bool Activated() const { return activated_; }
  void SetActivated(bool on);
  std::uint8_t Channels() const { return channels_; }
  void SetChannels(std::uint8_t openChannels);

  // The caller owns the wave and gives it back with UnloadWave.
  MixWave* LoadWave(const std::string& fileName);
  void UnloadWave(MixWave* wave);
  void PlayWave(std::int32_t channel, MixWave* wave, TWinControl* notify, std::uint32_t flags,
                std::uint16_t loops);

  MixSession* Session() const { return session_; }
  const MixPlayParams& PlayRequest() const { return playRequest_; }

 private:
  void ChangeChannelBits(std::uint8_t from, std::uint8_t to);

  MixPlayParams playRequest_{};
  MixSession* session_ = nullptr;
  bool activated_ = false;
  std::uint8_t channels_ = 0;
};
