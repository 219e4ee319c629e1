#include "platform/Timer.h"

#include <algorithm>
#include <vector>

#include "platform/Events.h"

namespace {
std::vector<TTimer*>& LiveTimers() {
  static std::vector<TTimer*> timers;
  return timers;
}
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  LiveTimers().push_back(this);
  Restart();
}

TTimer::~TTimer() { std::erase(LiveTimers(), this); }

void TTimer::SetInterval(std::uint32_t ms) {
  interval_ = ms;
  Restart();
}

void TTimer::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  Restart();
}

void TTimer::Restart() { nextDue_ = timeGetTime() + interval_; }

bool TTimer::Due(std::uint32_t now) const {
  return enabled_ && interval_ > 0 && static_cast<std::int32_t>(now - nextDue_) >= 0;
}

// One tick per pass however late we are: a slow frame does not make the
// timer fire in a burst afterwards.
void TTimer::MarkDispatched(std::uint32_t now) {
  nextDue_ += interval_;
  if (static_cast<std::int32_t>(now - nextDue_) >= 0) nextDue_ = now + interval_;
}

void ForEachTimer(const std::function<void(TTimer&)>& visit) {
  // A handler may create or destroy timers; walk a copy and skip the dead.
  std::vector<TTimer*> snapshot = LiveTimers();
  for (TTimer* timer : snapshot) {
    if (std::find(LiveTimers().begin(), LiveTimers().end(), timer) != LiveTimers().end())
      visit(*timer);
  }
}
