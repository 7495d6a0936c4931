// The process-wide state of the program's one window, which every backend
// shares; the window system's handles stay with each backend.
#pragma once

#include <cstdint>

struct WindowState {
    // True while the window is not minimised; written only by windowProcedure.
    bool windowActive = false;
    // True from a successful init callback until destroyWindow; size and key
    // messages reach the callbacks only then.
    bool appInitialized = false;
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
};

extern WindowState windowState;
