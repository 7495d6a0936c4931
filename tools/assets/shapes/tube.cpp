// Tubes swept along a path, with frames carried along the path without
// twisting (parallel transport) and rounded or flat end caps.
#include <cmath>

#include "tools/assets/shapes/shapes.h"

namespace assets {

namespace {

// Turns v about the unit axis by angle (radians).
Vector3 rotateAbout(Vector3 v, Vector3 axis, float angle) {
    float c = std::cos(angle);
    float s = std::sin(angle);
    return v * c + cross(axis, v) * s + axis * (dot(axis, v) * (1.0f - c));
}

} // namespace

float capLength(float radius, const TubeOptions& options) {
    return options.capRings > 0 ? 0.5f * pi * radius * std::max(options.capScale, 0.3f) : radius;
}

MeshPart makeTube(const std::vector<Vector3>& path, const std::vector<float>& radii,
                  const TubeOptions& options) {
    const size_t n = path.size();
    std::vector<Vector3> directions(n);
    for (size_t k = 0; k < n; ++k) {
        Vector3 ahead = path[std::min(k + 1, n - 1)];
        Vector3 behind = path[k == 0 ? 0 : k - 1];
        directions[k] = normalized(ahead - behind);
    }
    std::vector<float> arc(n, 0.0f);
    for (size_t k = 1; k < n; ++k) {
        arc[k] = arc[k - 1] + length(path[k] - path[k - 1]);
    }
    const float total = arc[n - 1] > 0.0f ? arc[n - 1] : 1.0f;

    std::vector<Ring> body;
    Vector3 axisX = normalized(options.side - directions[0] * dot(directions[0], options.side));
    for (size_t k = 0; k < n; ++k) {
        Vector3 d = directions[k];
        axisX = normalized(axisX - d * dot(d, axisX));
        float twist = options.twistDegrees * pi / 180.0f * arc[k] / total;
        Vector3 x = rotateAbout(axisX, d, twist);
        Ring ring;
        ring.center = path[k];
        ring.axisX = x;
        ring.axisY = cross(d, x);
        ring.radiusX = radii[k];
        ring.radiusY = radii[k] * options.flatten;
        ring.t = options.tStart + arc[k] * options.tPerUnit;
        body.push_back(ring);
    }

    // Caps: quarter circles of rings closing in on a pole.
    auto cap = [&](const Ring& end, Vector3 outward, float tDirection) {
        std::vector<Ring> rings;
        const int count = std::max(options.capRings, 1);
        float radius = end.radiusX;
        for (int i = 1; i <= count; ++i) {
            float angle = 0.5f * pi * static_cast<float>(i) / static_cast<float>(count);
            Ring ring = end;
            float along = options.capRings > 0 ? options.capScale * radius * std::sin(angle) : 0.0f;
            float shrink = i == count ? 0.0f : std::cos(angle);
            ring.center = end.center + outward * along;
            ring.radiusX = end.radiusX * shrink;
            ring.radiusY = end.radiusY * shrink;
            ring.t = end.t + tDirection * capLength(radius, options) * angle / (0.5f * pi) *
                                 options.tPerUnit;
            rings.push_back(ring);
        }
        return rings;
    };
    std::vector<Ring> rings;
    std::vector<Ring> start = cap(body.front(), -directions.front(), -1.0f);
    rings.insert(rings.end(), start.rbegin(), start.rend());
    rings.insert(rings.end(), body.begin(), body.end());
    std::vector<Ring> end = cap(body.back(), directions.back(), 1.0f);
    rings.insert(rings.end(), end.begin(), end.end());

    MeshPart part = ringSurface(rings, options.segments, options.sRepeat);
    smoothNormals(part);
    return part;
}

} // namespace assets
