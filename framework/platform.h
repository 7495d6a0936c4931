// The platform layer: the few services the framework needs from the window
// system, implemented by exactly one backend chosen at link time
// (glfw_window.cpp or win32_window.cpp for the real window,
// browser_window.cpp for the page's canvas, egl_window.cpp for rendering
// without a window or X server, scripted_window.cpp for tests).
// Backends without a Win32 message queue take the message functions from
// message_queue.cpp; the GLFW and EGL backends read posix_counter.cpp's
// counter. Each backend keeps its own handles; shared code never
// sees them and never includes a backend's headers.
#pragma once

#include <cstdint>

#include "framework/messages.h"
#include "framework/window_desc.h"

// Creates the window, its pixel format and the GL context that contextRequest
// asks for, and makes it current (the backend's openWindow); then stores the
// client size desc asks for in windowState. Returns false on any failure,
// with nothing left made. Written once, in window_state.cpp.
bool createWindow(const WindowDesc& desc = WindowDesc{});

// Releases context, window and the window system connection, whatever exists
// (the backend's closeWindow), discards the pending messages and clears
// appInitialized. Safe to call more than once. Written once, in
// window_state.cpp.
void destroyWindow();

// Runs the main loop (main_loop.h) on the callbacks in appCallbacks. The
// desktop backends return once it has ended; the browser's returns once it
// has started and runs one pass per animation frame from then on.
void runMainLoop();

// The backend's part of createWindow: everything but the shared steps,
// including the first WM_ACTIVATE that makes the main loop render. On failure
// releases what was made and returns false.
bool openWindow(const WindowDesc& desc);

// The backend's part of destroyWindow: releases whatever exists.
void closeWindow();

// Takes one pending message without blocking. Returns false when none waits.
// A posted quit arrives as WM_QUIT once the messages before it are taken.
bool takeMessage(Message& message);

// Queues a message for the window, as if the window system had sent it (tools
// use it to script input).
void postMessage(const Message& message);

// Hands a taken message to the window procedure.
void dispatchMessage(const Message& message);

// Blocks until a message is pending (used while minimised instead of spinning).
void waitMessage();

// Drops the messages still pending for the window, as the window goes.
void discardMessages();

// Asks the main loop to end: WM_QUIT with exitCode as its wParam.
void postQuitMessage(int32_t exitCode);

// Answer for messages the window procedure does not handle itself.
int64_t defaultWindowProcedure(void* window, uint32_t message, uint64_t wParam, int64_t lParam);

// Presents the back buffer.
void swapBuffers();

// Monotonic high-resolution counter and its ticks per second.
int64_t readCounter();
int64_t counterFrequency();
