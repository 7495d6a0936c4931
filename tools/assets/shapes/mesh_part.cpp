// Building, transforming and shading triangle meshes.
#include "tools/assets/shapes/mesh_part.h"

#include <cstring>
#include <unordered_map>

namespace assets {

namespace {

struct PositionKey {
    uint32_t x;
    uint32_t y;
    uint32_t z;
    bool operator==(const PositionKey&) const = default;
};

struct PositionKeyHash {
    size_t operator()(const PositionKey& key) const {
        return (static_cast<size_t>(key.x) * 73856093U) ^ (static_cast<size_t>(key.y) * 19349663U) ^
               (static_cast<size_t>(key.z) * 83492791U);
    }
};

uint32_t bitsOf(float value) {
    if (value == 0.0f) {
        value = 0.0f; // -0 and +0 are one position
    }
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

PositionKey keyOf(Vector3 p) {
    return {bitsOf(p.x), bitsOf(p.y), bitsOf(p.z)};
}

} // namespace

uint32_t MeshPart::addVertex(Vector3 position, Vec2 texCoord, Vector3 normal) {
    positions.push_back(position);
    texCoords.push_back(texCoord);
    normals.push_back(normal);
    return static_cast<uint32_t>(positions.size() - 1);
}

void append(MeshPart& to, const MeshPart& from) {
    const uint32_t base = static_cast<uint32_t>(to.positions.size());
    to.positions.insert(to.positions.end(), from.positions.begin(), from.positions.end());
    to.normals.insert(to.normals.end(), from.normals.begin(), from.normals.end());
    to.texCoords.insert(to.texCoords.end(), from.texCoords.begin(), from.texCoords.end());
    for (const Triangle& t : from.triangles) {
        to.triangles.push_back({t.a + base, t.b + base, t.c + base});
    }
}

void transform(MeshPart& part, const Matrix& map) {
    for (Vector3& p : part.positions) {
        p = applyToPoint(map, p);
    }
    const bool mirrors = dot(cross(column(map, 0), column(map, 1)), column(map, 2)) < 0.0f;
    for (Vector3& n : part.normals) {
        n = applyToNormal(map, n);
        if (mirrors) {
            n = -n;
        }
    }
    if (mirrors) {
        for (Triangle& t : part.triangles) {
            std::swap(t.b, t.c);
        }
    }
}

Vector3 faceNormal(const MeshPart& part, const Triangle& triangle) {
    Vector3 p0 = part.positions[triangle.a];
    Vector3 p1 = part.positions[triangle.b];
    Vector3 p2 = part.positions[triangle.c];
    return normalized(cross(p1 - p0, p2 - p0));
}

void smoothNormals(MeshPart& part) {
    std::unordered_map<PositionKey, Vector3, PositionKeyHash> sums;
    sums.reserve(part.positions.size());
    for (const Triangle& t : part.triangles) {
        Vector3 p0 = part.positions[t.a];
        Vector3 weighted = cross(part.positions[t.b] - p0, part.positions[t.c] - p0);
        for (uint32_t index : {t.a, t.b, t.c}) {
            sums[keyOf(part.positions[index])] += weighted;
        }
    }
    part.normals.resize(part.positions.size());
    for (size_t i = 0; i < part.positions.size(); ++i) {
        auto found = sums.find(keyOf(part.positions[i]));
        if (found != sums.end()) {
            part.normals[i] = normalized(found->second);
        }
    }
}

MeshPart selectTriangles(const MeshPart& part, const std::function<bool(Vector3)>& keep) {
    MeshPart selected;
    std::vector<int64_t> remap(part.positions.size(), -1);
    auto use = [&](uint32_t index) {
        if (remap[index] < 0) {
            remap[index] = selected.addVertex(part.positions[index], part.texCoords[index],
                                              part.normals[index]);
        }
        return static_cast<uint32_t>(remap[index]);
    };
    for (const Triangle& t : part.triangles) {
        Vector3 centroid =
            (part.positions[t.a] + part.positions[t.b] + part.positions[t.c]) * (1.0f / 3.0f);
        if (keep(centroid)) {
            uint32_t a = use(t.a);
            uint32_t b = use(t.b);
            uint32_t c = use(t.c);
            selected.addTriangle(a, b, c);
        }
    }
    return selected;
}

Bounds bounds(const MeshPart& part) {
    Bounds b;
    for (const Vector3& p : part.positions) {
        b.min = {std::min(b.min.x, p.x), std::min(b.min.y, p.y), std::min(b.min.z, p.z)};
        b.max = {std::max(b.max.x, p.x), std::max(b.max.y, p.y), std::max(b.max.z, p.z)};
    }
    return b;
}

void extend(Bounds& b, const Bounds& other) {
    b.min = {std::min(b.min.x, other.min.x), std::min(b.min.y, other.min.y),
             std::min(b.min.z, other.min.z)};
    b.max = {std::max(b.max.x, other.max.x), std::max(b.max.y, other.max.y),
             std::max(b.max.z, other.max.z)};
}

} // namespace assets
