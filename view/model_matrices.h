// The per-frame matrix products every model needs from the viewer camera and
// the light: its model-view matrices and its shadow matrix. The donut and the
// meshes share them.
#pragma once

#include "math/matrix.h"
#include "view/camera.h"
#include "view/light.h"

// Maps clip coordinates in [-1, 1] to shadow-map texture space [0, 1]:
// scale 0.5, translate 0.5.
extern const Matrix biasMatrix;

// shadowMatrix = biasMatrix x camera projection x light view x inverse(camera
// view): from the viewer camera's eye space to the light's shadow-map texture
// space.
void computeShadowMatrix(Matrix& shadowMatrix, const Camera& camera, const Light& light);

// modelView = camera view x model and lightModelView = light view x model;
// each is left as it was while its camera or light is unset.
void computeModelViews(Matrix& modelView, Matrix& lightModelView, const Matrix& model,
                       const Camera* camera, const Light* light);
