// One frame: camera, light and model animation, the shadow pass from the
// light, then the lit pass from the camera. Nothing here allocates: every
// matrix lives in the scene's records.
#include "scene/frame.h"

#include <cmath>

#include "geometry/gl/donut_buffers.h"
#include "geometry/gl/mesh_buffers.h"
#include "scene/camera_paths.h"
#include "scene/scene.h"
#include "scene/scene_clocks.h"

namespace {

// A program that failed to build keeps name 0: nothing is set with it.
bool usable(const ShaderProgram* program) {
    return program && program->program != 0;
}

void setVector3(const ShaderProgram& program, int32_t location, float x, float y, float z) {
    if (program.program != 0 && location != -1)
        glUniform3f(location, x, y, z);
}

void setVector4(const ShaderProgram& program, int32_t location, float x, float y, float z,
                float w) {
    if (program.program != 0 && location != -1)
        glUniform4f(location, x, y, z, w);
}

void placeFigure(Mesh& mesh, Vector3 position) {
    mesh.position = position;
    mesh.rotation = Vector3{0.0f, 0.0f, 0.0f};
}

} // namespace

bool renderFrame(float elapsedSeconds) {
    if (!theScene || !theScene->shadowMap || !theScene->depthProgram || !theScene->textureProgram ||
        !theScene->donut)
        return true; // nothing to draw before start-up or after the release
    Scene& scene = *theScene;
    updateCameraPath(scene, elapsedSeconds);
    updateLightPath(scene, elapsedSeconds);
    animateModels(scene, elapsedSeconds);
    const Vector3 light = scene.light.camera.eye;

    enterShadowPass(*scene.shadowMap);
    const ShaderProgram& depth = *scene.depthProgram;
    glUseProgram(depth.program);
    setVector3(depth, depth.lightPosition, light.x, light.y, light.z);
    if (scene.castShadows && usable(&depth)) {
        for (const auto& mesh : scene.meshes)
            drawMesh(*mesh, depthPass);
        // The donut's matrices go to GL from the scene's staging copies.
        const DonutModel& donut = *scene.donut;
        drawDonutDepth(donut, depth, copyModelMatrix(donut, scene.modelStaging),
                       copyLightModelViewMatrix(donut, scene.modelViewStaging));
    }
    // The lit pass follows the window's size, so a resized window shows the
    // whole picture undistorted.
    leaveShadowPass(scene.width, scene.height);

    const ShaderProgram& lit = *scene.textureProgram;
    glUseProgram(lit.program);
    // The environment keeps its fixed overhead light; the figures and the
    // donut follow the moving one that casts the shadows.
    const Vector3& overhead = overheadLightPosition;
    setVector3(lit, lit.lightPosition, overhead.x, overhead.y, overhead.z);
    setVector4(lit, lit.ambient, ambientLight[0], ambientLight[1], ambientLight[2],
               ambientLight[3]);
    setVector4(lit, lit.specular, specularLight[0], specularLight[1], specularLight[2],
               specularLight[3]);
    if (usable(&lit)) {
        drawMesh(*scene.meshes[0], litPass);
        setVector3(lit, lit.lightPosition, light.x, light.y, light.z);
        for (size_t i = 1; i < scene.meshes.size(); ++i)
            drawMesh(*scene.meshes[i], litPass);
        const DonutModel& donut = *scene.donut;
        copy(scene.shadowStaging, donut.shadowMatrix);
        drawDonutLit(donut, lit, scene.shadowStaging,
                     copyModelViewMatrix(donut, scene.modelViewStaging));
    }
    return true;
}

void animateModels(Scene& scene, float elapsedSeconds) {
    Mesh& snail = *scene.meshes[1];
    Mesh& sponge = *scene.meshes[2];
    Mesh& starfish = *scene.meshes[3];
    const double t = modelClock;
    if (modelClock == 0.0f) {
        placeFigure(snail, Vector3{-1.0f, 0.7f, -6.0f});
        placeFigure(sponge, Vector3{-1.0f, 1.0f, -5.0f});
        placeFigure(starfish, Vector3{1.0f, 2.0f, -6.0f});
    } else {
        const double slide = 0.3 * t - 6.0;
        if (slide < -3.0) {
            snail.position = Vector3{-1.0f, 0.7f, static_cast<float>(slide)};
        } else {
            const auto angle = static_cast<float>(20.0 * t);
            const auto cosine = static_cast<float>(std::cos(static_cast<double>(angle)));
            sponge.position = Vector3{-1.0f, static_cast<float>(1.5 + 0.5 * cosine), -5.0f};
        }
        const double walk = t - 6.0;
        if (walk < 4.5)
            starfish.position = Vector3{0.5f, 1.8f, static_cast<float>(walk)};
        else
            scene.donut->rotation = Vector3{90.0f, static_cast<float>(75.0 * t - 90.0), 0.0f};
    }

    DonutModel& donut = *scene.donut;
    donut.light = &scene.light;
    donut.camera = &scene.camera;
    updateDonutMatrices(donut);
    updateDonutShadowMatrix(donut);
    for (auto& mesh : scene.meshes) {
        mesh->camera = &scene.camera;
        mesh->light = &scene.light;
        mesh->normalMappingEnabled = scene.normalMapping;
        updateMeshMatrices(*mesh);
        updateMeshShadowMatrix(*mesh);
    }
    modelClock = modelClock + 0.2f * elapsedSeconds;
}

void releaseScene(Scene& scene) {
    if (scene.shadowMap) {
        ShadowMap& shadowMap = *scene.shadowMap;
        if (shadowMap.framebuffer != 0) {
            glDeleteFramebuffers(1, &shadowMap.framebuffer);
            shadowMap.framebuffer = 0;
        }
        if (shadowMap.depthTexture != 0) {
            glDeleteTextures(1, &shadowMap.depthTexture);
            shadowMap.depthTexture = 0;
        }
        scene.shadowMap.reset();
    }
    // The meshes' and the donut's GL objects go too; their textures stay
    // until the process ends.
    for (auto& mesh : scene.meshes) {
        if (mesh)
            releaseMesh(*mesh);
    }
    if (scene.donut)
        releaseDonut(*scene.donut);
    if (scene.depthProgram) {
        destroyProgram(scene.depthProgram.get());
        scene.depthProgram.reset();
    }
    if (scene.textureProgram) {
        destroyProgram(scene.textureProgram.get());
        scene.textureProgram.reset();
    }
}

// A Windows executable exports only what is marked; on Linux the program's
// link exports it with a linker option instead.
#if defined(_WIN32)
#define EXPORTED_BY_NAME __declspec(dllexport)
#else
#define EXPORTED_BY_NAME
#endif

extern "C" EXPORTED_BY_NAME void terminate() {
    if (theScene)
        releaseScene(*theScene);
}
