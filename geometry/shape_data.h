// CPU arrays of a generated shape, and the torus generator.
#pragma once

#include <cstdint>

// Separate, tightly packed arrays, each ready for one GL buffer: positions
// x, y, z, w (w = 1), normals and tangents x, y, z, texture coordinates s, t.
// Allocated with malloc by the generator, released by destroyShape.
struct ShapeData {
    float* positions = nullptr;
    float* normals = nullptr;
    float* tangents = nullptr;
    float* texCoords = nullptr;
    uint32_t* indices = nullptr;
    uint32_t numberVertices = 0;
    uint32_t numberIndices = 0;
};

// Fills an empty shape with a 33 x 33-vertex torus around the z axis: ring
// of tube centres of radius ringRadius in the z = 0 plane, tube radius
// tubeRadius, 6144 indices of counter-clockwise triangles. A null shape does
// nothing.
void createTorus(ShapeData* shape, float tubeRadius, float ringRadius);

// Frees the arrays and zeroes the counts; safe on a null or empty shape.
void destroyShape(ShapeData* shape);
