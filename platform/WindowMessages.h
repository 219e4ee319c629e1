#pragma once
// Window message numbers and their packing, as the back ends post input to
// a form's window handle.
#include <cstdint>

#include "platform/Messages.h"

constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;

// Key and button flags carried in wParam of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004,
                 MK_CONTROL = 0x0008, MK_MBUTTON = 0x0010, MK_ALT = 0x0020;

// Client coordinates, signed 16 bits each: x low, y high.
inline LPARAM MakeMousePos(int x, int y) {
  return static_cast<LPARAM>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16) |
                             static_cast<std::uint16_t>(x));
}
inline int MouseX(LPARAM lParam) { return static_cast<std::int16_t>(lParam & 0xFFFF); }
inline int MouseY(LPARAM lParam) { return static_cast<std::int16_t>((lParam >> 16) & 0xFFFF); }
