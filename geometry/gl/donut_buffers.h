// The donut on the GPU: its buffers on the shared model path, its placement
// (rotated about its own centre, then moved) and its draws in the depth and
// the lit pass.
#pragma once

#include "geometry/donut.h"
#include "math/matrix.h"

struct ShaderProgram;

// Generates the vertex arrays and buffers; needs a current GL context.
DonutModel createDonut();

// Fills the buffers from the shape, releases the shape, sets up both vertex
// arrays and binds the two textures to units 1 and 2 (unit 2 left active).
// Attributes whose location is -1 are not set up.
void uploadDonut(DonutModel& donut, const ShaderProgram& depthProgram,
                 const ShaderProgram& textureProgram);

// Deletes the buffers and vertex arrays; safe to call again. The textures
// belong to the scene and stay.
void releaseDonut(DonutModel& donut);

// modelMatrix = T(position) x R(rotation); the model-view matrices from the
// donut's camera and light (each left as it was while its reference is unset).
void updateDonutMatrices(DonutModel& donut);

// shadowMatrix = bias x camera projection x light view x inverse(camera view).
void updateDonutShadowMatrix(DonutModel& donut);

Matrix& copyModelMatrix(const DonutModel& donut, Matrix& destination);
Matrix& copyModelViewMatrix(const DonutModel& donut, Matrix& destination);
Matrix& copyLightModelViewMatrix(const DonutModel& donut, Matrix& destination);

// The draws of the two passes, with the matching program in use, sending the
// matrices given: the frame hands over its staged copies of the donut's own.
// With a program that failed to build (name 0) nothing is set or drawn.
void drawDonutDepth(const DonutModel& donut, const ShaderProgram& depthProgram,
                    const Matrix& modelMatrix, const Matrix& lightModelViewMatrix);
void drawDonutLit(const DonutModel& donut, const ShaderProgram& textureProgram,
                  const Matrix& shadowMatrix, const Matrix& modelViewMatrix);
