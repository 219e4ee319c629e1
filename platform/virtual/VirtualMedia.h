#pragma once
// The virtual media player records what the game asked of it.
#include <string>
#include <vector>

void UseVirtualMedia();
// Entries like "open /x/dat/rei.mid", "play", "stop", "close"; a failed open
// is logged as "open-failed <path>".
std::vector<std::string>& VirtualMediaLog();
