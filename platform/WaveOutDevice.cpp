#include "platform/WaveOutDevice.h"

#include <algorithm>
#include <cstring>

void SetWaveHeaderFlags(WAVEHDR& header, std::uint32_t set, std::uint32_t clear) {
  std::atomic_ref<std::uint32_t> flags(header.dwFlags);
  std::uint32_t old = flags.load(std::memory_order_relaxed);
  while (!flags.compare_exchange_weak(old, (old & ~clear) | set, std::memory_order_release)) {
  }
}

TWaveOutDevice::TWaveOutDevice(HWND window, const PCMWAVEFORMAT& fmt)
    : callbackWindow(window), format(fmt) {
  queue_.reserve(16);
  spare_.reserve(16);
}

MMRESULT TWaveOutDevice::Write(WAVEHDR* header) {
  if ((WaveHeaderFlags(*header) & WHDR_PREPARED) == 0) return WAVERR_UNPREPARED;
  if ((WaveHeaderFlags(*header) & WHDR_INQUEUE) != 0) return WAVERR_STILLPLAYING;
  std::lock_guard lock(mutex_);
  std::vector<std::uint8_t> bytes;
  if (!spare_.empty()) {
    bytes = std::move(spare_.back());
    spare_.pop_back();
  }
  const auto* data = reinterpret_cast<const std::uint8_t*>(header->lpData);
  bytes.assign(data, data + header->dwBufferLength);
  SetWaveHeaderFlags(*header, WHDR_INQUEUE, WHDR_DONE);
  queue_.push_back({header, std::move(bytes), 0});
  return MMSYSERR_NOERROR;
}

void TWaveOutDevice::Pause() {
  std::lock_guard lock(mutex_);
  paused_ = true;
}

void TWaveOutDevice::Restart() {
  std::lock_guard lock(mutex_);
  paused_ = false;
}

bool TWaveOutDevice::Paused() {
  std::lock_guard lock(mutex_);
  return paused_;
}

void TWaveOutDevice::Finish(Pending& done) {
  SetWaveHeaderFlags(*done.header, WHDR_DONE, WHDR_INQUEUE);
  PostMessageA(callbackWindow, MM_WOM_DONE, reinterpret_cast<WPARAM>(this),
               reinterpret_cast<LPARAM>(done.header));
  spare_.push_back(std::move(done.bytes));
}

void TWaveOutDevice::Reset() {
  std::lock_guard lock(mutex_);
  for (Pending& pending : queue_) Finish(pending);
  queue_.clear();
  playedBytes_ = 0;
}

std::uint32_t TWaveOutDevice::PlayedBytes() {
  std::lock_guard lock(mutex_);
  return playedBytes_;
}

std::size_t TWaveOutDevice::QueuedBlocks() {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

std::size_t TWaveOutDevice::Play(std::uint8_t* out, std::size_t bytes) {
  std::lock_guard lock(mutex_);
  if (paused_) return 0;
  std::size_t copied = 0;
  std::size_t finished = 0;
  while (finished < queue_.size()) {
    Pending& front = queue_[finished];
    std::size_t take = std::min(bytes - copied, front.bytes.size() - front.consumed);
    std::memcpy(out + copied, front.bytes.data() + front.consumed, take);
    front.consumed += take;
    copied += take;
    if (front.consumed < front.bytes.size()) break;
    Finish(front);
    ++finished;
  }
  queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(finished));
  playedBytes_ += static_cast<std::uint32_t>(copied);
  return copied;
}
