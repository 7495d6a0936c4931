// The key bindings as the window delivers them; press, repeat and release act
// alike. Keys only switch flags and move the viewer, so no GL is needed.
#include <cstring>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "scene/scene.h"
#include "scene/scene_callbacks.h"

namespace {

TEST(Keys, SwitchTheSceneMoveTheViewerAndSpaceSendsItBack) {
    theScene = createScene();
    const std::tuple<int32_t, bool Scene::*, bool> switches[] = {
        {0x57, &Scene::castShadows, false},   {0x53, &Scene::castShadows, true},   // W, S
        {0x6D, &Scene::normalMapping, false}, {0x6B, &Scene::normalMapping, true}, // keypad -, +
        {0x22, &Scene::autoCamera, false},    {0x21, &Scene::autoCamera, true},    // Page Down, Up
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
        {0x25, [](Camera& c) { swingCamera(c, 0.01f); }},  // Left
        {0x27, [](Camera& c) { swingCamera(c, -0.01f); }}, // Right
        {0x26, [](Camera& c) { dollyCamera(c, 0.01f); }},  // Up
        {0x28, [](Camera& c) { dollyCamera(c, -0.01f); }}, // Down
        {0x41, [](Camera& c) { c.eye.x += 0.1f; }},        // A
        {0x44, [](Camera& c) { c.eye.x -= 0.1f; }},        // D
    };
    for (const auto& [key, move] : moves) {
        Camera expected = camera;
        move(expected);
        updateCamera(expected);
        keySceneCallback(false, key);
        EXPECT_EQ(std::memcmp(&camera, &expected, sizeof camera), 0) << "key " << key;
    }
    camera.center = {1, 0, 0};
    keySceneCallback(true, 0x20); // the next camera step recomputes the view
    EXPECT_TRUE(camera.eye.x == -15 && camera.eye.y == 10 && camera.eye.z == 15 &&
                camera.center.x == 1);
    theScene.reset();
}

} // namespace
