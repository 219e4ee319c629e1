// Tests of the note-list reader and MIDI writer, and of the finished sound
// and music files that the build put into dat/.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "notelist.h"
#include "smf.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(MidiWriter, VariableLengthQuantities) {
  const struct {
    uint32_t value;
    Bytes bytes;
  } cases[] = {
      {0, {0x00}},
      {0x40, {0x40}},
      {0x7F, {0x7F}},
      {0x80, {0x81, 0x00}},
      {0x2000, {0xC0, 0x00}},
      {0x3FFF, {0xFF, 0x7F}},
      {0x4000, {0x81, 0x80, 0x00}},
      {0x100000, {0xC0, 0x80, 0x00}},
      {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const auto& c : cases) {
    Bytes out;
    smf::AppendVarLen(out, c.value);
    EXPECT_EQ(out, c.bytes) << "value " << c.value;
  }
}

TEST(MidiWriter, WritesATinySongByteForByte) {
  const auto song = notelist::ParseNoteList(
      "title t\n"
      "tempo 120\n"
      "time 2/4\n"
      "track lead channel 2 program 1 volume 100 pan 64 velocity 100 gate 50\n"
      "C4:4 r:4 |\n",
      "tiny.notes");
  const Bytes expected = {
      // Header: format 1, two tracks, 480 ticks a quarter note.
      'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0xE0,
      // The first track: name, time signature 2/4, 500000 us a quarter, and
      // its end at the end of the song (960 ticks).
      'M', 'T', 'r', 'k', 0, 0, 0, 25,                 //
      0x00, 0xFF, 0x03, 0x01, 't',                     //
      0x00, 0xFF, 0x58, 0x04, 0x02, 0x02, 0x18, 0x08,  //
      0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,        //
      0x87, 0x40, 0xFF, 0x2F, 0x00,                    //
      // The lead on channel 2: name, program 1 (byte 0), volume, pan, then
      // middle C held for half its quarter, then a quarter's rest.
      'M', 'T', 'r', 'k', 0, 0, 0, 33,             //
      0x00, 0xFF, 0x03, 0x04, 'l', 'e', 'a', 'd',  //
      0x00, 0xC1, 0x00,                            //
      0x00, 0xB1, 0x07, 100,                       //
      0x00, 0xB1, 0x0A, 64,                        //
      0x00, 0x91, 60, 100,                         //
      0x81, 0x70, 0x81, 60, 64,                    //
      0x85, 0x50, 0xFF, 0x2F, 0x00,                //
  };
  EXPECT_EQ(smf::WriteSong(song), expected);
  EXPECT_DOUBLE_EQ(song.Seconds(), 1.0);
}

TEST(NoteList, ReadsNotesChordsLengthsRepeatsAndPatterns) {
  const auto song = notelist::ParseNoteList(
      "tempo 100 # a comment\n"
      "pattern two F#4:16 Bb4\n"
      "track a channel 1 velocity 80 gate 100 transpose 12\n"
      "C4,E4:4. $two D-1:8t C8 v30 B3 r:4 |\n"
      "repeat 2\n"
      "A4:2+8 r:4.\n"
      "end\n"
      "| r:1 |\n"
      "track beat channel 10\n"
      "kick:1 | r:1 | r:1 | hat,snare:2 r |\n",
      "t.notes");
  ASSERT_EQ(song.tracks.size(), 2u);
  const auto& a = song.tracks[0];
  struct N {
    uint32_t start, length;
    int key, velocity;
  };
  const N expected[] = {
      {0, 720, 60 + 12, 80},    {0, 720, 64 + 12, 80},     {720, 120, 66 + 12, 80},
      {840, 120, 70 + 12, 80},  {960, 160, 2 + 12, 80},    {1120, 160, 108 + 12, 80},
      {1280, 160, 59 + 12, 30}, {1920, 1200, 69 + 12, 30}, {3840, 1200, 69 + 12, 30},
  };
  ASSERT_EQ(a.notes.size(), std::size(expected));
  for (size_t i = 0; i < a.notes.size(); ++i) {
    EXPECT_EQ(a.notes[i].start, expected[i].start) << i;
    EXPECT_EQ(a.notes[i].length, expected[i].length) << i;
    EXPECT_EQ(a.notes[i].key, expected[i].key) << i;
    EXPECT_EQ(a.notes[i].velocity, expected[i].velocity) << i;
  }
  EXPECT_EQ(a.end, 4u * 1920);
  const auto& beat = song.tracks[1];
  EXPECT_EQ(beat.channel, 9);
  ASSERT_EQ(beat.notes.size(), 3u);
  EXPECT_EQ(beat.notes[0].key, 36);
  EXPECT_EQ(beat.notes[1].start, 3u * 1920);
  EXPECT_EQ(beat.notes[1].key, 38);  // notes of a chord in key order
  EXPECT_EQ(beat.notes[2].key, 42);
  EXPECT_DOUBLE_EQ(song.Seconds(), 4 * 4 * 60.0 / 100);
}

