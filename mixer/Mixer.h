#pragma once
// The unit Mixer: an 8-bit real-time wave mixer that sums up to eight
// channels of plays into one output stream and keeps the wave output device
// fed with blocks of mixed sound. Everything runs on the GUI thread.
//
// Positions are signed 32-bit byte counts of the output stream, counted from
// the last time the play clock was set; 0x7FFFFFFF stands for "never". A play
// sounds from its start up to, but not including, its end.
#include <cstdint>

#include "platform/Exception.h"
#include "platform/Messages.h"
#include "mixer/Wave.h"
#include "platform/WaveOut.h"

// The mixer's one error type: its message is the whole of it.
class EMixerError : public Exception {
 public:
  using Exception::Exception;
};

struct MixSession;
struct MixQueueEntry;
struct MixWave;  // a loaded wave; see mixer/Wave.h

using MixPositionAdjust = std::int32_t (*)(std::int32_t bytes, std::int32_t offset);
using MixRemixRoutine = void (*)(std::int32_t position, MixQueueEntry* play);

constexpr std::uint16_t MixSessionMagic = 21554;
constexpr int MixChannels = 8;
constexpr int MixBlockSlots = 6;
constexpr int MixBlockBytes = 4096;
constexpr int MixQueuePoolSize = 100;
constexpr std::int32_t MixNever = 0x7FFFFFFF;
constexpr std::uint16_t MixLoopForever = 0xFFFF;

// Play flags.
constexpr std::uint32_t MixPlayReplaceQueue = 1;
constexpr std::uint32_t MixPlayPickChannel = 2;
constexpr std::uint32_t MixPlayImmediate = 4;
constexpr std::uint32_t MixPlayHold = 8;

// Channel modes (reserve) and flags (clear, release).
constexpr std::int32_t MixChannelSingle = 0;
constexpr std::int32_t MixChannelAll = 1;
constexpr std::int32_t MixChannelFirstN = 2;
constexpr std::int32_t MixChannelNoRemix = 2;

// MixConfig.ConfigFlags bits.
constexpr std::uint32_t MixConfigChannels = 1;
constexpr std::uint32_t MixConfigRate = 2;

// A closed channel's queue holds this marker (all bits set); null is an open,
// idle channel.
inline MixQueueEntry* MixChannelClosed() {
  return reinterpret_cast<MixQueueEntry*>(~std::uintptr_t{0});
}

struct MixSession {
  std::uint16_t Magic;
  HWND CallbackWindow;
  HWAVEOUT WaveOut;
  bool IsActivated;
  std::int32_t DeviceId;  // -1 is the wave mapper
  char DeviceName[32];
  MixQueueEntry* ChannelQueue[MixChannels];
  std::int32_t OpenChannelCount;
  std::int32_t ChannelStamp[MixChannels];
  std::int32_t PlayCounter;
  PCMWAVEFORMAT OutputFormat;
  std::int32_t BlockLength;  // bytes, 512..4096
  std::int32_t BlockCount;   // 2..6
  std::int32_t MixPosition;
  std::uint32_t ClockBaseTime;  // milliseconds of timeGetTime at which the time clock read 0
  std::uint8_t GoodWavePos;
  std::uint32_t PositionOffset;  // bytes
  MixRemixRoutine RemixRoutine;
  MixPositionAdjust PositionAdjust;
  MixQueueEntry* HeldPlays;  // newest held play; its link is the oldest
  std::uint16_t Magic2;
};

#pragma pack(push, 1)
struct MixConfig {
  std::uint16_t ConfigSize;  // 10, else the record is ignored
  std::uint32_t ConfigFlags;
  std::uint16_t OutputChannels;
  std::uint16_t RateCode;  // 11, 22 or 44
};
#pragma pack(pop)
static_assert(sizeof(MixConfig) == 10);

