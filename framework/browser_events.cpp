// The page's keyboard events in the Win32 message vocabulary.
#include "framework/browser_events.h"

#include "framework/key_rules.h"

#include <cstring>

namespace {

bool startsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// The character after prefix when it is the only one and lies in first..last.
uint32_t suffixIn(const char* code, const char* prefix, char first, char last) {
    if (!startsWith(code, prefix))
        return 0;
    const char* rest = code + std::strlen(prefix);
    return rest[0] >= first && rest[0] <= last && rest[1] == '\0' ? static_cast<uint32_t>(rest[0])
                                                                  : 0;
}

struct NamedKey {
    const char* code;
    uint32_t virtualKey;
};

constexpr NamedKey namedKeys[] = {
    {"Escape", VK_ESCAPE},
    {"Space", VK_SPACE},
    {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT},
    {"End", VK_END},
    {"Home", VK_HOME},
    {"ArrowLeft", VK_LEFT},
    {"ArrowUp", VK_UP},
    {"ArrowRight", VK_RIGHT},
    {"ArrowDown", VK_DOWN},
    {"Insert", VK_INSERT},
    {"Delete", VK_DELETE},
    {"NumpadAdd", VK_ADD},
    {"NumpadSubtract", VK_SUBTRACT},
    {"NumpadMultiply", VK_MULTIPLY},
    {"NumpadDivide", VK_DIVIDE},
    {"NumpadDecimal", VK_DECIMAL},
    {"NumpadEnter", VK_RETURN},
    {"Enter", VK_RETURN},
    {"Tab", VK_TAB},
    {"Backspace", VK_BACK},
    {"Pause", VK_PAUSE},
    {"CapsLock", VK_CAPITAL},
    {"ShiftLeft", VK_SHIFT},
    {"ShiftRight", VK_SHIFT},
    {"ControlLeft", VK_CONTROL},
    {"ControlRight", VK_CONTROL},
    {"AltLeft", VK_MENU},
    {"AltRight", VK_MENU},
};

// The key at the position code names; keypad digits and the point as with
// Num Lock on.
uint32_t positionKey(const char* code) {
    if (const uint32_t letter = suffixIn(code, "Key", 'A', 'Z'))
        return letter;
    if (const uint32_t digit = suffixIn(code, "Digit", '0', '9'))
        return digit;
    if (const uint32_t digit = suffixIn(code, "Numpad", '0', '9'))
        return VK_NUMPAD0 + (digit - '0');
    if (code[0] == 'F') {
        // F1 to F12
        const char* rest = code + 1;
        int number = 0;
        for (; *rest >= '0' && *rest <= '9' && number < 100; ++rest)
            number = number * 10 + (*rest - '0');
        if (*rest == '\0' && rest != code + 1 && number >= 1 && number <= 12)
            return VK_F1 + static_cast<uint32_t>(number - 1);
    }
    for (const NamedKey& named : namedKeys)
        if (std::strcmp(code, named.code) == 0)
            return named.virtualKey;
    return 0;
}

} // namespace

bool browserKeyMessage(const char* key, const char* code, bool down, bool alt, Message& message) {
    if (code == nullptr)
        code = "";
    const uint32_t usKey = positionKey(code);
    uint32_t virtualKey = usKey;
    if ((usKey >= VK_NUMPAD0 && usKey <= VK_NUMPAD9) || usKey == VK_DECIMAL) {
        // With Num Lock on the key types its digit or point, one character
        // (the point may be a non-ASCII one); off, key is a navigation key's
        // name, several ASCII letters.
        const bool numLock = key != nullptr && key[0] != '\0' &&
                             (key[1] == '\0' || static_cast<unsigned char>(key[0]) >= 0x80);
        virtualKey = keypadKey(usKey, numLock);
    } else if (!startsWith(code, "Numpad")) {
        // Keypad keys print signs too but keep their own codes.
        virtualKey = layoutKey(usKey, key);
    }
    if (virtualKey == 0)
        return false;
    message = keyMessage(virtualKey, down, alt);
    return true;
}
