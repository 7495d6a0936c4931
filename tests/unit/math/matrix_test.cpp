// Matrix operations: exact results where the layout fixes them, and GLM
// (same column-major layout) as the reference for random inputs.
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <utility>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include "math/matrix.h"

namespace {

// A fixed starting value and our own scaling of the raw bits, so the draws are the same
// with every standard library. Draws for one call are made in braces or
// separate statements, since argument order is unspecified.
class Draw {
public:
    explicit Draw(uint32_t stream) : engine_(stream) {}
    float operator()(float low, float high) {
        const float unit = static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f);
        return low + (high - low) * unit;
    }

private:
    std::mt19937 engine_;
};

constexpr int kRounds = 200;

glm::mat4 toGlm(const Matrix& m) {
    return glm::make_mat4(m.m);
}

Matrix randomMatrix(Draw& draw, float low = -2.0f, float high = 2.0f) {
    Matrix m;
    for (float& e : m.m) {
        e = draw(low, high);
    }
    return m;
}

// Dense, and diagonally dominant so elimination without row selection by
// size stays accurate.
Matrix wellConditioned(Draw& draw) {
    Matrix m = randomMatrix(draw, -1.0f, 1.0f);
    for (int i = 0; i < 4; ++i) {
        m[5 * i] += (m[5 * i] < 0.0f ? -4.0f : 4.0f);
    }
    return m;
}

Matrix fromRows(std::initializer_list<std::initializer_list<float>> rows) {
    Matrix m;
    int r = 0;
    for (const auto& row : rows) {
        int c = 0;
        for (float value : row) {
            m[4 * c + r] = value;
            ++c;
        }
        ++r;
    }
    return m;
}

// Errors are measured against the largest expected element, so entries that
// cancel to nearly zero are not held to a relative bound they cannot meet.
::testing::AssertionResult near(const Matrix& actual, const glm::mat4& expected, float tolerance) {
    const float* e = glm::value_ptr(expected);
    float scale = 1.0f;
    for (int i = 0; i < 16; ++i) {
        scale = std::fmax(scale, std::fabs(e[i]));
    }
    for (int i = 0; i < 16; ++i) {
        if (!(std::fabs(actual[i] - e[i]) <= tolerance * scale)) {
            return ::testing::AssertionFailure()
                   << "element " << i << ": " << actual[i] << " vs " << e[i];
        }
    }
    return ::testing::AssertionSuccess();
}

