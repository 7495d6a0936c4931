// The scene's reshape and key callbacks.
#include "scene/scene_callbacks.h"

#include "scene/camera_paths.h"
#include "scene/scene.h"

void reshapeSceneCallback(int32_t width, int32_t height) {
    if (theScene)
        reshapeScene(*theScene, static_cast<uint32_t>(width < 0 ? 0 : width),
                     static_cast<uint32_t>(height < 0 ? 0 : height));
}

void keySceneCallback(bool, int32_t keyCode) {
    if (theScene)
        handleKey(*theScene, keyCode);
}