// The request a caller fills, fields in this order. With 32-bit handles it
// would be 24 bytes without gaps; we keep natural alignment instead, since
// nothing reads it as raw bytes and a packed member cannot safely be bound
// to a reference. Size is carried for the caller and never checked.
struct MixPlayParams {
  std::uint16_t Size;
  MixSession* Session;
  std::int32_t Channel;
  MixWave* Wave;
  HWND NotifyWindow;
  std::uint32_t Flags;
  std::uint16_t Loops;  // extra passes; 0xFFFF repeats until dropped
};

struct MixBlock {
  WAVEHDR WaveHeader;
  bool IsFree;
  std::int32_t StartPosition;
  MixSession* OwnerSession;
  MixBlock* NextInDevice;
  std::uint8_t Samples[MixBlockBytes];
};

struct MixQueueEntry {
  MixQueueEntry* Link;
  MixPlayParams Request;
  MixWave* Wave;
  std::int32_t Length;  // bytes of the wave's sample data
  std::int32_t Start;
  std::int32_t End;
  const std::uint8_t* Data;
};

// The unit-wide state, kept together so that a test can start clean.
struct MixerUnitState {
  MixSession* CurrentSession;
  MixSession* ActiveSession;
  MixBlock* BlockTable[MixBlockSlots];
  MixBlock* InDeviceHead;
  MixBlock* InDeviceTail;
  MixQueueEntry QueuePool[MixQueuePoolSize];
  MixQueueEntry* FreeQueueEntries;
};
extern MixerUnitState MixerUnit;

// Frees whatever a test left behind (session, blocks, an open device) and
// puts every unit-wide variable back to its start value.
void ResetMixerUnitForTests();

// Entry pool.
void ResetQueuePool();
MixQueueEntry* TakeQueueEntry();
void ReturnQueueEntry(MixQueueEntry* entry);

// Session.
void MixerStartUp();
MixSession* MixerInit();
MixSession* MixerInitConfigured(const MixConfig* config);
void MixerEndSession(MixSession* session);
MixSession* ValidateSession(MixSession* handle);

// Play clock.
std::int32_t AddPosition(std::int32_t bytes, std::int32_t offset);
std::int32_t SubtractPosition(std::int32_t bytes, std::int32_t offset);
std::int32_t GetPlayPosition(HWAVEOUT device, std::uint8_t trustDevice);
void SetPlayPosition(std::int32_t position);
void ResetKeepingPosition(HWAVEOUT device);

// Device and blocks.
void MixerActivate(MixSession* session, bool activate);
void OpenDevice(MixSession* session);
void CloseDevice(MixSession* session);
void AllocateBlocks(HWAVEOUT device);
void FreeBlocks(HWAVEOUT device);
MixBlock* TakeFreeBlock();
void ReleaseBlock(MixBlock* block);
MixBlock* AppendBlock(MixBlock* block);
MixBlock* UnlinkBlock(MixBlock* block);
void ReleaseAllBlocks();

// Mixing and the pump.
bool MixNextBlock(MixBlock* block, bool write);
void MixSamples8(std::uint8_t* destination, const std::uint8_t* const* sources, int count,
                 std::uint16_t length);
void RetireEndedPlays();
void MixerService();
LRESULT CallbackWindowProc(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam);

// Re-mixing of what the device already holds.
void RemixFromPosition(std::int32_t position, MixQueueEntry* play);
void DeferToMixPosition(std::int32_t position, MixQueueEntry* play);

// Channels.
void MixerReserveChannels(MixSession* session, std::int32_t channel, std::int32_t mode);
void MixerClearChannel(MixSession* session, std::int32_t channel, std::int32_t flags);
void MixerReleaseChannels(MixSession* session, std::int32_t channel, std::int32_t flags);

// Plays.
void MixerPlay(MixPlayParams* request);
// Gives every held play of the wave back to the pool, unheard and without
// notice; wave unloading calls it so that no held play outlives its data.
void DropHeldPlaysOfWave(MixSession* session, const MixWave* wave);
