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

// The view the program starts with: the window's client size before its first
// reshape (framework/window_desc.h gives the window the same one), and the
// perspective every reshape sets, in degrees and world units.
constexpr uint32_t defaultViewWidth = 1024;
constexpr uint32_t defaultViewHeight = 800;
constexpr float defaultFieldOfView = 40.0f;
constexpr float defaultZNear = 1.0f;
constexpr float defaultZFar = 200.0f;

struct Camera {
    Vector3 eye{0.0f, 0.0f, 0.0f};
    Vector3 center{0.0f, 0.0f, 0.0f};
    Vector3 up{0.0f, 1.0f, 0.0f};
    // Defined before the first reshape so the first updateCamera never divides
    // by zero: the same perspective the window gets at its starting size.
    float fieldOfView = defaultFieldOfView;
    uint32_t width = defaultViewWidth;
    uint32_t height = defaultViewHeight;
    float zNear = defaultZNear;
    float zFar = defaultZFar;
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
