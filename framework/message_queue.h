// The framework's own message queue, for the backends whose window system has
// no queue of Win32 messages to offer (GLFW, EGL, the scripted backend, the
// browser).
//
// message_queue.cpp implements the message half of platform.h once for all of
// them over this queue: taking, posting, dispatching, waiting, discarding and
// the quit request. A backend queues its window system's events with
// postMessage and supplies only the two hooks below, plain functions it
// defines. The storage is fixed, so queueing never allocates during a frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/messages.h"

struct MessageQueue {
    static constexpr size_t capacity = 256;
    Message slots[capacity];
    size_t first = 0;
    size_t count = 0;
    // A posted quit waits until the messages before it have been taken.
    bool quitPosted = false;
    int32_t quitCode = 0;
};

// The process-wide queue.
extern MessageQueue messageQueue;

// Defined by the backend: hands the window system's pending events to the
// queue without blocking. Called when a message is wanted and none is queued.
void pollWindowSystem();

// Defined by the backend: blocks until the window system has an event (or
// returns at once when it cannot wait). Called only with an empty queue.
void waitWindowSystem();

// Appends message. A full queue drops it and returns false: the queue keeps
// its fixed size rather than allocate during a frame, and 256 messages are
// far more than a frame's input.
inline bool pushMessage(MessageQueue& queue, const Message& message) {
    if (queue.count == MessageQueue::capacity)
        return false;
    queue.slots[(queue.first + queue.count) % MessageQueue::capacity] = message;
    ++queue.count;
    return true;
}

// Takes the oldest message; returns false when the queue is empty.
inline bool popMessage(MessageQueue& queue, Message& message) {
    if (queue.count == 0)
        return false;
    message = queue.slots[queue.first];
    queue.first = (queue.first + 1) % MessageQueue::capacity;
    --queue.count;
    return true;
}

inline void clearMessages(MessageQueue& queue) {
    queue.first = 0;
    queue.count = 0;
    queue.quitPosted = false;
}

inline void postQuit(MessageQueue& queue, int32_t exitCode) {
    queue.quitPosted = true;
    queue.quitCode = exitCode;
}

// Takes WM_QUIT, with its exit code, if one was posted; called once the queue
// and the window system have nothing else.
inline bool takeQuit(MessageQueue& queue, Message& message) {
    if (!queue.quitPosted)
        return false;
    queue.quitPosted = false;
    message = Message{WM_QUIT, static_cast<uint64_t>(queue.quitCode), 0};
    return true;
}
