#include "platform/MessageLoop.h"

#include <algorithm>
#include <atomic>

#include "platform/Events.h"
#include "platform/Timer.h"

bool DispatchOnePostedMessage();  // Messages.cpp

namespace {
std::atomic<bool> terminated{false};
void (*afterDispatch)() = nullptr;

// A burst of posts from a runaway handler must not starve input and timers.
constexpr int kMaxMessagesPerPass = 10000;

int DispatchDueTimers() {
  int count = 0;
  ForEachTimer([&count](TTimer& timer) {
    std::uint32_t now = timeGetTime();
    if (!timer.Due(now)) return;
    timer.MarkDispatched(now);
    if (timer.OnTimer) timer.OnTimer();
    ++count;
  });
  return count;
}
}  // namespace

int ProcessMessages() {
  int count = 0;
  while (count < kMaxMessagesPerPass && DispatchOnePostedMessage()) ++count;
  count += DispatchDueTimers();
  if (count > 0 && afterDispatch) afterDispatch();
  return count;
}

std::uint32_t MillisecondsToNextTimer(std::uint32_t cap) {
  std::uint32_t now = timeGetTime();
  std::uint32_t wait = cap;
  ForEachTimer([&](TTimer& timer) {
    if (!timer.Enabled() || timer.Interval() == 0) return;
    std::int32_t left = static_cast<std::int32_t>(timer.NextDue() - now);
    wait = std::min<std::uint32_t>(wait, left > 0 ? static_cast<std::uint32_t>(left) : 0);
  });
  return wait;
}

void RunMessageLoop(const std::function<bool()>& stop) {
  while (!terminated && !(stop && stop())) {
    if (ProcessMessages() > 0) continue;
    GetEventOps().WaitForEvents(MillisecondsToNextTimer(100));
  }
}

void TerminateApplication() {
  terminated = true;
  GetEventOps().Wake();
}
bool ApplicationTerminated() { return terminated; }
void ResetTerminationForTests() { terminated = false; }
void SetAfterDispatchHook(void (*hook)()) { afterDispatch = hook; }
