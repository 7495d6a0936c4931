// The donut: the torus placed in the scene with its colour texture, normal
// map, GL buffers and per-frame matrices.
#pragma once

#include <cstdint>

#include "geometry/shape_data.h"
#include "math/matrix.h"
#include "math/vector3.h"
#include "resources/gl_api.h"

struct Camera;
struct Light;
struct ShaderProgram;

struct DonutModel {
    ShapeData shape;
    Matrix shadowMatrix;
    Matrix modelMatrix;
    Matrix modelViewMatrix;
    Matrix lightModelViewMatrix;
    Vector3 position{-2.0f, 2.0f, 5.5f};
    Vector3 rotation{90.0f, -90.0f, 0.0f}; // degrees about x, y and z
    const Light* light = nullptr;
    const Camera* camera = nullptr;
    GLuint textureId = 0;
    GLuint normalMapId = 0;
    bool useNormalMapping = false;
    bool useTexture = false;
    GLuint litVertexArray = 0;
    GLuint depthVertexArray = 0;
    GLuint positionBuffer = 0;
    GLuint normalBuffer = 0;
    GLuint tangentBuffer = 0;
    GLuint texCoordBuffer = 0;
    GLuint indexBuffer = 0;
    // Kept apart from the shape's count, which the upload clears.
    uint32_t indexCount = 0;
};

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