TEST(NoteList, RefusesMistakesNamingFileAndLine) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"C4:4\n", "f.notes:1: 'C4:4' is not a heading command, and music needs a track first"},
      {"tempo 100\n", "f.notes:1: the note list has no tracks"},
      {"tempo 10\n", "f.notes:1: tempo must be a whole number from 20 to 400, not '10'"},
      {"time 3/5\n", "f.notes:1: time signature '3/5' is not like 3/4 or 6/8"},
      {"track a\n", "f.notes:1: track 'a' needs a channel"},
      {"track a channel 17\n", "f.notes:1: channel must be a whole number from 1 to 16, not '17'"},
      {"track a channel 1 program 0\n", "program must be a whole number from 1 to 128"},
      {"track a channel 1 colour 3\n", "f.notes:1: unknown track setting 'colour'"},
      {"track a channel 1 volume\n", "f.notes:1: track setting 'volume' needs a value"},
      {"track a channel 1\nC4:4\ntempo 90\n", "f.notes:3: 'tempo' belongs before the first track"},
      {"track a channel 1\n\nC4:4 H4\n", "f.notes:3: 'H4' in 'H4' is neither a note nor a drum"},
      {"track a channel 1\nC10:4\n", "f.notes:2: note 'C10' needs an octave from -1 to 9"},
      {"track a channel 1\nG#9:4\n", "f.notes:2: note 'G#9' is outside MIDI's range"},
      {"track a channel 1\nC4:3\n", "f.notes:2: length in 'C4:3' is not one of 1 2 4 8 16 32"},
      {"track a channel 1\nC4:4+\n", "f.notes:2: length in 'C4:4+'"},
      {"track a channel 1\nC4,E4,C4:4\n", "f.notes:2: the same note twice in 'C4,E4,C4:4'"},
      {"track a channel 1\nv200 C4:4\n", "f.notes:2: velocity 'v200' must be v1 to v127"},
      {"track a channel 1\nkick:4\n",
       "f.notes:2: drum 'kick' on track 'a', which is not on channel 10"},
      {"track a channel 1\nC4:4 |\n", "f.notes:2: bar line 1 beats into bar 1 of track 'a'"},
      {"track a channel 1\nrepeat 2\nC4:1\n", "f.notes:2: repeat without end"},
      {"track a channel 1\nC4:1\nend\n", "f.notes:3: end without repeat"},
      {"track a channel 1\n$riff\n", "f.notes:2: no pattern named 'riff'"},
      {"pattern x C4:1\npattern x D4:1\n", "f.notes:2: pattern 'x' is defined twice"},
      {"pattern x\n", "f.notes:1: pattern needs a name and music words"},
      {"track a channel 1\nr:1\n", "f.notes:1: track 'a' has no notes"},
      {"track a channel 1\nC4:1\ntrack a channel 2\n", "f.notes:3: there is already a track named"},
      {"track a channel 1\nC4:1\ntrack b channel 1\n",
       "f.notes:3: channel 1 is already used by track 'a'"},
      {"track a channel 1\nrepeat 64\nrepeat 64\nrepeat 64\nrepeat 64\nC4:16\nend\nend\nend\nend\n",
       "f.notes:10: the track grows beyond 1000000 words"},
      {"track a channel 1\nrepeat 64\nrepeat 64\nC4:1+1+1+1+1+1+1+1\nend\nend\n",
       "f.notes:4: track 'a' is longer than a MIDI file can time"},
      {"track a channel 1\nC4:1\ntrack b channel 2\nC4:2\n",
       "f.notes:3: track 'b' lasts 0.5 bars, but track 'a' 1"},
  };
  for (const auto& c : cases) {
    try {
      notelist::ParseNoteList(c.text, "f.notes");
      ADD_FAILURE() << "accepted:\n" << c.text;
    } catch (const notelist::NoteListError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
          << "for:\n"
          << c.text << "got: " << e.what();
    }
  }
}

