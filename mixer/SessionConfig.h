#pragma once
// Choosing a new session's device, format and blocks from the caller's
// record and MIXER.INI.
#include <cstdint>

#include "mixer/Mixer.h"

// Fills the device, format, block and re-mix fields of a fresh session.
// Raises for a device that cannot serve a real-time mixer.
void ConfigureSession(MixSession& session, const MixConfig* config, std::uint32_t deviceCount);
