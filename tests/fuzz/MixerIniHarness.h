#pragma once
// Feeds one input to the MIXER.INI lookup, shared by the fuzz target and by
// the unit test that replays its corpus. The bytes become MIXER.INI in the
// configuration folder; a few keys are looked up directly, then a session is
// built from the file and made to play, which is what the file steers.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "mixer/Mixer.h"
#include "mixer/Wave.h"
#include "platform/MessageLoop.h"
#include "platform/Messages.h"
#include "platform/Profile.h"
#include "platform/Riff.h"
#include "platform/virtual/VirtualWaveOut.h"

enum class IniOutcome { Played, Refused, Inconsistent };

// A small 8-bit mono wave as a RIFF image, the same for every input.
inline const std::vector<std::uint8_t>& IniFuzzWaveImage() {
  static const std::vector<std::uint8_t> image = [] {
    constexpr std::uint32_t kSamples = 90;
    std::vector<std::uint8_t> out;
    auto put = [&out](std::uint32_t value, int bytes) {
      for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    auto id = [&out](const char* four) { out.insert(out.end(), four, four + 4); };
    id("RIFF");
    put(4 + 8 + 16 + 8 + kSamples, 4);
    id("WAVE");
    id("fmt ");
    put(16, 4);
    put(1, 2);      // PCM
    put(1, 2);      // mono
    put(11025, 4);  // rate
    put(11025, 4);  // bytes per second
    put(1, 2);      // block align
    put(8, 2);      // bits
    id("data");
    put(kSamples, 4);
    for (std::uint32_t i = 0; i < kSamples; ++i) out.push_back(static_cast<std::uint8_t>(i * 5));
    return out;
  }();
  return image;
}

inline bool ContainsNoCase(std::string_view text, std::string_view word) {
  auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  };
  return std::search(text.begin(), text.end(), word.begin(), word.end(), same) != text.end();
}

// Counts the play-done notices that reach the window made for the harness.
inline int& IniFuzzNotices() {
  static int notices = 0;
  return notices;
}

inline LRESULT IniFuzzNotifyProc(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (message == MM_WOM_DONE) ++IniFuzzNotices();
  return DefWindowProcA(window, message, wParam, lParam);
}

// A key that the text does not even name must give the default.
inline bool LookupsAreSound(std::string_view text) {
  struct Key {
    const char* section;
    const char* key;
    int fallback;
  };
  static constexpr Key kKeys[] = {{"general", "WaveOutDevice", 0},
                                  {"default", "WaveBlocks", 3},
                                  {"default", "WaveBlockLen", 0},
                                  {"Virtual Wave Out", "SamplesPerSec", 11},
                                  {"not compatible", "Virtual Wave Out", 0}};
  for (const Key& k : kKeys) {
    const int value = GetPrivateProfileIntA(k.section, k.key, k.fallback, "MIXER.INI");
    if (!ContainsNoCase(text, k.key) && value != k.fallback) return false;
  }
  return true;
}

// Whatever the file says, a session it builds must stay within the limits
// the engine is written for.
inline bool SessionIsSound(const MixSession& s) {
  const PCMWAVEFORMAT& f = s.OutputFormat;
  const bool rate =
      f.nSamplesPerSec == 11025 || f.nSamplesPerSec == 22050 || f.nSamplesPerSec == 44100;
  return s.BlockCount >= 2 && s.BlockCount <= 6 && s.BlockLength >= 512 &&
         s.BlockLength <= MixBlockBytes && rate && (f.nChannels == 1 || f.nChannels == 2) &&
         f.nBlockAlign == f.nChannels && f.wBitsPerSample == 8 &&
         f.nAvgBytesPerSec == f.nSamplesPerSec * f.nChannels && s.RemixRoutine != nullptr &&
         s.DeviceId < static_cast<std::int32_t>(waveOutGetNumDevs()) &&
         s.DeviceName[sizeof s.DeviceName - 1] == '\0';
}

// Plays the wave twice (once looped) and runs the device until both plays
// have been heard; both must be notified. A device number that names no
// device (below -1) cannot be opened, and only then may activation fail.
inline IniOutcome PlaysAndNotifies(MixSession* session, HWND notify) {
  try {
    MixerActivate(session, true);
  } catch (const EMixerError&) {
    return session->DeviceId < -1 && !session->IsActivated ? IniOutcome::Refused
                                                           : IniOutcome::Inconsistent;
  }
  MixerReserveChannels(session, 2, MixChannelFirstN);
  MMIOINFO info{};
  info.fccIOProc = FOURCC_MEM;
  info.pchBuffer = reinterpret_cast<const char*>(IniFuzzWaveImage().data());
  info.cchBuffer = static_cast<std::int32_t>(IniFuzzWaveImage().size());
  MixWave* wave =
      MixerLoadWave(session, reinterpret_cast<const char*>(&info), nullptr, MixWaveFromMemory);
  IniFuzzNotices() = 0;
  MixPlayParams once{24, session, 0, wave, notify, 0, 0};
  MixPlayParams looped{24, session, 0, wave, notify, MixPlayPickChannel, 2};
  MixerPlay(&once);
  MixerPlay(&looped);
  // A handful of blocks hears both to their ends, whatever the block length.
  for (int round = 0; round < 8 * MixBlockSlots && IniFuzzNotices() < 2; ++round) {
    VirtualWaveOutPlay(static_cast<std::size_t>(session->BlockLength));
    ProcessMessages();
    ProcessMessages();
  }
  MixerUnloadWave(session, wave);
  MixerActivate(session, false);
  return IniFuzzNotices() == 2 ? IniOutcome::Played : IniOutcome::Inconsistent;
}

// The caller has pointed the profile lookup at `folder` and made `notify`
// with IniFuzzNotifyProc. A file may refuse the device (not compatible, or
// a device number that names none); any other error escapes.
inline IniOutcome RunIniFuzzInput(const std::uint8_t* data, std::size_t size,
                                  const std::filesystem::path& folder, HWND notify) {
  std::ofstream(folder / "MIXER.INI", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!LookupsAreSound(text)) return IniOutcome::Inconsistent;

  UseVirtualWaveOut();  // a fresh device, so that nothing played piles up
  const MixConfig stereo{sizeof(MixConfig), MixConfigChannels, 2, 0};
  MixSession* session;
  try {
    session = MixerInitConfigured(&stereo);
  } catch (const EMixerError&) {
    return MixerUnit.CurrentSession == nullptr ? IniOutcome::Refused : IniOutcome::Inconsistent;
  }
  IniOutcome outcome =
      SessionIsSound(*session) ? PlaysAndNotifies(session, notify) : IniOutcome::Inconsistent;
  MixerEndSession(session);
  if (MixerUnit.CurrentSession != nullptr || MixerUnit.ActiveSession != nullptr) {
    outcome = IniOutcome::Inconsistent;
  }
  return outcome;
}
