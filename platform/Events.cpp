#include "platform/Events.h"

#include <chrono>
#include <thread>

namespace {

std::uint32_t SteadyNowMs() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SleepWait(std::uint32_t timeoutMs) {
  std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
}

void NoWake() {}

// Until a back end is chosen, time is the steady clock and nothing wakes.
EventOps currentOps{SteadyNowMs, SleepWait, NoWake};

}  // namespace

void SetEventOps(const EventOps& ops) { currentOps = ops; }
const EventOps& GetEventOps() { return currentOps; }
std::uint32_t timeGetTime() { return currentOps.NowMs(); }
