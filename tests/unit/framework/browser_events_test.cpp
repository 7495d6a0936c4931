// The page's keyboard events as messages: keys by the layout's character,
// named keys by position, the keypad by Num Lock, Alt and F10 as system keys.
#include <cstdint>
#include <tuple>

#include <gtest/gtest.h>

#include "framework/browser_events.h"

TEST(BrowserEvents, KeysFollowTheLayoutTheDigitRowAndTheKeypadTheirPosition) {
    struct Case {
        const char* key;
        const char* code;
        uint32_t virtualKey; // 0: no message
    } const cases[] = {
        // AZERTY: letters by their character, the digit row (é, &) by position.
        {"w", "KeyZ", 'W'},
        {"q", "KeyA", 'Q'},
        {"M", "Semicolon", 'M'},
        {"\xc3\xa9", "Digit2", '2'},
        {"&", "Digit1", '1'},
        {"!", "Digit1", '1'}, // Shift+1
        // Dvorak: the punctuation that has a code everywhere sends it, the
        // rest nothing.
        {",", "KeyW", VK_OEM_COMMA},
        {".", "KeyE", VK_OEM_PERIOD},
        {";", "KeyZ", 0},
        {"-", "Minus", VK_OEM_MINUS},
        {"+", "Equal", VK_OEM_PLUS},
        {"=", "Equal", 0},
        // A layout without Latin letters: the US position.
        {"\xd1\x86", "KeyW", 'W'},
        {"Escape", "Escape", VK_ESCAPE},
        {"PageUp", "PageUp", VK_PRIOR},
        {"PageDown", "PageDown", VK_NEXT},
        {"+", "NumpadAdd", VK_ADD},
        {"-", "NumpadSubtract", VK_SUBTRACT},
        // The keypad with Num Lock on, then off.
        {"1", "Numpad1", VK_NUMPAD1},
        {"4", "Numpad4", VK_NUMPAD4},
        {".", "NumpadDecimal", VK_DECIMAL},
        {",", "NumpadDecimal", VK_DECIMAL},
        {"End", "Numpad1", VK_END},
        {"ArrowLeft", "Numpad4", VK_LEFT},
        {"Clear", "Numpad5", VK_CLEAR},
        {"PageUp", "Numpad9", VK_PRIOR},
        {"Delete", "NumpadDecimal", VK_DELETE},
        {"ArrowLeft", "ArrowLeft", VK_LEFT},
        {"ArrowDown", "ArrowDown", VK_DOWN},
        {" ", "Space", VK_SPACE},
        {"F12", "F12", VK_F1 + 11},
        {"F13", "F13", 0},
        {"F", "F", 'F'},
        {"Unidentified", "", 0},
        {nullptr, nullptr, 0},
        {"", "KeyAB", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key ? c.key : "(null)") + " / " + (c.code ? c.code : "(null)"));
        Message message{0x1234, 7, 9};
        const bool sent = browserKeyMessage(c.key, c.code, true, false, message);
        EXPECT_EQ(sent, c.virtualKey != 0);
        if (sent)
            EXPECT_EQ(std::tie(message.message, message.wParam, message.lParam),
                      std::make_tuple(WM_KEYDOWN, uint64_t{c.virtualKey}, int64_t{0}));
        else
            EXPECT_EQ(message.message, 0x1234u) << "left alone";
    }
}

TEST(BrowserEvents, DownAndUpAltAndF10AreSystemKeys) {
    struct Case {
        const char* key;
        const char* code;
        bool down;
        bool alt;
        uint32_t message;
    } const cases[] = {
        {"w", "KeyW", true, false, WM_KEYDOWN},
        {"w", "KeyW", false, false, WM_KEYUP},
        {"w", "KeyW", true, true, WM_SYSKEYDOWN},
        {"w", "KeyW", false, true, WM_SYSKEYUP},
        {"Alt", "AltLeft", true, true, WM_SYSKEYDOWN},
        {"Alt", "AltLeft", false, false, WM_SYSKEYUP},
        {"F10", "F10", true, false, WM_SYSKEYDOWN},
        {"F9", "F9", true, false, WM_KEYDOWN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + (c.down ? " down" : " up") + (c.alt ? " with Alt" : ""));
        Message message;
        ASSERT_TRUE(browserKeyMessage(c.key, c.code, c.down, c.alt, message));
        EXPECT_EQ(message.message, c.message);
    }
}
