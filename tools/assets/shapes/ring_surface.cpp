// Grids of quads between rings of vertices: the basis of spheres, tubes,
// discs and the dome.
#include <cmath>

#include "tools/assets/shapes/shapes.h"

namespace assets {

void addGridTriangles(MeshPart& part, uint32_t firstVertex, int rows, int columns) {
    auto index = [&](int r, int c) { return firstVertex + static_cast<uint32_t>(r * columns + c); };
    auto addIfProper = [&](uint32_t a, uint32_t b, uint32_t c) {
        const auto& p = part.positions;
        bool collapsed = (p[a].x == p[b].x && p[a].y == p[b].y && p[a].z == p[b].z) ||
                         (p[b].x == p[c].x && p[b].y == p[c].y && p[b].z == p[c].z) ||
                         (p[a].x == p[c].x && p[a].y == p[c].y && p[a].z == p[c].z);
        if (!collapsed) {
            part.addTriangle(a, b, c);
        }
    };
    for (int r = 0; r + 1 < rows; ++r) {
        for (int c = 0; c + 1 < columns; ++c) {
            addIfProper(index(r, c), index(r, c + 1), index(r + 1, c + 1));
            addIfProper(index(r, c), index(r + 1, c + 1), index(r + 1, c));
        }
    }
}

MeshPart ringSurface(const std::vector<Ring>& rings, int segments, float sRepeat) {
    MeshPart part;
    for (const Ring& ring : rings) {
        Vector3 first;
        for (int j = 0; j <= segments; ++j) {
            float a = twoPi * static_cast<float>(j) / static_cast<float>(segments);
            Vector3 p = ring.center + ring.axisX * (ring.radiusX * std::cos(a)) +
                        ring.axisY * (ring.radiusY * std::sin(a));
            if (j == 0) {
                first = p;
            } else if (j == segments) {
                p = first; // the seam closes exactly
            }
            part.addVertex(
                p, {sRepeat * static_cast<float>(j) / static_cast<float>(segments), ring.t});
        }
    }
    addGridTriangles(part, 0, static_cast<int>(rings.size()), segments + 1);
    return part;
}

MeshPart makeSphere(int segments, int rings) {
    std::vector<Ring> list;
    for (int k = 0; k <= rings; ++k) {
        float polar = pi * static_cast<float>(k) / static_cast<float>(rings);
        Ring ring;
        ring.center = {0.0f, -std::cos(polar), 0.0f};
        // axisX x axisY = +y; angle 0 at the back (-z), so s = 0.5 faces +z.
        ring.axisX = {0.0f, 0.0f, -1.0f};
        ring.axisY = {-1.0f, 0.0f, 0.0f};
        float radius = (k == 0 || k == rings) ? 0.0f : std::sin(polar);
        ring.radiusX = radius;
        ring.radiusY = radius;
        if (k == 0) {
            ring.center.y = -1.0f;
        } else if (k == rings) {
            ring.center.y = 1.0f;
        }
        ring.t = static_cast<float>(k) / static_cast<float>(rings);
        list.push_back(ring);
    }
    MeshPart part = ringSurface(list, segments, 1.0f);
    smoothNormals(part);
    return part;
}

} // namespace assets
