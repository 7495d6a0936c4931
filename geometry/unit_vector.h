// Unit vectors for normals and tangents, computed as the reciprocal of the
// length times each component, in single precision.
//
// A zero vector stays zero rather than turning into NaN. A finite vector
// whose squared length under- or overflows a float is first scaled by its
// largest component, so it still comes out with unit length. Non-finite
// components give non-finite results, as computed.
#pragma once

#include <cmath>

#include "math/vector3.h"

inline Vector3 scaledBy(const Vector3& v, float factor) {
    return {v.x * factor, v.y * factor, v.z * factor};
}

inline bool isFinite(const Vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

inline bool isZero(const Vector3& v) {
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

inline Vector3 unitOrZero(const Vector3& v) {
    const float lengthSquared = v.x * v.x + v.y * v.y + v.z * v.z;
    if ((lengthSquared > 0.0f && lengthSquared <= 3.4028235e38f) || !isFinite(v)) {
        return scaledBy(v, 1.0f / std::sqrt(lengthSquared));
    }
    if (isZero(v)) {
        return v;
    }
    const float largest = std::fmax(std::fabs(v.x), std::fmax(std::fabs(v.y), std::fabs(v.z)));
    const Vector3 w{v.x / largest, v.y / largest, v.z / largest};
    return scaledBy(w, 1.0f / std::sqrt(w.x * w.x + w.y * w.y + w.z * w.z));
}
