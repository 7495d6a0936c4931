// The starfish figure's geometry, around its own origin, then stood on its
// foot height beside its placement (scene_layout.h).
#include "tools/assets/models/starfish.h"

#include <cmath>

#include "tools/assets/models/figure_parts.h"
#include "tools/assets/models/scene_layout.h"

namespace assets {

namespace {

MeshPart limb(const std::vector<Vector3>& path, const std::vector<float>& radii, Vector3 side,
              float flatten) {
    TubeOptions options;
    options.segments = 16;
    options.side = side;
    options.flatten = flatten;
    options.tPerUnit = 1.5f;
    options.capRings = 5;
    return makeTube(path, radii, options);
}

void addTorso(Model& model) {
    MeshPart torso = ellipsoid(starfishTorsoCentre, starfishTorsoRadii, 28, 18);
    model.add("starfish_torso",
              selectTriangles(torso, [](Vector3 c) { return c.y >= starfishWaist; }));
    model.add("starfish_shorts",
              selectTriangles(torso, [](Vector3 c) { return c.y < starfishWaist; }));
}

void addLeg(Model& model, float side) {
    MeshPart leg = limb(
        {{side * 0.2f, -1.0f, 0.0f}, {side * 0.3f, -1.35f, 0.02f}, {side * 0.4f, -1.72f, 0.05f}},
        {0.26f, 0.2f, 0.1f}, {0, 0, 1}, 0.85f);
    model.add("starfish_shorts",
              selectTriangles(leg, [](Vector3 c) { return c.y >= starfishHem; }));
    model.add("starfish_skin", selectTriangles(leg, [](Vector3 c) { return c.y < starfishHem; }));
}

void addArm(Model& model, float side) {
    model.add("starfish_skin", limb({{side * 0.3f, -0.38f, 0.0f},
                                     {side * 0.65f, -0.5f, 0.02f},
                                     {side * 0.92f, -0.66f, 0.06f}},
                                    {0.22f, 0.14f, 0.07f}, {0, 1, 0}, 0.8f));
}

void addFace(Model& model) {
    for (float side : {-1.0f, 1.0f}) {
        model.add("starfish_eye", eyeball({side * 0.085f, 0.2f, 0.21f}, {0.075f, 0.06f, 0.1f},
                                          {side * 0.2f, 0.05f, 1.0f}));
        // Eyebrows, using the black top rows of the eye texture.
        TubeOptions options;
        options.segments = 6;
        options.side = {0, 1, 0};
        options.capRings = 2;
        model.add("starfish_eye", tubeInBand({{side * 0.03f, 0.33f, 0.245f},
                                              {side * 0.09f, 0.35f, 0.24f},
                                              {side * 0.15f, 0.32f, 0.215f}},
                                             {0.016f, 0.018f, 0.014f}, options, 0.95f, 0.99f));
    }
}

} // namespace

Model buildStarfish() {
    Model model;
    model.objFile = "patrick.obj";
    model.mtlFile = "patrick.mtl";
    model.description = "Starfish figure: pink star on two legs, flowered shorts; faces +z.";
    model.materials = {texturedMaterial("starfish_skin", "starfish_skin.tga", 0.3f),
                       texturedMaterial("starfish_torso", "starfish_torso.tga", 0.3f),
                       texturedMaterial("starfish_shorts", "starfish_shorts.tga", 0.15f),
                       texturedMaterial("starfish_eye", "starfish_eye.tga", 0.6f)};

    addTorso(model);
    model.add("starfish_skin", limb({{0.0f, -0.25f, 0.0f},
                                     {0.0f, 0.15f, -0.01f},
                                     {0.0f, 0.45f, -0.03f},
                                     {0.0f, 0.7f, -0.05f}},
                                    {0.34f, 0.29f, 0.17f, 0.05f}, {1, 0, 0}, 0.85f));
    for (float side : {-1.0f, 1.0f}) {
        addLeg(model, side);
        addArm(model, side);
    }
    addFace(model);
    standFigure(model, starfishSideOffset, starfishFootHeight);
    return model;
}

} // namespace assets
