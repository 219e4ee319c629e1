// Opening, flushing and closing the eight channels.
#include "mixer/Mixer.h"

namespace {

bool IsOpen(const MixSession& session, int channel) {
  return session.ChannelQueue[channel] != MixChannelClosed();
}

void Open(MixSession& session, int channel) {
  session.ChannelQueue[channel] = nullptr;
  ++session.OpenChannelCount;
}

void OpenFirst(MixSession& session, int count) {
  for (int channel = count - 1; channel >= 0; --channel) {
    if (!IsOpen(session, channel)) Open(session, channel);
  }
}

struct ChannelRange {
  int first;
  int last;
};

// Checks the channel argument of clear and release and gives their range.
ChannelRange CheckedRange(const MixSession& session, std::int32_t channel, std::int32_t flags) {
  if (flags & MixChannelAll) return {0, MixChannels - 1};
  if (channel < 0 || channel >= MixChannels) throw EMixerError("Invalid channel number");
  if (!IsOpen(session, channel)) throw EMixerError("The specified channel was not open");
  return {channel, channel};
}

int DropQueue(MixSession& session, int channel) {
  MixQueueEntry* play = session.ChannelQueue[channel];
  session.ChannelQueue[channel] = nullptr;
  int dropped = 0;
  while (play != nullptr) {
    MixQueueEntry* next = play->Link;
    ReturnQueueEntry(play);
    play = next;
    ++dropped;
  }
  return dropped;
}

}  // namespace

void MixerReserveChannels(MixSession* handle, std::int32_t channel, std::int32_t mode) {
  MixSession& session = *ValidateSession(handle);
  MixerUnit.CurrentSession = &session;
  if (mode > MixChannelFirstN) throw EMixerError("Invalid Flags");
  if (mode == MixChannelSingle && (channel < 0 || channel >= MixChannels)) {
    throw EMixerError("Invalid channel number");
  }
  if (mode == MixChannelFirstN && (channel > MixChannels || channel < 1)) {
    throw EMixerError("Invalid number of channels");
  }
  switch (mode) {
    case MixChannelSingle:
      if (IsOpen(session, channel)) throw EMixerError("The channel has already been opened");
      Open(session, channel);
      return;
    case MixChannelAll:
      OpenFirst(session, MixChannels);
      return;
    case MixChannelFirstN:
      OpenFirst(session, channel);
      return;
    default:
      throw EMixerError("Invalid flag");
  }
}

void MixerClearChannel(MixSession* handle, std::int32_t channel, std::int32_t flags) {
  MixSession& session = *ValidateSession(handle);
  MixerUnit.CurrentSession = &session;
  ChannelRange range = CheckedRange(session, channel, flags);
  int dropped = 0;
  for (int c = range.first; c <= range.last; ++c) {
    if (IsOpen(session, c)) dropped += DropQueue(session, c);
  }
  if (dropped == 0 || (flags & MixChannelNoRemix) || !session.IsActivated) return;
  session.RemixRoutine(GetPlayPosition(session.WaveOut, session.GoodWavePos), nullptr);
}

void MixerReleaseChannels(MixSession* handle, std::int32_t channel, std::int32_t flags) {
  MixSession& session = *ValidateSession(handle);
  MixerUnit.CurrentSession = &session;
  MixerClearChannel(&session, channel, flags | MixChannelNoRemix);
  ChannelRange range =
      (flags & MixChannelAll) ? ChannelRange{0, MixChannels - 1} : ChannelRange{channel, channel};
  for (int c = range.first; c <= range.last; ++c) {
    if (!IsOpen(session, c)) continue;
    session.ChannelQueue[c] = MixChannelClosed();
    --session.OpenChannelCount;
  }
}
