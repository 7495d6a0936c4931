// The framework's own message queue, for backends whose window system has no
// queue of Win32 messages to offer (GLFW, the scripted backend, the browser).
//
// This file implements the message half of platform.h once for all of them:
// taking, posting, dispatching and waiting, and the quit request. A backend
// supplies only the two hooks below, plain functions it defines, which move
// its window system's events into the queue.
#pragma once

#include "framework/message_queue.h"

// The process-wide queue; backends append their window system's events here.
extern MessageQueue queuedMessages;

// Defined by the backend: hands the window system's pending events to the
// queue without blocking. Called when a message is wanted and none is queued.
void pollWindowSystem();

// Defined by the backend: blocks until the window system has an event (or
// returns at once when it cannot wait). Called only with an empty queue.
void waitWindowSystem();
