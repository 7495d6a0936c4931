// tidemoor: opens the window and runs the frame loop.
//
// Until the scene is in place the callbacks only clear the window, so the
// window, the context and the input handling can already be seen working.
#include <cstdint>
#include <cstdio>

#include <GL/glew.h>

#include "framework/app_callbacks.h"
#include "framework/entry.h"

namespace {

bool initClearScene() {
    glClearColor(0.05f, 0.25f, 0.35f, 1.0f);
    return true;
}

void reshapeClearScene(int32_t width, int32_t height) {
    if (width > 0 && height > 0)
        glViewport(0, 0, width, height);
}

bool renderClearScene(float) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return true;
}

} // namespace

int main() {
    // Each completed line reaches a reader on a pipe at once.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    appCallbacks.initCallback = initClearScene;
    appCallbacks.reshapeCallback = reshapeClearScene;
    appCallbacks.updateCallback = renderClearScene;
    return runApplication();
}
