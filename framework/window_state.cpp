// The window's shared state, and the steps every backend takes after opening
// and before closing its window.
#include "framework/window_state.h"

#include "framework/platform.h"

WindowState windowState;

bool createWindow(const WindowDesc& desc) {
    if (!openWindow(desc))
        return false;
    // Size messages sent while the window was made only updated the stored
    // size (nothing reaches the application yet); the asked-for size holds.
    windowState.clientWidth = desc.width;
    windowState.clientHeight = desc.height;
    return true;
}

void destroyWindow() {
    closeWindow();
    discardMessages();
    windowState.appInitialized = false;
}
