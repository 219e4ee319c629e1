#pragma once
// The part of a wave output device that every back end shares: the queue of
// written blocks, played strictly in order, the done flags and messages, the
// paused state and the count of bytes played. A back end derives from it and
// pulls bytes with Play, from whatever thread its sound comes from.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/WaveOut.h"

struct TWaveOutDevice {
  explicit TWaveOutDevice(HWND callbackWindow, const PCMWAVEFORMAT& format);
  virtual ~TWaveOutDevice() = default;
  TWaveOutDevice(const TWaveOutDevice&) = delete;
  TWaveOutDevice& operator=(const TWaveOutDevice&) = delete;

  // Takes a copy of the block's bytes, so that the owner may mix into its
  // memory again while the device still plays what it was given.
  MMRESULT Write(WAVEHDR* header);
  void Pause();
  void Restart();
  bool Paused();
  // Hands back every queued block as done, in order, and restarts the count.
  void Reset();
  std::uint32_t PlayedBytes();
  std::size_t QueuedBlocks();
  // Copies up to `bytes` bytes of queued blocks into `out`, finishing the
  // blocks that run out. Returns the number of bytes copied; a paused or
  // empty device plays nothing.
  std::size_t Play(std::uint8_t* out, std::size_t bytes);

  const HWND callbackWindow;
  const PCMWAVEFORMAT format;

 private:
  struct Pending {
    WAVEHDR* header;
    std::vector<std::uint8_t> bytes;
    std::size_t consumed;
  };
  void Finish(Pending& done);

  std::mutex mutex_;
  std::vector<Pending> queue_;
  // Buffers of finished blocks, kept for the next writes so that steady
  // playing allocates nothing.
  std::vector<std::vector<std::uint8_t>> spare_;
  bool paused_ = false;
  std::uint32_t playedBytes_ = 0;  // wraps at 2^32 like the platform's count
};

// Raises or clears flag bits of a header that the device's thread may read.
void SetWaveHeaderFlags(WAVEHDR& header, std::uint32_t set, std::uint32_t clear);
