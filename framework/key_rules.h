// The rules by which the GLFW and browser backends give a key its virtual-key
// code and its message, as Windows does for the active keyboard layout.
#pragma once

#include <cstdint>

#include "framework/messages.h"

// A key of the main block, by usKey (the code of its US position, 0 when that
// has none) and character (what the layout types on it, null for nothing):
// - the digit-row positions keep VK_0 to VK_9 whatever they type;
// - an ASCII letter or digit gives its own code, "," "." "-" "+" the VK_OEM
//   codes that mean them on every layout;
// - other ASCII punctuation gives 0, no key message;
// - no character, a key name of several characters, or a non-ASCII one: the
//   US position.
inline uint32_t layoutKey(uint32_t usKey, const char* character) {
    if (usKey >= VK_0 && usKey <= VK_9)
        return usKey;
    if (character == nullptr || character[0] <= ' ' || character[0] > '~' || character[1] != '\0')
        return usKey;
    const char c = character[0];
    if (c >= 'a' && c <= 'z')
        return static_cast<uint32_t>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return static_cast<uint32_t>(c);
    switch (c) {
    case ',':
        return VK_OEM_COMMA;
    case '.':
        return VK_OEM_PERIOD;
    case '-':
        return VK_OEM_MINUS;
    case '+':
        return VK_OEM_PLUS;
    default:
        return 0;
    }
}

// A keypad key by numLockKey, its code with Num Lock on (VK_NUMPAD0 to
// VK_NUMPAD9, VK_DECIMAL, or a sign). With Num Lock off the digits and the
// point send the navigation codes printed beside them; the signs stay.
inline uint32_t keypadKey(uint32_t numLockKey, bool numLock) {
    if (numLock)
        return numLockKey;
    // By the key's digit.
    constexpr uint32_t navigation[10] = {VK_INSERT, VK_END,   VK_DOWN, VK_NEXT, VK_LEFT,
                                         VK_CLEAR,  VK_RIGHT, VK_HOME, VK_UP,   VK_PRIOR};
    if (numLockKey >= VK_NUMPAD0 && numLockKey <= VK_NUMPAD9)
        return navigation[numLockKey - VK_NUMPAD0];
    return numLockKey == VK_DECIMAL ? VK_DELETE : numLockKey;
}

// The message of a key going down or up. Keys held with Alt, Alt itself and
// F10 are system keys, as on Win32.
inline Message keyMessage(uint32_t virtualKey, bool down, bool alt) {
    const bool system = alt || virtualKey == VK_MENU || virtualKey == VK_F10;
    const uint32_t message =
        system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    return Message{message, virtualKey, 0};
}
