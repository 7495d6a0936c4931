// The message-pumping main loop and its frame timer.
#pragma once

#include <cstdint>

struct FrameTimer {
    int64_t frequency = 0; // counter ticks per second; 0 until first asked
    bool started = false;
    // Raw counter readings of the latest frame and the one before. Kept as
    // integers so that the elapsed time keeps full resolution however long
    // the machine has been up; only the difference is converted to float.
    int64_t currentCount = 0;
    int64_t previousCount = 0;
};

extern FrameTimer frameTimer;

// Seconds since the previous call; exactly 0 on the first call.
float elapsedTime();

// Calls init, delivers the first reshape, then pumps messages and renders a
// frame whenever the queue is empty and the window is not minimised. Returns
// false when init failed, true after a normal end.
bool runLoop();
