// 4 x 4 column-major float matrices: products, the model and view
// transformations, the perspective projection and the general inverse.
//
// Element (row r, column c) is m[4c + r]. Every operation works on
// caller-owned storage; the only scratch space is a Matrix on the stack.
#include "math/matrix.h"

#include <cmath>
#include <utility>

namespace {

// Single-precision constants, so every build rounds angles the same way.
constexpr float kTwoPi = 6.2831855f;
constexpr float kPi = 3.1415927f;

float& at(Matrix& m, int row, int column) {
    return m.m[4 * column + row];
}
float at(const Matrix& m, int row, int column) {
    return m.m[4 * column + row];
}

bool rowIsZero(const Matrix& m, int row) {
    for (int column = 0; column < 4; ++column) {
        if (at(m, row, column) != 0.0f) {
            return false;
        }
    }
    return true;
}

void swapRows(Matrix& m, int a, int b) {
    for (int column = 0; column < 4; ++column) {
        std::swap(at(m, a, column), at(m, b, column));
    }
}

} // namespace

void identity(Matrix& m) {
    for (int i = 0; i < 16; ++i) {
        m.m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    }
}

void copy(Matrix& destination, const Matrix& source) {
    for (int i = 0; i < 16; ++i) {
        destination.m[i] = source.m[i];
    }
}

void multiply(Matrix& result, const Matrix& left, const Matrix& right) {
    // Summed into a temporary so result may alias left or right.
    Matrix product;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += at(left, row, k) * at(right, k, column);
            }
            at(product, row, column) = sum;
        }
    }
    copy(result, product);
}

void translate(Matrix& m, float x, float y, float z) {
    Matrix t;
    identity(t);
    t.m[12] = x;
    t.m[13] = y;
    t.m[14] = z;
    multiply(m, m, t);
}

void rotateRzRyRx(Matrix& m, float angleX, float angleY, float angleZ) {
    const float radiansX = angleX * kTwoPi / 360.0f;
    const float radiansY = angleY * kTwoPi / 360.0f;
    const float radiansZ = angleZ * kTwoPi / 360.0f;
    const float sx = std::sin(radiansX);
    const float cx = std::cos(radiansX);
    const float sy = std::sin(radiansY);
    const float cy = std::cos(radiansY);
    const float sz = std::sin(radiansZ);
    const float cz = std::cos(radiansZ);

    // R = Rz x Ry x Rx written out, so a vertex turns about X first.
    Matrix r;
    r.m[0] = cz * cy;
    r.m[1] = sz * cy;
    r.m[2] = -sy;
    r.m[3] = 0.0f;
    r.m[4] = cz * sy * sx - sz * cx;
    r.m[5] = sz * sy * sx + cz * cx;
    r.m[6] = cy * sx;
    r.m[7] = 0.0f;
    r.m[8] = cz * sy * cx + sz * sx;
    r.m[9] = sz * sy * cx - cz * sx;
    r.m[10] = cy * cx;
    r.m[11] = 0.0f;
    r.m[12] = 0.0f;
    r.m[13] = 0.0f;
    r.m[14] = 0.0f;
    r.m[15] = 1.0f;
    multiply(m, m, r);
}

void frustum(Matrix& m, float left, float right, float bottom, float top, float zNear, float zFar) {
    // Degenerate planes (right == left, ...) divide by zero on purpose: the
    // IEEE result is what the caller gets.
    for (float& element : m.m) {
        element = 0.0f;
    }
    m.m[0] = 2.0f * zNear / (right - left);
    m.m[5] = 2.0f * zNear / (top - bottom);
    m.m[8] = (right + left) / (right - left);
    m.m[9] = (top + bottom) / (top - bottom);
    m.m[10] = -(zFar + zNear) / (zFar - zNear);
    m.m[11] = -1.0f;
    m.m[14] = -2.0f * zFar * zNear / (zFar - zNear);
}

void perspective(Matrix& m, float fovy, float aspect, float zNear, float zFar) {
    // fovy is the full opening, so fovy * pi / 360 is half of it in radians.
    // The tangent is rounded to float before it scales the near distance.
    const float halfAngle = fovy * kPi / 360.0f;
    const float tangent = static_cast<float>(std::tan(static_cast<double>(halfAngle)));
    const float top = zNear * tangent;
    const float bottom = -top;
    const float left = bottom * aspect;
    const float right = top * aspect;
    frustum(m, left, right, bottom, top, zNear, zFar);
}

void lookAt(Matrix& m, float eyeX, float eyeY, float eyeZ, float centerX, float centerY,
            float centerZ, float upX, float upY, float upZ) {
    Vector3 forward{centerX - eyeX, centerY - eyeY, centerZ - eyeZ};
    normalize(forward);
    // With up parallel to forward, side stays zero (normalize leaves it), and
    // so do the first two rows: no NaN reaches the shaders.
    Vector3 side = cross(forward, Vector3{upX, upY, upZ});
    normalize(side);
    const Vector3 trueUp = cross(side, forward);

    Matrix rows;
    identity(rows);
    at(rows, 0, 0) = side.x;
    at(rows, 0, 1) = side.y;
    at(rows, 0, 2) = side.z;
    at(rows, 1, 0) = trueUp.x;
    at(rows, 1, 1) = trueUp.y;
    at(rows, 1, 2) = trueUp.z;
    at(rows, 2, 0) = -forward.x;
    at(rows, 2, 1) = -forward.y;
    at(rows, 2, 2) = -forward.z;

    identity(m);
    multiply(m, m, rows);
    translate(m, -eyeX, -eyeY, -eyeZ);
}

bool inverse(Matrix& result, const Matrix& source) {
    // The working copy is taken before result is touched, since result may be
    // the source itself.
    Matrix work;
    copy(work, source);
    identity(result);

    for (int c = 0; c < 4; ++c) {
        // Scale every remaining row so its entry in column c becomes 1.
        for (int i = c; i < 4; ++i) {
            if (rowIsZero(work, i)) {
                return false;
            }
            const float pivot = at(work, i, c);
            if (pivot != 0.0f) {
                for (int j = 0; j < 4; ++j) {
                    at(work, i, j) /= pivot;
                    at(result, i, j) /= pivot;
                }
            }
        }

        // No remaining row reaches column c: the matrix is singular, whatever
        // the rows above hold there.
        bool reachable = false;
        for (int i = c; i < 4; ++i) {
            if (at(work, i, c) != 0.0f) {
                reachable = true;
            }
        }
        if (!reachable) {
            return false;
        }

        // Bring the first scaled row below up to the pivot, even when the
        // pivot is already 1, so a zero pivot is replaced.
        for (int i = c + 1; i < 4; ++i) {
            if (at(work, i, c) == 1.0f) {
                swapRows(work, i, c);
                swapRows(result, i, c);
                break;
            }
        }

        // Rows below were scaled to 1 in column c, so a plain subtraction
        // clears them.
        for (int i = c + 1; i < 4; ++i) {
            if (at(work, i, c) != 0.0f) {
                for (int j = 0; j < 4; ++j) {
                    at(work, i, j) -= at(work, c, j);
                    at(result, i, j) -= at(result, c, j);
                }
            }
        }
    }

    // Back substitution clears the entries above each pivot.
    for (int p = 3; p >= 1; --p) {
        for (int i = p - 1; i >= 0; --i) {
            if (at(work, i, p) != 0.0f) {
                const float k = -at(work, i, p);
                for (int j = 0; j < 4; ++j) {
                    at(work, i, j) += k * at(work, p, j);
                    at(result, i, j) += k * at(result, p, j);
                }
            }
        }
    }
    return true;
}
