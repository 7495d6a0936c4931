// Affine maps of 3D space as the system's matrices (math/matrix.h): columns
// 0 to 2 hold the images of the x, y and z axes, column 3 the image of the
// origin, so p -> column 3 + column 0 p.x + column 1 p.y + column 2 p.z.
//
// Used to place, turn and stretch shapes. Angles are in degrees; rotations
// are right-handed about the named axis.
#pragma once

#include "math/matrix.h"
#include "tools/assets/base/vectors.h"

namespace assets {

// Column c (0 to 3) of m as a vector.
inline Vector3 column(const Matrix& m, int c) {
    return {m[4 * c], m[4 * c + 1], m[4 * c + 2]};
}

// The map taking the axes to x, y and z and the origin to origin.
inline Matrix frame(Vector3 x, Vector3 y, Vector3 z, Vector3 origin) {
    Matrix m;
    const Vector3 columns[4] = {x, y, z, origin};
    for (int c = 0; c < 4; ++c) {
        m[4 * c] = columns[c].x;
        m[4 * c + 1] = columns[c].y;
        m[4 * c + 2] = columns[c].z;
    }
    m[15] = 1.0f;
    return m;
}

// a after b: p -> a(b(p)).
inline Matrix operator*(const Matrix& a, const Matrix& b) {
    Matrix product;
    multiply(product, a, b);
    return product;
}

inline Matrix translation(Vector3 offset) {
    return frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, offset);
}

inline Matrix scaling(Vector3 factors) {
    return frame({factors.x, 0, 0}, {0, factors.y, 0}, {0, 0, factors.z}, {});
}

inline Matrix rotationY(float degrees) {
    Matrix m;
    identity(m);
    rotateRzRyRx(m, 0.0f, degrees, 0.0f);
    return m;
}

inline Matrix rotationZ(float degrees) {
    Matrix m;
    identity(m);
    rotateRzRyRx(m, 0.0f, 0.0f, degrees);
    return m;
}

inline Vector3 applyToPoint(const Matrix& m, Vector3 p) {
    return column(m, 3) + column(m, 0) * p.x + column(m, 1) * p.y + column(m, 2) * p.z;
}

inline Vector3 applyToVector(const Matrix& m, Vector3 v) {
    return column(m, 0) * v.x + column(m, 1) * v.y + column(m, 2) * v.z;
}

// Normals go through the inverse transpose; the cofactor matrix has the
// same direction for any map that keeps orientation.
inline Vector3 applyToNormal(const Matrix& m, Vector3 n) {
    const Vector3 x = column(m, 0);
    const Vector3 y = column(m, 1);
    const Vector3 z = column(m, 2);
    return normalized(cross(y, z) * n.x + cross(z, x) * n.y + cross(x, y) * n.z);
}

} // namespace assets
