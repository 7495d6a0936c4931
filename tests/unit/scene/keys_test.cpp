// The key bindings as the window delivers them; press, repeat and release act
// alike. Keys only switch flags and move the viewer, so no GL is needed.
#include <cstring>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "keys/virtual_keys.h"
#include "scene/scene.h"
#include "scene/scene_callbacks.h"

namespace {

TEST(Keys, SwitchTheSceneMoveTheViewerAndSpaceSendsItBack) {
    theScene = createScene();
    const std::tuple<int32_t, bool Scene::*, bool> switches[] = {
        {VK_W, &Scene::castShadows, false},          {VK_S, &Scene::castShadows, true},
        {VK_SUBTRACT, &Scene::normalMapping, false}, {VK_ADD, &Scene::normalMapping, true},
        {VK_NEXT, &Scene::autoCamera, false},        {VK_PRIOR, &Scene::autoCamera, true},
    };
    for (const auto& [key, flag, value] : switches) {
        for (bool pressed : {true, false}) {
            (*theScene).*flag = !value;
            keySceneCallback(pressed, key);
            EXPECT_EQ((*theScene).*flag, value) << "key " << key << " pressed " << pressed;
        }
    }

    Camera& camera = theScene->camera;
    const std::pair<int32_t, void (*)(Camera&)> moves[] = {
        {VK_LEFT, [](Camera& c) { swingCamera(c, 0.01f); }},
        {VK_RIGHT, [](Camera& c) { swingCamera(c, -0.01f); }},
        {VK_UP, [](Camera& c) { dollyCamera(c, 0.01f); }},
        {VK_DOWN, [](Camera& c) { dollyCamera(c, -0.01f); }},
        {VK_A, [](Camera& c) { c.eye.x += 0.1f; }},
        {VK_D, [](Camera& c) { c.eye.x -= 0.1f; }},
    };
    for (const auto& [key, move] : moves) {
        Camera expected = camera;
        move(expected);
        updateCamera(expected);
        keySceneCallback(false, key);
        EXPECT_EQ(std::memcmp(&camera, &expected, sizeof camera), 0) << "key " << key;
    }
    camera.center = {1, 0, 0};
    keySceneCallback(true, VK_SPACE); // the next camera step recomputes the view
    EXPECT_TRUE(camera.eye.x == -15 && camera.eye.y == 10 && camera.eye.z == 15 &&
                camera.center.x == 1);
    theScene.reset();
}

} // namespace
