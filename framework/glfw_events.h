// GLFW events in the Win32 message vocabulary.
//
// The GLFW backend's callbacks pass the event's values here and queue what
// comes back. Nothing here calls GLFW, so the translation runs without a
// window.
#pragma once

#include <cstddef>

#include "framework/messages.h"

// The messages one event becomes: none, one or two.
struct GlfwMessages {
    Message messages[2];
    size_t count = 0;
};

// key, action and mods are GLFW's values, mods with GLFW_LOCK_KEY_MODS set so
// that they carry Num Lock; layoutName is GLFW's name of the key on the active
// keyboard layout, or null when it has none. Keys follow key_rules.h; keys
// without a virtual-key code give no message.
GlfwMessages keyMessages(int key, const char* layoutName, int action, int mods);

// Minimising reports a 0 x 0 size; restoring reports the framebuffer's.
GlfwMessages iconifyMessages(bool iconified, int framebufferWidth, int framebufferHeight);

GlfwMessages closeMessages();
