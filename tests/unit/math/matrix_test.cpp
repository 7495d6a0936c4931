// Matrix operations against GLM (same column-major layout) on random inputs,
// and the singular matrices the elimination must recognise.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>
#include <utility>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include "math/matrix.h"

namespace {

// Our own scaling of the engine's raw bits, so every standard library draws
// the same values. Braced lists fix the order of the draws.
struct Draw {
    std::mt19937 engine;
    float operator()(float low, float high) {
        return low + (high - low) * static_cast<float>(engine() >> 8) * (1.0f / 16777216.0f);
    }
    glm::vec3 vec(float low, float high) {
        return {(*this)(low, high), (*this)(low, high), (*this)(low, high)};
    }
    Matrix matrix(float low, float high) {
        Matrix m;
        std::generate(m.m, m.m + 16, [&] { return (*this)(low, high); });
        return m;
    }
};

glm::mat4 toGlm(const Matrix& m) {
    return glm::make_mat4(m.m);
}

bool same(const Matrix& a, const Matrix& b) {
    return std::equal(a.m, a.m + 16, b.m);
}

// Errors are measured against the largest expected element, so entries that
// cancel to nearly zero are not held to a relative bound they cannot meet.
::testing::AssertionResult near(const Matrix& actual, const glm::mat4& expected, float tolerance) {
    const float* e = glm::value_ptr(expected);
    const auto smaller = [](float x, float y) { return std::fabs(x) < std::fabs(y); };
    const float scale = std::fmax(1.0f, std::fabs(*std::max_element(e, e + 16, smaller)));
    for (int i = 0; i < 16; ++i) {
        if (!(std::fabs(actual[i] - e[i]) <= tolerance * scale)) {
            return ::testing::AssertionFailure()
                   << "element " << i << ": " << actual[i] << " vs " << e[i];
        }
    }
    return ::testing::AssertionSuccess();
}

// The elimination divides each row by its own entry in the pivot column
// rather than picking the largest, so rounding reaches about 1e-4 of the
// largest element; a wrong row operation is off by far more.
void expectInverseLikeGlm(Matrix source) {
    Matrix result;
    ASSERT_TRUE(inverse(result, source));
    EXPECT_TRUE(near(result, glm::inverse(toGlm(source)), 5e-4f));
    ASSERT_TRUE(inverse(source, source));
    EXPECT_TRUE(same(source, result)) << "in place";
}

} // namespace

TEST(Matrix, TransformationsMatchGlm) {
    Draw draw{std::mt19937(1)};
    for (int round = 0; round < 200; ++round) {
        const Matrix a = draw.matrix(-2, 2), b = draw.matrix(-2, 2);
        Matrix product, left = a, right = b;
        multiply(product, a, b);
        EXPECT_TRUE(near(product, toGlm(a) * toGlm(b), 1e-5f));
        multiply(left, left, b); // the result may be either operand
        multiply(right, a, right);
        EXPECT_TRUE(same(left, product) && same(right, product));

        const glm::vec3 offset = draw.vec(-50, 50);
        Matrix m = a;
        translate(m, offset.x, offset.y, offset.z);
        EXPECT_TRUE(near(m, glm::translate(toGlm(a), offset), 1e-5f));

        // A vertex turns about X first, then Y, then Z.
        const glm::vec3 angles = draw.vec(-360, 360);
        glm::mat4 expected = glm::rotate(toGlm(a), glm::radians(angles.z), glm::vec3(0, 0, 1));
        expected = glm::rotate(expected, glm::radians(angles.y), glm::vec3(0, 1, 0));
        expected = glm::rotate(expected, glm::radians(angles.x), glm::vec3(1, 0, 0));
        m = a;
        rotateRzRyRx(m, angles.x, angles.y, angles.z);
        EXPECT_TRUE(near(m, expected, 1e-5f));

        const float l = draw(-10, -0.5f), r = draw(0.5f, 10), bottom = draw(-10, -0.5f),
                    t = draw(0.5f, 10), n = draw(0.1f, 5), f = n + draw(1, 500);
        frustum(m, l, r, bottom, t, n, f);
        EXPECT_TRUE(near(m, glm::frustum(l, r, bottom, t, n, f), 1e-5f));
        const float fovy = draw(10, 120), aspect = draw(0.3f, 3);
        perspective(m, fovy, aspect, n, f);
        EXPECT_TRUE(near(m, glm::perspective(glm::radians(fovy), aspect, n, f), 1e-5f));

        const glm::vec3 eye = draw.vec(-50, 50), center = draw.vec(-50, 50), up = draw.vec(-1, 1);
        lookAt(m, eye.x, eye.y, eye.z, center.x, center.y, center.z, up.x, up.y, up.z);
        EXPECT_TRUE(near(m, glm::lookAt(eye, center, up), 2e-5f));
    }
    // Looking along the up direction leaves the zero side vector zero: no NaN.
    Matrix m;
    lookAt(m, 0, 0, 0, 0, 5, 0, 0, 1, 0);
    EXPECT_TRUE(std::all_of(m.m, m.m + 16, [](float e) { return std::isfinite(e); }));
}

TEST(Inverse, MatchesGlmAfterRowExchangesAndForViewMatrices) {
    Draw draw{std::mt19937(7)};
    for (int round = 0; round < 200; ++round) {
        // Diagonally dominant: accurate without choosing the largest pivot.
        Matrix source = draw.matrix(-1, 1);
        for (int i = 0; i < 16; i += 5) {
            source[i] += source[i] < 0.0f ? -4.0f : 4.0f;
        }
        expectInverseLikeGlm(source);
        // Rows 0 and 1 exchanged, a zero at the first pivot: a row comes up.
        source[1] = 0.0f;
        for (int column = 0; column < 4; ++column) {
            std::swap(source[4 * column], source[4 * column + 1]);
        }
        expectInverseLikeGlm(source);
        // What the shadow matrix inverts: a camera view matrix.
        const glm::vec3 eye = draw.vec(-50, 50), center = draw.vec(-5, 5);
        lookAt(source, eye.x, eye.y, eye.z, center.x, center.y, center.z, 0, 1, 0);
        expectInverseLikeGlm(source);
    }
}

TEST(Inverse, SingularMatricesGiveFalse) {
    const float rows[][16] = {
        {1, 2, 3, 4, 0, 0, 0, 0, 5, 6, 7, 8, 0, 0, 0, 1}, // a zero row
        {1, 2, 0, 0, 1, 2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, // two equal rows
        // A zero pivot with non-zero entries only above it, not below, was
        // carried on and reported invertible.
        {1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1, 1},
    };
    for (size_t k = 0; k < std::size(rows); ++k) {
        SCOPED_TRACE(k);
        Matrix source, result; // the table is written row by row
        std::copy_n(glm::value_ptr(glm::transpose(glm::make_mat4(rows[k]))), 16, source.m);
        EXPECT_FALSE(inverse(result, source));
    }
}
