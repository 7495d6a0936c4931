// A fixed-capacity queue of window messages.
//
// Backends queue the window system's events here and the main loop takes them
// one per pass. Fixed storage, so queueing never allocates during a frame.
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

// Appends message; returns false (and drops it) when the queue is full.
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

// Takes WM_QUIT, with its exit code, if one was posted; the backends call it
// once the queue and the window system have nothing else.
inline bool takeQuit(MessageQueue& queue, Message& message) {
    if (!queue.quitPosted)
        return false;
    queue.quitPosted = false;
    message = Message{WM_QUIT, static_cast<uint64_t>(queue.quitCode), 0};
    return true;
}
