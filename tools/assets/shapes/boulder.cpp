// Stones: noisy icospheres with box-projected texture coordinates.
#include <array>
#include <cmath>
#include <map>

#include "tools/assets/base/noise.h"
#include "tools/assets/shapes/shapes.h"

namespace assets {

namespace {

struct IndexedMesh {
    std::vector<Vector3> points;
    std::vector<std::array<uint32_t, 3>> faces;
};

IndexedMesh icosphere(int subdivisions) {
    const float g = (1.0f + std::sqrt(5.0f)) * 0.5f;
    IndexedMesh mesh;
    mesh.points = {{-1, g, 0},  {1, g, 0},  {-1, -g, 0}, {1, -g, 0}, {0, -1, g},  {0, 1, g},
                   {0, -1, -g}, {0, 1, -g}, {g, 0, -1},  {g, 0, 1},  {-g, 0, -1}, {-g, 0, 1}};
    for (Vector3& p : mesh.points) {
        p = normalized(p);
    }
    mesh.faces = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                  {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                  {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                  {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};
    for (int level = 0; level < subdivisions; ++level) {
        std::map<std::pair<uint32_t, uint32_t>, uint32_t> middles;
        auto middle = [&](uint32_t a, uint32_t b) {
            auto key = std::minmax(a, b);
            auto found = middles.find(key);
            if (found != middles.end()) {
                return found->second;
            }
            mesh.points.push_back(normalized(mesh.points[a] + mesh.points[b]));
            uint32_t index = static_cast<uint32_t>(mesh.points.size() - 1);
            middles.emplace(key, index);
            return index;
        };
        std::vector<std::array<uint32_t, 3>> finer;
        for (const auto& f : mesh.faces) {
            uint32_t ab = middle(f[0], f[1]);
            uint32_t bc = middle(f[1], f[2]);
            uint32_t ca = middle(f[2], f[0]);
            finer.push_back({f[0], ab, ca});
            finer.push_back({f[1], bc, ab});
            finer.push_back({f[2], ca, bc});
            finer.push_back({ab, bc, ca});
        }
        mesh.faces = std::move(finer);
    }
    return mesh;
}

} // namespace

Vec2 boxProjection(Vector3 p, Vector3 n, float tPerUnit) {
    float ax = std::abs(n.x);
    float ay = std::abs(n.y);
    float az = std::abs(n.z);
    Vec2 st;
    if (ay >= ax && ay >= az) {
        st = n.y > 0.0f ? Vec2{p.x, -p.z} : Vec2{p.x, p.z};
    } else if (ax >= az) {
        st = n.x > 0.0f ? Vec2{-p.z, p.y} : Vec2{p.z, p.y};
    } else {
        st = n.z > 0.0f ? Vec2{p.x, p.y} : Vec2{-p.x, p.y};
    }
    return st * tPerUnit;
}

MeshPart makeBoulder(uint32_t stream, Vector3 radii, float roughness, int subdivisions,
                     float tPerUnit) {
    IndexedMesh mesh = icosphere(subdivisions);
    for (Vector3& p : mesh.points) {
        float bump = fractalNoise3(p * 1.7f + Vector3{0.37f, 0.11f, 0.73f}, 4, stream) - 0.5f;
        float facet = valueNoise3(p * 4.0f, stream + 17U) - 0.5f;
        p = p * (1.0f + roughness * (2.0f * bump + 0.4f * facet)) * radii;
    }
    // Smooth normals on the shared vertices, then one vertex per corner so
    // each face can take its own projection.
    std::vector<Vector3> normals(mesh.points.size());
    for (const auto& f : mesh.faces) {
        Vector3 weighted =
            cross(mesh.points[f[1]] - mesh.points[f[0]], mesh.points[f[2]] - mesh.points[f[0]]);
        for (uint32_t index : f) {
            normals[index] += weighted;
        }
    }
    MeshPart part;
    for (const auto& f : mesh.faces) {
        Vector3 faceN =
            cross(mesh.points[f[1]] - mesh.points[f[0]], mesh.points[f[2]] - mesh.points[f[0]]);
        uint32_t corners[3];
        for (int k = 0; k < 3; ++k) {
            Vector3 p = mesh.points[f[k]];
            corners[k] =
                part.addVertex(p, boxProjection(p, faceN, tPerUnit), normalized(normals[f[k]]));
        }
        part.addTriangle(corners[0], corners[1], corners[2]);
    }
    return part;
}

} // namespace assets
