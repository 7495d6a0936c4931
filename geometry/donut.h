// The donut: the generated torus placed in the scene, with the names of its
// colour texture, normal map and GL buffers once uploaded, and its per-frame
// matrices. The record needs no GL; uploading, placing and drawing are in
// geometry/gl/donut_buffers.h.
#pragma once

#include <cstdint>

#include "geometry/shape_data.h"
#include "math/matrix.h"
#include "math/vector3.h"

struct Camera;
struct Light;

struct DonutModel {
    ShapeData shape;
    Matrix shadowMatrix;
    Matrix modelMatrix;
    Matrix modelViewMatrix;
    Matrix lightModelViewMatrix;
    // Where the scene places it: lying flat beside the figures.
    Vector3 position{-2.0f, 2.0f, 5.5f};
    Vector3 rotation{90.0f, -90.0f, 0.0f}; // degrees about x, y and z
    const Light* light = nullptr;
    const Camera* camera = nullptr;
    // GL names; 0 for none.
    uint32_t textureId = 0;
    uint32_t normalMapId = 0;
    bool useNormalMapping = false;
    bool useTexture = false;
    uint32_t litVertexArray = 0;
    uint32_t depthVertexArray = 0;
    uint32_t positionBuffer = 0;
    uint32_t normalBuffer = 0;
    uint32_t tangentBuffer = 0;
    uint32_t texCoordBuffer = 0;
    uint32_t indexBuffer = 0;
    // Kept apart from the shape's count, which the upload clears.
    uint32_t indexCount = 0;
};
