// The light that casts the shadows.
//
// Its position is its camera's eye; its camera's view matrix is the light
// view of the shadow pass. The light camera's projection is never used: the
// shadow pass projects with the viewer camera's projection.
#pragma once

#include "view/camera.h"

// The lit pass's light: the fixed overhead light the environment model is lit
// from, and the ambient and specular terms every part gets (r, g, b, a).
constexpr Vector3 overheadLightPosition{0.0f, 25.0f, 0.0f};
constexpr float ambientLight[4] = {0.2f, 0.2f, 0.2f, 1.0f};
constexpr float specularLight[4] = {0.7f, 0.7f, 0.7f, 1.0f};

struct Light {
    Camera camera;
};
