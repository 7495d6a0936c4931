// The scene: the one application object, owning the cameras, the light, the
// two shader programs, the shadow map, the donut and the four OBJ models.
// Created once by the init callback and reached through theScene.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "geometry/donut.h"
#include "geometry/mesh.h"
#include "math/matrix.h"
#include "resources/gl/shader_program.h"
#include "resources/gl/texture.h"
#include "scene/shadow_map.h"
#include "view/camera.h"
#include "view/light.h"

struct Scene {
    uint32_t width = defaultViewWidth; // window client size in pixels
    uint32_t height = defaultViewHeight;
    Camera camera;
    Light light;
    std::unique_ptr<ShaderProgram> textureProgram;
    std::unique_ptr<ShaderProgram> depthProgram;
    std::unique_ptr<ShadowMap> shadowMap;
    bool autoCamera = true;
    bool normalMapping = true;
    bool castShadows = true;
    std::unique_ptr<Texture> donutTexture;
    std::unique_ptr<Texture> donutNormalMap;
    std::unique_ptr<DonutModel> donut;
    // 0 the environment ("bikinibottom.obj"), 1 to 3 the figures.
    std::array<std::unique_ptr<Mesh>, 4> meshes;
    // Uniform data handed to GL: projection, donut shadow, model and
    // model-view matrices.
    Matrix projectionStaging;
    Matrix shadowStaging;
    Matrix modelStaging;
    Matrix modelViewStaging;
};

// The scene of this run; empty until the init callback has created it.
extern std::unique_ptr<Scene> theScene;

// Where the start-up time goes, for a tool that times it: the start-up
// notes when it begins and when each of its stages ends, in its own order.
// Each stage runs from the end of the one before (the first from begin).
struct StartupStage {
    std::string name; // e.g. "shaders (compile and link)"
    std::chrono::steady_clock::time_point end;
};
struct StartupTimes {
    std::chrono::steady_clock::time_point begin;
    std::vector<StartupStage> stages;
};

// The init callback: prints "Init Scene...", creates theScene and runs the
// start-up (shadow map, shaders, donut, the four models each read and then
// given its material textures, uploads), printing the start-up transcript
// up to "ready". Always true: missing files leave parts of the scene empty.
bool initScene();

// initScene, noting its begin and each stage's end in times.
bool initTimedScene(StartupTimes& times);

// A new scene with its cameras, light and shadow-map record (no GL objects).
std::unique_ptr<Scene> createScene();

// Builds and locates the "Depth" and "Texture" programs and assigns the
// samplers to units 0, 1 and 2.
void initShaders(Scene& scene);
