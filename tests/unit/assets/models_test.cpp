// The scene's models against what the system does with them: where the
// animation puts the figures and how the light and camera see them, the
// clear stage for the figures, the sky dome seen from inside, and faces that
// are closed, outward and normal-mapped the right way round.
#include <cmath>

#include <gtest/gtest.h>

#include "math/matrix.h"
#include "mesh_checks.h"
#include "tools/assets/environment.h"
#include "tools/assets/snail.h"
#include "tools/assets/sponge.h"
#include "tools/assets/starfish.h"

namespace {

using namespace assets;
using checks::environmentToWorld;
using checks::loaderTangent;
using checks::shaderNormal;
using checks::textureOrientation;

const Model& environment() {
    static const Model model = buildEnvironment();
    return model;
}
const Model& snail() {
    static const Model model = buildSnail();
    return model;
}
const Model& sponge() {
    static const Model model = buildSponge();
    return model;
}
const Model& starfish() {
    static const Model model = buildStarfish();
    return model;
}

std::vector<const Model*> allModels() {
    return {&environment(), &snail(), &sponge(), &starfish()};
}
std::vector<const Model*> figures() {
    return {&snail(), &sponge(), &starfish()};
}

// All groups of a model as one part.
MeshPart merged(const Model& model) {
    MeshPart all;
    for (const Group& g : model.groups) {
        append(all, g.mesh);
    }
    return all;
}

TEST(Models, EveryValueIsFiniteAndEveryNormalUnit) {
    for (const Model* model : allModels()) {
        SCOPED_TRACE(model->objFile);
        for (const Group& g : model->groups) {
            SCOPED_TRACE(g.material);
            ASSERT_FALSE(g.mesh.triangles.empty());
            int bad = 0;
            for (size_t i = 0; i < g.mesh.positions.size(); ++i) {
                bad += checks::finite(g.mesh.positions[i]) ? 0 : 1;
                bad += std::isfinite(g.mesh.texCoords[i].x) && std::isfinite(g.mesh.texCoords[i].y)
                           ? 0
                           : 1;
                bad += std::abs(length(g.mesh.normals[i]) - 1.0f) < 1e-3f ? 0 : 1;
            }
            EXPECT_EQ(bad, 0);
        }
    }
}

TEST(Models, FacesAgreeWithTheirNormalsAndTexturesAreNotMirrored) {
    for (const Model* model : allModels()) {
        SCOPED_TRACE(model->objFile);
        for (const Group& g : model->groups) {
            SCOPED_TRACE(g.material);
            int against = 0;
            int mirrored = 0;
            for (const Triangle& t : g.mesh.triangles) {
                Vec3 face = faceNormal(g.mesh, t);
                // The kelp's normals are bent towards the light
                // (environment.cpp).
                if (g.material != "kelp") {
                    for (uint32_t corner : {t.a, t.b, t.c}) {
                        against += dot(face, g.mesh.normals[corner]) > 0.0f ? 0 : 1;
                    }
                }
                mirrored += textureOrientation(g.mesh, t) > 0.0f ? 0 : 1;
            }
            EXPECT_EQ(against, 0);
            EXPECT_EQ(mirrored, 0);
        }
    }
}

// On every normal-mapped face, a texel that slopes up towards growing s (or
// t) must tilt the shader's normal away from that direction, as the
// surface of a bump does there.
TEST(Models, BumpsLookRaisedOnEveryNormalMappedFace) {
    for (const Model* model : allModels()) {
        for (const Group& g : model->groups) {
            if (g.material == "sky" || g.material == "kelp") {
                continue; // no normal map; normals bent away from the faces
            }
            SCOPED_TRACE(model->objFile + " " + g.material);
            int wrong = 0;
            for (const Triangle& t : g.mesh.triangles) {
                const MeshPart& m = g.mesh;
                Vec3 e1 = m.positions[t.b] - m.positions[t.a];
                Vec3 e2 = m.positions[t.c] - m.positions[t.a];
                Vec2 d1 = m.texCoords[t.b] - m.texCoords[t.a];
                Vec2 d2 = m.texCoords[t.c] - m.texCoords[t.a];
                float det = d1.x * d2.y - d2.x * d1.y;
                Vec3 alongS = normalized((e1 * d2.y - e2 * d1.y) * (1.0f / det));
                Vec3 alongT = normalized((e2 * d1.x - e1 * d2.x) * (1.0f / det));
                Vec3 tangent = loaderTangent(m, t);
                Vec3 n = m.normals[t.a];
                Vec3 tiltS = shaderNormal(n, tangent, normalized({0.6f, 0.0f, 0.8f}));
                Vec3 tiltT = shaderNormal(n, tangent, normalized({0.0f, 0.6f, 0.8f}));
                wrong += dot(tiltS, alongS) < dot(n, alongS) - 0.1f ? 0 : 1;
                wrong += dot(tiltT, alongT) < dot(n, alongT) - 0.1f ? 0 : 1;
            }
            EXPECT_EQ(wrong, 0);
        }
    }
}

TEST(Figures, StandOnTheirFootHeights) {
    EXPECT_FLOAT_EQ(modelBounds(snail()).min.y, -0.7f);
    EXPECT_FLOAT_EQ(modelBounds(sponge()).min.y, -1.0f);
    EXPECT_FLOAT_EQ(modelBounds(starfish()).min.y, -1.8f);
    for (const Model* figure : figures()) {
        Bounds b = modelBounds(*figure);
        float height = b.max.y - b.min.y;
        EXPECT_GE(height, 1.0f) << figure->objFile;
        EXPECT_LE(height, 2.6f) << figure->objFile;
    }
}

TEST(Figures, AreClosedSoTheyCastShadows) {
    for (const Model* figure : figures()) {
        MeshPart all = merged(*figure);
        EXPECT_EQ(checks::unmatchedEdges(all), 0) << figure->objFile;
        EXPECT_GT(signedVolume(all), 0.05f) << figure->objFile;
    }
}

TEST(Figures, LookTheWayTheyMove) {
    // Eyes sit at the front (+z) of each figure.
    for (const Model* figure : figures()) {
        Bounds whole = modelBounds(*figure);
        for (const Group& g : figure->groups) {
            if (g.material.find("_eye") != std::string::npos) {
                Bounds eyes = bounds(g.mesh);
                EXPECT_GT(eyes.max.z, 0.5f * (whole.min.z + whole.max.z)) << figure->objFile;
            }
        }
    }
}

// World bounds of a figure at a placement.
Bounds placed(const Model& figure, Vec3 at) {
    Bounds b = modelBounds(figure);
    return {b.min + at, b.max + at};
}

bool overlap(const Bounds& a, const Bounds& b) {
    return a.min.x < b.max.x && b.min.x < a.max.x && a.min.y < b.max.y && b.min.y < a.max.y &&
           a.min.z < b.max.z && b.min.z < a.max.z;
}

// Every placement the animation gives each figure, sampled.
std::vector<Vec3> snailPlacements() {
    std::vector<Vec3> at;
    for (float z = -6.0f; z <= -3.0f; z += 0.05f) {
        at.push_back({-1.0f, 0.7f, z});
    }
    return at;
}
std::vector<Vec3> spongePlacements() {
    std::vector<Vec3> at;
    for (float y = 1.0f; y <= 2.0f; y += 0.05f) {
        at.push_back({-1.0f, y, -5.0f});
    }
    return at;
}
std::vector<Vec3> starfishPlacements() {
    std::vector<Vec3> at = {{1.0f, 2.0f, -6.0f}};
    for (float z = -6.0f; z <= 4.5f; z += 0.05f) {
        at.push_back({0.5f, 1.8f, z});
    }
    return at;
}

TEST(Figures, PassEachOtherAndTheDonutWithoutTouching) {
    const Bounds donut{{-3.5f, 1.5f, 4.0f}, {-0.5f, 2.5f, 7.0f}};
    for (Vec3 s : spongePlacements()) {
        for (Vec3 g : snailPlacements()) {
            EXPECT_FALSE(overlap(placed(sponge(), s), placed(snail(), g)));
        }
        for (Vec3 p : starfishPlacements()) {
            EXPECT_FALSE(overlap(placed(sponge(), s), placed(starfish(), p)));
        }
    }
    for (Vec3 p : starfishPlacements()) {
        EXPECT_FALSE(overlap(placed(starfish(), p), donut));
        for (Vec3 g : snailPlacements()) {
            EXPECT_FALSE(overlap(placed(starfish(), p), placed(snail(), g)));
        }
    }
}

// Whether world point p lies inside the view of a camera at eye looking at
// the origin with the viewer's projection (40 degrees, 1024 x 800, 1..200):
// the shadow pass draws with that projection from the light.
bool inView(Vec3 eye, Vec3 p) {
    Matrix view;
    Matrix projection;
    Matrix both;
    lookAt(view, eye.x, eye.y, eye.z, 0, 0, 0, 0, 1, 0);
    perspective(projection, 40.0f, 1024.0f / 800.0f, 1.0f, 200.0f);
    multiply(both, projection, view);
    float clip[4];
    for (int r = 0; r < 4; ++r) {
        clip[r] = both[r] * p.x + both[4 + r] * p.y + both[8 + r] * p.z + both[12 + r];
    }
    return clip[3] > 0.0f && std::abs(clip[0]) < clip[3] && std::abs(clip[1]) < clip[3] &&
           std::abs(clip[2]) < clip[3];
}

TEST(Figures, StayInTheLightsViewAllAlongTheirPaths) {
    struct Figure {
        const Model* model;
        std::vector<Vec3> placements;
    };
    const Figure all[] = {{&snail(), snailPlacements()},
                          {&sponge(), spongePlacements()},
                          {&starfish(), starfishPlacements()}};
    for (const Figure& figure : all) {
        for (Vec3 at : figure.placements) {
            Bounds b = placed(*figure.model, at);
            for (float lightZ : {-15.0f, -7.5f, 0.0f, 7.5f, 15.0f}) {
                for (int corner = 0; corner < 8; ++corner) {
                    Vec3 p{corner & 1 ? b.max.x : b.min.x, corner & 2 ? b.max.y : b.min.y,
                           corner & 4 ? b.max.z : b.min.z};
                    EXPECT_TRUE(inView({10.0f, 20.0f, lightZ}, p))
                        << figure.model->objFile << " at z " << at.z << ", light z " << lightZ;
                }
            }
        }
    }
}

TEST(Environment, TheStageIsFlatAtFloorLevel) {
    for (float x = -8.4f; x <= 8.4f; x += 0.3f) {
        for (float z = -8.4f; z <= 8.4f; z += 0.3f) {
            EXPECT_EQ(seaFloorHeight(x, z), 0.0f);
        }
    }
    const Group* sand = environment().group("sand");
    ASSERT_NE(sand, nullptr);
    int stage = 0;
    for (Vec3 p : sand->mesh.positions) {
        Vec3 w = environmentToWorld(p);
        if (std::abs(w.x) < 8.0f && std::abs(w.z) < 8.0f) {
            ++stage;
            EXPECT_EQ(w.y, 0.0f);
        }
    }
    EXPECT_GT(stage, 100);
}

TEST(Environment, DecorationsKeepOutOfTheFiguresWay) {
    for (const Group& g : environment().groups) {
        if (g.material != "rock" && g.material != "kelp" && g.material != "coral") {
            continue;
        }
        int inside = 0;
        for (Vec3 p : g.mesh.positions) {
            Vec3 w = environmentToWorld(p);
            inside += w.x > -5.0f && w.x < 3.5f && w.z > -9.5f && w.z < 8.0f ? 1 : 0;
        }
        EXPECT_EQ(inside, 0) << g.material;
        EXPECT_EQ(checks::unmatchedEdges(g.mesh), 0) << g.material; // closed: they cast shadows
    }
}

TEST(Environment, EverythingLiesWithinTheCamerasReach) {
    // The camera drives within 21 units of the centre with a far plane of 200.
    for (const Group& g : environment().groups) {
        for (Vec3 p : g.mesh.positions) {
            EXPECT_LT(length(p), 100.0f) << g.material;
        }
    }
}

TEST(Environment, SkyDomeFacesInwardAndMeetsTheFloor) {
    const Group* sky = environment().group("sky");
    ASSERT_NE(sky, nullptr);
    float lowest = 1e9f;
    for (const Triangle& t : sky->mesh.triangles) {
        const MeshPart& m = sky->mesh;
        Vec3 centroid = (m.positions[t.a] + m.positions[t.b] + m.positions[t.c]) * (1.0f / 3.0f);
        EXPECT_GT(dot(faceNormal(m, t), -centroid), 0.0f); // counter-clockwise seen from inside
    }
    for (size_t i = 0; i < sky->mesh.positions.size(); ++i) {
        EXPECT_NEAR(length(sky->mesh.positions[i]), 90.0f, 0.01f);
        // Normals towards the centre, where the light is.
        EXPECT_GT(dot(sky->mesh.normals[i], -sky->mesh.positions[i]), 0.0f);
        lowest = std::min(lowest, sky->mesh.positions[i].y);
    }
    // The floor runs out beyond the dome's foot and stays above it there,
    // so no gap opens between them.
    const Group* seabed = environment().group("seabed");
    ASSERT_NE(seabed, nullptr);
    float reach = 0.0f;
    for (Vec3 p : seabed->mesh.positions) {
        float r = std::sqrt(p.x * p.x + p.z * p.z);
        reach = std::max(reach, r);
        if (r > 85.0f) {
            EXPECT_GT(p.y, lowest);
        }
    }
    EXPECT_GT(reach, 90.0f);
}

TEST(Models, StayWithinTheirTriangleBudget) {
    size_t total = 0;
    for (const Model* model : allModels()) {
        total += triangleCount(*model);
    }
    EXPECT_LT(total, 60000u);
    for (const Model* figure : figures()) {
        EXPECT_LT(triangleCount(*figure), 10000u) << figure->objFile;
    }
}

} // namespace
