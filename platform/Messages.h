#pragma once
// Window handles and posted messages. A window is a handle with a window
// procedure; messages posted to it (from any thread) are dispatched on the
// GUI thread by the message loop. Destroying a window drops what is pending.
#include <cstdint>

struct TWindowRecord;
using HWND = TWindowRecord*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using WNDPROC = LRESULT (*)(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam);

// The wave output device's "block done" message; the mixer reuses it for
// its play-done notices.
constexpr std::uint32_t MM_WOM_DONE = 957;
constexpr std::uint32_t ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr std::uint32_t ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr std::uint32_t ERROR_INVALID_WINDOW_HANDLE = 1400;

// Registers a window class by name. Fails with ERROR_CLASS_ALREADY_EXISTS
// (through GetLastError) when the name is taken.
bool RegisterClassA(const char* className, WNDPROC procedure);
// Creates a hidden window of a registered class; null when the class is unknown.
HWND CreateWindowExA(const char* className);
// Creates a hidden window with its own procedure and user data, for
// components that need a window handle of their own.
HWND CreateWindowWithProc(WNDPROC procedure, void* userData = nullptr);
void* GetWindowUserData(HWND window);
bool DestroyWindow(HWND window);
bool IsWindow(HWND window);
// Safe from any thread; false when the window does not exist.
bool PostMessageA(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcA(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam);

std::uint32_t GetLastError();
void SetLastError(std::uint32_t code);

// Hooks for tests: forget every window and class, and count what is queued.
void ResetWindowsForTests();
int PendingMessageCount();
