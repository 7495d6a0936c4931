// Affine maps of 3D space: p -> origin + x p.x + y p.y + z p.z.
//
// Used to place, turn and stretch shapes. Angles are in degrees; rotations
// are right-handed about the named axis.
#pragma once

#include <cmath>

#include "tools/assets/base/vectors.h"

namespace assets {

struct Affine {
    Vector3 x{1.0f, 0.0f, 0.0f};
    Vector3 y{0.0f, 1.0f, 0.0f};
    Vector3 z{0.0f, 0.0f, 1.0f};
    Vector3 origin;

    Vector3 applyToPoint(Vector3 p) const { return origin + x * p.x + y * p.y + z * p.z; }
    Vector3 applyToVector(Vector3 v) const { return x * v.x + y * v.y + z * v.z; }
    // Normals go through the inverse transpose; the cofactor matrix has the
    // same direction for any map that keeps orientation.
    Vector3 applyToNormal(Vector3 n) const {
        Vector3 cx = cross(y, z);
        Vector3 cy = cross(z, x);
        Vector3 cz = cross(x, y);
        return normalized(cx * n.x + cy * n.y + cz * n.z);
    }
};

// a after b: p -> a(b(p)).
inline Affine operator*(const Affine& a, const Affine& b) {
    return {a.applyToVector(b.x), a.applyToVector(b.y), a.applyToVector(b.z),
            a.applyToPoint(b.origin)};
}

inline Affine translation(Vector3 offset) {
    return {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, offset};
}

inline Affine scaling(Vector3 factors) {
    return {{factors.x, 0, 0}, {0, factors.y, 0}, {0, 0, factors.z}, {}};
}

inline Affine rotationY(float degrees) {
    float c = std::cos(degrees * pi / 180.0f);
    float s = std::sin(degrees * pi / 180.0f);
    return {{c, 0, -s}, {0, 1, 0}, {s, 0, c}, {}};
}

inline Affine rotationZ(float degrees) {
    float c = std::cos(degrees * pi / 180.0f);
    float s = std::sin(degrees * pi / 180.0f);
    return {{c, s, 0}, {-s, c, 0}, {0, 0, 1}, {}};
}

} // namespace assets
