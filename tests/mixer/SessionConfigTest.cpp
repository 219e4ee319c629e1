#include <optional>

#include "MixerFixture.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

struct ConfigCase {
  const char* name;
  const char* ini;
  std::optional<MixConfig> config;  // none: MixerInit
  std::uint16_t deviceChannels;
  // Expected:
  std::uint16_t channels;
  std::uint32_t rate;
  std::int32_t blockLength;
  std::int32_t blockCount;
  bool defer;
  std::uint8_t goodWavePos;
};

constexpr MixConfig Config(std::uint16_t size, std::uint32_t flags, std::uint16_t channels,
                           std::uint16_t rate) {
  return MixConfig{size, flags, channels, rate};
}

const ConfigCase kCases[] = {
    {"Defaults", "", std::nullopt, 2, 1, 11025, 2048, 3, false, 0},
    {"NullConfig", "", MixConfig{0, 0, 0, 0}, 2, 1, 11025, 2048, 3, false, 0},
    {"StereoAsked", "", Config(10, 1, 2, 0), 2, 2, 11025, 2048, 3, false, 0},
    {"SizeNineIgnored", "", Config(9, 3, 2, 44), 2, 1, 11025, 2048, 3, false, 0},
    {"SizeElevenIgnored", "", Config(11, 3, 2, 44), 2, 1, 11025, 2048, 3, false, 0},
    {"StereoOnMonoDevice", "", Config(10, 1, 2, 0), 1, 1, 11025, 2048, 3, false, 0},
    {"StereoFlagClear", "", Config(10, 2, 2, 0), 2, 1, 11025, 2048, 3, false, 0},
    {"RateCode44", "", Config(10, 2, 1, 44), 2, 1, 44100, 4096, 3, false, 0},
    {"RateCode33KeepsIni22", "[default]\nSamplesPerSec=22\n", Config(10, 2, 1, 33), 2, 1, 22050,
     4096, 3, false, 0},
    {"RateWithoutFlagIgnored", "", Config(10, 1, 1, 22), 2, 1, 11025, 2048, 3, false, 0},
    {"SamplesPerSec48", "[default]\nSamplesPerSec=48\n", std::nullopt, 2, 1, 11025, 2048, 3, false,
     0},
    {"SamplesPerSec44", "[default]\nSamplesPerSec=44\n", std::nullopt, 2, 1, 44100, 4096, 3, false,
     0},
    {"WaveBlocks1", "[default]\nWaveBlocks=1\n", std::nullopt, 2, 1, 11025, 2048, 2, false, 0},
    {"WaveBlocks9", "[default]\nWaveBlocks=9\n", std::nullopt, 2, 1, 11025, 2048, 6, false, 0},
    {"BlockLen100", "[Virtual Wave Out]\nWaveBlockLen=100\n", std::nullopt, 2, 1, 11025, 512, 3,
     false, 0},
    {"BlockLen5000", "[Virtual Wave Out]\nWaveBlockLen=5000\n", std::nullopt, 2, 1, 11025, 4096, 3,
     false, 0},
    {"DefaultBlockLenRoundedDown", "[default]\nWaveBlockLen=1001\n", std::nullopt, 2, 1, 11025,
     1000, 3, false, 0},
    {"DeviceBlockLenNotRounded", "[Virtual Wave Out]\nWaveBlockLen=1001\n", std::nullopt, 2, 1,
     11025, 1001, 3, false, 0},
    {"DefaultBlockLenKeepsLow16Bits", "[default]\nWaveBlockLen=66536\n", std::nullopt, 2, 1, 11025,
     1000, 3, false, 0},
    {"Remix2Defers", "[default]\nRemix=2\n", std::nullopt, 2, 1, 11025, 2048, 3, true, 0},
    {"Remix0", "[default]\nRemix=0\n", std::nullopt, 2, 1, 11025, 2048, 3, false, 0},
    {"Remix3", "[default]\nRemix=3\n", std::nullopt, 2, 1, 11025, 2048, 3, false, 0},
    {"DeviceSectionOverridesKeyByKey",
     "[default]\nRemix=2\nWaveBlocks=4\nGoodWavePos=1\n[Virtual Wave Out]\nWaveBlocks=5\n",
     std::nullopt, 2, 1, 11025, 2048, 5, true, 1},
    {"DeviceSectionRemixOverride", "[default]\nRemix=2\n[Virtual Wave Out]\nRemix=1\n",
     std::nullopt, 2, 1, 11025, 2048, 3, false, 0},
    {"GoodWavePosLow8Bits", "[default]\nGoodWavePos=257\n", std::nullopt, 2, 1, 11025, 2048, 3,
     false, 1},
    {"NamesIgnoreCase", "[DEFAULT]\nwaveblocks=5\n[virtual wave out]\nSAMPLESPERSEC=22\n",
     std::nullopt, 2, 1, 22050, 4096, 5, false, 0},
};

