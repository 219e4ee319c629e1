// The RIFF reader under the wave loader: chunk walking over memory images
// and disk files, and its refusals. Sizes in these images lie on purpose.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "WavWriter.h"
#include "platform/Riff.h"

namespace {

using wav::Bytes;

struct CloseReader {
  void operator()(TMmioFile* file) const { mmioClose(file, 0); }
};
using Reader = std::unique_ptr<TMmioFile, CloseReader>;

MMIOINFO MemoryInfo(const Bytes& image) {
  MMIOINFO info{};
  info.fccIOProc = FOURCC_MEM;
  info.pchBuffer = reinterpret_cast<const char*>(image.data());
  info.cchBuffer = static_cast<std::int32_t>(image.size());
  return info;
}

Reader OpenMemory(const Bytes& image) {
  MMIOINFO info = MemoryInfo(image);
  return Reader(mmioOpen(nullptr, &info, MMIO_READ));
}

std::string TempPath(const char* name) {
  return ::testing::TempDir() + "riff_reader_" + name;
}

// Finds RIFF/WAVE, then the chunk with the given id inside it; returns its
// contents as far as the source holds them (at most want bytes), or
// "not found".
std::string FindInWave(TMmioFile* file, const char* id, std::int32_t want = 64) {
  MMCKINFO riff{};
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  if (mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) != 0) return "no RIFF";
  MMCKINFO chunk{};
  chunk.ckid = mmioFOURCC(id[0], id[1], id[2], id[3]);
  if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != 0) return "not found";
  std::string contents(static_cast<std::size_t>(want), '\0');
  const std::int32_t got = mmioRead(file, contents.data(), want);
  contents.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
  return contents;
}

Bytes Text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

