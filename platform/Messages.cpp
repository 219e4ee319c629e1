#include "platform/Messages.h"

#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/Events.h"

struct TWindowRecord {
  WNDPROC procedure;
  void* userData;
};

namespace {

struct PostedMessage {
  HWND window;
  std::uint32_t message;
  WPARAM wParam;
  LPARAM lParam;
};

// Guards everything below: posts come from the audio thread too.
std::mutex mutex;
std::map<std::string, WNDPROC> classes;
// Windows that nobody destroyed go with the program, as they would with the
// system's own.
struct WindowSet : std::set<HWND> {
  ~WindowSet() {
    for (HWND window : *this) delete window;
  }
};
WindowSet liveWindows;
std::deque<PostedMessage> queue;
thread_local std::uint32_t lastError = 0;

HWND NewWindow(WNDPROC procedure, void* userData) {
  HWND window = new TWindowRecord{procedure, userData};
  liveWindows.insert(window);
  return window;
}

}  // namespace

bool RegisterClassA(const char* className, WNDPROC procedure) {
  std::lock_guard lock(mutex);
  if (!classes.emplace(className, procedure).second) {
    lastError = ERROR_CLASS_ALREADY_EXISTS;
    return false;
  }
  return true;
}

HWND CreateWindowExA(const char* className) {
  std::lock_guard lock(mutex);
  auto found = classes.find(className);
  if (found == classes.end()) {
    lastError = ERROR_CANNOT_FIND_WND_CLASS;
    return nullptr;
  }
  return NewWindow(found->second, nullptr);
}

HWND CreateWindowWithProc(WNDPROC procedure, void* userData) {
  std::lock_guard lock(mutex);
  return NewWindow(procedure, userData);
}

void* GetWindowUserData(HWND window) {
  std::lock_guard lock(mutex);
  return liveWindows.count(window) ? window->userData : nullptr;
}

bool DestroyWindow(HWND window) {
  std::lock_guard lock(mutex);
  if (liveWindows.erase(window) == 0) {
    lastError = ERROR_INVALID_WINDOW_HANDLE;
    return false;
  }
  std::erase_if(queue, [window](const PostedMessage& m) { return m.window == window; });
  delete window;
  return true;
}

bool IsWindow(HWND window) {
  std::lock_guard lock(mutex);
  return liveWindows.count(window) != 0;
}

bool PostMessageA(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  {
    std::lock_guard lock(mutex);
    if (liveWindows.count(window) == 0) {
      lastError = ERROR_INVALID_WINDOW_HANDLE;
      return false;
    }
    queue.push_back({window, message, wParam, lParam});
  }
  GetEventOps().Wake();
  return true;
}

LRESULT DefWindowProcA(HWND, std::uint32_t, WPARAM, LPARAM) { return 0; }

std::uint32_t GetLastError() { return lastError; }
void SetLastError(std::uint32_t code) { lastError = code; }

// Takes the oldest posted message and runs its window's procedure outside
// the lock, so that the procedure may post and destroy windows itself.
bool DispatchOnePostedMessage() {
  PostedMessage m;
  WNDPROC procedure;
  {
    std::lock_guard lock(mutex);
    if (queue.empty()) return false;
    m = queue.front();
    queue.pop_front();
    procedure = m.window->procedure;
  }
  procedure(m.window, m.message, m.wParam, m.lParam);
  return true;
}

int PendingMessageCount() {
  std::lock_guard lock(mutex);
  return static_cast<int>(queue.size());
}

void ResetWindowsForTests() {
  std::lock_guard lock(mutex);
  queue.clear();
  for (HWND window : liveWindows) delete window;
  liveWindows.clear();
  classes.clear();
  lastError = 0;
}
