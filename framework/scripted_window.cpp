// The scripted backend: messages, swaps and counter readings under the
// control of tests, so the main loop and the window procedure run without a
// display.
#include "framework/scripted_window.h"

#include "framework/main_loop.h"
#include "framework/platform.h"
#include "framework/queued_messages.h"
#include "framework/window_state.h"

namespace {

ScriptedPlatform platform;

// Stand-ins for the window system's handles.
int scriptedModule;
int scriptedWindow;
int scriptedSurface;
int scriptedContext;

} // namespace

ScriptedPlatform& scriptedPlatform() {
    return platform;
}

void resetScriptedPlatform() {
    platform = ScriptedPlatform{};
    clearMessages(queuedMessages);
    appCallbacks = AppCallbacks{};
    contextRequest = ContextRequest{};
    windowState = WindowState{};
    frameTimer = FrameTimer{};
}

void queueScriptedMessage(uint32_t message, uint64_t wParam, int64_t lParam) {
    pushMessage(queuedMessages, Message{message, wParam, lParam});
}

bool createWindow(const WindowDesc& desc) {
    platform.lastDesc = desc;
    platform.lastRequest = contextRequest;
    if (!platform.createSucceeds) {
        platform.events.push_back("create-failed");
        return false;
    }
    windowState.instanceHandle = &scriptedModule;
    windowState.windowHandle = &scriptedWindow;
    windowState.deviceContext = &scriptedSurface;
    windowState.renderContext = &scriptedContext;
    pushMessage(queuedMessages, Message{WM_ACTIVATE, WA_ACTIVE, 0});
    windowState.clientWidth = desc.width;
    windowState.clientHeight = desc.height;
    platform.events.push_back("create");
    return true;
}

void destroyWindow() {
    // "release" marks handles actually given back; a second call has none.
    if (windowState.renderContext || windowState.deviceContext || windowState.windowHandle ||
        windowState.instanceHandle)
        platform.events.push_back("release");
    windowState.renderContext = nullptr;
    windowState.deviceContext = nullptr;
    windowState.windowHandle = nullptr;
    windowState.instanceHandle = nullptr;
    windowState.appInitialized = false;
    platform.events.push_back("destroy");
}

void pollWindowSystem() {
    if (++platform.passes > platform.passLimit) {
        platform.runaway = true;
        clearMessages(queuedMessages);
        postQuit(queuedMessages, 0);
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
