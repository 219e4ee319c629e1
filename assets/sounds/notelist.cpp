#include "notelist.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

namespace notelist {

namespace {

constexpr int kDrumChannel = 9;  // channel 10 as musicians count

// Limits that keep a mistyped repeat count or tie from eating the machine;
// the game's tunes are a few thousand words and well under an hour.
constexpr size_t kMaxWords = 1'000'000;
constexpr uint32_t kMaxTicks = 0x00FFFFFF;

// General MIDI percussion keys under short names.
const std::map<std::string, int, std::less<>>& DrumKeys() {
  static const std::map<std::string, int, std::less<>> keys = {
      {"kick2", 35},  {"kick", 36},     {"rim", 37},     {"snare", 38},    {"clap", 39},
      {"snare2", 40}, {"lowtom", 45},   {"hat", 42},     {"pedalhat", 44}, {"ohat", 46},
      {"midtom", 47}, {"crash", 49},    {"hitom", 50},   {"ride", 51},     {"bell", 53},
      {"tamb", 54},   {"splash", 55},   {"cowbell", 56}, {"bongo", 60},    {"lowbongo", 61},
      {"conga", 63},  {"lowconga", 64}, {"cabasa", 69},  {"maracas", 70},  {"claves", 75},
      {"block", 76},  {"lowblock", 77}, {"triangle", 81}};
  return keys;
}

struct Word {
  std::string text;
  int line = 0;
};

// Turns a decimal word into a number within [low, high], or says why not.
std::optional<int> ToInt(std::string_view s, int low, int high) {
  int value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

class Parser {
 public:
  explicit Parser(std::string file) : file_(std::move(file)) {}

  Song Run(std::string_view text) {
    int line_no = 0;
    size_t pos = 0;
    while (pos < text.size()) {
      size_t nl = text.find('\n', pos);
      if (nl == std::string_view::npos) nl = text.size();
      ++line_no;
      Line(SplitWords(text.substr(pos, nl - pos)), line_no);
      pos = nl + 1;
    }
    if (in_track_) FinishTrack();
    if (song_.tracks.empty()) Fail(std::max(line_no, 1), "the note list has no tracks");
    // A track that ends early or late is nearly always a bar left out or
    // doubled, so the tracks must end together.
    const uint32_t bar = kTicksPerQuarter * 4 * song_.beats_per_bar / song_.beat_unit;
    for (size_t i = 1; i < song_.tracks.size(); ++i) {
      const Track& first = song_.tracks[0];
      const Track& t = song_.tracks[i];
      if (t.end != first.end) {
        char text[160];
        std::snprintf(text, sizeof text, "track '%s' lasts %g bars, but track '%s' %g",
                      t.name.c_str(), double(t.end) / bar, first.name.c_str(),
                      double(first.end) / bar);
        Fail(track_lines_[i], text);
      }
    }
    return std::move(song_);
  }

 private:
  [[noreturn]] void Fail(int line, const std::string& message) const {
    throw NoteListError(file_ + ":" + std::to_string(line) + ": " + message);
  }

  static std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
      if (i >= line.size()) break;
      if (line[i] == '#') break;  // a comment to the end of the line
      size_t j = i;
      while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r') ++j;
      words.emplace_back(line.substr(i, j - i));
      i = j;
    }
    return words;
  }

  int Number(const std::vector<std::string>& w, size_t i, int low, int high, int line,
             const std::string& what) const {
    if (i >= w.size()) Fail(line, what + " needs a number");
    auto v = ToInt(w[i], low, high);
    if (!v) {
      Fail(line, what + " must be a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ", not '" + w[i] + "'");
    }
    return *v;
  }

  void Line(const std::vector<std::string>& w, int line) {
    if (w.empty()) return;
    const std::string& cmd = w[0];
    if (cmd == "title" || cmd == "tempo" || cmd == "time") {
      if (in_track_) Fail(line, "'" + cmd + "' belongs before the first track");
      if (cmd == "title") {
        if (w.size() < 2) Fail(line, "title needs a text");
        std::string t;
        for (size_t i = 1; i < w.size(); ++i) t += (i > 1 ? " " : "") + w[i];
        song_.title = t;
      } else if (cmd == "tempo") {
        song_.tempo = Number(w, 1, 20, 400, line, "tempo");
        if (w.size() > 2) Fail(line, "tempo takes one number");
      } else {
        if (w.size() != 2) Fail(line, "time needs one signature like 4/4");
        size_t slash = w[1].find('/');
        auto num = ToInt(std::string_view(w[1]).substr(0, slash), 1, 16);
        std::optional<int> den;
        if (slash != std::string::npos)
          den = ToInt(std::string_view(w[1]).substr(slash + 1), 1, 16);
        if (!num || !den || (*den & (*den - 1)) != 0) {
          Fail(line, "time signature '" + w[1] + "' is not like 3/4 or 6/8");
        }
        song_.beats_per_bar = *num;
        song_.beat_unit = *den;
      }
    } else if (cmd == "pattern") {
      if (w.size() < 3) Fail(line, "pattern needs a name and music words");
      const std::string& name = w[1];
      if (!std::all_of(name.begin(), name.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
          })) {
        Fail(line, "pattern name '" + name + "' may hold only letters, digits and '_'");
      }
      if (patterns_.count(name)) Fail(line, "pattern '" + name + "' is defined twice");
      std::vector<Word> body;
      for (size_t i = 2; i < w.size(); ++i) AddWord(body, w[i], line);
      patterns_[name] = std::move(body);
    } else if (cmd == "track") {
      if (in_track_) FinishTrack();
      StartTrack(w, line);
    } else if (!in_track_) {
      Fail(line, "'" + cmd + "' is not a heading command, and music needs a track first");
    } else if (cmd == "repeat") {
      if (w.size() != 2) Fail(line, "repeat takes one count");
      repeats_.push_back({Number(w, 1, 1, 64, line, "repeat count"), line, {}});
    } else if (cmd == "end") {
      if (w.size() != 1) Fail(line, "end stands alone on its line");
      if (repeats_.empty()) Fail(line, "end without repeat");
      Repeat r = std::move(repeats_.back());
      repeats_.pop_back();
      auto& to = Body();
      if (r.words.size() * r.count + to.size() > kMaxWords) TooLong(line);
      for (int i = 0; i < r.count; ++i) to.insert(to.end(), r.words.begin(), r.words.end());
    } else {
      auto& to = Body();
      for (const auto& word : w) AddWord(to, word, line);
    }
  }

