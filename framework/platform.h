// The platform layer: the few services the framework needs from the window
// system, implemented by exactly one backend chosen at link time
// (glfw_window.cpp or win32_window.cpp for the real window,
// browser_window.cpp for the page's canvas, scripted_window.cpp for tests).
// Backends without a Win32 message queue take the message functions from
// queued_messages.cpp. Shared code never includes a backend's headers.
#pragma once

#include <cstdint>

#include "framework/messages.h"
#include "framework/window_desc.h"

// Creates the window, its pixel format and the GL context that contextRequest
// asks for, and makes it current. On any failure releases what was made and
// returns false. Stores the client size desc asks for in windowState.
bool createWindow(const WindowDesc& desc = WindowDesc{});

// Releases context, window and the window system connection, whatever exists,
// and clears appInitialized. Safe to call more than once.
void destroyWindow();

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

// Asks the main loop to end: WM_QUIT with exitCode as its wParam.
void postQuitMessage(int32_t exitCode);

// Answer for messages the window procedure does not handle itself.
int64_t defaultWindowProcedure(void* window, uint32_t message, uint64_t wParam, int64_t lParam);

// Presents the back buffer.
void swapBuffers();

// Monotonic high-resolution counter and its ticks per second.
int64_t readCounter();
int64_t counterFrequency();
