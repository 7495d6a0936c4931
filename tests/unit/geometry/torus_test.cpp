// The torus generator: counts, exact vertices, the index order and the
// record's lifecycle.
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/shape_data.h"

namespace {

using Floats = std::vector<float>;

// The n floats of vertex v in array.
Floats at(const float* array, int n, uint32_t v) {
    return Floats(array + n * v, array + n * (v + 1));
}

class TorusTest : public ::testing::Test {
protected:
    void SetUp() override { createTorus(&shape, 0.5f, 1.0f); }
    void TearDown() override { destroyShape(&shape); }
    ShapeData shape;
};

// Exact values: cos and sin rounded once from double, products in float.
TEST_F(TorusTest, VerticesOfTheFirstRingsAndTheSeams) {
    ASSERT_EQ(shape.numberVertices, 33u * 33u);
    ASSERT_EQ(shape.numberIndices, 32u * 32u * 6u);

    EXPECT_EQ(at(shape.positions, 4, 0), (Floats{1.5f, 0, 0, 1}));
    EXPECT_EQ(at(shape.normals, 3, 0), (Floats{1, 0, 0}));
    EXPECT_EQ(at(shape.tangents, 3, 0), (Floats{0, 0, 1}));
    EXPECT_EQ(at(shape.texCoords, 2, 0), (Floats{0, 0}));

    // The tube parameter comes first; on the first ring the tangent has
    // unit length.
    EXPECT_EQ(at(shape.texCoords, 2, 1), (Floats{0.03125f, 0}));
    const Floats t1 = at(shape.tangents, 3, 1);
    EXPECT_FLOAT_EQ(std::hypot(t1[0], t1[1], t1[2]), 1.0f);

    // Second ring: the tangent is not normalised.
    EXPECT_EQ(at(shape.positions, 4, 33), (Floats{1.4711778f, 0.2926355f, 0, 1}));
    EXPECT_EQ(at(shape.normals, 3, 33), (Floats{0.98078525f, 0.19509032f, 0}));
    EXPECT_EQ(at(shape.tangents, 3, 33), (Floats{0, 0, 0.98078525f}));
    EXPECT_EQ(at(shape.texCoords, 2, 33), (Floats{0, 0.03125f}));

    // The seams repeat vertex 0's position with texture coordinate 1.
    for (uint32_t seam : {32u, 1088u}) {
        const Floats p = at(shape.positions, 4, seam);
        EXPECT_NEAR(p[0], 1.5f, 1e-6f) << seam;
        EXPECT_NEAR(p[1], 0.0f, 1e-6f) << seam;
        EXPECT_NEAR(p[2], 0.0f, 1e-6f) << seam;
        EXPECT_EQ(p[3], 1.0f) << seam;
    }
    EXPECT_EQ(at(shape.texCoords, 2, 32), (Floats{1, 0}));
    EXPECT_EQ(at(shape.texCoords, 2, 1088), (Floats{1, 1}));
}

TEST_F(TorusTest, IndicesListTwoTrianglesPerGridCellRingByRing) {
    const std::vector<uint32_t> indices(shape.indices, shape.indices + shape.numberIndices);
    EXPECT_EQ(std::vector<uint32_t>(indices.begin(), indices.begin() + 6),
              (std::vector<uint32_t>{0, 33, 34, 0, 34, 1}));
    EXPECT_EQ(std::vector<uint32_t>(indices.end() - 6, indices.end()),
              (std::vector<uint32_t>{1054, 1087, 1088, 1054, 1088, 1055}));
    for (uint32_t index : indices) {
        ASSERT_LT(index, 1089u);
    }
}

TEST(TorusRecordTest, NullAndEmptiedRecordsAreHarmless) {
    createTorus(nullptr, 0.5f, 1.0f);
    destroyShape(nullptr);

    ShapeData shape;
    createTorus(&shape, 0.5f, 1.0f);
    for (int round = 0; round < 2; ++round) {
        destroyShape(&shape);
        EXPECT_EQ(shape.positions, nullptr);
        EXPECT_EQ(shape.normals, nullptr);
        EXPECT_EQ(shape.tangents, nullptr);
        EXPECT_EQ(shape.texCoords, nullptr);
        EXPECT_EQ(shape.indices, nullptr);
        EXPECT_EQ(shape.numberVertices, 0u);
        EXPECT_EQ(shape.numberIndices, 0u);
    }
    // An emptied record can be filled again, with other radii.
    createTorus(&shape, 0.25f, 2.0f);
    EXPECT_EQ(shape.numberVertices, 1089u);
    EXPECT_EQ(at(shape.positions, 4, 0), (Floats{2.25f, 0, 0, 1}));
    destroyShape(&shape);
}

} // namespace
