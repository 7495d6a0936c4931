// The scripted backend: messages, swaps and counter readings under the
// control of tests, so the main loop and the window procedure run without a
// display.
#include "framework/scripted_window.h"

#include "framework/main_loop.h"
#include "framework/message_queue.h"
#include "framework/platform.h"
#include "framework/window_state.h"

namespace {

ScriptedPlatform platform;

} // namespace

ScriptedPlatform& scriptedPlatform() {
    return platform;
}

void resetScriptedPlatform() {
    platform = ScriptedPlatform{};
    clearMessages(messageQueue);
    appCallbacks = AppCallbacks{};
    contextRequest = ContextRequest{};
    windowState = WindowState{};
    frameTimer = FrameTimer{};
}

void queueScriptedMessage(uint32_t message, uint64_t wParam, int64_t lParam) {
    postMessage(Message{message, wParam, lParam});
}

bool openWindow(const WindowDesc& desc) {
    platform.lastDesc = desc;
    platform.lastRequest = contextRequest;
    if (!platform.createSucceeds) {
        platform.events.push_back("create-failed");
        return false;
    }
    platform.windowOpen = true;
    postMessage(Message{WM_ACTIVATE, WA_ACTIVE, 0});
    platform.events.push_back("create");
    return true;
}

void closeWindow() {
    // "release" marks a window actually given back; a second call has none.
    if (platform.windowOpen)
        platform.events.push_back("release");
    platform.windowOpen = false;
    platform.events.push_back("destroy");
}

void runMainLoop() {
    runLoop();
}

void pollWindowSystem() {
    if (++platform.passes > platform.passLimit) {
        platform.runaway = true;
        clearMessages(messageQueue);
        postQuit(messageQueue, 0);
        return;
    }
    if (platform.onIdle)
        platform.onIdle();
}

void waitWindowSystem() {
    platform.events.push_back("wait");
    ++platform.waitCount;
    // Returning with nothing queued is a spurious wake-up, as real window
    // systems have; the loop simply waits again.
    if (platform.onWait)
        platform.onWait();
}

void swapBuffers() {
    platform.events.push_back("swap");
    ++platform.swapCount;
}

int64_t readCounter() {
    const int64_t value = platform.counter;
    platform.counter += platform.counterStep;
    return value;
}

int64_t counterFrequency() {
    return platform.frequency;
}
