// Building one output block from the channel queues: silence where nothing
// sounds, a plain copy where one play sounds, a clamped sum where several do.
#include <algorithm>
#include <cstring>

#include "mixer/Mixer.h"

namespace {

// The plays that sound at or after the mixing position, one per channel.
struct SoundingPlays {
  MixQueueEntry* plays[MixChannels];
  int count = 0;
  std::int64_t earliestStart = MixNever;
};

// A play is passed over once the position reaches its end, and always when
// it has no sound at all: an end before its start, or an empty wave (which
// could otherwise loop forever over zero bytes).
bool PassedOver(const MixQueueEntry* play, std::int64_t position) {
  return play->End <= position || play->End < play->Start || play->Length <= 0;
}

SoundingPlays GatherPlays(const MixSession& session) {
  SoundingPlays sounding;
  for (MixQueueEntry* play : session.ChannelQueue) {
    if (play == MixChannelClosed()) continue;
    while (play != nullptr && PassedOver(play, session.MixPosition)) play = play->Link;
    if (play == nullptr) continue;
    sounding.plays[sounding.count++] = play;
    sounding.earliestStart = std::min<std::int64_t>(sounding.earliestStart, play->Start);
  }
  return sounding;
}

// Moves every play that has ended by `position` on to its channel's next one
// and drops channels with nothing left.
void RefreshPlays(SoundingPlays& sounding, std::int64_t position) {
  sounding.earliestStart = MixNever;
  for (int i = 0; i < sounding.count;) {
    MixQueueEntry* play = sounding.plays[i];
    while (play != nullptr && PassedOver(play, position)) play = play->Link;
    if (play == nullptr) {
      sounding.plays[i] = sounding.plays[--sounding.count];
      continue;
    }
    sounding.plays[i++] = play;
    sounding.earliestStart = std::min<std::int64_t>(sounding.earliestStart, play->Start);
  }
}

// Finds where the next change happens after `position` and which wave bytes
// sound until then. Returns the segment's end.
std::int64_t FindSegment(const SoundingPlays& sounding, std::int64_t position, std::int64_t limit,
                         const std::uint8_t** sources, int& sourceCount) {
  std::int64_t end = limit;
  sourceCount = 0;
  for (int i = 0; i < sounding.count; ++i) {
    const MixQueueEntry* play = sounding.plays[i];
    if (position < play->Start) {
      end = std::min<std::int64_t>(end, play->Start);
      continue;
    }
    end = std::min<std::int64_t>(end, play->End);
    std::int64_t offset = position - play->Start;
    if (play->Request.Loops != 0) {
      offset %= play->Length;
      end = std::min(end, position + play->Length - offset);  // end of this pass
    }
    sources[sourceCount++] = play->Data + offset;
  }
  return end;
}

void MixInto(std::uint8_t* out, const MixSession& session, SoundingPlays& sounding) {
  std::int64_t position = session.MixPosition;
  const std::int64_t blockEnd = position + static_cast<std::uint16_t>(session.BlockLength);
  while (position < blockEnd) {
    std::int64_t remaining = blockEnd - position;
    std::int64_t n;
    if (position < sounding.earliestStart) {
      n = std::min(remaining, sounding.earliestStart - position);
      std::memset(out, 128, static_cast<std::size_t>(n));
    } else {
      const std::uint8_t* sources[MixChannels];
      int count = 0;
      n = FindSegment(sounding, position, blockEnd, sources, count) - position;
      if (count == 0) {
        std::memset(out, 128, static_cast<std::size_t>(n));  // nothing sounds here after all
      } else {
        MixSamples8(out, sources, count, static_cast<std::uint16_t>(n));
      }
      RefreshPlays(sounding, position + n);
    }
    out += n;
    position += n;
  }
}

}  // namespace

void MixSamples8(std::uint8_t* destination, const std::uint8_t* const* sources, int count,
                 std::uint16_t length) {
  if (count <= 0) return;
  if (count == 1) {
    std::memcpy(destination, sources[0], length);
    return;
  }
  // 128 + sum of (s - 128) is the plain sum less 128 for every source but
  // one. Sums of up to eight bytes fit 16 bits; working a chunk at a time
  // source by source lets the compiler use vector adds, and each byte is
  // clamped once, so the order of the sources does not matter.
  constexpr int kChunk = 512;
  const int bias = 128 * (count - 1);
  std::int16_t sum[kChunk];
  for (int done = 0; done < length; done += kChunk) {
    const int n = std::min<int>(kChunk, length - done);
    const std::uint8_t* first = sources[0] + done;
    for (int i = 0; i < n; ++i) sum[i] = first[i];
    for (int k = 1; k < count; ++k) {
      const std::uint8_t* source = sources[k] + done;
      for (int i = 0; i < n; ++i) sum[i] = static_cast<std::int16_t>(sum[i] + source[i]);
    }
    std::uint8_t* out = destination + done;
    for (int i = 0; i < n; ++i) {
      out[i] = static_cast<std::uint8_t>(std::clamp(sum[i] - bias, 0, 255));
    }
  }
}

bool MixNextBlock(MixBlock* block, bool write) {
  if (block == nullptr) return false;
  MixSession& session = *MixerUnit.CurrentSession;
  SoundingPlays sounding = GatherPlays(session);
  if (sounding.count == 0) {
    if (write) ReleaseBlock(block);
    return false;
  }
  MixInto(block->Samples, session, sounding);
  block->StartPosition = session.MixPosition;
  session.MixPosition = AddPosition(session.MixPosition, session.BlockLength);
  if (write) {
    AppendBlock(block);
    if (waveOutWrite(session.WaveOut, &block->WaveHeader, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
      ReleaseBlock(block);
      UnlinkBlock(block);
      throw EMixerError("Failed to write block to device");
    }
  }
  return true;
}
