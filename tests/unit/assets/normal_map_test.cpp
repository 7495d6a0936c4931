// Normal-map encoding against the way the system decodes it: the loader's
// face tangent from the written (negated) texture coordinates, the shader's
// Gram-Schmidt frame, and for the donut the torus's own tangent. A bump
// looks raised when the shader's perturbed normal equals the normal of the
// raised surface.
#include <cmath>

#include <gtest/gtest.h>

#include "math/matrix.h"
#include "mesh_checks.h"
#include "tools/assets/affine.h"
#include "tools/assets/donut_textures.h"
#include "tools/assets/normal_map.h"

namespace {

using namespace assets;
using checks::loaderTangent;
using checks::shaderNormal;

void expectSameDirection(Vec3 actual, Vec3 expected) {
    EXPECT_GT(dot(normalized(actual), normalized(expected)), 0.99999f)
        << "actual (" << actual.x << ", " << actual.y << ", " << actual.z << "), expected ("
        << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

// A triangle in the plane spanned by the unit directions along and up (its
// front normal along x up), with texture positions scale x the plane
// coordinates. The shader's frame is unit length whatever the texture's
// scale, so an encoded slope is a slope per unit of surface length; the
// painters fold the scale into their strength.
MeshPart texturedTriangle(Vec3 along, Vec3 up, float scale) {
    MeshPart part;
    Vec3 n = cross(along, up);
    const Vec2 corners[3] = {{0.0f, 0.0f}, {1.0f, 0.2f}, {0.3f, 1.0f}};
    for (Vec2 c : corners) {
        part.addVertex(Vec3{3.0f, -1.0f, 2.0f} + along * c.x + up * c.y, c * scale, n);
    }
    part.addTriangle(0, 1, 2);
    return part;
}

TEST(MeshNormalMap, PerturbedNormalIsTheRaisedSurfacesNormal) {
    const Affine turns[] = {Affine{}, rotationX(90.0f), rotationY(-90.0f) * rotationX(30.0f),
                            rotationZ(135.0f) * rotationY(60.0f)};
    const Vec2 slopes[] = {{0.5f, 0.0f}, {-0.5f, 0.0f}, {0.0f, 0.7f}, {0.0f, -0.7f}, {0.3f, -0.4f}};
    for (const Affine& turn : turns) {
        Vec3 along = turn.applyToVector({1, 0, 0}); // direction of growing s
        Vec3 up = turn.applyToVector({0, 1, 0});    // direction of growing t
        Vec3 n = cross(along, up);
        for (float scale : {1.0f, 0.25f}) {
            MeshPart part = texturedTriangle(along, up, scale);
            Vec3 tangent = loaderTangent(part, part.triangles[0]);
            for (Vec2 slope : slopes) {
                Vec3 m = meshNormalFromSlopes(slope.x, slope.y);
                Vec3 raised = n - along * slope.x - up * slope.y;
                expectSameDirection(shaderNormal(n, tangent, m), raised);
            }
        }
    }
}

TEST(MeshNormalMap, SlopesOfAHeightMapTakeTheirSigns) {
    // A ridge along t at column 8: rising towards it, falling after it.
    HeightMap ridge =
        paintHeights(16, 4, [](float s, float) { return -std::abs(s * 16.0f - 8.5f); });
    Image map = meshNormalMap(ridge, 1.0f, true);
    auto m = [&](int i, int j) {
        return decodeUnitVector(&map.pixels[(static_cast<size_t>(j) * 16 + i) * 3]);
    };
    EXPECT_GT(m(4, 1).x, 0.3f);
    EXPECT_LT(m(12, 1).x, -0.3f);
    EXPECT_NEAR(m(4, 1).y, 0.0f, 0.01f);
    EXPECT_GT(m(4, 1).z, 0.5f);
}

TEST(MeshNormalMap, EdgesWrapOnlyForTilingTextures) {
    // A ramp rising along s: wrapped, column 0 sees column 15 (the top of
    // the ramp) on its left, so it slopes down; clamped, it slopes up.
    HeightMap ramp = paintHeights(16, 4, [](float s, float) { return s * 16.0f; });
    Image wrapped = meshNormalMap(ramp, 0.2f, true);
    Image clamped = meshNormalMap(ramp, 0.2f, false);
    EXPECT_LT(decodeUnitVector(&wrapped.pixels[0]).x, -0.5f);
    EXPECT_GT(decodeUnitVector(&clamped.pixels[0]).x, 0.05f);
    EXPECT_GT(decodeUnitVector(&wrapped.pixels[3 * 8]).x, 0.1f);
}

TEST(MeshNormalMap, EncodingRoundTripsWithinOneStep) {
    for (Vec3 v :
         {Vec3{0, 0, 1}, Vec3{1, 0, 0}, Vec3{0, -1, 0}, normalized(Vec3{0.3f, -0.5f, 0.8f})}) {
        uint8_t rgb[3];
        encodeUnitVector(v, rgb);
        Vec3 back = decodeUnitVector(rgb);
        EXPECT_NEAR(back.x, v.x, 1.01f / 255.0f);
        EXPECT_NEAR(back.y, v.y, 1.01f / 255.0f);
        EXPECT_NEAR(back.z, v.z, 1.01f / 255.0f);
    }
    uint8_t flat[3];
    encodeUnitVector({0, 0, 1}, flat);
    EXPECT_EQ(flat[0], 128);
    EXPECT_EQ(flat[1], 128);
    EXPECT_EQ(flat[2], 255);
}

// The torus of the donut: tube angle phi = 2 pi s, ring angle theta = 2 pi t.
Vec3 torusPoint(float phi, float theta) {
    float r = donutRingRadius + donutTubeRadius * std::cos(phi);
    return {std::cos(theta) * r, std::sin(theta) * r, donutTubeRadius * std::sin(phi)};
}

TEST(DonutNormalMap, PerturbedNormalIsTheRaisedSurfacesNormal) {
    const float delta = 1e-3f;
    for (float s = 0.03f; s < 1.0f; s += 0.11f) {
        for (float t = 0.02f; t < 1.0f; t += 0.07f) {
            float phi = twoPi * s;
            float theta = twoPi * t;
            Vec3 n{std::cos(theta) * std::cos(phi), std::sin(theta) * std::cos(phi), std::sin(phi)};
            Vec3 tangent{-n.z, 0.0f, n.x}; // normal x (0, 1, 0), as the torus generator makes it
            if (length(tangent) < 0.05f) {
                continue; // the shader has no usable frame there
            }
            Vec3 aroundTube =
                normalized(torusPoint(phi + delta, theta) - torusPoint(phi - delta, theta));
            Vec3 aroundRing =
                normalized(torusPoint(phi, theta + delta) - torusPoint(phi, theta - delta));
            for (Vec2 slope : {Vec2{0.4f, 0.0f}, Vec2{0.0f, 0.4f}, Vec2{-0.3f, 0.5f}}) {
                SCOPED_TRACE(testing::Message() << "s " << s << " t " << t);
                Vec3 m = donutNormalFromSlopes(s, t, slope.x, slope.y);
                Vec3 raised = n - aroundTube * slope.x - aroundRing * slope.y;
                expectSameDirection(shaderNormal(n, tangent, m), raised);
            }
        }
    }
}

TEST(DonutTexture, FrostingCoversTheTopOfTheTubeAsTheDonutIsPlaced) {
    // The donut's model turns (90, y, 0) degrees about x, y, z for any y.
    for (float turnY : {-90.0f, 0.0f, 45.0f}) {
        Matrix model;
        identity(model);
        rotateRzRyRx(model, 90.0f, turnY, 0.0f);
        for (float s : {0.25f, 0.75f}) {
            float phi = twoPi * s;
            Vec3 n{std::cos(phi), 0.0f, std::sin(phi)}; // theta = 0
            float worldUp = model[1] * n.x + model[5] * n.y + model[9] * n.z;
            EXPECT_NEAR(worldUp, s == 0.75f ? 1.0f : -1.0f, 1e-5f);
        }
    }
    for (float t = 0.0f; t < 1.0f; t += 0.01f) {
        EXPECT_TRUE(donutFrosted(0.75f, t));
        EXPECT_TRUE(donutFrosted(0.55f, t));
        EXPECT_TRUE(donutFrosted(0.95f, t));
        EXPECT_FALSE(donutFrosted(0.25f, t));
        EXPECT_FALSE(donutFrosted(0.35f, t));
    }
}

} // namespace
