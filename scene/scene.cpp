// The scene object and the start-up sequence the init callback runs.
#include "scene/scene.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <utility>

#include "geometry/gl/donut_buffers.h"
#include "geometry/gl/mesh_buffers.h"

std::unique_ptr<Scene> theScene;

namespace {

// The start-up's steps; with times, each notes the end of its stages.
bool startUp(StartupTimes* times);
bool loadMeshesToShader(Scene& scene, StartupTimes* times);
void initModels(Scene& scene, StartupTimes* times);
void initDonut(Scene& scene);
void readModel(Scene& scene, size_t index);
void uploadScene(Scene& scene);

void endStage(StartupTimes* times, std::string name) {
    if (times != nullptr)
        times->stages.push_back(StartupStage{std::move(name), std::chrono::steady_clock::now()});
}

} // namespace

bool initScene() {
    return startUp(nullptr);
}

bool initTimedScene(StartupTimes& times) {
    return startUp(&times);
}

std::unique_ptr<Scene> createScene() {
    auto scene = std::make_unique<Scene>();
    scene->width = defaultViewWidth;
    scene->height = defaultViewHeight;
    scene->autoCamera = true;
    scene->normalMapping = true;
    scene->castShadows = true;

    scene->camera.center = Vector3{0.0f, 0.0f, 0.0f};
    scene->camera.up = Vector3{0.0f, 1.0f, 0.0f};
    scene->camera.eye = Vector3{0.0f, 15.0f, 20.0f};
    updateCamera(scene->camera);

    // Looking straight down along its up vector: the first frame moves the
    // light before anything uses its view.
    scene->light.camera.center = Vector3{0.0f, 0.0f, 0.0f};
    scene->light.camera.up = Vector3{0.0f, 1.0f, 0.0f};
    scene->light.camera.eye = Vector3{0.0f, 50.0f, 0.0f};
    updateCamera(scene->light.camera);

    scene->shadowMap = std::make_unique<ShadowMap>();
    scene->shadowMap->viewportWidth = scene->width;
    scene->shadowMap->viewportHeight = scene->height;
    scene->shadowMap->size = 1024;
    return scene;
}

namespace {

bool startUp(StartupTimes* times) {
    if (times != nullptr)
        times->begin = std::chrono::steady_clock::now();
    std::printf("Init Scene...");
    theScene = createScene();
    return loadMeshesToShader(*theScene, times);
}

bool loadMeshesToShader(Scene& scene, StartupTimes* times) {
    initShadowMap(*scene.shadowMap);
    endStage(times, "scene record and shadow map");
    initShaders(scene);
    endStage(times, "shaders (compile and link)");
    initModels(scene, times);
    uploadScene(scene);
    endStage(times, "uploads");
    return true;
}

void uploadScene(Scene& scene) {
    // Unit 0 keeps the shadow map for the whole run.
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, scene.shadowMap->depthTexture);

    static const char* const uploadMessages[4] = {"Skybox...\n", "Gary...\n", "Spongebob...\n",
                                                  "Patrick...\n"};
    std::printf("Load Mesh to Shader...\n");
    for (size_t i = 0; i < scene.meshes.size(); ++i) {
        std::printf("%s", uploadMessages[i]);
        uploadMesh(*scene.meshes[i], *scene.depthProgram, *scene.textureProgram);
    }
    std::printf("done\n ");
    uploadDonut(*scene.donut, *scene.depthProgram, *scene.textureProgram);

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    std::printf("ready\n");
}

} // namespace

void initShaders(Scene& scene) {
    std::printf("\nInit Shader...");

    scene.depthProgram = std::make_unique<ShaderProgram>();
    ShaderProgram& depth = loadShaderProgram(*scene.depthProgram, "Depth");
    locateModelMatrix(depth, "modelMatrix");
    locateProjectionMatrix(depth, "projectionMatrix");
    locateModelViewMatrix(depth, "modelViewMatrix");
    locateLightPosition(depth, "lightPosition");
    locateVertex(depth, "vertex");

    scene.textureProgram = std::make_unique<ShaderProgram>();
    ShaderProgram& lit = loadShaderProgram(*scene.textureProgram, "Texture");
    locateProjectionMatrix(lit, "projectionMatrix");
    locateModelViewMatrix(lit, "modelViewMatrix");
    locateShadowMatrix(lit, "shadowMatrix");
    locateShadowTexture(lit, "shadowTexture");
    locateFirstTexture(lit, "firstTexture");
    locateNormalMap(lit, "normalMap");
    locateAmbient(lit, "ambient");
    locateDiffuse(lit, "diffuse");
    locateSpecular(lit, "specular");
    locateLightPosition(lit, "lightPosition");
    locateUseNormalMapping(lit, "useNormalMapping");
    locateUseTexture(lit, "useTexture");
    locateVertex(lit, "vertex");
    locateNormal(lit, "normal");
    locateTangent(lit, "tangent");
    locateTexCoord(lit, "texCoord");

    // A program that failed to build is not made current: uniforms set with
    // program 0 would only raise GL errors.
    glUseProgram(lit.program);
    if (lit.program != 0) {
        glUniform1i(lit.shadowTexture, 0);
        glUniform1i(lit.firstTexture, 1);
        glUniform1i(lit.normalMap, 2);
    }
    std::printf("...done\n");
}

namespace {

void initModels(Scene& scene, StartupTimes* times) {
    std::printf("Init Models...");
    initDonut(scene);
    endStage(times, "donut and its textures");
    // The meshes' textures are made as each model is read, in the order its
    // libraries name them.
    for (size_t i = 0; i < scene.meshes.size(); ++i) {
        readModel(scene, i);
        endStage(times, scene.meshes[i]->path + " parse and build");
        createMaterialTextures(*scene.meshes[i]);
        endStage(times, scene.meshes[i]->path + " material textures");
    }
    std::printf("done\n");
}

void initDonut(Scene& scene) {
    scene.donut = std::make_unique<DonutModel>(createDonut());
    DonutModel& donut = *scene.donut;
    createTorus(&donut.shape, 0.5f, 1.0f);
    donut.indexCount = donut.shape.numberIndices;

    scene.donutTexture = std::make_unique<Texture>("donut.tga", "donut");
    donut.textureId = scene.donutTexture->textureId;
    donut.useTexture = true;
    scene.donutNormalMap = std::make_unique<Texture>("donut_NRM.tga", "donut");
    donut.normalMapId = scene.donutNormalMap->textureId;
    donut.useNormalMapping = true;
}

void readModel(Scene& scene, size_t index) {
    static const char* const messages[4] = {
        "\nLoading Obj-file...BikiniBottom", "Loading Obj-file...Gary",
        "Loading Obj-file...Spongebob", "Loading Obj-file...Patrick"};
    static const char* const files[4] = {"bikinibottom.obj", "gary.obj", "spongebob.obj",
                                         "patrick.obj"};
    std::printf("%s", messages[index]);
    scene.meshes[index] = std::make_unique<Mesh>(createMesh(files[index]));
    if (index == 0) {
        scene.meshes[0]->position = Vector3{0.0f, 0.0f, 0.0f};
        scene.meshes[0]->rotation = Vector3{0.0f, 90.0f, 0.0f};
    }
}

} // namespace
