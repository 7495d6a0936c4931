// The environment's geometry: sea floor, sky dome, rocks and sea plants,
// built in world coordinates and turned into file coordinates at the end.
#include "tools/assets/models/environment.h"

#include <cmath>

#include "tools/assets/base/noise.h"
#include "tools/assets/base/random.h"
#include "tools/assets/models/scene_layout.h"
#include "tools/assets/shapes/shapes.h"
#include "tools/assets/textures/sky.h"

namespace assets {

namespace {

constexpr float floorRadius = 95.0f;
constexpr float sandRadius = 30.0f; // sand inside, seabed fading to the deep outside
constexpr float sandTile = 5.0f;    // world units per sand texture tile
constexpr float seabedRepeats = 24.0f;

Vector3 seaFloorNormal(float x, float z) {
    const float e = 0.05f;
    float dx = (seaFloorHeight(x + e, z) - seaFloorHeight(x - e, z)) / (2.0f * e);
    float dz = (seaFloorHeight(x, z + e) - seaFloorHeight(x, z - e)) / (2.0f * e);
    return normalized(Vector3{-dx, 1.0f, -dz});
}

Vector3 onFloor(float x, float z, float sink) {
    return {x, seaFloorHeight(x, z) - sink, z};
}

// Ring radii from the centre out, closer together near the stage.
std::vector<float> ringRadii(float from, float to) {
    std::vector<float> radii;
    float r = 0.0f;
    while (r < to - 1e-3f) {
        if (r >= from - 1e-3f) {
            radii.push_back(r);
        }
        float step = std::clamp(0.4f + 0.08f * r, 0.4f, 4.5f);
        float next = r + step;
        if (r < sandRadius && next > sandRadius) {
            next = sandRadius; // a ring exactly where the materials meet
        }
        r = next;
    }
    radii.push_back(to);
    return radii;
}

MeshPart seaFloor(float from, float to, bool sand) {
    HeightField field;
    field.height = seaFloorHeight;
    field.normal = seaFloorNormal;
    if (sand) {
        // Planar: s along +x, t along -z, so dP/ds x dP/dt = +y.
        field.texCoord = [](float x, float z, float, float) {
            return Vec2{x / sandTile, -z / sandTile};
        };
    } else {
        field.texCoord = [](float, float, float radius, float azimuth) {
            return Vec2{seabedRepeats * azimuth / twoPi,
                        0.02f + 0.96f * (radius - sandRadius) / (floorRadius - sandRadius)};
        };
    }
    return makeDiscField(ringRadii(from, to), 96, field);
}

// The dome faces inward and so do its normals: the light stands near the
// centre, far inside the dome, so every part of the sky faces it almost
// squarely and shows its colours evenly.
MeshPart skyDome() {
    return makeDome(skyRadius, skyLowestDegrees, 64, 20, [](float azimuth, float elevation) {
        return Vec2{skyAzimuthRepeats * azimuth / twoPi, skyTAt(elevation)};
    });
}

void addRock(Model& model, uint32_t stream, float x, float z, Vector3 radii, float turn) {
    MeshPart rock = makeBoulder(stream, radii, 0.2f, 2, 0.4f);
    transform(rock, translation(onFloor(x, z, 0.3f * radii.y)) * rotationY(turn));
    model.add("rock", rock);
}

void addPebbles(Model& model, Random& random, float x, float z, int count) {
    for (int k = 0; k < count; ++k) {
        float angle = random.range(0.0f, twoPi);
        float distance = random.range(1.2f, 2.4f);
        float px = x + distance * std::cos(angle);
        float pz = z + distance * std::sin(angle);
        float size = random.range(0.18f, 0.38f);
        MeshPart pebble = makeBoulder(static_cast<uint32_t>(random.next()),
                                      {size, size * 0.6f, size * 0.85f}, 0.15f, 1, 0.4f);
        transform(pebble, translation(onFloor(px, pz, 0.2f * size)) *
                              rotationY(random.range(0.0f, 360.0f)));
        model.add("rock", pebble);
    }
}

// A frond of kelp: a flat ribbon swaying upward, widest in its middle.
MeshPart kelpFrond(Random& random, Vector3 base, float height, float heading) {
    Vector3 out{std::cos(heading), 0.0f, std::sin(heading)};
    Vector3 across{-out.z, 0.0f, out.x};
    float phase = random.range(0.0f, twoPi);
    float sway = random.range(0.2f, 0.4f);
    std::vector<Vector3> path;
    std::vector<float> radii;
    const int points = 13;
    for (int k = 0; k < points; ++k) {
        float u = static_cast<float>(k) / static_cast<float>(points - 1);
        Vector3 p = base + Vector3{0.0f, u * height, 0.0f} + out * (0.35f * height * u * u) +
                    across * (sway * std::sin(5.0f * u + phase) * u);
        path.push_back(p);
        radii.push_back(
            0.05f +
            0.2f * std::pow(std::max(0.0f, std::sin(pi * std::min(1.0f, 0.15f + u))), 0.7f));
    }
    TubeOptions options;
    options.segments = 6;
    options.flatten = 0.2f;
    options.side = across;
    options.twistDegrees = random.range(90.0f, 200.0f);
    options.tPerUnit = 0.5f;
    options.capRings = 2;
    MeshPart frond = makeTube(path, radii, options);
    // Bend the normals upward, as foliage usually is: the overhead light
    // then reaches the upright fronds instead of leaving them at ambient.
    for (Vector3& n : frond.normals) {
        n = normalized(n + Vector3{0.0f, 0.7f, 0.0f});
    }
    return frond;
}

void addKelp(Model& model, Random& random, float x, float z, int fronds, float height) {
    Vector3 base = onFloor(x, z, 0.15f);
    float heading = random.range(0.0f, twoPi);
    for (int k = 0; k < fronds; ++k) {
        heading += twoPi / static_cast<float>(fronds) + random.range(-0.4f, 0.4f);
        Vector3 foot = base + Vector3{0.2f * std::cos(heading), 0.0f, 0.2f * std::sin(heading)};
        model.add("kelp", kelpFrond(random, foot, height * random.range(0.7f, 1.0f), heading));
    }
}

MeshPart coralBranch(Vector3 start, Vector3 direction, float length, float radius, float curl) {
    std::vector<Vector3> path;
    std::vector<float> radii;
    Vector3 p = start;
    Vector3 d = normalized(direction);
    const int points = 5;
    for (int k = 0; k < points; ++k) {
        float u = static_cast<float>(k) / static_cast<float>(points - 1);
        path.push_back(p);
        radii.push_back(radius * (1.0f - 0.45f * u));
        d = normalized(d + Vector3{0.0f, curl, 0.0f});
        p = p + d * (length / static_cast<float>(points - 1));
    }
    TubeOptions options;
    options.segments = 7;
    options.tPerUnit = 1.0f;
    options.capRings = 2;
    return makeTube(path, radii, options);
}

// Branching coral: a low mound with curling branches, some of them forked.
void addCoral(Model& model, Random& random, float x, float z, float size) {
    Vector3 base = onFloor(x, z, 0.12f * size);
    MeshPart mound = makeSphere(12, 8);
    transform(mound, translation(base) * scaling(Vector3{0.5f, 0.3f, 0.5f} * size));
    smoothNormals(mound);
    model.add("coral", mound);
    int branches = 5 + static_cast<int>(random.below(3));
    for (int k = 0; k < branches; ++k) {
        float heading = twoPi * static_cast<float>(k) / static_cast<float>(branches) +
                        random.range(-0.3f, 0.3f);
        float tilt = random.range(0.35f, 0.8f);
        Vector3 direction{std::sin(tilt) * std::cos(heading), std::cos(tilt),
                          std::sin(tilt) * std::sin(heading)};
        Vector3 start =
            base + Vector3{0.2f * std::cos(heading), 0.1f, 0.2f * std::sin(heading)} * size;
        float length = random.range(0.9f, 1.5f) * size;
        model.add("coral", coralBranch(start, direction, length, 0.1f * size, 0.12f));
        if (random.uniform() < 0.6f) {
            Vector3 fork =
                start + normalized(direction + Vector3{0.0f, 0.3f, 0.0f}) * (0.45f * length);
            Vector3 side{direction.x + 0.6f * std::cos(heading + 1.2f), direction.y,
                         direction.z + 0.6f * std::sin(heading + 1.2f)};
            model.add("coral", coralBranch(fork, side, 0.5f * length, 0.07f * size, 0.15f));
        }
    }
}

// A rounded mound coral.
void addMound(Model& model, float x, float z, Vector3 radii) {
    MeshPart mound = makeSphere(16, 10);
    transform(mound, translation(onFloor(x, z, 0.25f * radii.y)) * scaling(radii));
    smoothNormals(mound);
    model.add("coral", mound);
}

} // namespace

float seaFloorHeight(float x, float z) {
    float r = std::sqrt(x * x + z * z);
    float square = std::max(std::abs(x), std::abs(z));
    // Dunes fade in outside the stage.
    float duneAmplitude = 0.5f * smoothstep(stageHalfSize, stageHalfSize + 8.0f, square);
    float warp = fractalNoise(x / 9.0f, z / 9.0f, 3, 0, 0, 11U);
    float dunes = 0.6f * std::sin(0.55f * x + 0.25f * z + 4.0f * warp) +
                  0.4f * std::sin(0.21f * z - 0.33f * x + 1.7f) - 0.2f;
    float h = duneAmplitude * dunes;
    // The plateau's rim, then the deep floor with low hills out at the dome.
    h -= 15.0f * smoothstep(38.0f, 68.0f, r);
    h += 4.0f * smoothstep(62.0f, 85.0f, r) *
         (fractalNoise(x / 18.0f, z / 18.0f, 3, 0, 0, 23U) - 0.45f);
    return h;
}

Model buildEnvironment() {
    Model model;
    model.objFile = "bikinibottom.obj";
    model.mtlFile = "bikinibottom.mtl";
    model.description = "Sea floor: sandy plateau, rocks, kelp, coral and the sky dome.";
    model.materials = {texturedMaterial("sand", "sand.tga", 0.05f),
                       texturedMaterial("seabed", "seabed.tga", 0.02f),
                       texturedMaterial("rock", "rock.tga", 0.15f),
                       texturedMaterial("kelp", "kelp.tga", 0.3f),
                       texturedMaterial("coral", "coral.tga", 0.25f),
                       texturedMaterial("sky", skyTextureName, 0.0f)};
    model.materials.back().illum = 1;

    model.add("sand", seaFloor(0.0f, sandRadius, true));
    model.add("seabed", seaFloor(sandRadius, floorRadius, false));
    model.add("sky", skyDome());

    Random random(0xb0a7d5U);
    struct Stone {
        float x, z;
        Vector3 radii;
        int pebbles;
    };
    const Stone stones[] = {
        {6.8f, -3.2f, {1.5f, 1.0f, 1.2f}, 3},   {-7.8f, 2.8f, {1.2f, 0.9f, 1.0f}, 2},
        {5.2f, 10.8f, {1.0f, 0.7f, 0.9f}, 2},   {-5.8f, -12.5f, {1.8f, 1.2f, 1.4f}, 3},
        {12.5f, 6.0f, {1.3f, 1.0f, 1.1f}, 2},   {-13.0f, -4.0f, {1.6f, 1.1f, 1.3f}, 2},
        {9.5f, -12.5f, {1.1f, 0.8f, 1.0f}, 2},  {-10.5f, 11.5f, {1.4f, 1.0f, 1.2f}, 3},
        {21.0f, -19.0f, {3.0f, 2.0f, 2.5f}, 0}, {-24.0f, 14.0f, {2.8f, 1.8f, 2.4f}, 0},
        {6.0f, 25.0f, {2.5f, 1.6f, 2.0f}, 0},   {-18.0f, -24.0f, {3.0f, 2.2f, 2.6f}, 0},
        {27.0f, 4.0f, {2.4f, 1.5f, 2.0f}, 0},
    };
    uint32_t stream = 101;
    for (const Stone& stone : stones) {
        addRock(model, stream++, stone.x, stone.z, stone.radii, random.range(0.0f, 360.0f));
        addPebbles(model, random, stone.x, stone.z, stone.pebbles);
    }

    struct Plant {
        float x, z;
        int fronds;
        float height;
    };
    const Plant kelp[] = {{-9.0f, -7.0f, 4, 5.0f},   {9.0f, 2.5f, 3, 4.2f},
                          {-6.5f, 10.0f, 4, 4.6f},   {6.5f, -9.0f, 3, 3.8f},
                          {15.0f, -3.0f, 4, 5.5f},   {-15.0f, 5.0f, 4, 5.2f},
                          {-21.0f, -12.0f, 5, 6.0f}, {18.0f, 17.0f, 5, 6.0f}};
    for (const Plant& plant : kelp) {
        addKelp(model, random, plant.x, plant.z, plant.fronds, plant.height);
    }

    struct Coral {
        float x, z, size;
    };
    const Coral corals[] = {{5.5f, 5.5f, 1.0f},   {-7.5f, -2.5f, 0.9f}, {5.0f, -7.0f, 0.8f},
                            {-4.0f, 12.5f, 1.1f}, {10.5f, -7.5f, 1.0f}, {-11.5f, -9.5f, 1.2f},
                            {11.0f, 12.0f, 1.0f}, {-13.0f, 16.0f, 1.3f}};
    for (const Coral& coral : corals) {
        addCoral(model, random, coral.x, coral.z, coral.size);
    }
    addMound(model, 8.0f, 8.5f, {0.9f, 0.55f, 0.8f});
    addMound(model, -9.5f, 6.5f, {0.8f, 0.5f, 0.9f});
    addMound(model, 4.5f, -12.0f, {0.7f, 0.45f, 0.7f});

    // World to file coordinates: undo the turn the model is drawn with.
    transformModel(model, rotationY(-environmentTurnDegrees));
    return model;
}

} // namespace assets
