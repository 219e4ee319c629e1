#pragma once
// The GUI thread's loop: posted messages first, then timer ticks that are due.
#include <cstdint>
#include <functional>

// Dispatches every posted message that is queued now and every due timer
// tick, once. Returns the number of things dispatched.
int ProcessMessages();
// Runs until TerminateApplication, or until stop() returns true when given.
void RunMessageLoop(const std::function<bool()>& stop = nullptr);
void TerminateApplication();
bool ApplicationTerminated();
void ResetTerminationForTests();
// Milliseconds until the next timer is due (capped), for back ends that wait.
std::uint32_t MillisecondsToNextTimer(std::uint32_t cap);
// Called after each dispatched batch so a back end can put changed pixels on
// the screen; set by the application layer.
void SetAfterDispatchHook(void (*hook)());
