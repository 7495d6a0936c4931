// What createWindow asks of the window system. The defaults are the program's
// own window; tools change only what they need (a hidden window, no vsync).
#pragma once

#include <cstdint>

struct WindowDesc {
    const char* className = "Vorlin";
    const char* title = "Vorlin - Tidemoor";
    int32_t width = 1024; // client area, pixels: the size the scene's view starts with
    int32_t height = 800;
    int32_t colorBits = 32;
    int32_t depthBits = 16;
    int32_t stencilBits = 0;
    bool visible = true;
    // 1 paces frames to the display, so per-frame steps move at its rate.
    int32_t swapInterval = 1;
};
