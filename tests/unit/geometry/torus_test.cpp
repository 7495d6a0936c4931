// The torus generator: counts, exact vertices (cos and sin rounded once from
// double, products in float), the index order, and the record emptied again.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/shape_data.h"

namespace {

using Floats = std::vector<float>;

// The n floats of vertex v in array.
Floats at(const float* array, int n, uint32_t v) {
    return Floats(array + n * v, array + n * (v + 1));
}

} // namespace

TEST(Torus, GridVerticesIndicesAndRelease) {
    ShapeData shape;
    createTorus(&shape, 0.5f, 1.0f);
    ASSERT_TRUE(shape.numberVertices == 33 * 33 && shape.numberIndices == 32 * 32 * 6);

    // First vertex, the next one along the tube, and the first of ring two,
    // whose tangent is not normalised; the seams repeat vertex 0 with
    // texture coordinate 1.
    EXPECT_EQ(at(shape.positions, 4, 0), (Floats{1.5f, 0, 0, 1}));
    EXPECT_EQ(at(shape.normals, 3, 0), (Floats{1, 0, 0}));
    EXPECT_EQ(at(shape.tangents, 3, 0), (Floats{0, 0, 1}));
    EXPECT_EQ(at(shape.texCoords, 2, 1), (Floats{0.03125f, 0}));
    EXPECT_EQ(at(shape.positions, 4, 33), (Floats{1.4711778f, 0.2926355f, 0, 1}));
    EXPECT_EQ(at(shape.normals, 3, 33), (Floats{0.98078525f, 0.19509032f, 0}));
    EXPECT_EQ(at(shape.tangents, 3, 33), (Floats{0, 0, 0.98078525f}));
    EXPECT_EQ(at(shape.texCoords, 2, 33), (Floats{0, 0.03125f}));
    EXPECT_EQ(at(shape.texCoords, 2, 32), (Floats{1, 0}));
    EXPECT_EQ(at(shape.texCoords, 2, 1088), (Floats{1, 1}));
    for (uint32_t seam : {32u, 1088u}) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(shape.positions[4 * seam + i], shape.positions[i], 1e-6f) << seam;
        }
    }

    // Two counter-clockwise triangles per grid cell, ring by ring.
    const std::vector<uint32_t> indices(shape.indices, shape.indices + shape.numberIndices);
    EXPECT_EQ(std::vector<uint32_t>(indices.begin(), indices.begin() + 6),
              (std::vector<uint32_t>{0, 33, 34, 0, 34, 1}));
    EXPECT_EQ(std::vector<uint32_t>(indices.end() - 6, indices.end()),
              (std::vector<uint32_t>{1054, 1087, 1088, 1054, 1088, 1055}));

    destroyShape(&shape);
    EXPECT_TRUE(shape.positions == nullptr && shape.indices == nullptr && shape.numberIndices == 0);
    destroyShape(&shape); // safe again, and on no record at all
    destroyShape(nullptr);
    createTorus(nullptr, 0.5f, 1.0f);
}
