// The scripted backend of the platform layer: no window at all.
//
// Tests feed messages into the queue, choose whether window creation
// succeeds, script the counter, and read back what the framework did (swaps,
// waits, creation and release) from the event log, in order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/app_callbacks.h"
#include "framework/window_desc.h"

struct ScriptedPlatform {
    bool createSucceeds = true;
    // The window this backend stands in for: open from a successful
    // createWindow until destroyWindow.
    bool windowOpen = false;

    // Counter: each reading returns counter and then adds counterStep.
    int64_t counter = 0;
    int64_t counterStep = 0;
    int64_t frequency = 1000;

    // Called when the main loop finds the queue empty, before it renders, and
    // while it waits for a message; tests queue the next messages here.
    std::function<void()> onIdle;
    std::function<void()> onWait;

    // What the framework did, in order: "create", "swap", "wait", "release",
    // "destroy"; tests append their own callback events to the same log.
    std::vector<std::string> events;
    int32_t swapCount = 0;
    // Times the loop found the queue empty; past passLimit the queue is
    // emptied, WM_QUIT comes next and runaway is set, so a faulty test fails
    // instead of hanging.
    int64_t passes = 0;
    int64_t passLimit = 100000;
    bool runaway = false;
    int32_t waitCount = 0;
    WindowDesc lastDesc;
    ContextRequest lastRequest;
};

// The backend's record; reset it between tests with resetScriptedPlatform.
ScriptedPlatform& scriptedPlatform();

// Clears the backend and the framework's process-wide records.
void resetScriptedPlatform();

// Queues a message as the window system would (in the framework's queue,
// message_queue.h).
void queueScriptedMessage(uint32_t message, uint64_t wParam = 0, int64_t lParam = 0);
