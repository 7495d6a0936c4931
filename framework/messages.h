// Window messages in the Win32 vocabulary; their key codes are the virtual keys
// of keys/virtual_keys.h.
//
// Every backend translates its window system's events into these, so that the
// window procedure is written once, platform-independent, and can be driven
// directly from tests.
#pragma once

#include <cstdint>

#include "keys/virtual_keys.h"

#if defined(_WIN32)
#include <windows.h>
#else
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;

constexpr uint64_t SC_SCREENSAVE = 0xF140;
constexpr uint64_t SC_MONITORPOWER = 0xF170;

// Low word of WM_ACTIVATE's wParam; the high word is non-zero when minimised.
constexpr uint64_t WA_INACTIVE = 0;
constexpr uint64_t WA_ACTIVE = 1;
#endif

// One queued window message.
struct Message {
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
};

// lParam of WM_SIZE: width in the low word, height in the high word.
constexpr int64_t sizeParam(uint32_t width, uint32_t height) {
    return static_cast<int64_t>((width & 0xFFFFu) | ((height & 0xFFFFu) << 16));
}
