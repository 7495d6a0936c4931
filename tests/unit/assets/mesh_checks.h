// Checks shared by the scene-asset tests: winding, closedness, texture
// orientation, and the loader's and shader's normal-mapping frame rebuilt
// from a triangle's written data.
#pragma once

#include <cmath>
#include <map>
#include <tuple>

#include "tools/assets/mesh_part.h"

namespace checks {

using namespace assets;

// File coordinates of the environment back to world coordinates: it is
// drawn turned 90 degrees about y.
inline Vec3 environmentToWorld(Vec3 p) {
    return {p.z, p.y, -p.x};
}

inline bool finite(Vec3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Sign of (dP/ds x dP/dt) . faceNormal for a triangle: positive when its
// texture keeps the face's orientation (s to the right and t up seen from
// the front), negative when mirrored, 0 when degenerate. Since
// dP/ds x dP/dt = (e1 x e2) / det, it is the sign of the texture triangle's
// signed area det, weighted here by the face's area.
inline float textureOrientation(const MeshPart& part, const Triangle& t) {
    Vec3 e1 = part.positions[t.b] - part.positions[t.a];
    Vec3 e2 = part.positions[t.c] - part.positions[t.a];
    Vec2 d1 = part.texCoords[t.b] - part.texCoords[t.a];
    Vec2 d2 = part.texCoords[t.c] - part.texCoords[t.a];
    float det = d1.x * d2.y - d2.x * d1.y;
    return det * length(cross(e1, e2));
}

// Number of directed edges (by position) that are not matched by exactly
// one edge running the other way: 0 for a closed, consistently wound
// surface.
inline int unmatchedEdges(const MeshPart& part) {
    auto key = [&](uint32_t i) {
        Vec3 p = part.positions[i];
        return std::make_tuple(std::lround(p.x * 1e4f), std::lround(p.y * 1e4f),
                               std::lround(p.z * 1e4f));
    };
    std::map<std::pair<decltype(key(0)), decltype(key(0))>, int> edges;
    for (const Triangle& t : part.triangles) {
        uint32_t corners[3] = {t.a, t.b, t.c};
        for (int k = 0; k < 3; ++k) {
            edges[{key(corners[k]), key(corners[(k + 1) % 3])}] += 1;
        }
    }
    int unmatched = 0;
    for (const auto& [edge, count] : edges) {
        auto reverse = edges.find({edge.second, edge.first});
        if (count != 1 || reverse == edges.end() || reverse->second != 1) {
            ++unmatched;
        }
    }
    return unmatched;
}

// The loader's face tangent: dP/du for the written coordinates vt = (-s, -t).
inline Vec3 loaderTangent(const MeshPart& part, const Triangle& t) {
    auto written = [&](uint32_t i) { return part.texCoords[i] * -1.0f; };
    Vec3 e1 = part.positions[t.b] - part.positions[t.a];
    Vec3 e2 = part.positions[t.c] - part.positions[t.a];
    Vec2 d1 = written(t.b) - written(t.a);
    Vec2 d2 = written(t.c) - written(t.a);
    float r = 1.0f / (d1.x * d2.y - d2.x * d1.y);
    return normalized((e1 * d2.y - e2 * d1.y) * r);
}

// The lit shader's perturbed normal for tangent-space vector m.
inline Vec3 shaderNormal(Vec3 normal, Vec3 tangent, Vec3 m) {
    Vec3 n = normalized(normal);
    Vec3 t = normalized(tangent - n * dot(n, tangent));
    Vec3 b = cross(n, t);
    return normalized(t * m.x + b * m.y + n * m.z);
}

} // namespace checks
