// The viewer's square path, the light's swing, reshape and the key bindings.
#include "scene/camera_paths.h"

#include <cmath>

#include "scene/scene.h"
#include "scene/scene_clocks.h"

// Last: on Windows this brings in <windows.h>, whose macros (near, far, min,
// max) must not reach the headers above.
#include "keys/virtual_keys.h"

namespace {

constexpr float pathStep = 0.02f;
constexpr float pathHalfSide = 15.0f;

// Hands the viewer's current projection to one program; a program that
// failed to build gets nothing.
void uploadProjection(Scene& scene, const ShaderProgram* program) {
    glUseProgram(program ? program->program : 0);
    copyProjection(scene.camera, scene.projectionStaging);
    if (program && program->program != 0 && program->projectionMatrix != -1)
        glUniformMatrix4fv(program->projectionMatrix, 1, GL_FALSE, scene.projectionStaging.m);
}

} // namespace

void reshapeScene(Scene& scene, uint32_t width, uint32_t height) {
    // A minimised window reports 0 x 0: keep the last size, so the aspect
    // ratio stays defined and the picture comes back unchanged on restore.
    if (width != 0 && height != 0) {
        scene.width = width;
        scene.height = height;
    }
    uploadProjection(scene, scene.depthProgram.get());
    scene.camera.fieldOfView = defaultFieldOfView;
    scene.camera.width = scene.width;
    scene.camera.height = scene.height;
    scene.camera.zNear = defaultZNear;
    scene.camera.zFar = defaultZFar;
    uploadProjection(scene, scene.textureProgram.get());
}

void updateCameraPath(Scene& scene, float elapsedSeconds) {
    Camera& camera = scene.camera;
    if (cameraClock == 0.0f) {
        camera.eye = Vector3{-15.0f, 10.0f, 15.0f};
        camera.center = Vector3{0.0f, 0.0f, 0.0f};
    } else if (scene.autoCamera) {
        // Each test sees the leg the one before left, so the frame that ends
        // a leg also takes the first step of the next.
        float x = camera.eye.x;
        float z = camera.eye.z;
        if (cameraLeg == 0) {
            if (x <= pathHalfSide)
                x = x + pathStep;
            else
                cameraLeg = 1;
        }
        if (cameraLeg == 1) {
            if (z >= -pathHalfSide)
                z = z - pathStep;
            else
                cameraLeg = 2;
        }
        if (cameraLeg == 2) {
            if (x >= -pathHalfSide)
                x = x - pathStep;
            else
                cameraLeg = 3;
        }
        if (cameraLeg == 3) {
            if (z <= pathHalfSide)
                z = z + pathStep;
            else
                cameraLeg = 0;
        }
        camera.eye.x = x;
        camera.eye.z = z;
    }
    updateCamera(camera);
    reshapeScene(scene, scene.width, scene.height);
    cameraClock = cameraClock + 0.5f * elapsedSeconds;
}

void updateLightPath(Scene& scene, float elapsedSeconds) {
    const float angle = 0.5f * lightClock;
    const auto cosine = static_cast<float>(std::cos(static_cast<double>(angle)));
    const float z = -15.0f * cosine;
    scene.light.camera.eye = Vector3{10.0f, 20.0f, z};
    updateCamera(scene.light.camera);
    lightClock = lightClock + elapsedSeconds;
}

void handleKey(Scene& scene, int32_t keyCode) {
    Camera& camera = scene.camera;
    switch (keyCode) {
    case VK_SPACE:
        camera.eye = Vector3{-15.0f, 10.0f, 15.0f}; // the next camera step recomputes
        break;
    case VK_PRIOR:
        scene.autoCamera = true;
        break;
    case VK_NEXT:
        scene.autoCamera = false;
        break;
    case VK_LEFT:
        swingCamera(camera, 0.01f);
        updateCamera(camera);
        break;
    case VK_UP:
        dollyCamera(camera, 0.01f);
        updateCamera(camera);
        break;
    case VK_RIGHT:
        swingCamera(camera, -0.01f);
        updateCamera(camera);
        break;
    case VK_DOWN:
        dollyCamera(camera, -0.01f);
        updateCamera(camera);
        break;
    case VK_A:
        camera.eye.x = camera.eye.x + 0.1f;
        updateCamera(camera);
        break;
    case VK_D:
        camera.eye.x = camera.eye.x - 0.1f;
        updateCamera(camera);
        break;
    case VK_S:
        scene.castShadows = true;
        break;
    case VK_W:
        scene.castShadows = false;
        break;
    case VK_ADD:
        scene.normalMapping = true;
        break;
    case VK_SUBTRACT:
        scene.normalMapping = false;
        break;
    default:
        break;
    }
}
