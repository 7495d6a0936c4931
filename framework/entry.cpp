// Program entry: window, OpenGL check, main loop.
#include "framework/entry.h"

#include <cstdio>

#include "framework/app_callbacks.h"
#include "framework/platform.h"

#ifndef __EMSCRIPTEN__
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

    // A WebGL 2 context is OpenGL ES 3.0, its entry points linked directly:
    // in the browser there is nothing to load or check.
#ifndef __EMSCRIPTEN__
    // The result is not examined: the version check below decides.
    glewExperimental = GL_TRUE;
    glewInit();
    if (!glewIsSupported("GL_VERSION_3_2")) {
        std::printf("OpenGL 3.3 not supported.");
        destroyWindow();
        return -1;
    }
#endif

    runMainLoop();
    return 0;
}
