// The virtual key of a key by the character the keyboard layout gives it, as
// the GLFW and browser backends both translate letters and digits.
#pragma once

#include <cstdint>

// An ASCII letter (as its upper case) or digit alone; 0 for anything else.
inline uint32_t layoutKey(const char* character) {
    if (character == nullptr || character[0] == '\0' || character[1] != '\0')
        return 0;
    const char c = character[0];
    if (c >= 'a' && c <= 'z')
        return static_cast<uint32_t>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return static_cast<uint32_t>(c);
    return 0;
}
