// Build tool: turns a note list into a Standard MIDI File.
//   midi_writer NOTES OUT.mid
// Prints one line about the tune it wrote; on bad input prints where and why
// and exits with status 1, leaving no output file behind.
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "notelist.h"
#include "smf.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: midi_writer NOTES OUT.mid\n";
    return 2;
  }
  const std::string in_path = argv[1];
  const std::string out_path = argv[2];
  try {
    std::ifstream in(in_path, std::ios::binary);
    if (!in) {
      std::cerr << "midi_writer: cannot read " << in_path << "\n";
      return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    const notelist::Song song = notelist::ParseNoteList(text.str(), in_path);
    const std::vector<uint8_t> bytes = smf::WriteSong(song);

    std::ofstream out(out_path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::remove(out_path.c_str());
      std::cerr << "midi_writer: cannot write " << out_path << "\n";
      return 1;
    }
    std::printf("%s: %zu tracks, %.1f s\n", out_path.c_str(), song.tracks.size(), song.Seconds());
    return 0;
  } catch (const std::exception& e) {
    std::remove(out_path.c_str());  // a stale tune must not pass for a new one
    std::cerr << "midi_writer: " << e.what() << "\n";
    return 1;
  }
}
