// The main loop and the frame timer.
//
// One message is taken per pass and a frame is rendered only when the queue
// is empty, so input is always handled before the next frame. While the
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

bool runLoop() {
    if (appCallbacks.initCallback && !appCallbacks.initCallback()) {
        destroyWindow();
        return false;
    }
    windowState.appInitialized = true;
    if (appCallbacks.reshapeCallback)
        appCallbacks.reshapeCallback(windowState.clientWidth, windowState.clientHeight);

    for (;;) {
        Message message;
        if (takeMessage(message)) {
            if (message.message == WM_QUIT)
                break;
            dispatchMessage(message);
            continue;
        }
        if (!windowState.windowActive) {
            waitMessage();
            continue;
        }
        if (appCallbacks.updateCallback && !appCallbacks.updateCallback(elapsedTime()))
            break; // the frame that asked to stop is not shown
        swapBuffers();
    }

    if (appCallbacks.terminateCallback)
        appCallbacks.terminateCallback();
    destroyWindow();
    return true;
}
