// Writes a tune as a Standard MIDI File, format 1: a first track with the
// tune's name, time signature and tempo, then one track per instrument.
#pragma once

#include <cstdint>
#include <vector>

#include "notelist.h"

namespace smf {

// Appends a number as MIDI's variable-length quantity: seven bits a byte,
// most significant first, the top bit set on all but the last byte.
void AppendVarLen(std::vector<uint8_t>& out, uint32_t value);

std::vector<uint8_t> WriteSong(const notelist::Song& song);

}  // namespace smf
