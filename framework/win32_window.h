// The Win32 backend's own record, for the tests that follow its failure
// paths on Windows.
#pragma once

#include <windows.h>

using CreateContextAttribsFunction = HGLRC(WINAPI*)(HDC device, HGLRC shared,
                                                    const int* attributes);

struct Win32Platform {
    // What createWindow made; null for what does not exist.
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HDC device = nullptr;
    HGLRC context = nullptr;
    // Replaces the driver's wglCreateContextAttribsARB when set; null means
    // the driver's, looked up while the legacy context is current.
    CreateContextAttribsFunction createContextAttribs = nullptr;
    // The class registered by createWindow, unregistered by destroyWindow.
    ATOM windowClass = 0;
    // The message taken last, so that dispatching hands the system the whole
    // record it gave (window, time, cursor position).
    MSG taken{};
};

extern Win32Platform win32Platform;
