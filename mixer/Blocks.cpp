// The six output blocks and the list of those queued in the device.
#include <new>
#include <string>

#include "mixer/Mixer.h"

namespace {

const char* const kOutOfMemory =
    "Unable to allocate memory for waveform data.  Try making more memory available by closing "
    "other applications.";

void PointHeaderAtSamples(MixBlock& block) {
  block.WaveHeader.lpData = reinterpret_cast<char*>(block.Samples);
  block.WaveHeader.dwBufferLength =
      static_cast<std::uint32_t>(MixerUnit.CurrentSession->BlockLength);
}

void DeleteAllocatedBlocks() {
  for (MixBlock*& block : MixerUnit.BlockTable) {
    delete block;
    block = nullptr;
  }
}

}  // namespace

void AllocateBlocks(HWAVEOUT device) {
  for (MixBlock*& slot : MixerUnit.BlockTable) {
    slot = new (std::nothrow) MixBlock{};
    if (slot == nullptr) {
      DeleteAllocatedBlocks();
      throw EMixerError(kOutOfMemory);
    }
    PointHeaderAtSamples(*slot);
    slot->IsFree = true;
  }
  for (MixBlock* block : MixerUnit.BlockTable) {
    MMRESULT code = waveOutPrepareHeader(device, &block->WaveHeader, sizeof(WAVEHDR));
    if (code != MMSYSERR_NOERROR) {
      FreeBlocks(device);
      throw EMixerError("Unable to prepare wave header #" + std::to_string(code));
    }
    // A block starts out as played, so the pump treats it as free to reuse.
    block->WaveHeader.dwFlags |= WHDR_DONE;
  }
}

void FreeBlocks(HWAVEOUT device) {
  for (MixBlock*& block : MixerUnit.BlockTable) {
    if (block == nullptr) continue;
    waveOutUnprepareHeader(device, &block->WaveHeader, sizeof(WAVEHDR));
    delete block;
    block = nullptr;
  }
}

MixBlock* TakeFreeBlock() {
  for (int i = 0; i < MixerUnit.CurrentSession->BlockCount; ++i) {
    MixBlock* block = MixerUnit.BlockTable[i];
    if (block == nullptr || !block->IsFree) continue;
    block->IsFree = false;
    PointHeaderAtSamples(*block);
    block->OwnerSession = MixerUnit.ActiveSession;
    return block;
  }
  return nullptr;
}

void ReleaseBlock(MixBlock* block) {
  block->IsFree = true;
}

MixBlock* AppendBlock(MixBlock* block) {
  if (block == MixerUnit.InDeviceTail) {
    // Linking the tail to itself would make the list endless.
    MessageBeep(1);
    return MixerUnit.InDeviceHead;
  }
  block->NextInDevice = nullptr;
  if (MixerUnit.InDeviceHead == nullptr) {
    MixerUnit.InDeviceHead = block;
  } else {
    MixerUnit.InDeviceTail->NextInDevice = block;
  }
  MixerUnit.InDeviceTail = block;
  return MixerUnit.InDeviceHead;
}

MixBlock* UnlinkBlock(MixBlock* block) {
  MixBlock*& head = MixerUnit.InDeviceHead;
  MixBlock*& tail = MixerUnit.InDeviceTail;
  if (head == nullptr) return nullptr;
  if (block == head) {
    head = block->NextInDevice;
    if (head == nullptr) tail = nullptr;
  } else {
    MixBlock* before = head;
    while (before != nullptr && before->NextInDevice != block) before = before->NextInDevice;
    if (before == nullptr) return nullptr;
    before->NextInDevice = block->NextInDevice;
    if (block == tail) tail = before;
  }
  block->NextInDevice = nullptr;
  return block;
}

void ReleaseAllBlocks() {
  while (MixerUnit.InDeviceHead != nullptr) {
    MixBlock* head = MixerUnit.InDeviceHead;
    ReleaseBlock(head);
    UnlinkBlock(head);
  }
}
