#pragma once
// What a back end supplies to the message loop: the time, a way to wait for
// outside events (and to translate them into platform calls), and a way to
// wake the waiting GUI thread from another thread.
#include <cstdint>

struct EventOps {
  std::uint32_t (*NowMs)();
  // Waits at most timeoutMs for outside events and handles those that came.
  void (*WaitForEvents)(std::uint32_t timeoutMs);
  // Called from any thread after something was posted.
  void (*Wake)();
};

void SetEventOps(const EventOps& ops);
const EventOps& GetEventOps();

// The system time in milliseconds, wrapping at 2^32.
std::uint32_t timeGetTime();
