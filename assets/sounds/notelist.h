// Reads the game's tunes from note lists: small text files a musician can
// read and edit. The format, line by line ('#' at the start of a word begins
// a comment that runs to the end of the line):
//
//   title Mofron's theme       name of the tune (optional)
//   tempo 126                  quarter notes per minute (default 120)
//   time 4/4                   beats per bar / beat unit (default 4/4)
//   pattern NAME WORDS...      a named group of music words, used as $NAME
//   track NAME channel 1 program 74 [volume 100] [pan 64] [reverb 40]
//                              [velocity 90] [gate 90] [transpose 0]
//                              starts a track; General MIDI numbering, so
//                              channels 1-16 (10 = drums), programs 1-128;
//                              gate: how much of each note's length sounds,
//                              in percent; transpose: semitones added to
//                              every note (not to drums)
//   repeat N ... end           plays the lines between N times (may nest)
//
// Every other line inside a track holds music words:
//
//   C5:8   a note (C D E F G A B, then # or b, then the octave; C4 is middle
//          C) and its length: 1 2 4 8 16 32, 't' for a triplet, '.' for a
//          dotted one, joined with '+' for ties (2+8). Without ':length' a
//          word takes the length of the word before it (a quarter at first).
//   C4,E4,G4:2   a chord           r:4   a rest
//   kick:8       a drum by name (only on channel 10)
//   v80          velocity of the following notes
//   |            a bar line: the tool checks that it falls on a bar's start
//   $NAME        the words of a pattern
//
// Bad input raises NoteListError, whose text names the file and the line.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace notelist {

// Ticks per quarter note in the written files: divisible by 3 and by 32nds.
inline constexpr uint32_t kTicksPerQuarter = 480;

class NoteListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Note {
  uint32_t start = 0;   // in ticks from the start of the tune
  uint32_t length = 0;  // sounding length in ticks (the written length times the gate)
  uint8_t key = 0;      // MIDI key number
  uint8_t velocity = 0;
};

struct Track {
  std::string name;
  int channel = 0;   // 0-15 as in the MIDI bytes
  int program = -1;  // 0-127 as in the MIDI bytes, -1 when none is given
  int volume = 100;
  int pan = 64;
  int reverb = -1;  // -1 when none is given
  std::vector<Note> notes;
  uint32_t end = 0;  // ticks: the end of the last word, rests included
};

struct Song {
  std::string title;
  int tempo = 120;  // quarter notes per minute
  int beats_per_bar = 4;
  int beat_unit = 4;
  std::vector<Track> tracks;

  uint32_t EndTick() const;
  double Seconds() const;
};

// Parses a whole note list; file_name is used only in error messages.
Song ParseNoteList(std::string_view text, const std::string& file_name);

}  // namespace notelist