// --- The finished files in dat/ ---

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

uint32_t Le(const Bytes& b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | b.at(at + i);
  return v;
}

uint32_t Be(const Bytes& b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = v << 8 | b.at(at + i);
  return v;
}

std::string Tag(const Bytes& b, size_t at) {
  return std::string(b.begin() + at, b.begin() + at + 4);
}

TEST(GeneratedSounds, ArePlainPcmWavesOfTheirLengthAndLoudness) {
  const struct {
    const char* name;
    int channels, rate, bits;
    double min_seconds, max_seconds;
  } cases[] = {
      {"1.wav", 1, 11025, 8, 0.02, 0.08},     {"start.wav", 2, 44100, 16, 0.8, 1.3},
      {"time.wav", 1, 22050, 16, 0.05, 0.15}, {"good.wav", 2, 44100, 16, 0.5, 0.8},
      {"gya1.wav", 1, 11025, 8, 0.5, 0.7},    {"lv.wav", 2, 44100, 16, 1.0, 1.5},
      {"katan.wav", 1, 22050, 16, 0.4, 0.6},  {"yatta.wav", 1, 22050, 16, 0.35, 0.9},
  };
  std::set<int> formats;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes b = ReadFile(std::string(SOUNDS_DAT) + "/" + c.name);
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(Tag(b, 0), "RIFF");
    EXPECT_EQ(Le(b, 4, 4) + 8, b.size());
    EXPECT_EQ(Tag(b, 8), "WAVE");
    // The "fmt " chunk comes first and is the plain 16-byte PCM one.
    ASSERT_EQ(Tag(b, 12), "fmt ");
    ASSERT_EQ(Le(b, 16, 4), 16u);
    EXPECT_EQ(Le(b, 20, 2), 1u);
    EXPECT_EQ(Le(b, 22, 2), uint32_t(c.channels));
    EXPECT_EQ(Le(b, 24, 4), uint32_t(c.rate));
    const int align = c.channels * c.bits / 8;
    EXPECT_EQ(Le(b, 28, 4), uint32_t(c.rate * align));
    EXPECT_EQ(Le(b, 32, 2), uint32_t(align));
    EXPECT_EQ(Le(b, 34, 2), uint32_t(c.bits));
    formats.insert(c.channels * 1000000 + c.rate * 10 + c.bits / 8);
    size_t at = 36;
    while (at + 8 <= b.size() && Tag(b, at) != "data") at += 8 + ((Le(b, at + 4, 4) + 1) & ~1u);
    ASSERT_LE(at + 8, b.size()) << "no data chunk";
    const uint32_t size = Le(b, at + 4, 4);
    ASSERT_LE(at + 8 + size, b.size());
    const double seconds = double(size) / align / c.rate;
    EXPECT_GE(seconds, c.min_seconds);
    EXPECT_LE(seconds, c.max_seconds);
    // Peaks near -6 dBFS, never above about -5.5: two effects summed in 8
    // bits stay clear. The clicks and ticks may be softer, but not silent.
    double peak = 0;
    for (size_t i = at + 8; i + c.bits / 8 <= at + 8 + size; i += c.bits / 8) {
      const double v = c.bits == 8 ? (int(b[i]) - 128) / 128.0 : int16_t(Le(b, i, 2)) / 32768.0;
      peak = std::max(peak, std::fabs(v));
    }
    EXPECT_LE(peak, 0.53);
    EXPECT_GE(peak, 0.25);
  }
  EXPECT_EQ(formats.size(), 3u) << "the effects should use three source formats";
}

