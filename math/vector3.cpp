// Three-component float vectors: the normalisation and cross product that the
// view matrix is built from.
#include "math/vector3.h"

#include <cmath>

void normalize(Vector3& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    // Exactly zero only: a looking direction parallel to up must stay zero
    // rather than turn into NaN. NaN and infinite lengths divide through.
    if (length == 0.0f) {
        return;
    }
    v.x /= length;
    v.y /= length;
    v.z /= length;
}

Vector3 cross(const Vector3& a, const Vector3& b) {
    return Vector3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