  std::vector<Word>& Body() { return repeats_.empty() ? words_ : repeats_.back().words; }

  [[noreturn]] void TooLong(int line) const {
    Fail(line, "the track grows beyond " + std::to_string(kMaxWords) +
                   " words; are repeats nested too deep?");
  }

  void AddWord(std::vector<Word>& to, const std::string& word, int line) const {
    if (to.size() >= kMaxWords) TooLong(line);
    if (word[0] == '$') {
      auto it = patterns_.find(word.substr(1));
      if (it == patterns_.end()) Fail(line, "no pattern named '" + word.substr(1) + "'");
      // Errors inside a pattern are reported at the line that uses it.
      if (to.size() + it->second.size() > kMaxWords) TooLong(line);
      for (const auto& pw : it->second) to.push_back({pw.text, line});
      return;
    }
    to.push_back({word, line});
  }

  void StartTrack(const std::vector<std::string>& w, int line) {
    if (w.size() < 2) Fail(line, "track needs a name");
    Track t;
    t.name = w[1];
    for (const auto& other : song_.tracks) {
      if (other.name == t.name) Fail(line, "there is already a track named '" + t.name + "'");
    }
    bool have_channel = false;
    velocity_ = 90;
    gate_ = 90;
    transpose_ = 0;
    for (size_t i = 2; i < w.size(); i += 2) {
      const std::string& key = w[i];
      if (i + 1 >= w.size()) Fail(line, "track setting '" + key + "' needs a value");
      if (key == "channel") {
        t.channel = Number(w, i + 1, 1, 16, line, "channel") - 1;
        have_channel = true;
      } else if (key == "program") {
        t.program = Number(w, i + 1, 1, 128, line, "program") - 1;
      } else if (key == "volume") {
        t.volume = Number(w, i + 1, 0, 127, line, "volume");
      } else if (key == "pan") {
        t.pan = Number(w, i + 1, 0, 127, line, "pan");
      } else if (key == "reverb") {
        t.reverb = Number(w, i + 1, 0, 127, line, "reverb");
      } else if (key == "velocity") {
        velocity_ = Number(w, i + 1, 1, 127, line, "velocity");
      } else if (key == "transpose") {
        transpose_ = Number(w, i + 1, -36, 36, line, "transpose");
      } else if (key == "gate") {
        gate_ = Number(w, i + 1, 1, 100, line, "gate");
      } else {
        Fail(line, "unknown track setting '" + key + "'");
      }
    }
    if (!have_channel) Fail(line, "track '" + t.name + "' needs a channel");
    for (const auto& other : song_.tracks) {
      if (other.channel == t.channel) {
        Fail(line, "channel " + std::to_string(t.channel + 1) + " is already used by track '" +
                       other.name + "'");
      }
    }
    song_.tracks.push_back(std::move(t));
    in_track_ = true;
    track_line_ = line;
    track_lines_.push_back(line);
    words_.clear();
    repeats_.clear();
  }

  // Reads a length like 8, 4., 8t or 2+8 into ticks.
  uint32_t Length(std::string_view s, int line, const std::string& word) const {
    uint32_t total = 0;
    size_t pos = 0;
    while (true) {
      size_t plus = s.find('+', pos);
      std::string_view part = s.substr(pos, plus == std::string_view::npos ? s.npos : plus - pos);
      bool dotted = !part.empty() && part.back() == '.';
      if (dotted) part.remove_suffix(1);
      bool triplet = !part.empty() && part.back() == 't';
      if (triplet) part.remove_suffix(1);
      auto n = ToInt(part, 1, 32);
      if (!n || (*n & (*n - 1)) != 0) {
        Fail(line, "length in '" + word + "' is not one of 1 2 4 8 16 32 (with 't', '.' or '+')");
      }
      uint32_t ticks = kTicksPerQuarter * 4 / static_cast<uint32_t>(*n);
      if (triplet) ticks = ticks * 2 / 3;
      if (dotted) ticks = ticks * 3 / 2;
      total += ticks;
      if (total > kMaxTicks) Fail(line, "length in '" + word + "' is too long");
      if (plus == std::string_view::npos) break;
      pos = plus + 1;
    }
    return total;
  }