struct MidiFacts {
  int format = -1, tracks = 0, division = 0;
  double seconds = 0;
  std::set<int> note_channels, program_channels;
  int notes = 0;
};

// A small reader of Standard MIDI Files, enough to check what the game
// plays: one tempo, notes, program changes, meta and system events.
MidiFacts ReadMidi(const Bytes& b) {
  MidiFacts f;
  if (b.size() < 14 || Tag(b, 0) != "MThd" || Be(b, 4, 4) != 6) return f;
  f.format = int(Be(b, 8, 2));
  f.division = int(Be(b, 12, 2));
  const int count = int(Be(b, 10, 2));
  uint32_t tempo = 500000, end_tick = 0;
  size_t at = 14;
  for (int t = 0; t < count; ++t) {
    if (at + 8 > b.size() || Tag(b, at) != "MTrk") return f;
    const size_t end = at + 8 + Be(b, at + 4, 4);
    if (end > b.size()) return f;
    size_t p = at + 8;
    uint32_t tick = 0;
    uint8_t status = 0;
    bool ended = false;
    while (p < end && !ended) {
      uint32_t delta = 0;
      do delta = delta << 7 | (b.at(p) & 0x7F);
      while (b.at(p++) & 0x80);
      tick += delta;
      if (b.at(p) & 0x80) status = b.at(p++);
      const int kind = status >> 4, ch = status & 15;
      if (status == 0xFF) {
        const uint8_t type = b.at(p++);
        const uint32_t len = b.at(p++);
        if (type == 0x51) tempo = Be(b, p, 3);
        if (type == 0x2F) ended = true;
        p += len;
      } else if (status == 0xF0 || status == 0xF7) {
        p += b.at(p) + 1;
      } else if (kind == 0xC || kind == 0xD) {
        if (kind == 0xC) f.program_channels.insert(ch);
        p += 1;
      } else {
        if (kind == 0x9 && b.at(p + 1) > 0) {
          f.note_channels.insert(ch);
          ++f.notes;
        }
        p += 2;
      }
    }
    if (!ended || p != end) return f;
    end_tick = std::max(end_tick, tick);
    ++f.tracks;
    at = end;
  }
  f.seconds = double(end_tick) / f.division * tempo / 1e6;
  return f;
}

TEST(GeneratedTunes, AreFormatOneFilesWithDrumsAndTheirLengths) {
  const struct {
    const char* name;
    double min_seconds, max_seconds;
  } cases[] = {
      {"mofro.mid", 28, 32},
      {"T_ssix05.mid", 50, 54},
      {"rei.mid", 18, 22},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MidiFacts f = ReadMidi(ReadFile(std::string(SOUNDS_DAT) + "/" + c.name));
    EXPECT_EQ(f.format, 1);
    EXPECT_GE(f.tracks, 5);  // the tempo track, melody, chords, bass, drums
    EXPECT_EQ(f.division, 480);
    EXPECT_GE(f.seconds, c.min_seconds);
    EXPECT_LE(f.seconds, c.max_seconds);
    EXPECT_TRUE(f.note_channels.count(9)) << "no drums on channel 10";
    EXPECT_GE(f.note_channels.size(), 4u);
    EXPECT_GE(f.notes, 100);
    for (int ch : f.note_channels) {
      if (ch != 9) {
        EXPECT_TRUE(f.program_channels.count(ch)) << "channel " << ch + 1 << " has no instrument";
      }
    }
  }
}

}  // namespace
