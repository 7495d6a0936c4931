// The sponge figure's geometry, around its own origin, then stood on its
// foot height beside its placement (scene_layout.h).
#include "tools/assets/models/sponge.h"

#include <cmath>

#include "tools/assets/models/figure_parts.h"
#include "tools/assets/models/scene_layout.h"

namespace assets {

namespace {

// t range of a cloth band, kept clear of its neighbours so that filtering
// does not bleed colours across.
float bandFrom(Cloth cloth) {
    return 0.25f * static_cast<float>(cloth) + 0.04f;
}
float bandTo(Cloth cloth) {
    return 0.25f * static_cast<float>(cloth) + 0.21f;
}

// The body box: the front face takes the left half of the texture, every
// other face the right half, all at the same scale (one unit of face per
// spongeAtlasHalf in s and per 0.98 / body height in t).
MeshPart bodyBox() {
    const float height = spongeBodyMax.y - spongeBodyMin.y;
    const float width = spongeBodyMax.x - spongeBodyMin.x;
    return makeBox(spongeBodyMin, spongeBodyMax, 0.1f, [=](int face, Vec2 local, Vec2) {
        float left = face == 4 ? spongeAtlasMargin : 0.5f + spongeAtlasMargin;
        return Vec2{left + spongeAtlasHalf * local.x / width,
                    spongeAtlasMargin + (1.0f - 2.0f * spongeAtlasMargin) * local.y / height};
    });
}

// A box of cloth: s follows the face (tiling), t stays inside the band.
MeshPart clothBox(Vector3 min, Vector3 max, Cloth cloth) {
    float from = bandFrom(cloth);
    float to = bandTo(cloth);
    return makeBox(min, max, 0.2f, [=](int, Vec2 local, Vec2 size) {
        return Vec2{local.x * 2.0f, from + (to - from) * local.y / size.y};
    });
}

MeshPart clothTube(const std::vector<Vector3>& path, const std::vector<float>& radii, Cloth cloth,
                   float capScale) {
    TubeOptions options;
    options.segments = 12;
    options.side = {0, 0, 1};
    options.capScale = capScale;
    options.capRings = 3;
    return tubeInBand(path, radii, options, bandFrom(cloth), bandTo(cloth));
}

MeshPart skinTube(const std::vector<Vector3>& path, const std::vector<float>& radii, Vector3 side) {
    TubeOptions options;
    options.segments = 10;
    options.side = side;
    options.tPerUnit = 2.0f;
    options.capRings = 3;
    return makeTube(path, radii, options);
}

void addLeg(Model& model, float x) {
    MeshPart shoe = ellipsoid({x, -0.925f, 0.06f}, {0.1f, 0.075f, 0.17f});
    squeezeT(shoe, bandFrom(Cloth::black), bandTo(Cloth::black));
    model.add("sponge_clothes", shoe);
    model.add("sponge_clothes", clothTube({{x, -0.9f, 0.0f}, {x, -0.73f, 0.0f}}, {0.045f, 0.045f},
                                          Cloth::white, 0.3f));
    model.add("sponge_skin",
              skinTube({{x, -0.76f, 0.0f}, {x, -0.6f, 0.0f}}, {0.038f, 0.038f}, {0, 0, 1}));
    model.add("sponge_clothes",
              clothTube({{x, -0.69f, 0.0f}, {x, -0.6f, 0.0f}}, {0.1f, 0.1f}, Cloth::brown, 0.3f));
}

void addArm(Model& model, float side) {
    model.add("sponge_clothes", clothTube({{side * 0.48f, 0.05f, 0.0f}, {side * 0.6f, 0.02f, 0.0f}},
                                          {0.085f, 0.09f}, Cloth::white, 0.4f));
    model.add("sponge_skin", skinTube({{side * 0.58f, 0.02f, 0.0f},
                                       {side * 0.66f, -0.12f, 0.02f},
                                       {side * 0.7f, -0.3f, 0.05f},
                                       {side * 0.72f, -0.42f, 0.06f}},
                                      {0.034f, 0.034f, 0.033f, 0.032f}, {0, 0, 1}));
    model.add("sponge_skin", ellipsoid({side * 0.725f, -0.48f, 0.065f}, {0.06f, 0.075f, 0.05f}));
}

void addEye(Model& model, float side) {
    Vector3 centre{side * 0.19f, 0.56f, 0.13f};
    model.add("sponge_eye", eyeball(centre, {0.16f, 0.16f, 0.16f}, {side * 0.12f, 0.05f, 1.0f}));
    // Three lashes over the eye, using the pupil's black at the top of the
    // eye texture.
    for (int k = -1; k <= 1; ++k) {
        float angle = 0.35f * static_cast<float>(k);
        Vector3 out{side * 0.08f + std::sin(angle) * 0.9f, std::cos(angle), 0.5f};
        out = normalized(out);
        Vector3 root = centre + out * 0.14f;
        TubeOptions options;
        options.segments = 6;
        options.side = {1, 0, 0};
        options.capRings = 2;
        model.add("sponge_eye",
                  tubeInBand({root, root + out * 0.1f}, {0.014f, 0.006f}, options, 0.95f, 0.99f));
    }
}

} // namespace

Model buildSponge() {
    Model model;
    model.objFile = "spongebob.obj";
    model.mtlFile = "spongebob.mtl";
    model.description = "Sponge figure: porous box body, shirt and trousers, limbs; faces +z.";
    model.materials = {texturedMaterial("sponge_body", "sponge_body.tga", 0.2f),
                       texturedMaterial("sponge_skin", "sponge_skin.tga", 0.2f),
                       texturedMaterial("sponge_clothes", "sponge_clothes.tga", 0.15f),
                       texturedMaterial("sponge_eye", "sponge_eye.tga", 0.6f)};

    model.add("sponge_body", bodyBox());
    // Shirt, belt and trousers wrap the bottom of the body.
    model.add("sponge_clothes",
              clothBox({-0.52f, -0.44f, -0.215f}, {0.52f, -0.3f, 0.215f}, Cloth::white));
    model.add("sponge_clothes",
              clothBox({-0.525f, -0.49f, -0.22f}, {0.525f, -0.44f, 0.22f}, Cloth::black));
    model.add("sponge_clothes",
              clothBox({-0.52f, -0.64f, -0.215f}, {0.52f, -0.49f, 0.215f}, Cloth::brown));
    // Tie: a knot and a blade turned to a diamond.
    model.add("sponge_clothes",
              clothBox({-0.03f, -0.35f, 0.21f}, {0.03f, -0.3f, 0.24f}, Cloth::red));
    MeshPart blade = clothBox({-0.035f, -0.035f, -0.01f}, {0.035f, 0.035f, 0.01f}, Cloth::red);
    transform(blade,
              translation({0.0f, -0.4f, 0.225f}) * rotationZ(45.0f) * scaling({1.0f, 1.6f, 1.0f}));
    model.add("sponge_clothes", blade);

    for (float side : {-1.0f, 1.0f}) {
        addLeg(model, side * 0.22f);
        addArm(model, side);
        addEye(model, side);
    }
    TubeOptions nose;
    nose.segments = 10;
    nose.side = {1, 0, 0};
    nose.tPerUnit = 2.0f;
    model.add("sponge_skin",
              makeTube({{0.0f, 0.42f, 0.16f}, {0.0f, 0.445f, 0.3f}, {0.0f, 0.48f, 0.4f}},
                       {0.05f, 0.045f, 0.055f}, nose));

    standFigure(model, spongeSideOffset, spongeFootHeight);
    return model;
}

} // namespace assets