bool sameElements(const Matrix& a, const Matrix& b) {
    for (int i = 0; i < 16; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

Matrix identityMatrix() {
    Matrix m;
    identity(m);
    return m;
}

} // namespace

TEST(Multiply, MatchesGlmAndAllowsEitherOperandAsResult) {
    Draw draw(1);
    for (int round = 0; round < kRounds; ++round) {
        const Matrix a = randomMatrix(draw);
        const Matrix b = randomMatrix(draw);
        Matrix product;
        multiply(product, a, b);
        EXPECT_TRUE(near(product, toGlm(a) * toGlm(b), 1e-5f));

        Matrix left = a;
        multiply(left, left, b);
        EXPECT_TRUE(sameElements(left, product));
        Matrix right = b;
        multiply(right, a, right);
        EXPECT_TRUE(sameElements(right, product));

        Matrix square;
        multiply(square, a, a);
        Matrix inPlace = a;
        multiply(inPlace, inPlace, inPlace);
        EXPECT_TRUE(sameElements(inPlace, square));
    }
}

TEST(Translate, PostMultipliesLikeGlm) {
    Matrix m = identityMatrix();
    translate(m, 1.5f, -2.0f, 3.25f);
    EXPECT_EQ(m[12], 1.5f);
    EXPECT_EQ(m[13], -2.0f);
    EXPECT_EQ(m[14], 3.25f);

    Draw draw(2);
    for (int round = 0; round < kRounds; ++round) {
        Matrix t = randomMatrix(draw);
        const glm::vec3 offset{draw(-50, 50), draw(-50, 50), draw(-50, 50)};
        const glm::mat4 expected = glm::translate(toGlm(t), offset);
        translate(t, offset.x, offset.y, offset.z);
        EXPECT_TRUE(near(t, expected, 1e-5f));
    }
}

TEST(Rotate, TurnsAboutXThenYThenZ) {
    // 90 degrees about X takes the Y axis to Z and Z to -Y.
    Matrix m = identityMatrix();
    rotateRzRyRx(m, 90.0f, 0.0f, 0.0f);
    EXPECT_NEAR(m[6], 1.0f, 1e-6f);
    EXPECT_NEAR(m[9], -1.0f, 1e-6f);
    EXPECT_NEAR(m[5], 0.0f, 1e-6f);

    Draw draw(3);
    for (int round = 0; round < kRounds; ++round) {
        Matrix r = randomMatrix(draw);
        const float ax = draw(-360, 360);
        const float ay = draw(-360, 360);
        const float az = draw(-360, 360);
        glm::mat4 expected = toGlm(r);
        expected = glm::rotate(expected, glm::radians(az), glm::vec3(0, 0, 1));
        expected = glm::rotate(expected, glm::radians(ay), glm::vec3(0, 1, 0));
        expected = glm::rotate(expected, glm::radians(ax), glm::vec3(1, 0, 0));
        rotateRzRyRx(r, ax, ay, az);
        EXPECT_TRUE(near(r, expected, 1e-5f));
    }
}

TEST(Projection, FrustumAndPerspectiveMatchGlm) {
    // A 90-degree opening puts the top of the near plane at the near distance.
    Matrix square;
    perspective(square, 90.0f, 2.0f, 3.0f, 100.0f);
    EXPECT_FLOAT_EQ(square[5], 1.0f);
    EXPECT_FLOAT_EQ(square[0], 0.5f);
    EXPECT_EQ(square[15], 0.0f);

    Draw draw(4);
    for (int round = 0; round < kRounds; ++round) {
        const float l = draw(-10, -0.5f);
        const float r = draw(0.5f, 10);
        const float b = draw(-10, -0.5f);
        const float t = draw(0.5f, 10);
        const float n = draw(0.1f, 5);
        const float f = n + draw(1, 500);
        Matrix m = randomMatrix(draw);
        frustum(m, l, r, b, t, n, f);
        EXPECT_TRUE(near(m, glm::frustum(l, r, b, t, n, f), 1e-5f));

        const float fovy = draw(10, 120);
        const float aspect = draw(0.3f, 3);
        perspective(m, fovy, aspect, n, f);
        EXPECT_TRUE(near(m, glm::perspective(glm::radians(fovy), aspect, n, f), 1e-5f));
    }
}

TEST(LookAt, MatchesGlmAndIsIdentityAlongMinusZ) {
    Draw draw(6);
    Matrix m = randomMatrix(draw);
    lookAt(m, 0, 0, 0, 0, 0, -1, 0, 1, 0);
    EXPECT_TRUE(sameElements(m, identityMatrix()));

    for (int round = 0; round < kRounds; ++round) {
        const glm::vec3 eye{draw(-50, 50), draw(-50, 50), draw(-50, 50)};
        const glm::vec3 center{draw(-50, 50), draw(-50, 50), draw(-50, 50)};
        const glm::vec3 up{draw(-1, 1), draw(-1, 1), draw(-1, 1)};
        lookAt(m, eye.x, eye.y, eye.z, center.x, center.y, center.z, up.x, up.y, up.z);
        EXPECT_TRUE(near(m, glm::lookAt(eye, center, up), 2e-5f));
    }
}

// The elimination divides each remaining row by its own entry in the pivot
// column rather than picking the largest, so small entries amplify rounding:
// about 1e-4 of the largest element, where GLM's cofactor inverse stays near
// 1e-6. A wrong row operation is off by far more.
constexpr float kInverseTolerance = 5e-4f;

TEST(Inverse, MatchesGlmOnWellConditionedMatrices) {
    Draw draw(7);
    for (int round = 0; round < kRounds; ++round) {
        const Matrix source = wellConditioned(draw);
        Matrix result;
        ASSERT_TRUE(inverse(result, source));
        EXPECT_TRUE(near(result, glm::inverse(toGlm(source)), kInverseTolerance));

        Matrix inPlace = source;
        ASSERT_TRUE(inverse(inPlace, inPlace));
        EXPECT_TRUE(sameElements(inPlace, result));
    }
}

TEST(Inverse, HandlesZeroPivotsAndViewMatrices) {
    Draw draw(8);
    for (int round = 0; round < kRounds; ++round) {
        // Rows 0 and 1 of a dominant matrix exchanged, with a zero where the
        // first pivot lands: the elimination must bring a row up from below.
        Matrix source = wellConditioned(draw);
        source[1] = 0.0f;
        for (int column = 0; column < 4; ++column) {
            std::swap(source[4 * column], source[4 * column + 1]);
        }
        Matrix result;
        ASSERT_TRUE(inverse(result, source));
        EXPECT_TRUE(near(result, glm::inverse(toGlm(source)), kInverseTolerance));

        // What the shadow matrix inverts: a camera view matrix.
        const glm::vec3 eye{draw(-50, 50), draw(-50, 50), draw(-50, 50)};
        const glm::vec3 center{draw(-5, 5), draw(-5, 5), draw(-5, 5)};
        Matrix view;
        lookAt(view, eye.x, eye.y, eye.z, center.x, center.y, center.z, 0, 1, 0);
        ASSERT_TRUE(inverse(result, view));
        EXPECT_TRUE(near(result, glm::inverse(toGlm(view)), kInverseTolerance));
    }
}

TEST(Inverse, IdentityAndSingularMatrices) {
    Matrix result;
    EXPECT_TRUE(inverse(result, identityMatrix()));
    EXPECT_TRUE(sameElements(result, identityMatrix()));

    const Matrix zeroRow = fromRows({{1, 2, 3, 4}, {0, 0, 0, 0}, {5, 6, 7, 8}, {0, 0, 0, 1}});
    EXPECT_FALSE(inverse(result, zeroRow));

    const Matrix equalRows = fromRows({{1, 2, 0, 0}, {1, 2, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}});
    EXPECT_FALSE(inverse(result, equalRows));
}

// Regression: a zero pivot with no non-zero entry below it, only above, was
// carried on and reported invertible with a result that is no inverse.
TEST(Inverse, ZeroPivotColumnBelowIsSingular) {
    const Matrix source = fromRows({{1, 1, 1, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}, {0, 0, 1, 1}});
    Matrix result;
    EXPECT_FALSE(inverse(result, source));
}
