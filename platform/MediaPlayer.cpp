#include "platform/MediaPlayer.h"

namespace {
bool NoOpen(const std::string&, std::string& error) {
  error = "No MIDI device";
  return false;
}
void Nothing() {}
MediaOps currentOps{NoOpen, Nothing, Nothing, Nothing};
}  // namespace

void SetMediaOps(const MediaOps& ops) { currentOps = ops; }

TMediaPlayer::~TMediaPlayer() {
  if (open_) currentOps.Close();
}

void TMediaPlayer::Open() {
  // The back end closes the old file first, so a failed open leaves silence.
  open_ = false;
  std::string error;
  if (!currentOps.Open(FileName, error)) throw EMCIDeviceError(error);
  open_ = true;
}

void TMediaPlayer::Play() {
  if (!open_) throw EMCIDeviceError("The device is not open");
  currentOps.Play();
}

void TMediaPlayer::Stop() {
  if (!open_) throw EMCIDeviceError("The device is not open");
  currentOps.Stop();
}

void TMediaPlayer::Close() {
  if (!open_) return;
  currentOps.Close();
  open_ = false;
}
