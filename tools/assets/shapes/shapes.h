// Shape generators for the default scene.
//
// Every generator returns a MeshPart with counter-clockwise triangles seen
// from the front (outside for solids, inside for the sky dome) and texture
// positions (s, t) laid out with dP/ds x dP/dt pointing to the front, the
// orientation the normal maps are encoded for (normal_map.h). Solids are
// closed, so they also cast shadows from the light's back-face pass.
#pragma once

#include <functional>
#include <vector>

#include "tools/assets/shapes/mesh_part.h"

namespace assets {

// Triangles over a rows x columns grid of vertices stored row by row from
// firstVertex: cell (r, c) becomes (r, c) (r, c+1) (r+1, c+1) and
// (r, c) (r+1, c+1) (r+1, c). Triangles with two corners at one position
// (at a pole or the centre of a disc) are left out.
void addGridTriangles(MeshPart& part, uint32_t firstVertex, int rows, int columns);

// One cross-section of a swept surface: the ring point at angle a is
// center + axisX radiusX cos a + axisY radiusY sin a. axisX x axisY must
// point towards the next ring, so the surface faces outward. Radii 0 make a
// pole.
struct Ring {
    Vector3 center;
    Vector3 axisX{1.0f, 0.0f, 0.0f};
    Vector3 axisY{0.0f, 1.0f, 0.0f};
    float radiusX = 0.0f;
    float radiusY = 0.0f;
    float t = 0.0f;
};

// The surface through rings, segments quads around; s = sRepeat x a / 2 pi.
// Normals are left for the caller (smoothNormals).
MeshPart ringSurface(const std::vector<Ring>& rings, int segments, float sRepeat);

// Unit sphere around the origin with poles on the y axis: t runs from 0 at
// the bottom pole to 1 at the top, s = 0.5 faces +z (the seam is at the
// back). Smooth normals.
MeshPart makeSphere(int segments, int rings);

struct TubeOptions {
    int segments = 12;
    float flatten = 1.0f;           // radiusY / radiusX of the cross-section
    Vector3 side{1.0f, 0.0f, 0.0f}; // where axisX points at the first ring
    float twistDegrees = 0.0f;      // turn of the cross-section along the path
    float sRepeat = 1.0f;
    float tPerUnit = 1.0f; // texture t per unit of path length
    float tStart = 0.0f;
    int capRings = 4;      // rounded ends; 0 closes each end with a flat fan
    float capScale = 1.0f; // how far a rounded cap reaches, in radii
};

// A tube along path (at least two points) with a radius per point, closed
// by rounded caps (flat fans with capRings 0). s goes round the
// cross-section, counter-clockwise about the path's direction; t runs along
// the path. Smooth normals.
MeshPart makeTube(const std::vector<Vector3>& path, const std::vector<float>& radii,
                  const TubeOptions& options);

// Texture length (before tPerUnit) a cap of the given radius adds to a tube:
// t runs from tStart - capLength(first radius) x tPerUnit to the end's t +
// capLength(last radius) x tPerUnit.
float capLength(float radius, const TubeOptions& options);

// Maps a point of box face `face` (0..5: +x, -x, +y, -y, +z, -z) given in
// face units (0..size.x along the face's s direction, 0..size.y along t) to
// the texture position.
using BoxMapping = std::function<Vec2(int face, Vec2 local, Vec2 size)>;

// An axis-aligned box, each face a grid of cells no larger than cellSize,
// with flat normals. Face directions (s, t): +x (-z, +y), -x (+z, +y),
// +y (+x, -z), -y (+x, +z), +z (+x, +y), -z (-x, +y).
MeshPart makeBox(Vector3 min, Vector3 max, float cellSize, const BoxMapping& mapping);

// A height field over a disc: rings at the given radii (the first may be 0,
// the centre) and segments around, azimuth a turning from +x towards +z.
// height, normal and texCoord are evaluated per vertex; texCoord also gets
// the radius and azimuth. Faces up.
struct HeightField {
    std::function<float(float x, float z)> height;
    std::function<Vector3(float x, float z)> normal;
    std::function<Vec2(float x, float z, float radius, float azimuth)> texCoord;
};
MeshPart makeDiscField(const std::vector<float>& radii, int segments, const HeightField& field);

// The inside of a sphere of the given radius from elevation lowestDegrees up
// to the zenith, facing its centre. texCoord gets azimuth (radians, turning
// from +x towards +z) and elevation (degrees). Normals point to the centre.
MeshPart makeDome(float radius, float lowestDegrees, int segments, int rings,
                  const std::function<Vec2(float azimuth, float elevation)>& texCoord);

// A lumpy stone: an icosphere subdivided `subdivisions` times, pushed in and
// out by fractal noise of the given roughness (fraction of the radius) and
// stretched by radii. Smooth normals; textures projected along the box axis
// nearest each face's normal, tPerUnit texture units per unit length.
MeshPart makeBoulder(uint32_t stream, Vector3 radii, float roughness, int subdivisions,
                     float tPerUnit);

// Texture position of point p projected along the axis nearest to normal n,
// oriented so that dP/ds x dP/dt points along n.
Vec2 boxProjection(Vector3 p, Vector3 n, float tPerUnit);

} // namespace assets
