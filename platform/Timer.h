#pragma once
// Timers as the game's form uses them: an interval, on/off, an event. A tick
// that is due while the previous one is still pending is not queued again.
#include <cstdint>
#include <functional>

#include "platform/Component.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner = nullptr);
  ~TTimer() override;
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  std::uint32_t Interval() const { return interval_; }
  void SetInterval(std::uint32_t ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);

  std::function<void()> OnTimer;

  // Used by the message loop.
  bool Due(std::uint32_t now) const;
  void MarkDispatched(std::uint32_t now);
  std::uint32_t NextDue() const { return nextDue_; }

 private:
  void Restart();
  std::uint32_t interval_ = 1000;
  bool enabled_ = true;
  std::uint32_t nextDue_ = 0;
};

// All live timers, for the message loop.
void ForEachTimer(const std::function<void(TTimer&)>& visit);
