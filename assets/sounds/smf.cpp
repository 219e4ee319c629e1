#include "smf.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace smf {

namespace {

struct Event {
  uint32_t tick;
  int order;  // at one tick: set-up first, then note-offs, then note-ons
  std::vector<uint8_t> bytes;
};

void AppendBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> TextMeta(uint8_t type, const std::string& text) {
  std::vector<uint8_t> b = {0xFF, type};
  AppendVarLen(b, static_cast<uint32_t>(text.size()));
  b.insert(b.end(), text.begin(), text.end());
  return b;
}

// Turns events into one "MTrk" chunk, closed by the end-of-track event at
// end_tick (or after the last event, if that is later).
void AppendTrack(std::vector<uint8_t>& out, std::vector<Event> events, uint32_t end_tick) {
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  std::vector<uint8_t> data;
  uint32_t now = 0;
  for (const Event& e : events) {
    AppendVarLen(data, e.tick - now);
    now = e.tick;
    data.insert(data.end(), e.bytes.begin(), e.bytes.end());
  }
  AppendVarLen(data, std::max(end_tick, now) - now);
  data.insert(data.end(), {0xFF, 0x2F, 0x00});
  out.insert(out.end(), {'M', 'T', 'r', 'k'});
  AppendBigEndian(out, static_cast<uint32_t>(data.size()), 4);
  out.insert(out.end(), data.begin(), data.end());
}

int Log2(int v) {
  int n = 0;
  while (v > 1) {
    v >>= 1;
    ++n;
  }
  return n;
}

}  // namespace

void AppendVarLen(std::vector<uint8_t>& out, uint32_t value) {
  if (value > 0x0FFFFFFF) throw std::length_error("time too long for a MIDI file");
  uint8_t groups[4];
  int n = 0;
  do {
    groups[n++] = value & 0x7F;
    value >>= 7;
  } while (value != 0);
  while (n > 1) out.push_back(groups[--n] | 0x80);
  out.push_back(groups[0]);
}

std::vector<uint8_t> WriteSong(const notelist::Song& song) {
  const uint32_t end = song.EndTick();
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
  AppendBigEndian(out, static_cast<uint32_t>(song.tracks.size() + 1), 2);
  AppendBigEndian(out, notelist::kTicksPerQuarter, 2);

  std::vector<Event> conductor;
  if (!song.title.empty()) conductor.push_back({0, 0, TextMeta(0x03, song.title)});
  // Time signature: numerator, the unit as a power of two, 24 MIDI clocks a
  // metronome click, eight 32nds a quarter.
  conductor.push_back({0,
                       0,
                       {0xFF, 0x58, 0x04, static_cast<uint8_t>(song.beats_per_bar),
                        static_cast<uint8_t>(Log2(song.beat_unit)), 24, 8}});
  std::vector<uint8_t> tempo = {0xFF, 0x51, 0x03};
  AppendBigEndian(tempo, static_cast<uint32_t>(60'000'000 / song.tempo), 3);
  conductor.push_back({0, 0, tempo});
  AppendTrack(out, conductor, end);

  for (const auto& t : song.tracks) {
    const auto ch = static_cast<uint8_t>(t.channel);
    std::vector<Event> events;
    events.push_back({0, 0, TextMeta(0x03, t.name)});
    if (t.program >= 0) {
      events.push_back({0, 0, {static_cast<uint8_t>(0xC0 | ch), static_cast<uint8_t>(t.program)}});
    }
    events.push_back({0, 0, {static_cast<uint8_t>(0xB0 | ch), 7, static_cast<uint8_t>(t.volume)}});
    events.push_back({0, 0, {static_cast<uint8_t>(0xB0 | ch), 10, static_cast<uint8_t>(t.pan)}});
    if (t.reverb >= 0) {
      events.push_back(
          {0, 0, {static_cast<uint8_t>(0xB0 | ch), 91, static_cast<uint8_t>(t.reverb)}});
    }
    for (const auto& n : t.notes) {
      events.push_back({n.start, 2, {static_cast<uint8_t>(0x90 | ch), n.key, n.velocity}});
      events.push_back({n.start + n.length, 1, {static_cast<uint8_t>(0x80 | ch), n.key, 64}});
    }
    AppendTrack(out, std::move(events), end);
  }
  return out;
}

}  // namespace smf
