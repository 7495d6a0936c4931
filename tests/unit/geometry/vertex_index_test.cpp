// The vertex index against the plain linear scan it stands in for: the same
// indices and the same vertex lists on random, border-hugging, tied,
// non-finite and huge inputs.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/vertex_index.h"

namespace {

constexpr float tolerance = 0.0001f;

bool close(float a, float b) {
    return std::fabs(a - b) < tolerance;
}

// The first earlier vertex within the tolerance in all eleven components.
struct LinearScan {
    std::vector<GroupVertex> vertices;

    uint32_t findOrAdd(const GroupVertex& v) {
        for (size_t i = 0; i < vertices.size(); ++i) {
            const GroupVertex& s = vertices[i];
            if (close(s.position.x, v.position.x) && close(s.position.y, v.position.y) &&
                close(s.position.z, v.position.z) && close(s.tangent.x, v.tangent.x) &&
                close(s.tangent.y, v.tangent.y) && close(s.tangent.z, v.tangent.z) &&
                close(s.normal.x, v.normal.x) && close(s.normal.y, v.normal.y) &&
                close(s.normal.z, v.normal.z) && close(s.texCoord.u, v.texCoord.u) &&
                close(s.texCoord.v, v.texCoord.v)) {
                return static_cast<uint32_t>(i);
            }
        }
        vertices.push_back(v);
        return static_cast<uint32_t>(vertices.size() - 1);
    }
};

float* component(GroupVertex& v, int k) {
    float* all[11] = {&v.position.x, &v.position.y, &v.position.z, &v.tangent.x,
                      &v.tangent.y,  &v.tangent.z,  &v.normal.x,   &v.normal.y,
                      &v.normal.z,   &v.texCoord.u, &v.texCoord.v};
    return all[k];
}

uint32_t bits(float f) {
    uint32_t b;
    memcpy(&b, &f, sizeof b);
    return b;
}

// Runs the same corners through both and compares every answer and the
// resulting lists bit for bit. expected is the size hint given to the index.
void expectSameAsLinearScan(const std::vector<GroupVertex>& corners, size_t expected) {
    VertexIndex index;
    resetVertexIndex(index, expected);
    ObjData lists;
    LinearScan reference;
    for (size_t i = 0; i < corners.size(); ++i) {
        const uint32_t ours = findOrAddVertex(index, lists, corners[i]);
        const uint32_t theirs = reference.findOrAdd(corners[i]);
        ASSERT_EQ(ours, theirs) << "corner " << i;
    }
    ASSERT_EQ(lists.positions.size(), reference.vertices.size());
    ASSERT_EQ(lists.texCoords.size(), reference.vertices.size());
    for (size_t i = 0; i < reference.vertices.size(); ++i) {
        GroupVertex stored{lists.positions[i], lists.tangents[i], lists.normals[i],
                           lists.texCoords[i]};
        for (int k = 0; k < 11; ++k) {
            ASSERT_EQ(bits(*component(stored, k)), bits(*component(reference.vertices[i], k)));
        }
    }
}

// Corners near a few base vertices, moved by steps around the tolerance, so
// that chains of near matches and ties are common.
TEST(VertexIndexTest, JitteredCornersMatchTheLinearScan) {
    std::mt19937 random(1);
    const float steps[] = {0.0f,     0.00005f, -0.00005f, 0.0000999f, -0.0000999f, 0.0001f,
                           -0.0001f, 0.00015f, 0.0002f,   0.00009f,   -0.00009f,   0.000101f};
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    for (int round = 0; round < 20; ++round) {
        std::vector<GroupVertex> bases(1 + round * 3);
        for (GroupVertex& base : bases) {
            for (int k = 0; k < 11; ++k) {
                *component(base, k) = unit(random) * (k < 3 ? 10.0f : 1.0f);
            }
        }
        std::vector<GroupVertex> corners;
        for (int i = 0; i < 3000; ++i) {
            GroupVertex v = bases[random() % bases.size()];
            const int moved = static_cast<int>(random() % 4);
            for (int m = 0; m < moved; ++m) {
                *component(v, static_cast<int>(random() % 11)) +=
                    steps[random() % std::size(steps)];
            }
            corners.push_back(v);
        }
        expectSameAsLinearScan(corners, corners.size());
    }
}

// Values right at and around the borders of the index's cells, whatever
// their size, and values whose tolerance range reaches over a border.
TEST(VertexIndexTest, CornersAtCellBordersMatchTheLinearScan) {
    std::mt19937 random(2);
    const float offsets[] = {0.0f,     1e-6f,     -1e-6f, 4.9e-5f, -4.9e-5f,
                             9.99e-5f, -9.99e-5f, 1e-4f,  -1e-4f,  1.5e-4f};
    std::vector<GroupVertex> corners;
    for (int i = 0; i < 6000; ++i) {
        GroupVertex v;
        for (int k = 0; k < 11; ++k) {
            const float cells = static_cast<float>(1 << (5 + random() % 6)); // 2^5 .. 2^10
            const float border = (static_cast<float>(random() % 5) + 0.5f) / cells;
            *component(v, k) = border + offsets[random() % std::size(offsets)];
            if (random() % 3 == 0) {
                *component(v, k) = static_cast<float>(random() % 3) / cells;
            }
        }
        corners.push_back(v);
    }
    expectSameAsLinearScan(corners, corners.size());
}

TEST(VertexIndexTest, NonFiniteAndHugeValuesMatchTheLinearScan) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float values[] = {nan,   inf,        -inf,          3.4e38f,    -3.4e38f,
                            1e30f, 4194304.0f, 4194304.0001f, 8388608.0f, 1e-40f,
                            0.0f,  -0.0f,      2e9f,          -2e9f,      16777216.0f};
    std::mt19937 random(3);
    std::vector<GroupVertex> corners;
    for (int i = 0; i < 4000; ++i) {
        GroupVertex v;
        for (int k = 0; k < 11; ++k) {
            *component(v, k) = random() % 4 == 0 ? values[random() % std::size(values)] : 0.5f;
        }
        corners.push_back(v);
    }
    expectSameAsLinearScan(corners, corners.size());
}

