#pragma once
// The virtual back end's clock: time moves only when a test moves it.
#include <cstdint>

void UseVirtualEvents();
void VirtualSetTime(std::uint32_t ms);
// Moves the clock forward by ms, stopping at every timer due time on the way
// and dispatching what is due there, then dispatches at the final time.
void VirtualAdvance(std::uint32_t ms);
