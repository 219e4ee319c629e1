#pragma once
// Builds RIFF images byte by byte for the tests: well-formed waves, and the
// broken ones a loader must refuse (sizes that lie, missing pad bytes, short
// format chunks, chunks in the wrong order).
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace wav {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void Put32(Bytes& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

inline void PutId(Bytes& out, const std::string& id) {
  for (std::size_t i = 0; i < 4; ++i) out.push_back(i < id.size() ? id[i] : ' ');
}

struct Chunk {
  Chunk(std::string id, Bytes contents, std::optional<std::uint32_t> declaredSize = {},
        bool pad = true)
      : id(std::move(id)), contents(std::move(contents)), declaredSize(declaredSize), pad(pad) {}
  std::string id;
  Bytes contents;
  std::optional<std::uint32_t> declaredSize;  // what the header claims; default: the truth
  bool pad;                                   // write the pad byte after odd contents
};

inline void PutChunk(Bytes& out, const Chunk& chunk) {
  PutId(out, chunk.id);
  Put32(out, chunk.declaredSize.value_or(static_cast<std::uint32_t>(chunk.contents.size())));
  out.insert(out.end(), chunk.contents.begin(), chunk.contents.end());
  if (chunk.pad && chunk.contents.size() % 2 == 1) out.push_back(0);
}

// A RIFF chunk of the given form around the given chunks.
inline Bytes Riff(const std::vector<Chunk>& chunks, const std::string& form = "WAVE",
                  std::optional<std::uint32_t> declaredSize = {}) {
  Bytes body;
  PutId(body, form);
  for (const Chunk& chunk : chunks) PutChunk(body, chunk);
  Bytes out;
  PutChunk(out, {"RIFF", body, declaredSize, false});
  return out;
}

struct Format {
  Format(std::uint16_t channels = 1, std::uint32_t rate = 11025, std::uint16_t bits = 8,
         std::uint16_t tag = 1, std::optional<std::uint16_t> blockAlign = {})
      : channels(channels), rate(rate), bits(bits), tag(tag), blockAlign(blockAlign) {}
  std::uint16_t channels;
  std::uint32_t rate;
  std::uint16_t bits;
  std::uint16_t tag;
  std::optional<std::uint16_t> blockAlign;  // default: channels × bytes per sample
};

inline Chunk Fmt(const Format& f, std::size_t extraBytes = 0) {
  const auto align = f.blockAlign.value_or(static_cast<std::uint16_t>(f.channels * f.bits / 8));
  Bytes c;
  Put16(c, f.tag);
  Put16(c, f.channels);
  Put32(c, f.rate);
  Put32(c, f.rate * align);
  Put16(c, align);
  Put16(c, f.bits);
  c.resize(c.size() + extraBytes, 0xEE);
  return {"fmt ", c};
}

inline Chunk Data(Bytes samples) {
  return {"data", std::move(samples)};
}

// A plain PCM wave: RIFF, fmt, data.
inline Bytes Wave(const Format& format, const Bytes& samples) {
  return Riff({Fmt(format), Data(samples)});
}

inline Bytes Ramp(std::size_t count) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

inline bool WriteFile(const std::string& path, const Bytes& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace wav
