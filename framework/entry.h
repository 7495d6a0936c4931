// Program entry shared by the programs: opens the window with the registered
// callbacks, checks OpenGL 3.2 and runs the main loop.
#pragma once

#include "framework/window_desc.h"

// Requests a 3.2 forward-compatible context, creates the window, initialises
// GLEW and runs the main loop on the callbacks already stored in
// appCallbacks. Returns the process exit code: 0 once the loop has run, -1
// when the window or OpenGL 3.2 is unavailable. In the browser the context
// is WebGL 2 and the call returns once the loop has started; the browser runs
// it from then on.
int runApplication(const WindowDesc& desc = WindowDesc{});
