// Triangle meshes under construction.
//
// A MeshPart holds per-vertex positions, normals and texture positions
// (s, t), the point of the texture that the GPU should sample there, and
// counter-clockwise triangles (seen from the front). The OBJ writer turns
// (s, t) into the written vt = (-s, -t).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/assets/base/affine.h"
#include "tools/assets/base/vectors.h"

namespace assets {

struct Triangle {
    uint32_t a = 0;
    uint32_t b = 0;
    uint32_t c = 0;
};

struct MeshPart {
    std::vector<Vector3> positions;
    std::vector<Vector3> normals;
    std::vector<Vec2> texCoords;
    std::vector<Triangle> triangles;

    uint32_t addVertex(Vector3 position, Vec2 texCoord, Vector3 normal = {});
    void addTriangle(uint32_t a, uint32_t b, uint32_t c) { triangles.push_back({a, b, c}); }
};

struct Bounds {
    Vector3 min{1e30f, 1e30f, 1e30f};
    Vector3 max{-1e30f, -1e30f, -1e30f};
};

// Appends the vertices and triangles of from to to.
void append(MeshPart& to, const MeshPart& from);

// Moves positions through map and normals through its inverse transpose.
// A map that mirrors (negative determinant) also reverses the windings.
void transform(MeshPart& part, const Matrix& map);

// Vertex normals as area-weighted averages of the face normals of every
// triangle that touches a vertex at the same position, so seams and poles of
// a closed shape shade smoothly.
void smoothNormals(MeshPart& part);

// The triangles for which keep(centroid) holds, with the vertices they use.
MeshPart selectTriangles(const MeshPart& part, const std::function<bool(Vector3)>& keep);

// Unit normal of a triangle from its winding; zero for a degenerate one.
Vector3 faceNormal(const MeshPart& part, const Triangle& triangle);

Bounds bounds(const MeshPart& part);
void extend(Bounds& bounds, const Bounds& other);

} // namespace assets
