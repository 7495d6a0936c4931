// GLFW events in the Win32 message vocabulary.
#include "framework/glfw_events.h"

#include "framework/key_rules.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

namespace {

// GLFW's tokens name US key positions; the keypad's digits and point are
// given here with Num Lock on.
uint32_t tokenKey(int key) {
    if (key >= GLFW_KEY_A && key <= GLFW_KEY_Z)
        return static_cast<uint32_t>(key); // same codes as ASCII upper case
    if (key >= GLFW_KEY_0 && key <= GLFW_KEY_9)
        return static_cast<uint32_t>(key);
    if (key >= GLFW_KEY_F1 && key <= GLFW_KEY_F12)
        return VK_F1 + static_cast<uint32_t>(key - GLFW_KEY_F1);
    if (key >= GLFW_KEY_KP_0 && key <= GLFW_KEY_KP_9)
        return VK_NUMPAD0 + static_cast<uint32_t>(key - GLFW_KEY_KP_0);
    switch (key) {
    case GLFW_KEY_ESCAPE:
        return VK_ESCAPE;
    case GLFW_KEY_SPACE:
        return VK_SPACE;
    case GLFW_KEY_PAGE_UP:
        return VK_PRIOR;
    case GLFW_KEY_PAGE_DOWN:
        return VK_NEXT;
    case GLFW_KEY_END:
        return VK_END;
    case GLFW_KEY_HOME:
        return VK_HOME;
    case GLFW_KEY_LEFT:
        return VK_LEFT;
    case GLFW_KEY_UP:
        return VK_UP;
    case GLFW_KEY_RIGHT:
        return VK_RIGHT;
    case GLFW_KEY_DOWN:
        return VK_DOWN;
    case GLFW_KEY_INSERT:
        return VK_INSERT;
    case GLFW_KEY_DELETE:
        return VK_DELETE;
    case GLFW_KEY_KP_ADD:
        return VK_ADD;
    case GLFW_KEY_KP_SUBTRACT:
        return VK_SUBTRACT;
    case GLFW_KEY_KP_MULTIPLY:
        return VK_MULTIPLY;
    case GLFW_KEY_KP_DIVIDE:
        return VK_DIVIDE;
    case GLFW_KEY_KP_DECIMAL:
        return VK_DECIMAL;
    case GLFW_KEY_KP_ENTER:
    case GLFW_KEY_ENTER:
        return VK_RETURN;
    case GLFW_KEY_TAB:
        return VK_TAB;
    case GLFW_KEY_BACKSPACE:
        return VK_BACK;
    case GLFW_KEY_PAUSE:
        return VK_PAUSE;
    case GLFW_KEY_CAPS_LOCK:
        return VK_CAPITAL;
    case GLFW_KEY_LEFT_SHIFT:
    case GLFW_KEY_RIGHT_SHIFT:
        return VK_SHIFT;
    case GLFW_KEY_LEFT_CONTROL:
    case GLFW_KEY_RIGHT_CONTROL:
        return VK_CONTROL;
    case GLFW_KEY_LEFT_ALT:
    case GLFW_KEY_RIGHT_ALT:
        return VK_MENU;
    default:
        return 0;
    }
}

// Only the main block's printable keys follow the layout: keypad keys have
// digit names too but keep their own codes.
uint32_t virtualKey(int key, const char* layoutName, int mods) {
    if ((key >= GLFW_KEY_KP_0 && key <= GLFW_KEY_KP_9) || key == GLFW_KEY_KP_DECIMAL)
        return keypadKey(tokenKey(key), (mods & GLFW_MOD_NUM_LOCK) != 0);
    if (key >= GLFW_KEY_SPACE && key <= GLFW_KEY_WORLD_2)
        return layoutKey(tokenKey(key), layoutName);
    return tokenKey(key);
}

} // namespace

GlfwMessages keyMessages(int key, const char* layoutName, int action, int mods) {
    const uint32_t code = virtualKey(key, layoutName, mods);
    if (code == 0)
        return {};
    return {{keyMessage(code, action != GLFW_RELEASE, (mods & GLFW_MOD_ALT) != 0)}, 1};
}

GlfwMessages iconifyMessages(bool iconified, int framebufferWidth, int framebufferHeight) {
    if (iconified)
        return {{Message{WM_SIZE, 0, sizeParam(0, 0)},
                 Message{WM_ACTIVATE, (uint64_t{1} << 16) | WA_INACTIVE, 0}},
                2};
    const int64_t size = sizeParam(static_cast<uint32_t>(framebufferWidth),
                                   static_cast<uint32_t>(framebufferHeight));
    return {{Message{WM_SIZE, 0, size}, Message{WM_ACTIVATE, WA_ACTIVE, 0}}, 2};
}

GlfwMessages closeMessages() {
    return {{Message{WM_CLOSE, 0, 0}}, 1};
}
