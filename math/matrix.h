// 4 x 4 float matrices in OpenGL's column-major layout.
//
// Conventions, fixed for the whole system:
// - the element of row r and column c (both 0..3) is at index 4c + r, so
//   indices 12, 13, 14 hold the translation and 15 the homogeneous corner;
// - matrices are handed to glUniformMatrix4fv as they are, untransposed;
// - angles are in degrees; coordinates are right-handed, looking down -z;
// - transformations post-multiply (m = m x T), so the last one applied to m
//   is the first one a vertex goes through.
//
// Every operation writes caller-owned storage and allocates nothing. Each
// result element is rounded to float when stored.
#pragma once

#include "math/vector3.h"

struct Matrix {
    float m[16] = {};

    float& operator[](int index) { return m[index]; }
    float operator[](int index) const { return m[index]; }
};

// m becomes the identity.
void identity(Matrix& m);

// destination = source.
void copy(Matrix& destination, const Matrix& source);

// result = left x right. result may be the same matrix as either operand.
void multiply(Matrix& result, const Matrix& left, const Matrix& right);

// m = m x T(x, y, z).
void translate(Matrix& m, float x, float y, float z);

// m = m x Rz(angleZ) x Ry(angleY) x Rx(angleX): a vertex turns about X
// first, then Y, then Z. Angles in degrees.
void rotateRzRyRx(Matrix& m, float angleX, float angleY, float angleZ);

// m = the classic OpenGL perspective frustum.
void frustum(Matrix& m, float left, float right, float bottom, float top, float zNear, float zFar);

// m = symmetric frustum with vertical opening fovy (degrees).
void perspective(Matrix& m, float fovy, float aspect, float zNear, float zFar);

// m = view matrix looking from eye to center with the given up direction.
void lookAt(Matrix& m, float eyeX, float eyeY, float eyeZ, float centerX, float centerY,
            float centerZ, float upX, float upY, float upZ);

// result = source inverted by Gauss-Jordan elimination. Returns false when
// the matrix is found singular (result then holds no inverse). result may be
// the same matrix as source.
bool inverse(Matrix& result, const Matrix& source);
