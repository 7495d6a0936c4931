// Three-component float vectors.
//
// Used for positions, directions and colours throughout the system. Plain
// data: no operators beyond what the transformations below need.
#pragma once

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Scales v to unit length. A zero-length vector is left unchanged; a NaN or
// infinite length is divided through like any other.
void normalize(Vector3& v);

// Cross product a x b: (ay bz - az by, az bx - ax bz, ax by - ay bx).
Vector3 cross(const Vector3& a, const Vector3& b);
