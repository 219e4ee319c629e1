// Creating, checking and ending the one mixer session.
#include <cstring>
#include <new>
#include <string>

#include "mixer/Mixer.h"
#include "mixer/SessionConfig.h"
#include "platform/ModuleFileName.h"

namespace {

const char* const kOutOfMemory =
    "Unable to allocate memory for waveform data.  Try making more memory available by closing "
    "other applications.";

void InitialiseRecord(MixSession& session) {
  session.Magic = MixSessionMagic;
  session.Magic2 = MixSessionMagic;
  for (MixQueueEntry*& queue : session.ChannelQueue) queue = MixChannelClosed();
  session.OutputFormat = {WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8};
}

}  // namespace

void MixerStartUp() {
  char moduleName[200];
  if (GetModuleFileNameA(nullptr, moduleName, sizeof moduleName) == 0) {
    throw EMixerError("GetModuleFileName error #" + std::to_string(GetLastError()));
  }
  if (!RegisterClassA("Mixer32", CallbackWindowProc)) {
    std::uint32_t code = GetLastError();
    if (code != ERROR_CLASS_ALREADY_EXISTS && code != 0) {
      throw EMixerError("Error registering class #" + std::to_string(code));
    }
  }
  // Entries of an earlier session are simply forgotten; while a session
  // lives its plays are in the pool's entries, so the pool is left alone.
  if (MixerUnit.CurrentSession == nullptr) ResetQueuePool();
}

MixSession* MixerInit() {
  MixConfig config{};
  config.ConfigSize = sizeof(MixConfig);
  return MixerInitConfigured(&config);
}

MixSession* MixerInitConfigured(const MixConfig* config) {
  MixerStartUp();
  if (MixerUnit.CurrentSession != nullptr) throw EMixerError("Session already initialized");
  if (config != nullptr && config->ConfigSize != sizeof(MixConfig)) config = nullptr;
  std::uint32_t deviceCount = waveOutGetNumDevs();
  if (deviceCount == 0) throw EMixerError("No wave output devices available");

  auto* session = new (std::nothrow) MixSession{};
  if (session == nullptr) throw EMixerError(kOutOfMemory);
  MixerUnit.CurrentSession = session;
  InitialiseRecord(*session);
  try {
    ConfigureSession(*session, config, deviceCount);
  } catch (...) {
    MixerUnit.CurrentSession = nullptr;
    delete session;
    throw;
  }
  return session;
}

MixSession* ValidateSession(MixSession* handle) {
  // Only the live session can be valid, so an ended session's handle is
  // refused before anything behind it is read.
  if (handle == nullptr || handle != MixerUnit.CurrentSession || handle->Magic != MixSessionMagic ||
      handle->Magic2 != MixSessionMagic) {
    throw EMixerError("Invalid Session handle");
  }
  return handle;
}

void MixerEndSession(MixSession* handle) {
  MixSession* session = ValidateSession(handle);
  MixerUnit.CurrentSession = session;
  MixerActivate(session, false);
  MixerReleaseChannels(session, 0, MixChannelAll);
  std::memset(static_cast<void*>(session), 0, sizeof(MixSession));
  MixerUnit.CurrentSession = nullptr;
  delete session;
}
