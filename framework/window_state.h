// The process-wide state of the program's one window.
//
// The four handles are opaque to shared code: each backend stores its own
// objects in them (module, window, drawing surface, GL context), and null
// always means "none".
#pragma once

#include <cstdint>

struct WindowState {
    void* instanceHandle = nullptr;
    void* windowHandle = nullptr;
    void* deviceContext = nullptr;
    void* renderContext = nullptr;
    // True while the window is not minimised; written only by windowProcedure.
    bool windowActive = false;
    // True from a successful init callback until destroyWindow; size and key
    // messages reach the callbacks only then.
    bool appInitialized = false;
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
};

extern WindowState windowState;
