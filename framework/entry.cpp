// Program entry: window, OpenGL check, main loop.
#include "framework/entry.h"

#include <cstdio>

#include <GL/glew.h>

#include "framework/app_callbacks.h"
#include "framework/main_loop.h"
#include "framework/platform.h"

int runApplication(const WindowDesc& desc) {
    contextRequest.majorVersion = 3;
    contextRequest.minorVersion = 2;
    contextRequest.flags = contextForwardCompatible;

    if (!createWindow(desc)) {
        std::printf("Could not create window!");
        return -1;
    }

    // The result is not examined: the version check below decides.
    glewExperimental = GL_TRUE;
    glewInit();
    if (!glewIsSupported("GL_VERSION_3_2")) {
        std::printf("OpenGL 3.3 not supported.");
        destroyWindow();
        return -1;
    }

    runLoop();
    return 0;
}