TEST(VertexIndexTest, IdenticalCornersShareTheFirstVertex) {
    GroupVertex v{{1, 2, 3}, {1, 0, 0}, {0, 0, 1}, {0.5f, 0.5f}};
    std::vector<GroupVertex> corners(20000, v);
    corners[5000].position.x += 0.00011f; // one distinct vertex among them
    expectSameAsLinearScan(corners, corners.size());
}

// An index told to expect too few vertices grows, and one reset for a second
// group starts empty.
TEST(VertexIndexTest, GrowsWhenFullAndStartsAgainForTheNextGroup) {
    std::mt19937 random(4);
    std::vector<GroupVertex> corners;
    for (int i = 0; i < 5000; ++i) {
        GroupVertex v;
        v.position = {static_cast<float>(random() % 40) * 0.01f,
                      static_cast<float>(random() % 40) * 0.01f, 0.0f};
        corners.push_back(v);
    }
    expectSameAsLinearScan(corners, 1);
    expectSameAsLinearScan(corners, 0);

    VertexIndex index;
    ObjData first;
    resetVertexIndex(index, 10);
    EXPECT_EQ(findOrAddVertex(index, first, corners[0]), 0u);
    EXPECT_EQ(findOrAddVertex(index, first, corners[0]), 0u);
    ObjData second;
    resetVertexIndex(index, 10);
    second.positions.push_back({9, 9, 9});
    second.normals.emplace_back();
    second.tangents.emplace_back();
    second.texCoords.emplace_back();
    EXPECT_EQ(findOrAddVertex(index, second, corners[0]), 1u);
}

} // namespace
