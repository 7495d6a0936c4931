// The vertex index against the plain linear scan it stands in for: the same
// indices and the same vertex lists on corners that share some components and
// differ in others, lie a tolerance apart, sit on cell borders, or are
// non-finite or huge. Probes are filled ahead of their look-up, as the mesh
// builder fills them, so probes made stale by a change of cells are met too.
#include <algorithm>
#include <array>
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
using Values = std::array<float, 11>; // position, tangent, normal, texture coordinate

Values valuesOf(const GroupVertex& v) {
    Values values;
    std::memcpy(values.data(), &v, sizeof v);
    return values;
}

GroupVertex vertexOf(const Values& v) {
    return {{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]}, {v[9], v[10]}};
}

// The first earlier vertex within the tolerance in all eleven components.
uint32_t linearScan(std::vector<Values>& vertices, const Values& v) {
    for (size_t i = 0; i < vertices.size(); ++i) {
        bool all = true;
        for (size_t k = 0; k < v.size() && all; ++k) {
            all = std::fabs(vertices[i][k] - v[k]) < tolerance;
        }
        if (all) {
            return static_cast<uint32_t>(i);
        }
    }
    vertices.push_back(v);
    return static_cast<uint32_t>(vertices.size() - 1);
}

// How the values of position, tangent, normal or texture coordinate spread:
// one value per component; packed on lattices spaced near the tolerance;
// on and around the borders of power-of-two cells; anywhere in [-10, 10];
// or now and then NaN, infinite, huge or tiny.
enum Spread { shared, dense, borders, wide, odd };

float valueFor(Spread spread, size_t k, std::mt19937& random) {
    const float offsets[] = {0.0f, 1e-6f, -1e-6f, 4.9e-5f, -4.9e-5f, 9.99e-5f, -9.99e-5f, 1.5e-4f};
    const float steps[] = {0.9f * tolerance, tolerance, 1.01f * tolerance, 1.5f * tolerance};
    const float specials[] = {std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              3.4e38f,
                              -1e30f,
                              1048576.0f,
                              1048575.9375f,
                              -4194304.0001f,
                              16777216.0f,
                              1e-40f,
                              -0.0f};
    switch (spread) {
    case shared:
        return 0.25f * static_cast<float>(k) - 1.0f;
    case dense:
        return static_cast<float>(random() % 40) * steps[random() % 4];
    case borders:
        return std::ldexp(static_cast<float>(random() % 7) - 3.0f, -5 - int(random() % 9)) +
               offsets[random() % std::size(offsets)];
    case wide:
        return std::uniform_real_distribution<float>(-10.0f, 10.0f)(random);
    case odd:
        break;
    }
    return random() % 4 == 0 ? specials[random() % std::size(specials)] : 0.5f;
}

// Half the corners repeat an earlier one, some with one component moved by
// about a tolerance, so that matches, near misses and ties are common.
std::vector<GroupVertex> makeCorners(std::array<Spread, 4> spreads, int count, unsigned stream) {
    std::mt19937 random(stream);
    const float nudges[] = {5e-5f, -9.99e-5f, 1e-4f, 1.01e-4f, 2e-4f};
    std::vector<GroupVertex> corners;
    for (int i = 0; i < count; ++i) {
        Values v;
        if (i > 0 && random() % 2 == 0) {
            v = valuesOf(corners[random() % corners.size()]);
            if (random() % 2 == 0) {
                v[random() % v.size()] += nudges[random() % std::size(nudges)];
            }
        } else {
            for (size_t k = 0; k < v.size(); ++k) {
                v[k] = valueFor(spreads[std::min<size_t>(k / 3, 3)], k, random);
            }
        }
        corners.push_back(vertexOf(v));
    }
    return corners;
}

// Runs the corners through index (reset for them with the size hint expected)
// and the linear scan, comparing every answer and the lists bit for bit.
// Each probe is filled eight corners ahead of its look-up, as the mesh
// builder fills them, so that a change of cells leaves some stale.
void expectSameAsLinearScan(VertexIndex& index, const std::vector<GroupVertex>& corners,
                            size_t expected) {
    resetVertexIndex(index, expected, 0.1f);
    ObjData lists;
    std::vector<Values> reference;
    VertexProbe ring[8];
    for (size_t i = 0; i < corners.size() + std::size(ring); ++i) {
        VertexProbe& probe = ring[i % std::size(ring)];
        if (i >= std::size(ring)) {
            const size_t corner = i - std::size(ring);
            ASSERT_EQ(findOrAddVertex(index, lists, probe),
                      linearScan(reference, valuesOf(corners[corner])))
                << "corner " << corner;
        }
        if (i < corners.size()) {
            probe.vertex = corners[i];
            fillProbe(index, probe);
        }
    }
    ASSERT_EQ(lists.positions.size(), reference.size());
    for (size_t i = 0; i < reference.size(); ++i) {
        const GroupVertex stored{lists.positions[i], lists.tangents[i], lists.normals[i],
                                 lists.texCoords[i]};
        ASSERT_EQ(std::memcmp(valuesOf(stored).data(), reference[i].data(), sizeof(Values)), 0)
            << "vertex " << i;
    }
}

TEST(VertexIndexTest, MatchesTheLinearScanHoweverTheComponentsSpread) {
    const std::array<Spread, 4> cases[] = {
        {wide, wide, wide, wide},
        {dense, dense, dense, dense},
        {borders, borders, borders, borders},
        {odd, odd, odd, odd},
        {borders, wide, dense, odd},
        {shared, shared, shared, shared},
    };
    VertexIndex index; // one for all, as for the groups of a mesh
    index.randomState = 1;
    unsigned stream = 0;
    for (const auto& spreads : cases) {
        const std::vector<GroupVertex> corners = makeCorners(spreads, 3000, ++stream);
        expectSameAsLinearScan(index, corners, corners.size());
        expectSameAsLinearScan(index, corners, stream % 2); // grows from a small table
    }
}

// Thousands of corners on one position that differ only in texture
// coordinate, normal or tangent: the index keys those components too.
TEST(VertexIndexTest, MatchesTheLinearScanWhenCornersShareAPosition) {
    const std::array<Spread, 4> cases[] = {{shared, shared, shared, dense},
                                           {shared, shared, dense, shared},
                                           {shared, dense, shared, shared},
                                           {shared, shared, borders, dense}};
    VertexIndex index;
    index.randomState = 2;
    unsigned stream = 100;
    for (const auto& spreads : cases) {
        const std::vector<GroupVertex> corners = makeCorners(spreads, 4000, ++stream);
        expectSameAsLinearScan(index, corners, corners.size());
        const uint8_t* keyed = index.cells.keyed;
        EXPECT_TRUE(
            std::any_of(keyed, keyed + index.cells.keyedCount, [](int k) { return k >= 3; }))
            << "case " << stream;
    }
}

} // namespace
