// Play requests: a play is taken from the pool, held, and then placed on its
// channel with its start and end in the output stream, together with every
// play held before it.
#include <algorithm>
#include <limits>

#include "mixer/HeldPlays.h"
#include "mixer/Mixer.h"
#include "mixer/Wave.h"

namespace {

bool IsOpen(const MixSession& session, int channel) {
  return session.ChannelQueue[channel] != MixChannelClosed();
}

// The least recently used open channel; an idle candidate ends the search.
int PickChannel(const MixSession& session) {
  int candidate = 0;
  while (!IsOpen(session, candidate)) ++candidate;
  for (int channel = 0; channel < MixChannels; ++channel) {
    if (!IsOpen(session, channel)) continue;
    if (session.ChannelQueue[candidate] == nullptr) break;
    if (channel != candidate && session.ChannelStamp[channel] < session.ChannelStamp[candidate]) {
      candidate = channel;
    }
  }
  return candidate;
}

int ChooseChannel(MixSession& session, MixPlayParams& request) {
  if (request.Flags & MixPlayPickChannel) {
    request.Channel = PickChannel(session);
    return request.Channel;
  }
  if (request.Channel < 0 || request.Channel >= MixChannels) {
    throw EMixerError("Invalid channel number");
  }
  return request.Channel;
}

void StampChannel(MixSession& session, int channel) {
  session.PlayCounter =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(session.PlayCounter) + 1);
  session.ChannelStamp[channel] = session.PlayCounter;
}

MixQueueEntry* NewEntry(const MixPlayParams& request, int channel) {
  MixQueueEntry* entry = TakeQueueEntry();
  if (entry == nullptr) throw EMixerError("Not enough memory");
  entry->Request = request;
  entry->Request.Channel = channel;
  entry->Wave = request.Wave;
  entry->Length = request.Wave->SampleLength;
  entry->Data = request.Wave->SampleData;
  return entry;
}

bool AllChannelsQuiet(const MixSession& session) {
  return std::all_of(std::begin(session.ChannelQueue), std::end(session.ChannelQueue),
                     [](MixQueueEntry* q) { return q == nullptr || q == MixChannelClosed(); });
}

// start + length x (loops + 1) - 1, or "never" when it would not fit.
std::int32_t EndPosition(const MixQueueEntry& play) {
  if (play.Request.Loops == MixLoopForever || play.Start == MixNever) return MixNever;
  std::int64_t end =
      std::int64_t{play.Start} + std::int64_t{play.Length} * (play.Request.Loops + 1) - 1;
  if (end > MixNever) return MixNever;
  return static_cast<std::int32_t>(std::max<std::int64_t>(end, INT32_MIN));
}

void DropQueue(MixQueueEntry* play) {
  while (play != nullptr) {
    MixQueueEntry* next = play->Link;
    ReturnQueueEntry(play);
    play = next;
  }
}

// Places one play on its channel. Returns true when the blocks already in
// the device must be mixed again for it to be heard as asked.
bool PlacePlay(MixSession& session, MixQueueEntry& play, std::int32_t now) {
  MixQueueEntry*& queue = session.ChannelQueue[play.Request.Channel];
  const bool immediate = play.Request.Flags & MixPlayImmediate;
  bool remix;
  if (play.Request.Flags & MixPlayReplaceQueue) {
    DropQueue(queue);
    queue = &play;
    play.Start = immediate ? now : session.MixPosition;
    remix = MixerUnit.InDeviceHead != nullptr;
  } else {
    if (queue != nullptr) {
      MixQueueEntry* last = queue;
      while (last->Link != nullptr) last = last->Link;
      last->Link = &play;
      play.Start = immediate ? last->End : std::max(session.MixPosition, last->End);
    } else {
      queue = &play;
      play.Start = immediate ? now : session.MixPosition;
    }
    remix = play.Start < session.MixPosition;
  }
  play.End = EndPosition(play);
  return remix;
}

// Writes blocks for the new plays; an idle device is paused meanwhile so
// that they begin to sound together.
void StartOutput(MixSession& session) {
  const bool pause = MixerUnit.InDeviceHead == nullptr;
  if (pause) waveOutPause(session.WaveOut);
  while (MixNextBlock(TakeFreeBlock(), true)) {
  }
  if (pause) waveOutRestart(session.WaveOut);
}

}  // namespace

void MixerPlay(MixPlayParams* request) {
  if (request == nullptr) throw EMixerError("nil parameters pointer passed to MixerPlay");
  MixSession& session = *ValidateSession(request->Session);
  MixerUnit.CurrentSession = &session;
  if (request->Wave == nullptr) throw EMixerError("nil wave pointer passed to MixerPlay!");
  if (!session.IsActivated) {
    throw EMixerError("Wave device not allocated, call MixerActivate(hMixSession,TRUE)");
  }
  if (session.OpenChannelCount == 0) {
    throw EMixerError("You must open a channel before you can play a wave");
  }
  const int channel = ChooseChannel(session, *request);
  StampChannel(session, channel);
  if (!IsOpen(session, channel)) throw EMixerError("The specified channel was not open");
  HoldPlay(session, NewEntry(*request, channel));
  if (request->Flags & MixPlayHold) return;

  if (MixerUnit.InDeviceHead == nullptr && AllChannelsQuiet(session)) SetPlayPosition(0);
  const std::int32_t now = GetPlayPosition(session.WaveOut, session.GoodWavePos);
  MixQueueEntry* last = nullptr;
  // The last play that asked for a re-mix. The pass's last play may wait
  // behind an endless one (start "never"), which is no place to re-mix from.
  MixQueueEntry* remixFrom = nullptr;
  while (MixQueueEntry* play = TakeOldestHeldPlay(session)) {
    // A held play whose channel was closed meanwhile is dropped unheard.
    if (!IsOpen(session, play->Request.Channel)) {
      ReturnQueueEntry(play);
      continue;
    }
    if (PlacePlay(session, *play, now)) remixFrom = play;
    last = play;
  }
  if (remixFrom != nullptr) {
    const std::int32_t position = last->Start == MixNever ? remixFrom->Start : last->Start;
    session.RemixRoutine(position, last);
  } else {
    StartOutput(session);
  }
}
