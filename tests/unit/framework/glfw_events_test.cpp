// GLFW events as messages: keys by layout, system keys, minimise and close.
#include <cstdint>
#include <tuple>
#include <vector>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "framework/glfw_events.h"

namespace {

using Sent = std::tuple<uint32_t, uint64_t, int64_t>;

std::vector<Sent> sent(const GlfwMessages& messages) {
    std::vector<Sent> list;
    for (size_t i = 0; i < messages.count; ++i)
        list.emplace_back(messages.messages[i].message, messages.messages[i].wParam,
                          messages.messages[i].lParam);
    return list;
}

} // namespace

TEST(GlfwEvents, KeysFollowTheLayoutTheDigitRowAndTheKeypadTheirPosition) {
    constexpr int numLock = GLFW_MOD_NUM_LOCK;
    struct Case {
        int key;
        const char* name;
        int mods;
        uint32_t code; // 0: no message
    } const cases[] = {
        // AZERTY: letters by their label, the digit row (é, &) by position.
        {GLFW_KEY_Z, "w", 0, 'W'},
        {GLFW_KEY_A, "q", 0, 'Q'},
        {GLFW_KEY_SEMICOLON, "M", 0, 'M'},
        {GLFW_KEY_W, nullptr, 0, 'W'},
        {GLFW_KEY_2, "\xc3\xa9", 0, '2'},
        {GLFW_KEY_1, "&", 0, '1'},
        // Dvorak: the punctuation that has a code everywhere sends it, the
        // rest nothing; a non-ASCII character falls back to the position.
        {GLFW_KEY_W, ",", 0, VK_OEM_COMMA},
        {GLFW_KEY_E, ".", 0, VK_OEM_PERIOD},
        {GLFW_KEY_Z, ";", 0, 0},
        {GLFW_KEY_MINUS, "-", 0, VK_OEM_MINUS},
        {GLFW_KEY_W, "\xd1\x86", 0, 'W'},
        {GLFW_KEY_ESCAPE, nullptr, 0, VK_ESCAPE},
        {GLFW_KEY_PAGE_UP, nullptr, 0, VK_PRIOR},
        {GLFW_KEY_LEFT, nullptr, 0, VK_LEFT},
        {GLFW_KEY_DOWN, nullptr, 0, VK_DOWN},
        {GLFW_KEY_F13, nullptr, 0, 0},
        // The keypad with Num Lock on, then off; its signs either way.
        {GLFW_KEY_KP_1, "1", numLock, VK_NUMPAD1},
        {GLFW_KEY_KP_4, "4", numLock, VK_NUMPAD4},
        {GLFW_KEY_KP_DECIMAL, ".", numLock, VK_DECIMAL},
        {GLFW_KEY_KP_ADD, "+", numLock, VK_ADD},
        {GLFW_KEY_KP_1, "1", 0, VK_END},
        {GLFW_KEY_KP_4, "4", 0, VK_LEFT},
        {GLFW_KEY_KP_5, "5", 0, VK_CLEAR},
        {GLFW_KEY_KP_9, "9", 0, VK_PRIOR},
        {GLFW_KEY_KP_0, "0", 0, VK_INSERT},
        {GLFW_KEY_KP_DECIMAL, ".", 0, VK_DELETE},
        {GLFW_KEY_KP_ADD, "+", 0, VK_ADD},
        {GLFW_KEY_KP_SUBTRACT, "-", 0, VK_SUBTRACT},
    };
    for (const Case& c : cases) {
        const std::vector<Sent> expected =
            c.code ? std::vector<Sent>{{WM_KEYDOWN, c.code, 0}} : std::vector<Sent>{};
        EXPECT_EQ(sent(keyMessages(c.key, c.name, GLFW_PRESS, c.mods)), expected)
            << "token " << c.key << " name " << (c.name ? c.name : "(null)") << " mods " << c.mods;
    }
}

TEST(GlfwEvents, PressAndRepeatGoDownReleaseUpAltAndF10AreSystemKeys) {
    struct Case {
        int key;
        int action;
        int mods;
        uint32_t message;
    } const cases[] = {
        {GLFW_KEY_W, GLFW_PRESS, 0, WM_KEYDOWN},
        {GLFW_KEY_W, GLFW_REPEAT, 0, WM_KEYDOWN},
        {GLFW_KEY_W, GLFW_RELEASE, 0, WM_KEYUP},
        {GLFW_KEY_W, GLFW_PRESS, GLFW_MOD_ALT, WM_SYSKEYDOWN},
        {GLFW_KEY_LEFT_ALT, GLFW_PRESS, 0, WM_SYSKEYDOWN},
        {GLFW_KEY_RIGHT_ALT, GLFW_RELEASE, 0, WM_SYSKEYUP},
        {GLFW_KEY_F10, GLFW_PRESS, 0, WM_SYSKEYDOWN},
        {GLFW_KEY_F10, GLFW_RELEASE, 0, WM_SYSKEYUP},
    };
    for (const Case& c : cases) {
        const GlfwMessages messages = keyMessages(c.key, nullptr, c.action, c.mods);
        ASSERT_EQ(messages.count, 1u) << "token " << c.key;
        EXPECT_EQ(messages.messages[0].message, c.message) << "token " << c.key;
    }
}

TEST(GlfwEvents, MinimiseRestoreAndClose) {
    const std::vector<Sent> minimised = sent(iconifyMessages(true, 800, 600));
    ASSERT_EQ(minimised.size(), 2u);
    EXPECT_EQ(minimised[0], (Sent{WM_SIZE, 0, sizeParam(0, 0)}));
    EXPECT_EQ(std::get<0>(minimised[1]), WM_ACTIVATE);
    EXPECT_NE(std::get<1>(minimised[1]) >> 16, 0u) << "the high word says minimised";
    EXPECT_EQ(sent(iconifyMessages(false, 800, 600)),
              (std::vector<Sent>{{WM_SIZE, 0, sizeParam(800, 600)}, {WM_ACTIVATE, WA_ACTIVE, 0}}));
    EXPECT_EQ(sent(closeMessages()), (std::vector<Sent>{{WM_CLOSE, 0, 0}}));
}
