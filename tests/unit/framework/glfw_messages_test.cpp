// GLFW events as messages: keys by layout, system keys, minimise and close.
#include <cstdint>
#include <tuple>
#include <vector>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "framework/glfw_messages.h"

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

TEST(GlfwMessages, LettersFollowTheLayoutOtherKeysTheirPosition) {
    struct Case {
        int key;
        const char* name;
        uint32_t code;
    } const cases[] = {
        // AZERTY: letters by their label, the digit row (é, &) by position.
        {GLFW_KEY_Z, "w", 'W'},
        {GLFW_KEY_A, "q", 'Q'},
        {GLFW_KEY_SEMICOLON, "M", 'M'},
        {GLFW_KEY_W, nullptr, 'W'},
        {GLFW_KEY_2, "\xc3\xa9", '2'},
        {GLFW_KEY_1, "&", '1'},
        {GLFW_KEY_ESCAPE, nullptr, VK_ESCAPE},
        {GLFW_KEY_PAGE_UP, nullptr, VK_PRIOR},
        {GLFW_KEY_KP_ADD, "+", VK_ADD},
        {GLFW_KEY_KP_SUBTRACT, "-", VK_SUBTRACT},
        {GLFW_KEY_KP_1, "1", VK_NUMPAD0 + 1},
        {GLFW_KEY_LEFT, nullptr, VK_LEFT},
        {GLFW_KEY_DOWN, nullptr, VK_DOWN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sent(keyMessages(c.key, c.name, GLFW_PRESS, 0)),
                  (std::vector<Sent>{{WM_KEYDOWN, c.code, 0}}))
            << "token " << c.key;
    EXPECT_EQ(keyMessages(GLFW_KEY_F13, nullptr, GLFW_PRESS, 0).count, 0u);
}

TEST(GlfwMessages, PressAndRepeatGoDownReleaseUpAltAndF10AreSystemKeys) {
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

TEST(GlfwMessages, MinimiseRestoreAndClose) {
    const std::vector<Sent> minimised = sent(iconifyMessages(true, 800, 600));
    ASSERT_EQ(minimised.size(), 2u);
    EXPECT_EQ(minimised[0], (Sent{WM_SIZE, 0, sizeParam(0, 0)}));
    EXPECT_EQ(std::get<0>(minimised[1]), WM_ACTIVATE);
    EXPECT_NE(std::get<1>(minimised[1]) >> 16, 0u) << "the high word says minimised";
    EXPECT_EQ(sent(iconifyMessages(false, 800, 600)),
              (std::vector<Sent>{{WM_SIZE, 0, sizeParam(800, 600)}, {WM_ACTIVATE, WA_ACTIVE, 0}}));
    EXPECT_EQ(sent(closeMessages()), (std::vector<Sent>{{WM_CLOSE, 0, 0}}));
}
