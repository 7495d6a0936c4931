// The viewer camera and the light's camera.
//
// A Camera keeps its eye, center and up together with the projection
// parameters, and caches the view and projection matrices that the models
// read every frame. Moving a camera does not recompute its matrices; call
// updateCamera afterwards.
#pragma once

#include <cstdint>

#include "math/matrix.h"
#include "math/vector3.h"

struct Camera {
    Vector3 eye{0.0f, 0.0f, 0.0f};
    Vector3 center{0.0f, 0.0f, 0.0f};
    Vector3 up{0.0f, 1.0f, 0.0f};
    // Defined before the first reshape so the first updateCamera never divides
    // by zero: the same perspective the window gets at 1024 x 800.
    float fieldOfView = 40.0f;
    uint32_t width = 1024;
    uint32_t height = 800;
    float zNear = 1.0f;
    float zFar = 200.0f;
    Matrix viewMatrix;
    Matrix projectionMatrix;
};

// Recomputes viewMatrix (look-at) and projectionMatrix (perspective with
// aspect width / height).
void updateCamera(Camera& camera);

// Copies the camera's projection matrix into destination.
void copyProjection(const Camera& camera, Matrix& destination);

// Moves the eye by the fraction s of the way towards the center (negative s
// moves it away). The center stays.
void dollyCamera(Camera& camera, float s);

// Swings the eye sideways by the fraction s, one axis after the other, each
// line using the values the line before left.
void swingCamera(Camera& camera, float s);
