// A long seeded run of the mixer on the virtual device: random activations,
// channel operations, loads, unloads, plays of every flag combination and
// loop count, and device progress, with the mixer's bookkeeping checked
// after every step and every play followed to its notice or its drop.
//
// By default it covers one minute of 44100 Hz stereo output, which takes
// seconds. MOFRON_SOAK_HOURS=8 runs eight hours of output; MOFRON_SOAK_SEED
// picks another sequence. A failure names the seed and the step.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "MixerFixture.h"
#include "WavWriter.h"
#include "mixer/Wave.h"
#include "platform/MessageLoop.h"
#include "platform/Messages.h"
#include "platform/Riff.h"
#include "platform/virtual/VirtualEvents.h"
#include "platform/virtual/VirtualWaveOut.h"

namespace {

constexpr std::uint32_t kOutputRate = 44100;
constexpr std::uint32_t kOutputBytesPerSecond = kOutputRate * 2;
constexpr double kDefaultHours = 1.0 / 60;  // one minute of output
// The virtual device keeps every byte it plays; it is started afresh (while
// closed) before its record grows past this.
constexpr std::size_t kPlayedRecordLimit = 64u << 20;
// Before a session ends its plays are heard out, except those that would
// take longer than this (bytes: 30 s), which are cleared like endless ones.
constexpr std::int64_t kDrainLimit = 30 * kOutputBytesPerSecond;

double SoakHours() {
  const char* text = std::getenv("MOFRON_SOAK_HOURS");
  if (text == nullptr || *text == '\0') return kDefaultHours;
  return std::strtod(text, nullptr);
}

std::uint32_t SoakSeed() {
  const char* text = std::getenv("MOFRON_SOAK_SEED");
  return text != nullptr && *text != '\0'
             ? static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10))
             : 20240611u;
}

// What can become of a play once its entry has left the mixer.
enum class Fate { MustBeNotified, MustNotBeNotified, EitherWay };

struct Play {
  MixWave* wave = nullptr;
  int channel = -1;
  HWND window = nullptr;
  int notices = 0;
  bool badNotice = false;  // wrong channel or wave in a notice
  bool left = false;
  Fate fate = Fate::MustBeNotified;
  std::int32_t end = 0;
  std::string how;  // the step that removed it, for failure messages
};

struct Counts {
  std::uint64_t steps = 0, plays = 0, refusedPlays = 0, notices = 0, drops = 0, loads = 0,
                unloads = 0, sessions = 0, activations = 0, channelOps = 0, refusedChannelOps = 0,
                drains = 0, waitingForClock = 0, endlessPlays = 0;
  std::int64_t maxMixPosition = 0, maxClockLag = 0;
  std::map<std::string, std::uint64_t> errors;
};

class Soak;
Soak* running = nullptr;

class Soak {
 public:
  Soak(std::filesystem::path folder, std::uint32_t seed)
      : folder_(std::move(folder)), random_(seed), seed_(seed) {}

  // Plays `target` bytes of output, checking after every step.
  void Run(std::uint64_t target) {
    running = this;
    NewSession();
    while (played_ < target && !::testing::Test::HasFatalFailure()) {
      Step();
      ++counts_.steps;
      Check();
    }
    EndSession();
    running = nullptr;
  }

  const Counts& counts() const { return counts_; }
  std::uint64_t played() const { return played_; }

