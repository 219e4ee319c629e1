#pragma once
// The media player: MIDI music opened by path, played once from its start,
// stopped. It has an audio output of its own, apart from the wave device.
#include <string>

#include "platform/Component.h"
#include "platform/Exception.h"

class EMCIDeviceError : public Exception {
 public:
  using Exception::Exception;
};

// What a back end provides. Open closes what was open before, even when the
// new file then fails; it returns false with a message on failure.
struct MediaOps {
  bool (*Open)(const std::string& path, std::string& error);
  void (*Play)();
  void (*Stop)();
  void (*Close)();
};
void SetMediaOps(const MediaOps& ops);

class TMediaPlayer : public TComponent {
 public:
  explicit TMediaPlayer(TComponent* owner) : TComponent(owner) {}
  ~TMediaPlayer() override;
  std::string FileName;
  bool Visible = false;

  // Raise EMCIDeviceError when the file cannot be opened or nothing is open.
  void Open();
  void Play();
  void Stop();
  void Close();
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};
