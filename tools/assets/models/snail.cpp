// The snail's geometry, built around its own origin and then stood on its
// foot height beside its placement (scene_layout.h).
#include "tools/assets/models/snail.h"

#include <cmath>

#include "tools/assets/models/figure_parts.h"
#include "tools/assets/models/scene_layout.h"

namespace assets {

namespace {

// The body: a low slug shape whose front rises into a rounded head.
MeshPart body() {
    std::vector<Vector3> path = {{0, 0.10f, -0.58f}, {0, 0.11f, -0.40f}, {0, 0.12f, -0.15f},
                                 {0, 0.13f, 0.10f},  {0, 0.17f, 0.30f},  {0, 0.26f, 0.44f},
                                 {0, 0.38f, 0.52f},  {0, 0.47f, 0.55f}};
    std::vector<float> radii = {0.04f, 0.12f, 0.17f, 0.18f, 0.17f, 0.15f, 0.14f, 0.13f};
    TubeOptions options;
    options.segments = 16;
    options.flatten = 0.8f;
    options.side = {1, 0, 0};
    options.sRepeat = 2.0f;
    options.tPerUnit = 1.5f;
    return makeTube(path, radii, options);
}

// The shell: a tube swept along a logarithmic spiral in the y-z plane. The
// whorls overlap, so only their outer faces show, and the inner side of the
// tube (s = 0.25, where axisY points to the spiral's centre) marks the
// spiral line.
MeshPart shell() {
    const Vector3 centre{0.0f, 0.47f, -0.12f};
    const float turns = 2.4f;
    const float growth = std::log(2.2f) / twoPi; // radius x 2.2 per turn
    const float outer = 0.28f;                   // spiral radius at the opening
    const float last = -0.5f * pi;               // the opening faces down
    const int points = 72;
    std::vector<Vector3> path;
    std::vector<float> radii;
    for (int k = 0; k < points; ++k) {
        float theta = last - twoPi * turns * (1.0f - static_cast<float>(k) / (points - 1));
        float rho = outer * std::exp(growth * (theta - last));
        path.push_back(centre + Vector3{0.0f, rho * std::sin(theta), rho * std::cos(theta)});
        radii.push_back(0.55f * 1.3f * rho);
    }
    TubeOptions options;
    options.segments = 14;
    options.flatten = 1.0f / 1.3f; // wider across than in the spiral's plane
    options.side = {1, 0, 0};
    options.tPerUnit = 2.0f;
    options.capRings = 3;
    return makeTube(path, radii, options);
}

MeshPart stalk(float side) {
    std::vector<Vector3> path = {{side * 0.06f, 0.48f, 0.55f},
                                 {side * 0.10f, 0.70f, 0.60f},
                                 {side * 0.14f, 0.90f, 0.62f},
                                 {side * 0.16f, 1.02f, 0.62f}};
    TubeOptions options;
    options.segments = 8;
    options.side = {0, 0, 1};
    options.tPerUnit = 1.5f;
    options.capRings = 2;
    return makeTube(path, {0.03f, 0.026f, 0.023f, 0.022f}, options);
}

} // namespace

Model buildSnail() {
    Model model;
    model.objFile = "gary.obj";
    model.mtlFile = "gary.mtl";
    model.description = "Sea snail: soft body, coiled shell, eyes on stalks; faces +z.";
    model.materials = {texturedMaterial("snail_shell", "snail_shell.tga", 0.5f),
                       texturedMaterial("snail_body", "snail_body.tga", 0.35f),
                       texturedMaterial("snail_eye", "snail_eye.tga", 0.6f)};

    model.add("snail_body", body());
    model.add("snail_shell", shell());
    for (float side : {-1.0f, 1.0f}) {
        model.add("snail_body", stalk(side));
        model.add("snail_eye", eyeball({side * 0.165f, 1.07f, 0.64f}, {0.075f, 0.075f, 0.075f},
                                       {side * 0.3f, 0.15f, 1.0f}));
    }
    standFigure(model, snailSideOffset, snailFootHeight);
    return model;
}

} // namespace assets
