// The torus generator: a fixed 33 x 33 grid of vertices around the z axis
// with positions, normals, tangents and texture coordinates, and a triangle
// list of 6144 indices, in separate malloc'd arrays ready for GL buffers.
// No GL here.
//
// Every value is single precision and computed the same way on every build:
// the grid parameters are sums of 1/32 (all exact), angles are the float 2 pi
// times a parameter, and cos and sin run in double and are rounded once.
#include "geometry/shape_data.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr float twoPi = 6.2831855f;
constexpr uint32_t segments = 32;
constexpr uint32_t side = segments + 1; // vertices per ring and per tube circle
constexpr float step = 0.03125f;        // 1 / segments

float cosine(float angle) {
    return static_cast<float>(std::cos(static_cast<double>(angle)));
}

float sine(float angle) {
    return static_cast<float>(std::sin(static_cast<double>(angle)));
}

void writeVertex(ShapeData& shape, uint32_t v, float cosTheta, float sinTheta, float cosPhi,
                 float sinPhi, float s, float t, float tubeRadius, float ringRadius) {
    const float r = tubeRadius * cosPhi + ringRadius;
    float* position = shape.positions + 4 * v;
    position[0] = cosTheta * r;
    position[1] = sinTheta * r;
    position[2] = tubeRadius * sinPhi;
    position[3] = 1.0f;

    float* normal = shape.normals + 3 * v;
    normal[0] = cosTheta * cosPhi;
    normal[1] = sinTheta * cosPhi;
    normal[2] = sinPhi;

    // normal x (0, 1, 0), left unnormalised: the lit shader normalises what
    // it interpolates. Only an exactly zero tangent is replaced.
    float* tangent = shape.tangents + 3 * v;
    tangent[0] = -normal[2];
    tangent[1] = 0.0f;
    tangent[2] = normal[0];
    const float length =
        std::sqrt(tangent[0] * tangent[0] + tangent[1] * tangent[1] + tangent[2] * tangent[2]);
    if (length == 0.0f) {
        tangent[0] = 1.0f;
        tangent[1] = 0.0f;
        tangent[2] = 0.0f;
    }

    float* texCoord = shape.texCoords + 2 * v;
    texCoord[0] = s;
    texCoord[1] = t;
}

} // namespace

void createTorus(ShapeData* shape, float tubeRadius, float ringRadius) {
    if (shape == nullptr) {
        return;
    }
    // Arrays the record still holds are not released: the caller empties it.
    *shape = ShapeData{};
    const uint32_t vertexCount = side * side;
    const uint32_t indexCount = segments * segments * 6;
    shape->positions = static_cast<float*>(malloc(vertexCount * 4 * sizeof(float)));
    shape->normals = static_cast<float*>(malloc(vertexCount * 3 * sizeof(float)));
    shape->tangents = static_cast<float*>(malloc(vertexCount * 3 * sizeof(float)));
    shape->texCoords = static_cast<float*>(malloc(vertexCount * 2 * sizeof(float)));
    shape->indices = static_cast<uint32_t*>(malloc(indexCount * sizeof(uint32_t)));
    if (shape->positions == nullptr || shape->normals == nullptr || shape->tangents == nullptr ||
        shape->texCoords == nullptr || shape->indices == nullptr) {
        // Out of memory: an empty shape uploads and draws nothing.
        destroyShape(shape);
        return;
    }
    shape->numberVertices = vertexCount;
    shape->numberIndices = indexCount;

    uint32_t v = 0;
    float t = 0.0f;
    for (uint32_t ring = 0; ring < side; ++ring, t += step) {
        const float theta = twoPi * t;
        const float cosTheta = cosine(theta);
        const float sinTheta = sine(theta);
        float s = 0.0f;
        for (uint32_t tube = 0; tube < side; ++tube, s += step) {
            const float phi = twoPi * s;
            writeVertex(*shape, v++, cosTheta, sinTheta, cosine(phi), sine(phi), s, t, tubeRadius,
                        ringRadius);
        }
    }

    // Counter-clockwise seen from outside, so front faces point outward.
    uint32_t* index = shape->indices;
    for (uint32_t ring = 0; ring < segments; ++ring) {
        for (uint32_t tube = 0; tube < segments; ++tube) {
            const uint32_t here = side * ring + tube;
            const uint32_t next = here + side;
            *index++ = here;
            *index++ = next;
            *index++ = next + 1;
            *index++ = here;
            *index++ = next + 1;
            *index++ = here + 1;
        }
    }
}

void destroyShape(ShapeData* shape) {
    if (shape == nullptr) {
        return;
    }
    free(shape->positions);
    free(shape->normals);
    free(shape->tangents);
    free(shape->texCoords);
    free(shape->indices);
    *shape = ShapeData{};
}
