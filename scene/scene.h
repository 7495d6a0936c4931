// The scene: the one application object, owning the cameras, the light, the
// two shader programs, the shadow map, the donut and the four OBJ models.
// Created once by the init callback and reached through theScene.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

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

// The init callback: prints "Init Scene...", creates theScene and runs the
// start-up. Always true: missing files leave parts of the scene empty.
bool initScene();

// A new scene with its cameras, light and shadow-map record (no GL objects).
std::unique_ptr<Scene> createScene();

// The start-up: shadow map, shaders, models, then uploadScene; prints the
// start-up transcript up to "ready". Always true. The steps below are
// public so that a tool can time them, calling them in this order.
bool loadMeshesToShader(Scene& scene);

// Builds and locates the "Depth" and "Texture" programs and assigns the
// samplers to units 0, 1 and 2.
void initShaders(Scene& scene);

// Prints "Init Models...", creates the donut and loads the four models,
// each read and then given its material textures.
void initModels(Scene& scene);

// Creates the donut with its two textures.
void initDonut(Scene& scene);

// Prints the model's "Loading Obj-file..." line and reads and builds model
// index (0 to 3) into scene.meshes, without its material textures.
void readModel(Scene& scene, size_t index);

// Binds the shadow map, uploads the meshes and the donut, sets the GL state
// and prints the transcript from "Load Mesh to Shader..." to "ready".
void uploadScene(Scene& scene);
