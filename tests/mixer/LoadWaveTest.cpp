// Loading waves from memory images, files and resources: what lands in the
// record, and the message for each kind of bad input.
#include <cstdio>
#include <cstring>
#include <string>

#include "MixerFixture.h"
#include "WavWriter.h"
#include "mixer/Wave.h"
#include "platform/Riff.h"

namespace {

using wav::Chunk;
using wav::Fmt;

const std::string kOutOfMemory =
    "Unable to allocate memory for waveform data.  Try making more memory available by closing "
    "other applications.";

struct FreeWave {
  void operator()(MixWave* wave) const {
    if (MixerUnit.CurrentSession) MixerUnloadWave(MixerUnit.CurrentSession, wave);
  }
};
using WavePtr = std::unique_ptr<MixWave, FreeWave>;

MMIOINFO Describe(const wav::Bytes& image) {
  MMIOINFO info{};
  info.fccIOProc = FOURCC_MEM;
  info.pchBuffer = reinterpret_cast<const char*>(image.data());
  info.cchBuffer = static_cast<std::int32_t>(image.size());
  return info;
}

WavePtr LoadImage(MixSession* session, const wav::Bytes& image) {
  MMIOINFO info = Describe(image);
  return WavePtr(
      MixerLoadWave(session, reinterpret_cast<const char*>(&info), nullptr, MixWaveFromMemory));
}

wav::Bytes Contents(const MixWave& wave) {
  return wav::Bytes(wave.SampleData, wave.SampleData + wave.SampleLength);
}

class LoadWaveTest : public MixerTest {
 protected:
  void SetUp() override {
    MixerTest::SetUp();
    session_ = MixerInit();
  }
  std::string LoadError(const wav::Bytes& image) {
    try {
      LoadImage(session_, image);
    } catch (const EMixerError& e) {
      return e.what();
    }
    return "loaded";
  }
  MixSession* session_ = nullptr;
};

TEST_F(LoadWaveTest, MemoryImageInTheOutputFormatKeepsItsBytes) {
  const wav::Bytes samples = wav::Ramp(300);
  WavePtr wave = LoadImage(session_, wav::Wave({}, samples));
  EXPECT_EQ(MixerUnit.CurrentSession, session_);
  EXPECT_EQ(wave->FormatTag, 1);
  EXPECT_EQ(wave->SourceChannels, 1);
  EXPECT_EQ(wave->SourceRate, 11025u);
  EXPECT_EQ(wave->SourceAvgBytesPerSec, 11025u);
  EXPECT_EQ(wave->SourceBlockAlign, 1);
  EXPECT_EQ(wave->SourceBitsPerSample, 8);
  EXPECT_EQ(Contents(*wave), samples);
  EXPECT_EQ(wave->SampleLength, 300);
  EXPECT_EQ(wave->Recorded | wave->User | wave->Flags | wave->Loops | wave->Reserved, 0u);
  EXPECT_EQ(wave->Next, nullptr);
  EXPECT_STREQ(wave->WaveName, "memory image");
}

// The record describes the source; the samples are in the session's format.
TEST_F(LoadWaveTest, ConvertedWaveKeepsTheSourceFormat) {
  WavePtr wave = LoadImage(session_, wav::Wave({2, 11025, 16}, wav::Ramp(4000)));
  EXPECT_EQ(wave->SourceChannels, 2);
  EXPECT_EQ(wave->SourceBitsPerSample, 16);
  EXPECT_EQ(wave->SourceBlockAlign, 4);
  EXPECT_EQ(wave->SourceAvgBytesPerSec, 44100u);
  EXPECT_EQ(wave->SampleLength, 1000);
}

TEST_F(LoadWaveTest, ToleratesWhatWellFormedFilesMayHold) {
  const wav::Bytes xy = {10, 20, 30, 40};
  std::vector<Chunk> manyTiny(3000, Chunk{"tiny", {}});
  manyTiny.insert(manyTiny.begin(), Fmt({}));
  manyTiny.push_back(wav::Data(xy));
  struct Case {
    const char* name;
    wav::Bytes image;
    wav::Bytes expected;
  };
  const Case cases[] = {
      {"format chunk with extra bytes", wav::Riff({Fmt({}, 2), wav::Data(xy)}), xy},
      {"odd format chunk with its pad byte", wav::Riff({Fmt({}, 1), wav::Data(xy)}), xy},
      {"odd chunk with its pad byte between",
       wav::Riff({Fmt({}), {"junk", {1, 2, 3}}, wav::Data(xy)}), xy},
      {"data chunk of odd size", wav::Wave({}, {1, 2, 3}), {1, 2, 3}},
      {"RIFF declaring far more than the file",
       wav::Riff({Fmt({}), wav::Data(xy)}, "WAVE", 0xFFFFFFFFu), xy},
      {"thousands of tiny chunks", wav::Riff(manyTiny), xy},
      {"16-bit data of 7 bytes",
       wav::Wave({1, 11025, 16}, {0, 0x80, 0xFF, 0xFF, 0, 0x7F, 9}),
       {0, 127, 255}},
      {"stereo data with a partial frame",
       wav::Wave({2, 11025, 8}, {200, 101, 255, 0, 9}),
       {150, 127}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WavePtr wave = LoadImage(session_, c.image);
    EXPECT_EQ(Contents(*wave), c.expected);
  }
}

TEST_F(LoadWaveTest, RefusesBadImagesWithTheirMessage) {
  const wav::Bytes xy = {10, 20, 30, 40};
  const std::string notWave = "This is not a WAVE file";
  const std::string noData = "WAVE file has no data chunk";
  const std::string readFormat = "Failed to read format chunk";
  const std::string readData = "Failed to read data chunk";
  const std::string unsupported = "File format not supported";
  const std::string channels = "The file has an unsupported number of channels";
  wav::Bytes cutInFormat = wav::Riff({Fmt({})});
  cutInFormat.resize(12 + 8 + 10);
  struct Case {
    const char* name;
    wav::Bytes image;
    std::string message;
  };
  const Case cases[] = {
      {"plain text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'}, notWave},
      {"empty image", {}, notWave},
      {"RIFF of another form", wav::Riff({Fmt({}), wav::Data(xy)}, "AVI "), notWave},
      {"no format chunk", wav::Riff({wav::Data(xy)}), "WAVE file is corrupted"},
      {"format chunk of 14 bytes", wav::Riff({{"fmt ", wav::Ramp(14)}, wav::Data(xy)}), readFormat},
      {"file ends inside the format chunk", cutInFormat, readFormat},
      {"format tag 3", wav::Riff({Fmt({1, 11025, 32, 3}), wav::Data(xy)}),
       "The file is not a PCM file"},
      {"format tag 2 and no data chunk", wav::Riff({Fmt({1, 11025, 4, 2})}),
       "The file is not a PCM file"},
      {"block align 0", wav::Riff({Fmt({1, 11025, 8, 1, 0}), wav::Data(xy)}),
       "The file has a block alignment of 0"},
      {"data before format", wav::Riff({wav::Data(xy), Fmt({})}), noData},
      {"no data chunk", wav::Riff({Fmt({})}), noData},
      {"odd chunk without its pad byte",
       wav::Riff({Fmt({}), {"junk", {1, 2, 3}, {}, false}, wav::Data(xy)}), noData},
      {"chunk size near 2^32 before the data",
       wav::Riff({Fmt({}), {"junk", {1, 2}, 0xFFFFFFF0u}, wav::Data(xy)}), noData},
      {"empty data chunk", wav::Wave({}, {}), "The data chunk has no data"},
      {"data declaring more than the file holds", wav::Riff({Fmt({}), {"data", xy, 5}}), readData},
      {"data size near 2^32", wav::Riff({Fmt({}), {"data", xy, 0xFFFFFFFFu}}), readData},
      {"0 bits", wav::Wave({1, 11025, 0, 1, 1}, xy), unsupported},
      {"12 bits", wav::Wave({1, 11025, 12, 1, 2}, xy), unsupported},
      {"24 bits", wav::Wave({1, 11025, 24}, wav::Ramp(6)), unsupported},
      {"32 bits", wav::Wave({1, 11025, 32}, wav::Ramp(8)), unsupported},
      {"no channels", wav::Wave({0, 11025, 8, 1, 1}, xy), channels},
      {"three channels", wav::Wave({3, 11025, 8}, wav::Ramp(6)), channels},
      {"rate 0", wav::Wave({1, 0, 8}, xy), "The file has a sample rate of 0"},
      {"stereo data of one byte", wav::Wave({2, 11025, 8}, {7}), kOutOfMemory},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LoadError(c.image), c.message);
  }
}

TEST_F(LoadWaveTest, UnopenableMemoryDescriptorsGiveTheReaderCode) {
  const wav::Bytes image = wav::Wave({}, {1, 2});
  MMIOINFO negative = Describe(image);
  negative.cchBuffer = -5;
  MMIOINFO notMemory = Describe(image);
  notMemory.fccIOProc = 0;
  const std::string message =
      "Failed to open memory file, mmioOpen error=259.#13May need to make sure memory is "
      "read-write";
  for (const MMIOINFO* info : {&negative, &notMemory, static_cast<MMIOINFO*>(nullptr)}) {
    ExpectMixerError(
        [&] {
          MixerLoadWave(session_, reinterpret_cast<const char*>(info), nullptr, MixWaveFromMemory);
        },
        message);
  }
  // The caller's descriptor is copied, never written.
  EXPECT_EQ(negative.wErrorRet, 0u);
}

TEST_F(LoadWaveTest, FilesLoadByPathAndKeepFifteenCharactersOfIt) {
  // Backslashes are ordinary file-name characters here; the file lands in
  // the working folder and goes again however the test ends.
  struct RemovedAtEnd {
    std::string path;
    ~RemovedAtEnd() { std::remove(path.c_str()); }
  } const file{"C:\\GAMES\\dat\\boom.wav"};
  ASSERT_TRUE(wav::WriteFile(file.path, wav::Wave({}, {5, 6, 7})));
  WavePtr wave(MixerLoadWave(session_, file.path.c_str(), nullptr, MixWaveFromFile));
  EXPECT_STREQ(wave->WaveName, "C:\\GAMES\\dat\\bo");
  EXPECT_EQ(Contents(*wave), (wav::Bytes{5, 6, 7}));

  const std::string missing = (folder_ / "x.wav").string();
  ExpectMixerError([&] { MixerLoadWave(session_, missing.c_str(), nullptr, 1); },
                   "Failed to open wave file " + missing);
}

// Resources live as long as the program, so they are registered once.
void RegisterTestResources() {
  static const wav::Bytes shot = wav::Wave({}, {1, 2, 3, 4});
  static const wav::Bytes text = {'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'};
  static const TResourceEntry entries[] = {
      {"WAVE", 0, "shot", 0, shot.data(), static_cast<std::uint32_t>(shot.size())},
      {"WAVE", 0, "a-long-resource-name", 0, shot.data(), static_cast<std::uint32_t>(shot.size())},
      {"WAVE", 0, nullptr, 7, shot.data(), static_cast<std::uint32_t>(shot.size())},
      {"WAVE", 0, "TEXT", 0, text.data(), static_cast<std::uint32_t>(text.size())},
      {"WAVE", 0, "UNLOCKABLE", 0, nullptr, 4},
      {"WAVE", 0, "HUGE", 0, shot.data(), 0x80000000u},
      {"BMP", 0, "BOOM", 0, shot.data(), static_cast<std::uint32_t>(shot.size())},
  };
  static const bool registered = (RegisterResources(entries, 7), true);
  (void)registered;
}

TEST_F(LoadWaveTest, ResourcesLoadByNameOrNumber) {
  RegisterTestResources();
  struct Case {
    const char* name;
    const char* waveName;
  };
  const Case cases[] = {{"shot", "shot"},
                        {"a-long-resource-name", "a-long-resource"},
                        {MAKEINTRESOURCEA(7), "res#7"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.waveName);
    WavePtr wave(MixerLoadWave(session_, c.name, HInstance, MixWaveFromResource));
    EXPECT_EQ(Contents(*wave), (wav::Bytes{1, 2, 3, 4}));
    EXPECT_STREQ(wave->WaveName, c.waveName);
  }
  // Resource wins over memory when both flags are given.
  WavePtr both(MixerLoadWave(session_, "shot", HInstance, MixWaveFromResource | MixWaveFromMemory));
  EXPECT_STREQ(both->WaveName, "shot");
}

TEST_F(LoadWaveTest, ResourceFailuresNameTheResource) {
  RegisterTestResources();
  struct Case {
    const char* name;
    std::string message;
  };
  const Case cases[] = {
      {MAKEINTRESOURCEA(12), "Failed to open \"WAVE\" resource 12"},
      {"BOOM", "Failed to open \"WAVE\" resource BOOM"},
      {"UNLOCKABLE", "Failed to lock \"WAVE\" resource"},
      {"HUGE",
       "Failed to open resource, mmioOpen error= 259.#13May need to make sure resource is marked "
       "read-write"},
      {"TEXT", "This is not a WAVE file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ExpectMixerError([&] { MixerLoadWave(session_, c.name, HInstance, MixWaveFromResource); },
                     c.message);
  }
}

TEST_F(LoadWaveTest, DeviceQueryComesFirstAndNamesTheOpenedDevice) {
  // The wave mapper must be asked about as -1, the number activation opens.
  session_->DeviceId = -1;
  WavePtr wave = LoadImage(session_, wav::Wave({}, {1}));
  EXPECT_EQ(wave->SampleLength, 1);

  session_->OutputFormat.nSamplesPerSec = 8000;
  const std::string message = "The waveform device can\xB4t play this format";
  ASSERT_EQ(message.size(), 42u);  // the accent is one byte, not UTF-8
  EXPECT_EQ(static_cast<unsigned char>(message[23]), 0xB4);
  ExpectMixerError([&] { MixerLoadWave(session_, "missing.wav", nullptr, 1); }, message);
  session_->OutputFormat.nSamplesPerSec = 11025;
  session_->DeviceId = 5;
  ExpectMixerError([&] { MixerLoadWave(session_, "missing.wav", nullptr, 1); }, message);
}

TEST_F(LoadWaveTest, BadSessionIsRefusedFirst) {
  MixSession bogus{};
  ExpectMixerError([&] { MixerLoadWave(&bogus, "missing.wav", nullptr, 1); },
                   "Invalid Session handle");
  ExpectMixerError([&] { MixerLoadWave(nullptr, "missing.wav", nullptr, 1); },
                   "Invalid Session handle");
}

}  // namespace
