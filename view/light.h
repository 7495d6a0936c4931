// The light that casts the shadows.
//
// Its position is its camera's eye; its camera's view matrix is the light
// view of the shadow pass. The light camera's projection is never used: the
// shadow pass projects with the viewer camera's projection.
#pragma once

#include "view/camera.h"

struct Light {
    Camera camera;
};
