#include "view/model_matrices.h"

const Matrix biasMatrix = {{
    0.5f, 0.0f, 0.0f, 0.0f, //
    0.0f, 0.5f, 0.0f, 0.0f, //
    0.0f, 0.0f, 0.5f, 0.0f, //
    0.5f, 0.5f, 0.5f, 1.0f, //
}};

void computeShadowMatrix(Matrix& shadowMatrix, const Camera& camera, const Light& light) {
    // A singular camera view leaves some matrix in cameraToWorld; a view
    // from lookAt is always invertible, so the flag is not consulted.
    Matrix cameraToWorld;
    inverse(cameraToWorld, camera.viewMatrix);
    identity(shadowMatrix);
    multiply(shadowMatrix, shadowMatrix, biasMatrix);
    multiply(shadowMatrix, shadowMatrix, camera.projectionMatrix);
    multiply(shadowMatrix, shadowMatrix, light.camera.viewMatrix);
    multiply(shadowMatrix, shadowMatrix, cameraToWorld);
}

void computeModelViews(Matrix& modelView, Matrix& lightModelView, const Matrix& model,
                       const Camera* camera, const Light* light) {
    if (camera != nullptr)
        multiply(modelView, camera->viewMatrix, model);
    if (light != nullptr)
        multiply(lightModelView, light->camera.viewMatrix, model);
}
