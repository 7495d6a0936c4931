// tidemoor: the sea-floor scene in its window.
#include <cstdio>

#include "framework/app_callbacks.h"
#include "framework/entry.h"
#include "scene/frame.h"
#include "scene/scene.h"
#include "scene/scene_callbacks.h"

int main() {
    // Each completed line reaches a reader on a pipe at once.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    appCallbacks.initCallback = initScene;
    appCallbacks.reshapeCallback = reshapeSceneCallback;
    appCallbacks.updateCallback = renderFrame;
    appCallbacks.terminateCallback = terminate;
    appCallbacks.keyCallback = keySceneCallback;
    return runApplication();
}
