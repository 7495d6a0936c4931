// The main loop and the frame timer.
//
// Every pending message is dispatched before a frame is rendered, so input
// is always handled before the next frame. While the
// window is minimised the loop sleeps until the next message instead of
// spinning a core; the timer is not read then, so the first frame after a
// restore receives the whole time spent minimised.
#include "framework/main_loop.h"

#include "framework/app_callbacks.h"
#include "framework/platform.h"
#include "framework/window_state.h"

FrameTimer frameTimer;

float elapsedTime() {
    if (frameTimer.frequency == 0)
        frameTimer.frequency = counterFrequency();
    const int64_t now = readCounter();
    if (!frameTimer.started) {
        frameTimer.started = true;
        frameTimer.previousCount = now;
    } else {
        frameTimer.previousCount = frameTimer.currentCount;
    }
    frameTimer.currentCount = now;
    if (frameTimer.frequency <= 0)
        return 0.0f;
    // Difference first, in integers: converting absolute readings to float
    // would lose the frame time once the counter has run for hours.
    const int64_t ticks = frameTimer.currentCount - frameTimer.previousCount;
    return static_cast<float>(static_cast<double>(ticks) /
                              static_cast<double>(frameTimer.frequency));
}

bool startLoop() {
    if (appCallbacks.initCallback && !appCallbacks.initCallback()) {
        destroyWindow();
        return false;
    }
    windowState.appInitialized = true;
    if (appCallbacks.reshapeCallback)
        appCallbacks.reshapeCallback(windowState.clientWidth, windowState.clientHeight);
    return true;
}

bool runLoopPass() {
    Message message;
    while (takeMessage(message)) {
        if (message.message == WM_QUIT)
            return false;
        dispatchMessage(message);
    }
    if (!windowState.windowActive) {
        waitMessage();
        return true;
    }
    if (appCallbacks.updateCallback && !appCallbacks.updateCallback(elapsedTime()))
        return false; // the frame that asked to stop is not shown
    swapBuffers();
    return true;
}

void endLoop() {
    if (appCallbacks.terminateCallback)
        appCallbacks.terminateCallback();
    destroyWindow();
}

bool runLoop() {
    if (!startLoop())
        return false;
    while (runLoopPass()) {
    }
    endLoop();
    return true;
}
