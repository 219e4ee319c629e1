#include "platform/virtual/VirtualMedia.h"

#include <fstream>

#include "platform/MediaPlayer.h"

namespace {
std::vector<std::string> mediaLog;

bool VirtualOpen(const std::string& path, std::string& error) {
  mediaLog.push_back("close");
  if (!std::ifstream(path)) {
    mediaLog.push_back("open-failed " + path);
    error = "Cannot open " + path;
    return false;
  }
  mediaLog.push_back("open " + path);
  return true;
}
void VirtualPlay() { mediaLog.push_back("play"); }
void VirtualStop() { mediaLog.push_back("stop"); }
void VirtualClose() { mediaLog.push_back("close"); }
}  // namespace

void UseVirtualMedia() {
  mediaLog.clear();
  SetMediaOps({VirtualOpen, VirtualPlay, VirtualStop, VirtualClose});
}

std::vector<std::string>& VirtualMediaLog() { return mediaLog; }
