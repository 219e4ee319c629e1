#include "mixer/SessionConfig.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/Profile.h"

namespace {

const char* const kIniFile = "MIXER.INI";

// Section "default" supplies the defaults of every per-device key.
struct DefaultSettings {
  int remix;
  int goodWavePos;
  int waveBlocks;
  int waveBlockLen;  // already masked to a multiple of 4
  int samplesPerSec;
};

int ReadInt(const char* section, const char* key, int defaultValue) {
  return GetPrivateProfileIntA(section, key, defaultValue, kIniFile);
}

DefaultSettings ReadDefaults() {
  DefaultSettings d;
  d.remix = ReadInt("default", "Remix", 1);
  d.goodWavePos = ReadInt("default", "GoodWavePos", 0);
  d.waveBlocks = ReadInt("default", "WaveBlocks", 3);
  d.waveBlockLen = ReadInt("default", "WaveBlockLen", 0) & 0xFFFC;
  d.samplesPerSec = ReadInt("default", "SamplesPerSec", 11);
  return d;
}

void SetName(MixSession& session, const char* name) {
  std::strncpy(session.DeviceName, name, sizeof session.DeviceName - 1);
  session.DeviceName[sizeof session.DeviceName - 1] = '\0';
}

// A failed capability query leaves the record zeroed: a device that is not
// synchronous and has no stereo, so it is used in mono.
WAVEOUTCAPSA QueryDevice(std::int32_t deviceId, std::string& name) {
  WAVEOUTCAPSA caps{};
  if (waveOutGetDevCapsA(static_cast<std::uint32_t>(deviceId), &caps, sizeof caps) != 0) {
    caps = WAVEOUTCAPSA{};
    name = "Unknown Device";
  } else {
    caps.szPname[sizeof caps.szPname - 1] = '\0';
    name = caps.szPname;
  }
  return caps;
}

void RefuseUnsuitableDevice(const WAVEOUTCAPSA& caps, const std::string& name) {
  if (caps.dwSupport & WAVECAPS_SYNC) {
    throw EMixerError(name + " is a syncronous (blocking) " +
                      "wave output device.  This will not permit audio to play while other " +
                      "applications are running");
  }
  if (ReadInt("not compatible", name.c_str(), 0) != 0) {
    throw EMixerError(name + " is not compatible with " + "the realtime mixer");
  }
}

void ChooseFormat(MixSession& session, const MixConfig* config, const WAVEOUTCAPSA& caps,
                  int rateCode) {
  PCMWAVEFORMAT& format = session.OutputFormat;
  if (config != nullptr && (config->ConfigFlags & MixConfigChannels) &&
      config->OutputChannels > 1 && caps.wChannels > 1) {
    format.nChannels = 2;
    format.nBlockAlign = 2;
  }
  if (config != nullptr && (config->ConfigFlags & MixConfigRate) &&
      (config->RateCode == 11 || config->RateCode == 22 || config->RateCode == 44)) {
    rateCode = config->RateCode;
  }
  format.nSamplesPerSec = rateCode == 22 ? 22050 : rateCode == 44 ? 44100 : 11025;
  format.nAvgBytesPerSec = format.nChannels * format.nSamplesPerSec;
}

std::int32_t ChooseBlockLength(const char* section, const DefaultSettings& d,
                               std::uint32_t samplesPerSec) {
  int length = ReadInt(section, "WaveBlockLen", 0);
  if (length == 0) length = d.waveBlockLen;
  if (length != 0) return std::clamp(length, 512, MixBlockBytes);
  return static_cast<std::int32_t>(std::min<std::uint32_t>(samplesPerSec / 11025 * 2048, 4096));
}

}  // namespace

void ConfigureSession(MixSession& session, const MixConfig* config, std::uint32_t deviceCount) {
  DefaultSettings d = ReadDefaults();
  SetName(session, "default");
  session.DeviceId = ReadInt("general", "WaveOutDevice", 0);
  if (session.DeviceId >= static_cast<std::int32_t>(deviceCount)) session.DeviceId = -1;

  std::string name;
  WAVEOUTCAPSA caps = QueryDevice(session.DeviceId, name);
  RefuseUnsuitableDevice(caps, name);
  SetName(session, name.c_str());
  const char* section = session.DeviceName;

  session.RemixRoutine =
      ReadInt(section, "Remix", d.remix) == 2 ? DeferToMixPosition : RemixFromPosition;
  session.GoodWavePos = static_cast<std::uint8_t>(ReadInt(section, "GoodWavePos", d.goodWavePos));
  session.BlockCount = std::clamp(ReadInt(section, "WaveBlocks", d.waveBlocks), 2, MixBlockSlots);
  ChooseFormat(session, config, caps, ReadInt(section, "SamplesPerSec", d.samplesPerSec));
  session.BlockLength = ChooseBlockLength(section, d, session.OutputFormat.nSamplesPerSec);
}
