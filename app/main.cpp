// tidemoor: the sea-floor scene in its window.
#include "framework/app_callbacks.h"
#include "framework/entry.h"
#include "framework/line_output.h"
#include "scene/frame.h"
#include "scene/scene.h"
#include "scene/scene_callbacks.h"
#include "view/camera.h"

// The window opens at the size the scene's view starts with.
static_assert(WindowDesc{}.width == int32_t{defaultViewWidth} &&
              WindowDesc{}.height == int32_t{defaultViewHeight});

int main() {
    sendOutputLineByLine();

    appCallbacks.initCallback = initScene;
    appCallbacks.reshapeCallback = reshapeSceneCallback;
    appCallbacks.updateCallback = renderFrame;
    appCallbacks.terminateCallback = terminate;
    appCallbacks.keyCallback = keySceneCallback;
    return runApplication();
}
