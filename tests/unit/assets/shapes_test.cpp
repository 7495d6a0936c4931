// Shape generators: closed and consistently wound solids whose faces point
// outward, texture layouts that keep each face's orientation (what the
// normal maps are encoded for), and the sky dome seen from inside.
#include <cmath>

#include <gtest/gtest.h>

#include "mesh_checks.h"
#include "tools/assets/shapes.h"

namespace {

using namespace assets;
using checks::textureOrientation;
using checks::unmatchedEdges;

// Every triangle's winding agrees with its corners' normals, and its
// texture is not mirrored.
void expectOutwardAndUpright(const MeshPart& part) {
    int against = 0;
    int mirrored = 0;
    for (const Triangle& t : part.triangles) {
        Vec3 face = faceNormal(part, t);
        for (uint32_t corner : {t.a, t.b, t.c}) {
            against += dot(face, part.normals[corner]) <= 0.0f ? 1 : 0;
        }
        mirrored += textureOrientation(part, t) <= 0.0f ? 1 : 0;
    }
    EXPECT_EQ(against, 0);
    EXPECT_EQ(mirrored, 0);
}

TEST(Shapes, SphereIsClosedOutwardAndRound) {
    MeshPart sphere = makeSphere(16, 10);
    EXPECT_EQ(unmatchedEdges(sphere), 0);
    expectOutwardAndUpright(sphere);
    EXPECT_NEAR(signedVolume(sphere), 4.0f / 3.0f * pi, 0.25f);
    for (size_t i = 0; i < sphere.positions.size(); ++i) {
        EXPECT_NEAR(length(sphere.positions[i]), 1.0f, 1e-5f);
        EXPECT_GT(dot(sphere.normals[i], sphere.positions[i]), 0.98f);
    }
}

TEST(Shapes, SphereTextureFacesForwardWithItsSeamBehind) {
    MeshPart sphere = makeSphere(16, 10);
    for (size_t i = 0; i < sphere.positions.size(); ++i) {
        Vec3 p = sphere.positions[i];
        Vec2 st = sphere.texCoords[i];
        EXPECT_NEAR(st.y, std::acos(-p.y) / pi, 1e-4f); // t from the bottom pole
        if (std::abs(p.x) < 1e-4f && p.z > 0.5f) {
            EXPECT_NEAR(st.x, 0.5f, 1e-4f); // s = 0.5 looks along +z
        }
    }
}

TEST(Shapes, TubesAlongBentPathsAreClosed) {
    TubeOptions rounded;
    rounded.flatten = 0.6f;
    rounded.twistDegrees = 120.0f;
    TubeOptions flat = rounded;
    flat.capRings = 0;
    TubeOptions low = rounded;
    low.capScale = 0.3f;
    std::vector<Vec3> path = {{0, 0, 0}, {0.2f, 1, 0.1f}, {0.8f, 1.6f, 0.3f}, {1.6f, 1.8f, 0.2f}};
    std::vector<float> radii = {0.3f, 0.25f, 0.2f, 0.1f};
    for (const TubeOptions& options : {rounded, flat, low}) {
        MeshPart tube = makeTube(path, radii, options);
        EXPECT_EQ(unmatchedEdges(tube), 0);
        expectOutwardAndUpright(tube);
        EXPECT_GT(signedVolume(tube), 0.1f);
    }
}

TEST(Shapes, TubeTextureRunsAlongThePath) {
    TubeOptions options;
    options.tPerUnit = 2.0f;
    options.tStart = 1.0f;
    options.capRings = 0;
    MeshPart tube = makeTube({{0, 0, 0}, {0, 3, 0}}, {0.5f, 0.5f}, options);
    for (size_t i = 0; i < tube.positions.size(); ++i) {
        if (std::abs(length(Vec3{tube.positions[i].x, 0, tube.positions[i].z}) - 0.5f) < 1e-4f) {
            EXPECT_NEAR(tube.texCoords[i].y, 1.0f + 2.0f * tube.positions[i].y, 1e-4f);
        }
    }
}

TEST(Shapes, BoxIsClosedWithFlatOutwardFaces) {
    MeshPart box = makeBox({-1, -2, -0.5f}, {1, 0.5f, 0.5f}, 0.3f,
                           [](int, Vec2 local, Vec2) { return local; });
    EXPECT_EQ(unmatchedEdges(box), 0);
    expectOutwardAndUpright(box);
    EXPECT_NEAR(signedVolume(box), 2.0f * 2.5f * 1.0f, 1e-4f);
}

TEST(Shapes, BouldersAreClosedAndOutward) {
    for (uint32_t stream : {1u, 2u, 3u}) {
        MeshPart stone = makeBoulder(stream, {1.5f, 1.0f, 1.2f}, 0.2f, 2, 0.4f);
        EXPECT_EQ(unmatchedEdges(stone), 0);
        expectOutwardAndUpright(stone);
        EXPECT_GT(signedVolume(stone), 3.0f);
    }
}

TEST(Shapes, BoxProjectionKeepsOrientationOnEveryAxis) {
    const Vec3 normals[] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (Vec3 n : normals) {
        // Two directions in the plane with a x b = n.
        Vec3 a = std::abs(n.y) > 0.5f ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
        Vec3 b = cross(n, a);
        Vec2 o = boxProjection({0, 0, 0}, n, 1.0f);
        Vec2 pa = boxProjection(a, n, 1.0f) - o;
        Vec2 pb = boxProjection(b, n, 1.0f) - o;
        EXPECT_GT(pa.x * pb.y - pa.y * pb.x, 0.0f);
    }
}

TEST(Shapes, DomeFacesItsCentre) {
    MeshPart dome = makeDome(90.0f, -12.0f, 32, 10, [](float azimuth, float elevation) {
        return Vec2{azimuth, elevation / 90.0f};
    });
    ASSERT_FALSE(dome.triangles.empty());
    float lowest = 1e9f;
    float highest = -1e9f;
    for (const Triangle& t : dome.triangles) {
        Vec3 centroid =
            (dome.positions[t.a] + dome.positions[t.b] + dome.positions[t.c]) * (1.0f / 3.0f);
        EXPECT_GT(dot(faceNormal(dome, t), -centroid), 0.0f);
        EXPECT_GT(textureOrientation(dome, t), 0.0f); // the sky reads unmirrored from inside
    }
    for (Vec3 p : dome.positions) {
        EXPECT_NEAR(length(p), 90.0f, 1e-3f);
        lowest = std::min(lowest, p.y);
        highest = std::max(highest, p.y);
    }
    EXPECT_NEAR(lowest, 90.0f * std::sin(-12.0f * pi / 180.0f), 1e-3f);
    EXPECT_NEAR(highest, 90.0f, 1e-3f);
}

TEST(Shapes, DiscFieldFacesUpAndFollowsItsHeight) {
    HeightField field;
    field.height = [](float x, float z) { return 0.1f * x - 0.05f * z; };
    field.normal = [](float, float) { return normalized(Vec3{-0.1f, 1.0f, 0.05f}); };
    field.texCoord = [](float x, float z, float, float) { return Vec2{x, -z}; };
    MeshPart disc = makeDiscField({0.0f, 1.0f, 2.5f, 4.0f}, 24, field);
    for (const Triangle& t : disc.triangles) {
        EXPECT_GT(faceNormal(disc, t).y, 0.9f);
        EXPECT_GT(textureOrientation(disc, t), 0.0f);
    }
    for (Vec3 p : disc.positions) {
        EXPECT_NEAR(p.y, 0.1f * p.x - 0.05f * p.z, 1e-5f);
    }
}

} // namespace
