// Program entry: window, OpenGL check, main loop.
#include "framework/entry.h"

#include <cstdio>

#include "framework/app_callbacks.h"
#include "framework/main_loop.h"
#include "framework/platform.h"

#ifdef __EMSCRIPTEN__
#include "framework/browser_window.h"
#else
#include <GL/glew.h>
#endif

int runApplication(const WindowDesc& desc) {
    contextRequest.majorVersion = 3;
    contextRequest.minorVersion = 2;
    contextRequest.flags = contextForwardCompatible;

    if (!createWindow(desc)) {
        std::printf("Could not create window!");
        return -1;
    }

#ifdef __EMSCRIPTEN__
    // A WebGL 2 context is OpenGL ES 3.0, its entry points linked directly:
    // there is nothing to load or check. The browser runs the loop.
    runBrowserLoop();
#else
    // The result is not examined: the version check below decides.
    glewExperimental = GL_TRUE;
    glewInit();
    if (!glewIsSupported("GL_VERSION_3_2")) {
        std::printf("OpenGL 3.3 not supported.");
        destroyWindow();
        return -1;
    }

    runLoop();
#endif
    return 0;
}
