// tidemoor: the sea-floor scene in its window.
#include "framework/app_callbacks.h"
#include "framework/entry.h"
#include "framework/line_output.h"
#include "scene/frame.h"
#include "scene/scene.h"
#include "scene/scene_callbacks.h"

int main() {
    sendOutputLineByLine();

    appCallbacks.initCallback = initScene;
    appCallbacks.reshapeCallback = reshapeSceneCallback;
    appCallbacks.updateCallback = renderFrame;
    appCallbacks.terminateCallback = terminate;
    appCallbacks.keyCallback = keySceneCallback;
    return runApplication();
}
