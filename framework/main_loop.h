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

// runLoop in pieces, for hosts that call back once per display frame instead
// of letting a loop block (the browser). startLoop calls init and delivers
// the first reshape (false, with the window released, when init failed);
// runLoopPass dispatches every pending message and then renders one frame
// (or, minimised, waits), returning false once the loop is over; endLoop runs
// terminate and releases the window.
bool startLoop();
bool runLoopPass();
void endLoop();
