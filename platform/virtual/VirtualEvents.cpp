#include "platform/virtual/VirtualEvents.h"

#include "platform/Events.h"
#include "platform/MessageLoop.h"

namespace {
std::uint32_t virtualNow = 0;

std::uint32_t VirtualNowMs() { return virtualNow; }
// Nothing comes from outside: a wait is a no-op, and so is a wake-up.
void VirtualWait(std::uint32_t) {}
void VirtualWake() {}
}  // namespace

void UseVirtualEvents() { SetEventOps({VirtualNowMs, VirtualWait, VirtualWake}); }

void VirtualSetTime(std::uint32_t ms) { virtualNow = ms; }

void VirtualAdvance(std::uint32_t ms) {
  std::uint32_t left = ms;
  for (;;) {
    ProcessMessages();
    std::uint32_t step = MillisecondsToNextTimer(left);
    if (step == 0 && left == 0) break;
    if (step == 0) step = 1;  // a due timer was just served; move on
    virtualNow += step;
    left -= step;
    if (left == 0) {
      ProcessMessages();
      break;
    }
  }
}