  static LRESULT NotifyProc(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
    if (message == MM_WOM_DONE && running != nullptr) {
      running->Notice(reinterpret_cast<std::uintptr_t>(GetWindowUserData(window)), wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

 private:
  // ---- random choices ----
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }

  std::string Where() const {
    std::ostringstream out;
    out << "seed " << seed_ << ", step " << counts_.steps << ", " << lastStep_;
    return out.str();
  }

  // ---- the steps ----
  void Step() {
    // Only what a step can drop is excused from its notice.
    for (auto& [entry, playId] : live_) plays_[playId].fate = Fate::MustBeNotified;
    const int pick = Uniform(0, 999);
    if (pick < 450) return DeviceProgress();
    if (pick < 800) return PlaySomething();
    if (pick < 850) return ReserveChannels();
    if (pick < 905) return ClearChannel();
    if (pick < 925) return ReleaseChannels();
    if (pick < 955) return LoadWave();
    if (pick < 975) return UnloadWave();
    if (pick < 998) return ToggleActivation();
    EndSession();
    NewSession();
  }

  void NewSession() {
    lastStep_ = "new session";
    std::ostringstream ini;
    ini << "[default]\nRemix=" << (Chance(0.5) ? 2 : 1) << "\nGoodWavePos=" << Uniform(0, 1)
        << "\nWaveBlocks=" << Uniform(2, 6) << "\n";
    if (Chance(0.5)) ini << "WaveBlockLen=" << Uniform(512, 4096) << "\n";
    WriteIni(ini.str());
    const MixConfig config{sizeof(MixConfig), MixConfigChannels | MixConfigRate, 2, 44};
    session_ = MixerInitConfigured(&config);
    ASSERT_EQ(session_->OutputFormat.nAvgBytesPerSec, kOutputBytesPerSecond);
    ++counts_.sessions;
    MixerReserveChannels(session_, Uniform(1, 8), MixChannelFirstN);
    Activate();
    for (int i = 0; i < 3; ++i) LoadWave();
  }

  void EndSession() {
    if (session_ == nullptr) return;
    lastStep_ = "end session";
    DrainAndCheckEveryEndedPlayRetired();
    // The session's waves go with it; their plays are dropped unheard.
    while (!waves_.empty()) UnloadWave();
    lastStep_ = "end session";
    for (auto& [entry, playId] : live_) plays_[playId].fate = Fate::MustNotBeNotified;
    MixerEndSession(session_);
    session_ = nullptr;
    active_ = false;
    DispatchAll();
    SettleLeftPlays();
  }

  void WriteIni(const std::string& text) { std::ofstream(folder_ / "MIXER.INI") << text; }

  void Activate() {
    if (VirtualWaveOutPlayed().size() > kPlayedRecordLimit) UseVirtualWaveOut();
    MixerActivate(session_, true);
    active_ = true;
    ++counts_.activations;
  }

  void ToggleActivation() {
    lastStep_ = active_ ? "deactivate" : "activate";
    if (active_) {
      MixerActivate(session_, false);
      active_ = false;
    } else {
      Activate();
    }
  }

  // The device plays some bytes and every message is handled, as the
  // message loop would between two calls of the game.
  void DeviceProgress() {
    lastStep_ = "device progress";
    if (!active_ && Chance(0.5)) Activate();
    const int block = session_->BlockLength;
    const std::size_t bytes =
        Chance(0.9) ? static_cast<std::size_t>(Uniform(1, block))
                    : static_cast<std::size_t>(Uniform(block, block * session_->BlockCount * 2));
    played_ += VirtualWaveOutPlay(bytes);
    // Time runs on whether or not the device has anything to play.
    elapsedBytes_ += bytes;
    VirtualSetTime(static_cast<std::uint32_t>(elapsedBytes_ * 1000 / kOutputBytesPerSecond));
    DispatchAll();
    SettleLeftPlays();
  }

  void DispatchAll() {
    for (int round = 0; PendingMessageCount() > 0; ++round) {
      ASSERT_LT(round, 1000) << "messages keep coming; " << Where();
      ProcessMessages();
    }
  }

  std::uint16_t RandomLoops() {
    switch (Uniform(0, 5)) {
      case 0:
        return MixLoopForever;
      case 1:
      case 2:
        return 0;
      case 3:
        return static_cast<std::uint16_t>(Uniform(1, 3));
      case 4:
        return static_cast<std::uint16_t>(Uniform(4, 40));
      default:
        return static_cast<std::uint16_t>(Uniform(0, 0xFFFE));
    }
  }

  void PlaySomething() {
    const auto flags = static_cast<std::uint32_t>(Uniform(0, 15));
    // Endless plays are rarer than the rest, or they would fill every channel.
    std::uint16_t loops = RandomLoops();
    if (loops == MixLoopForever && Chance(0.7)) loops = 0;
    MixWave* wave =
        waves_.empty() || Chance(0.005)
            ? nullptr
            : waves_[static_cast<std::size_t>(Uniform(0, static_cast<int>(waves_.size()) - 1))];
    std::int32_t channel = Chance(0.97) ? Uniform(0, 7) : (Chance(0.5) ? -1 : 8);
    StartPlay(channel, wave, flags, loops);
  }

  // One play request, followed from its entry to its notice or its drop.
  void StartPlay(std::int32_t channel, MixWave* wave, std::uint32_t flags, std::uint16_t loops) {
    lastStep_ = "play flags " + std::to_string(flags) + " loops " + std::to_string(loops) +
                " channel " + std::to_string(channel);
    const std::uintptr_t id = nextPlayId_++;
    HWND window = CreateWindowWithProc(&Soak::NotifyProc, reinterpret_cast<void*>(id));
    MixPlayParams request{24, session_, channel, wave, window, flags, loops};

    // A replacing play, now or held from before, drops whatever its channel
    // holds when the pass begins; nothing is retired before it.
    std::set<int> replaced;
    if (!(flags & MixPlayHold)) {
      for (MixQueueEntry* e : HeldEntries()) {
        if (e->Request.Flags & MixPlayReplaceQueue) replaced.insert(e->Request.Channel);
      }
    }
    const std::vector<MixQueueEntry*> held = HeldEntries();
    const std::set<MixQueueEntry*> heldBefore(held.begin(), held.end());
    const std::set<MixQueueEntry*> before = InUse();
    try {
      MixerPlay(&request);
    } catch (const EMixerError& error) {
      ExpectOneOf(error.what(),
                  {"Wave device not allocated, call MixerActivate(hMixSession,TRUE)",
                   "You must open a channel before you can play a wave",
                   "The specified channel was not open", "Not enough memory",
                   "Invalid channel number", "nil wave pointer passed to MixerPlay!"});
      EXPECT_EQ(InUse(), before) << "a refused play changed the pool; " << Where();
      DestroyWindow(window);
      ++counts_.refusedPlays;
      return;
    }
    std::vector<MixQueueEntry*> added;
    for (MixQueueEntry* e : InUse())
      if (!before.count(e)) added.push_back(e);
    ASSERT_LE(added.size(), 1u) << "one play took more than one entry; " << Where();
    if ((flags & MixPlayReplaceQueue) && !(flags & MixPlayHold)) replaced.insert(request.Channel);
    const std::set<MixQueueEntry*> after = InUse();
    for (auto& [entry, playId] : live_) {
      Play& play = plays_[playId];
      if (!after.count(entry)) {
        // Dropped by a replacing play, or heard to its end by a pump that a
        // deferred re-mix ran; a held play may also meet a closed channel.
        const bool wasQueuedOnReplaced = !heldBefore.count(entry) && replaced.count(play.channel);
        const bool othersRetire = !heldBefore.count(entry) && !replaced.count(play.channel);
        play.fate = wasQueuedOnReplaced ? Fate::MustNotBeNotified
                    : othersRetire      ? Fate::MustBeNotified
                                        : Fate::EitherWay;
      }
    }
    const MixQueueEntry* newEntry = added.empty() ? nullptr : added.front();
    RecordLeavers();
    Play play;
    play.wave = wave;
    play.channel = request.Channel;
    play.window = window;
    play.how = lastStep_;
    plays_[id] = play;
    ++counts_.plays;
    if (loops == MixLoopForever) ++counts_.endlessPlays;
    if (newEntry != nullptr) {
      live_[const_cast<MixQueueEntry*>(newEntry)] = id;
    } else {
      // Taken and at once retired by a deferred re-mix's pump (a one-byte
      // play that ends where it starts), or dropped by a later held play.
      plays_[id].left = true;
      plays_[id].fate = Fate::EitherWay;
      left_.push_back(id);
    }
  }

  void ReserveChannels() {
    const int mode = Chance(0.9) ? Uniform(0, 2) : (Chance(0.5) ? -1 : 3);
    const int channel = Uniform(-1, 9);
    lastStep_ = "reserve " + std::to_string(channel) + " mode " + std::to_string(mode);
    ChannelOp([&] { MixerReserveChannels(session_, channel, mode); }, {});
  }

  void ClearChannel() {
    const int flags = Uniform(0, 3) | (Chance(0.1) ? 0x40 : 0);
    const int channel = Chance(0.95) ? Uniform(0, 7) : 12;
    lastStep_ = "clear " + std::to_string(channel) + " flags " + std::to_string(flags);
    ChannelOp([&] { MixerClearChannel(session_, channel, flags); },
              CoveredChannels(channel, flags));
  }

  void ReleaseChannels() {
    const int flags = Chance(0.2) ? MixChannelAll : Uniform(0, 3) & ~MixChannelAll;
    const int channel = Uniform(0, 7);
    lastStep_ = "release " + std::to_string(channel) + " flags " + std::to_string(flags);
    ChannelOp([&] { MixerReleaseChannels(session_, channel, flags); },
              CoveredChannels(channel, flags));
  }

  static std::set<int> CoveredChannels(int channel, int flags) {
    std::set<int> covered;
    if (flags & MixChannelAll) {
      for (int c = 0; c < MixChannels; ++c) covered.insert(c);
    } else if (channel >= 0 && channel < MixChannels) {
      covered.insert(channel);
    }
    return covered;
  }

  // Runs a channel operation: the plays queued on the channels it covers
  // are dropped unheard; any other play that leaves was retired by the pump
  // of a deferred re-mix and is owed its notice.
  template <class Op>
  void ChannelOp(Op&& op, const std::set<int>& covered) {
    ++counts_.channelOps;
    MixQueueEntry* queuesBefore[MixChannels];
    std::copy(std::begin(session_->ChannelQueue), std::end(session_->ChannelQueue), queuesBefore);
    const std::int32_t openBefore = session_->OpenChannelCount;
    const std::vector<MixQueueEntry*> held = HeldEntries();
    const std::set<MixQueueEntry*> heldBefore(held.begin(), held.end());
    try {
      op();
    } catch (const EMixerError& error) {
      ExpectOneOf(
          error.what(),
          {"Invalid Flags", "Invalid flag", "Invalid channel number", "Invalid number of channels",
           "The channel has already been opened", "The specified channel was not open"});
      EXPECT_TRUE(std::equal(std::begin(queuesBefore), std::end(queuesBefore),
                             std::begin(session_->ChannelQueue)))
          << "a refused channel operation changed a queue; " << Where();
      EXPECT_EQ(session_->OpenChannelCount, openBefore) << Where();
      ++counts_.refusedChannelOps;
      return;
    }
    for (auto& [entry, playId] : live_) {
      Play& play = plays_[playId];
      // Held plays are no channel's: neither dropped nor retired here.
      const bool queuedOnCovered = !heldBefore.count(entry) && covered.count(play.channel);
      play.fate = queuedOnCovered ? Fate::MustNotBeNotified : Fate::MustBeNotified;
    }
    RecordLeavers();
  }

  void LoadWave() {
    if (waves_.size() >= 10) return;
    static constexpr std::uint32_t kRates[] = {8000, 11025, 22050, 44100, 48000};
    const wav::Format format(static_cast<std::uint16_t>(Uniform(1, 2)), kRates[Uniform(0, 4)],
                             static_cast<std::uint16_t>(Chance(0.5) ? 8 : 16));
    // Mostly short effects, now and then a single frame or a long sound.
    const int frames = Chance(0.1) ? 1 : Chance(0.15) ? Uniform(20000, 120000) : Uniform(2, 6000);
    lastStep_ = "load " + std::to_string(format.channels) + "ch " + std::to_string(format.rate) +
                "Hz " + std::to_string(format.bits) + "bit " + std::to_string(frames) + " frames";
    wav::Bytes samples(static_cast<std::size_t>(frames) * format.channels * format.bits / 8);
    for (std::size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<std::uint8_t>((i * 29 + waves_.size() * 7) & 0xFF);
    const wav::Bytes image = wav::Wave(format, samples);
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = reinterpret_cast<const char*>(image.data());
    info.cchBuffer = static_cast<std::int32_t>(image.size());
    MixWave* wave =
        MixerLoadWave(session_, reinterpret_cast<const char*>(&info), nullptr, MixWaveFromMemory);
    ASSERT_GT(wave->SampleLength, 0) << Where();
    ASSERT_EQ(wave->SampleLength % 2, 0) << "a stereo wave of half a frame; " << Where();
    waves_.push_back(wave);
    ++counts_.loads;
  }

  void UnloadWave() {
    if (waves_.empty()) return;
    const std::size_t index =
        static_cast<std::size_t>(Uniform(0, static_cast<int>(waves_.size()) - 1));
    MixWave* wave = waves_[index];
    lastStep_ = "unload wave " + std::to_string(index);
    waves_.erase(waves_.begin() + static_cast<std::ptrdiff_t>(index));
    MixerUnloadWave(session_, wave);
    ++counts_.unloads;
    // Unloading runs no pump: only the wave's own plays may leave.
    for (auto& [entry, playId] : live_) {
      Play& play = plays_[playId];
      play.fate = play.wave == wave ? Fate::MustNotBeNotified : Fate::MustBeNotified;
    }
    RecordLeavers();
  }

  // Lets every play with an end be heard to it: channels holding an endless
  // play, or one that ends too far ahead to wait for, are cleared, then the
  // device runs until it has nothing left. Every play still queued after
  // that would never be notified.
  void DrainAndCheckEveryEndedPlayRetired() {
    if (!active_) Activate();
    if (waves_.empty()) LoadWave();
    if (session_->OpenChannelCount == 0) {
      lastStep_ = "drain: open every channel";
      ChannelOp([&] { MixerReserveChannels(session_, 0, MixChannelAll); }, {});
    }
    // Held plays start with the next request; they are heard out too.
    if (!HeldEntries().empty()) StartPlay(FirstOpenChannel(), waves_.front(), 0, 0);
    Check();
    const std::int64_t heard = GetPlayPosition(session_->WaveOut, 1);
    for (int c = 0; c < MixChannels; ++c) {
      MixQueueEntry* queue = session_->ChannelQueue[c];
      if (queue == MixChannelClosed()) continue;
      bool tooLong = false;
      for (MixQueueEntry* e = queue; e != nullptr; e = e->Link)
        tooLong |= e->End == MixNever || e->End - heard > kDrainLimit;
      if (!tooLong) continue;
      lastStep_ = "drain: clear channel " + std::to_string(c);
      ChannelOp([&] { MixerClearChannel(session_, c, MixChannelNoRemix); }, {c});
      Check();
    }
    RunDeviceDry();
    ++counts_.drains;
    // A re-mix that skipped ahead of the play position leaves the play clock
    // behind the mixed sound by the skip, so the plays that end in the last
    // stretch before the device runs dry wait for the next sound to be
    // retired. They are counted; a play that the clock has passed and that
    // is still queued is a fault.
    const std::int64_t heardNow = GetPlayPosition(session_->WaveOut, 1);
    counts_.maxClockLag =
        std::max<std::int64_t>(counts_.maxClockLag, session_->MixPosition - heardNow);
    for (MixQueueEntry* e : QueuedPlays()) {
      if (e->End > heardNow && e->End <= session_->MixPosition) {
        ++counts_.waitingForClock;
        continue;
      }
      ADD_FAILURE() << "channel " << e->Request.Channel << " still holds a play (start " << e->Start
                    << ", end " << e->End << ") after the device ran dry at " << heardNow
                    << ", mixed to " << session_->MixPosition << "; queued by \""
                    << plays_[live_[e]].how << "\"; " << Where();
    }
  }

  int FirstOpenChannel() const {
    int c = 0;
    while (c < MixChannels - 1 && session_->ChannelQueue[c] == MixChannelClosed()) ++c;
    return c;
  }

  void RunDeviceDry() {
    lastStep_ = "drain: device runs dry";
    const std::int64_t rounds = kDrainLimit / session_->BlockLength * 2 + 1000;
    for (std::int64_t round = 0; round < rounds; ++round) {
      if (MixerUnit.InDeviceHead == nullptr && VirtualWaveOutQueuedBlocks() == 0) break;
      played_ += VirtualWaveOutPlay(static_cast<std::size_t>(session_->BlockLength));
      DispatchAll();
      SettleLeftPlays();
      Check();
    }
  }

  std::vector<MixQueueEntry*> QueuedPlays() const {
    std::vector<MixQueueEntry*> queued;
    for (MixQueueEntry* queue : session_->ChannelQueue) {
      if (queue == MixChannelClosed()) continue;
      for (MixQueueEntry* e = queue; e != nullptr; e = e->Link) queued.push_back(e);
    }
    return queued;
  }

  // ---- following plays ----
  void Notice(std::uintptr_t id, WPARAM channel, LPARAM wave) {
    auto found = plays_.find(id);
    if (found == plays_.end()) {
      ADD_FAILURE() << "a notice reached the window of a play already settled; " << Where();
      return;
    }
    Play& play = found->second;
    ++play.notices;
    ++counts_.notices;
    if (static_cast<int>(channel) != play.channel || reinterpret_cast<MixWave*>(wave) != play.wave)
      play.badNotice = true;
  }

  // Moves the plays whose entries left the mixer in this step to the list
  // of plays to settle once their messages have been handled.
  void RecordLeavers() {
    const std::set<MixQueueEntry*> inUse = InUse();
    for (auto it = live_.begin(); it != live_.end();) {
      if (inUse.count(it->first)) {
        ++it;
        continue;
      }
      Play& play = plays_[it->second];
      play.left = true;
      play.how += " / left at: " + lastStep_;
      left_.push_back(it->second);
      it = live_.erase(it);
    }
  }

  // Every message has been handled: each play that left is judged by its
  // fate, and its window goes.
  void SettleLeftPlays() {
    RecordLeavers();  // retired by the pump just now
    for (std::uint64_t id : left_) {
      Play& play = plays_[id];
      EXPECT_FALSE(play.badNotice) << "a notice with the wrong channel or wave; " << play.how;
      EXPECT_LE(play.notices, 1) << "a play was notified twice; " << play.how << "; " << Where();
      if (play.fate == Fate::MustBeNotified) {
        EXPECT_EQ(play.notices, 1)
            << "a play that ended was not notified; " << play.how << "; " << Where();
      } else if (play.fate == Fate::MustNotBeNotified) {
        EXPECT_EQ(play.notices, 0)
            << "a dropped play was notified; " << play.how << "; " << Where();
      }
      if (play.notices == 0) ++counts_.drops;
      DestroyWindow(play.window);
      plays_.erase(id);
    }
    left_.clear();
  }

  // ---- the mixer's own bookkeeping ----
  std::vector<MixQueueEntry*> HeldEntries() const {
    std::vector<MixQueueEntry*> held;
    if (session_ == nullptr || session_->HeldPlays == nullptr) return held;
    MixQueueEntry* oldest = session_->HeldPlays->Link;
    MixQueueEntry* e = oldest;
    do {
      held.push_back(e);
      e = e->Link;
    } while (e != oldest && held.size() <= MixQueuePoolSize);
    return held;
  }

  std::set<MixQueueEntry*> InUse() const {
    std::set<MixQueueEntry*> used;
    if (session_ == nullptr) return used;
    for (MixQueueEntry* e : HeldEntries()) used.insert(e);
    for (MixQueueEntry* queue : session_->ChannelQueue) {
      if (queue == MixChannelClosed()) continue;
      for (MixQueueEntry* e = queue; e != nullptr && used.size() <= MixQueuePoolSize; e = e->Link)
        used.insert(e);
    }
    return used;
  }

  void Check() {
    if (session_ == nullptr) return;
    counts_.maxMixPosition = std::max<std::int64_t>(counts_.maxMixPosition, session_->MixPosition);
    CheckPool();
    CheckChannels();
    CheckBlocks();
    // Every entry in use is a play this run made and follows.
    for (MixQueueEntry* e : InUse()) {
      EXPECT_TRUE(live_.count(e)) << "an entry in use that no play took; " << Where();
    }
  }

  // Each of the 100 entries is in exactly one place: the free list, the
  // held plays, or one channel queue.
  void CheckPool() {
    std::map<const MixQueueEntry*, int> seen;
    auto visit = [&](const MixQueueEntry* e, const char* place) {
      const bool inPool = e >= MixerUnit.QueuePool && e < MixerUnit.QueuePool + MixQueuePoolSize;
      EXPECT_TRUE(inPool) << "an entry outside the pool in " << place << "; " << Where();
      return ++seen[e] <= 1;  // stop at a repeat, which also ends a cycle
    };
    int free = 0;
    for (MixQueueEntry* e = MixerUnit.FreeQueueEntries; e != nullptr && visit(e, "the free list");
         e = e->Link)
      ++free;
    for (MixQueueEntry* e : HeldEntries()) visit(e, "the held plays");
    for (MixQueueEntry* queue : session_->ChannelQueue) {
      if (queue == MixChannelClosed()) continue;
      for (MixQueueEntry* e = queue; e != nullptr && visit(e, "a channel queue"); e = e->Link) {
      }
    }
    int places = 0;
    for (const auto& [entry, count] : seen) {
      EXPECT_EQ(count, 1) << "an entry in " << count << " places; " << Where();
      ++places;
    }
    ASSERT_EQ(places, MixQueuePoolSize) << free << " free; entries lost; " << Where();
  }

  void CheckChannels() {
    int open = 0;
    for (MixQueueEntry* queue : session_->ChannelQueue) open += queue != MixChannelClosed();
    ASSERT_EQ(session_->OpenChannelCount, open) << Where();
  }

  // Each of the first BlockCount blocks is free or in the in-device list,
  // never both; the rest are never used.
  void CheckBlocks() {
    if (!session_->IsActivated) {
      ASSERT_EQ(MixerUnit.InDeviceHead, nullptr) << Where();
      for (MixBlock* b : MixerUnit.BlockTable) ASSERT_EQ(b, nullptr) << Where();
      return;
    }
    std::set<const MixBlock*> listed;
    const MixBlock* last = nullptr;
    for (MixBlock* b = MixerUnit.InDeviceHead; b != nullptr; b = b->NextInDevice) {
      ASSERT_TRUE(listed.insert(b).second) << "a block twice in the in-device list; " << Where();
      last = b;
    }
    ASSERT_EQ(MixerUnit.InDeviceTail, last) << Where();
    for (int i = 0; i < MixBlockSlots; ++i) {
      const MixBlock* b = MixerUnit.BlockTable[i];
      ASSERT_NE(b, nullptr) << Where();
      if (i < session_->BlockCount) {
        EXPECT_NE(b->IsFree, listed.count(b) == 1)
            << "block " << i << (b->IsFree ? " free and listed" : " neither free nor listed")
            << "; " << Where();
      } else {
        EXPECT_TRUE(b->IsFree && !listed.count(b)) << "block " << i << " used; " << Where();
      }
    }
  }

  void ExpectOneOf(const std::string& message, std::initializer_list<const char*> allowed) {
    ++counts_.errors[message];
    EXPECT_TRUE(std::find(allowed.begin(), allowed.end(), message) != allowed.end())
        << "unexpected error \"" << message << "\"; " << Where();
  }

  std::filesystem::path folder_;
  std::mt19937 random_;
  std::uint32_t seed_;
  MixSession* session_ = nullptr;
  bool active_ = false;
  std::vector<MixWave*> waves_;
  std::uint64_t played_ = 0;
  std::uint64_t elapsedBytes_ = 0;
  std::uintptr_t nextPlayId_ = 1;
  std::unordered_map<std::uint64_t, Play> plays_;
  std::map<MixQueueEntry*, std::uint64_t> live_;
  std::vector<std::uint64_t> left_;
  std::string lastStep_;
  Counts counts_;
};

class SoakTest : public MixerTest {};

TEST_F(SoakTest, EveryEntryBlockAndNoticeStaysInPlaceOverALongRun) {
  const double hours = SoakHours();
  const std::uint32_t seed = SoakSeed();
  const auto target = static_cast<std::uint64_t>(hours * 3600 * kOutputBytesPerSecond);
  Soak soak(folder_, seed);
  soak.Run(target);
  const Counts& c = soak.counts();
  std::ostringstream summary;
  summary << "seed " << seed << ": " << soak.played() << " bytes played ("
          << soak.played() / double(kOutputBytesPerSecond) / 3600 << " h) in " << c.steps
          << " steps; " << c.sessions << " sessions, " << c.activations << " activations, "
          << c.loads << " loads, " << c.unloads << " unloads, " << c.plays << " plays ("
          << c.endlessPlays << " endless, " << c.refusedPlays << " refused), " << c.notices
          << " notices, " << c.drops << " plays left unnotified, " << c.channelOps
          << " channel operations (" << c.refusedChannelOps << " refused), " << c.drains
          << " drains (" << c.waitingForClock
          << " ended plays waiting for a clock left behind by up to " << c.maxClockLag
          << " bytes); highest mix position " << c.maxMixPosition;
  for (const auto& [message, count] : c.errors) summary << "\n  " << count << " x " << message;
  std::cout << summary.str() << std::endl;
  RecordProperty("summary", summary.str());
  // A run that never reached the interesting outcomes would prove little.
  EXPECT_GE(soak.played(), target);
  EXPECT_GT(c.notices, 0u);
  EXPECT_GT(c.drops, 0u);
  EXPECT_GT(
      c.errors.count("Not enough memory") + c.errors.count("The specified channel was not open"),
      0u);
}

}  // namespace