  int Key(std::string_view p, int line, const Track& t, const std::string& word) const {
    if (auto it = DrumKeys().find(p); it != DrumKeys().end()) {
      if (t.channel != kDrumChannel) {
        Fail(line,
             "drum '" + std::string(p) + "' on track '" + t.name + "', which is not on channel 10");
      }
      return it->second;
    }
    static constexpr int kSteps[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (p.empty() || p[0] < 'A' || p[0] > 'G') {
      Fail(line, "'" + std::string(p) + "' in '" + word + "' is neither a note nor a drum");
    }
    int key = kSteps[p[0] - 'A'];
    size_t i = 1;
    if (i < p.size() && p[i] == '#') {
      ++key;
      ++i;
    } else if (i < p.size() && p[i] == 'b') {
      --key;
      ++i;
    }
    auto octave = ToInt(p.substr(i), -1, 9);
    if (!octave) Fail(line, "note '" + std::string(p) + "' needs an octave from -1 to 9");
    key += (*octave + 1) * 12 + transpose_;
    if (key < 0 || key > 127) Fail(line, "note '" + std::string(p) + "' is outside MIDI's range");
    return key;
  }

  void FinishTrack() {
    if (!repeats_.empty()) Fail(repeats_.back().line, "repeat without end");
    Track& t = song_.tracks.back();
    const uint32_t bar = kTicksPerQuarter * 4 * song_.beats_per_bar / song_.beat_unit;
    uint32_t now = 0;
    uint32_t length = kTicksPerQuarter;
    int velocity = velocity_;
    for (const Word& w : words_) {
      const std::string& s = w.text;
      if (s == "|") {
        if (now % bar != 0) {
          const uint32_t beat = kTicksPerQuarter * 4 / song_.beat_unit;
          char beats[32];
          std::snprintf(beats, sizeof beats, "%g", double(now % bar) / beat);
          Fail(w.line, "bar line " + std::string(beats) + " beats into bar " +
                           std::to_string(now / bar + 1) + " of track '" + t.name + "'");
        }
        continue;
      }
      if (s[0] == 'v' && s.size() > 1 && std::isdigit(static_cast<unsigned char>(s[1]))) {
        auto v = ToInt(std::string_view(s).substr(1), 1, 127);
        if (!v) Fail(w.line, "velocity '" + s + "' must be v1 to v127");
        velocity = *v;
        continue;
      }
      size_t colon = s.find(':');
      if (colon != std::string::npos) {
        length = Length(std::string_view(s).substr(colon + 1), w.line, s);
      }
      std::string_view pitches = std::string_view(s).substr(0, colon);
      if (now + length > kMaxTicks) {
        Fail(w.line, "track '" + t.name + "' is longer than a MIDI file can time");
      }
      if (pitches == "r") {
        now += length;
        continue;
      }
      std::set<int> keys;
      size_t pos = 0;
      while (true) {
        size_t comma = pitches.find(',', pos);
        std::string_view p =
            pitches.substr(pos, comma == std::string_view::npos ? pitches.npos : comma - pos);
        int key = Key(p, w.line, t, s);
        if (!keys.insert(key).second) Fail(w.line, "the same note twice in '" + s + "'");
        if (comma == std::string_view::npos) break;
        pos = comma + 1;
      }
      const uint32_t sounding = std::max<uint32_t>(1, length * gate_ / 100);
      for (int key : keys) {
        t.notes.push_back(
            {now, sounding, static_cast<uint8_t>(key), static_cast<uint8_t>(velocity)});
      }
      now += length;
    }
    if (t.notes.empty()) Fail(track_line_, "track '" + t.name + "' has no notes");
    t.end = now;
    in_track_ = false;
  }

  struct Repeat {
    int count;
    int line;
    std::vector<Word> words;
  };

  std::string file_;
  Song song_;
  std::map<std::string, std::vector<Word>> patterns_;
  bool in_track_ = false;
  int track_line_ = 0;
  std::vector<int> track_lines_;
  int velocity_ = 90;
  int gate_ = 90;
  int transpose_ = 0;
  std::vector<Word> words_;
  std::vector<Repeat> repeats_;
};

}  // namespace

uint32_t Song::EndTick() const {
  uint32_t end = 0;
  for (const auto& t : tracks) {
    end = std::max(end, t.end);
    for (const auto& n : t.notes) end = std::max(end, n.start + n.length);
  }
  return end;
}

double Song::Seconds() const {
  return EndTick() * 60.0 / (kTicksPerQuarter * double(tempo));
}

Song ParseNoteList(std::string_view text, const std::string& file_name) {
  return Parser(file_name).Run(text);
}

}  // namespace notelist