TEST(RiffReader, WalksChunksByTheirPaddedSize) {
  struct Case {
    const char* name;
    Bytes image;
    std::string expected;
  };
  const Case cases[] = {
      {"odd chunk with its pad byte", wav::Riff({{"junk", Text("abc")}, {"data", Text("xy")}}),
       "xy"},
      {"odd chunk without its pad byte",
       wav::Riff({{"junk", Text("abc"), {}, false}, {"data", Text("xy")}}), "not found"},
      {"RIFF declaring more than the file holds",
       wav::Riff({{"junk", Text("ab")}, {"data", Text("xy")}}, "WAVE", 0xFFFFFFF0u), "xy"},
      {"RIFF ending before the chunk",
       wav::Riff({{"junk", Text("ab")}, {"data", Text("xy")}}, "WAVE", 4 + 10), "not found"},
      {"chunk size near 2^32 before the wanted one",
       wav::Riff({{"junk", Text("ab"), 0xFFFFFFFFu}, {"data", Text("xy")}}), "not found"},
      {"wanted chunk declaring more than the file holds",
       wav::Riff({{"data", Text("xy"), 0xFFFFFFFEu}}), "xy"},
      {"other top-level chunk before the RIFF",
       [] {
         Bytes image;
         wav::PutChunk(image, {"LIST", Text("INFOzz")});
         const Bytes riff = wav::Riff({{"data", Text("xy")}});
         image.insert(image.end(), riff.begin(), riff.end());
         return image;
       }(),
       "xy"},
      {"RIFF of another form", wav::Riff({{"data", Text("xy")}}, "AVI "), "no RIFF"},
      {"header cut short", Bytes{'R', 'I', 'F', 'F', 4, 0}, "no RIFF"},
      {"empty image", Bytes{}, "no RIFF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reader file = OpenMemory(c.image);
    ASSERT_TRUE(file);
    EXPECT_EQ(FindInWave(file.get(), "data"), c.expected);
  }
}

TEST(RiffReader, AscendLeavesAChunkPastItsPadByte) {
  const Bytes image = wav::Riff({{"fmt ", Text("12345")}, {"data", Text("xy")}});
  Reader file = OpenMemory(image);
  MMCKINFO riff{};
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  ASSERT_EQ(mmioDescend(file.get(), &riff, nullptr, MMIO_FINDRIFF), 0u);
  EXPECT_EQ(riff.dwDataOffset, 8);
  MMCKINFO fmt{};
  fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
  ASSERT_EQ(mmioDescend(file.get(), &fmt, &riff, MMIO_FINDCHUNK), 0u);
  char first[3] = {};
  EXPECT_EQ(mmioRead(file.get(), first, 2), 2);
  EXPECT_EQ(std::string(first), "12");
  ASSERT_EQ(mmioAscend(file.get(), &fmt, 0), 0u);
  EXPECT_EQ(mmioSeek(file.get(), 0, SEEK_CUR), 12 + 8 + 6);
  MMCKINFO any{};
  ASSERT_EQ(mmioDescend(file.get(), &any, &riff, 0), 0u);
  EXPECT_EQ(any.ckid, mmioFOURCC('d', 'a', 't', 'a'));
  EXPECT_EQ(any.cksize, 2u);
  // Positioned on the contents "xy": too short to be another header.
  EXPECT_EQ(mmioDescend(file.get(), &any, &riff, 0), MMIOERR_CHUNKNOTFOUND);
}

// Thousands of empty chunks: the disk reader must walk them through its
// window buffer, across window boundaries, and read the same bytes as memory.
TEST(RiffReader, DiskAndMemoryAgreeAcrossManyTinyChunks) {
  std::vector<wav::Chunk> chunks(5000, wav::Chunk{"tiny", {}});
  chunks.push_back({"odd!", Text("q")});
  chunks.push_back({"data", wav::Ramp(20000)});
  const Bytes image = wav::Riff(chunks);
  const std::string path = TempPath("tiny.wav");
  ASSERT_TRUE(wav::WriteFile(path, image));

  Reader memory = OpenMemory(image);
  Reader disk(mmioOpen(path.c_str(), nullptr, MMIO_READ));
  ASSERT_TRUE(memory && disk);
  const std::string fromMemory = FindInWave(memory.get(), "data", 30000);
  EXPECT_EQ(fromMemory.size(), 20000u);
  EXPECT_EQ(FindInWave(disk.get(), "data", 30000), fromMemory);
  EXPECT_EQ(mmioSeek(disk.get(), 0, SEEK_END), static_cast<std::int64_t>(image.size()));
  std::remove(path.c_str());
}

TEST(RiffReader, ReadsStopAtTheEndOfTheSource) {
  const Bytes image = wav::Ramp(10);
  Reader file = OpenMemory(image);
  std::uint8_t buffer[16];
  EXPECT_EQ(mmioSeek(file.get(), 8, SEEK_SET), 8);
  EXPECT_EQ(mmioRead(file.get(), buffer, 16), 2);
  EXPECT_EQ(buffer[1], image[9]);
  EXPECT_EQ(mmioRead(file.get(), buffer, 16), 0);
  EXPECT_EQ(mmioSeek(file.get(), 1000, SEEK_SET), 1000);
  EXPECT_EQ(mmioRead(file.get(), buffer, 16), 0);
  EXPECT_EQ(mmioRead(file.get(), buffer, -1), -1);
  EXPECT_EQ(mmioSeek(file.get(), -11, SEEK_END), -1);
}

TEST(RiffReader, OpenRefusalsLeaveTheirCode) {
  const Bytes image = wav::Ramp(4);
  struct Case {
    const char* name;
    MMIOINFO info;
    std::uint32_t flags;
    std::uint32_t code;
  };
  MMIOINFO negative = MemoryInfo(image);
  negative.cchBuffer = -1;
  MMIOINFO noAddress = MemoryInfo(image);
  noAddress.pchBuffer = nullptr;
  MMIOINFO otherProcedure = MemoryInfo(image);
  otherProcedure.fccIOProc = mmioFOURCC('D', 'O', 'S', ' ');
  const Case cases[] = {
      {"negative size", negative, MMIO_READ, MMIOERR_CANNOTOPEN},
      {"size without an address", noAddress, MMIO_READ, MMIOERR_CANNOTOPEN},
      {"unknown I/O procedure", otherProcedure, MMIO_READ, MMIOERR_CANNOTOPEN},
      {"opened for writing", MemoryInfo(image), MMIO_READWRITE, MMIOERR_CANNOTWRITE},
  };
  for (Case c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(mmioOpen(nullptr, &c.info, c.flags), nullptr);
    EXPECT_EQ(c.info.wErrorRet, c.code);
  }
  MMIOINFO disk{};
  const std::string missing = TempPath("missing.wav");
  EXPECT_EQ(mmioOpen(missing.c_str(), &disk, MMIO_READ), nullptr);
  EXPECT_EQ(disk.wErrorRet, MMIOERR_FILENOTFOUND);
  EXPECT_EQ(mmioClose(nullptr, 0), MMIOERR_INVALIDFILE);
}

}  // namespace