class SessionConfigTest : public MixerTest, public ::testing::WithParamInterface<ConfigCase> {};

TEST_P(SessionConfigTest, ChoosesFormatBlocksAndRemix) {
  const ConfigCase& c = GetParam();
  WriteIni(c.ini);
  VirtualWaveDevice device;
  device.channels = c.deviceChannels;
  VirtualWaveOutSetDevices({device}, device);
  MixSession* s = c.config ? MixerInitConfigured(&*c.config) : MixerInit();
  const PCMWAVEFORMAT& f = s->OutputFormat;
  EXPECT_EQ(f.wFormatTag, 1);
  EXPECT_EQ(f.wBitsPerSample, 8);
  EXPECT_EQ(f.nChannels, c.channels);
  EXPECT_EQ(f.nBlockAlign, c.channels);
  EXPECT_EQ(f.nSamplesPerSec, c.rate);
  EXPECT_EQ(f.nAvgBytesPerSec, c.rate * c.channels);
  EXPECT_EQ(s->BlockLength, c.blockLength);
  EXPECT_EQ(s->BlockCount, c.blockCount);
  EXPECT_EQ(s->RemixRoutine, c.defer ? &DeferToMixPosition : &RemixFromPosition);
  EXPECT_EQ(s->GoodWavePos, c.goodWavePos);
  EXPECT_EQ(s->DeviceId, 0);
  EXPECT_STREQ(s->DeviceName, "Virtual Wave Out");
}

INSTANTIATE_TEST_SUITE_P(Cases, SessionConfigTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct DeviceCase {
  const char* name;
  const char* ini;
  std::int32_t deviceId;
  const char* deviceName;
};

const DeviceCase kDeviceCases[] = {
    {"FirstByDefault", "", 0, "Card A"},
    {"Second", "[general]\nWaveOutDevice=1\n", 1, "Card B"},
    {"CountSelectsMapper", "[general]\nWaveOutDevice=2\n", -1, "Mapper"},
    {"AboveCountSelectsMapper", "[general]\nWaveOutDevice=70\n", -1, "Mapper"},
    {"NegativeKept", "[general]\nWaveOutDevice=-1\n", -1, "Mapper"},
    {"NegativeUnknown", "[general]\nWaveOutDevice=-5\n", -5, "Unknown Device"},
};

class SessionDeviceTest : public MixerTest, public ::testing::WithParamInterface<DeviceCase> {};

TEST_P(SessionDeviceTest, PicksDeviceAndName) {
  const DeviceCase& c = GetParam();
  WriteIni(c.ini);
  VirtualWaveDevice a, b, mapper;
  a.name = "Card A";
  b.name = "Card B";
  mapper.name = "Mapper";
  VirtualWaveOutSetDevices({a, b}, mapper);
  MixSession* s = MixerInit();
  EXPECT_EQ(s->DeviceId, c.deviceId);
  EXPECT_STREQ(s->DeviceName, c.deviceName);
}

INSTANTIATE_TEST_SUITE_P(Cases, SessionDeviceTest, ::testing::ValuesIn(kDeviceCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
