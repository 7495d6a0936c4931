// Pieces the figures share: eyes, ellipsoids, parts that take one band of a
// banded texture, and standing a finished figure on its foot height.
#pragma once

#include <vector>

#include "tools/assets/models/model.h"
#include "tools/assets/shapes/shapes.h"

namespace assets {

// An ellipsoid with smooth normals (sphere texture layout, see makeSphere).
MeshPart ellipsoid(Vector3 center, Vector3 radii, int segments = 16, int rings = 12);

// A sphere (or ellipsoid, radii in the eye's own frame: x across, y along
// the gaze, z the third axis) whose texture pole t = 1 looks along forward:
// eye textures paint the pupil at the top rows.
MeshPart eyeball(Vector3 center, Vector3 radii, Vector3 forward);

// Rewrites t of every vertex from [0, 1] to [from, to], keeping s.
void squeezeT(MeshPart& part, float from, float to);

// A tube whose whole t range, caps included, spans [from, to].
MeshPart tubeInBand(const std::vector<Vector3>& path, const std::vector<float>& radii,
                    TubeOptions options, float from, float to);

// Moves the finished figure sideways by sideOffset and up or down so that
// its lowest point is at footHeight.
void standFigure(Model& model, float sideOffset, float footHeight);

} // namespace assets
