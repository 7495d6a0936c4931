// The donut's textures, "donut.tga" and "donut_NRM.tga".
//
// The donut is the system's torus (tube radius 0.5, ring radius 1): texture
// s = phi / 2 pi runs around the tube, t = theta / 2 pi around the ring, and
// it is drawn with its axis pointing down, so the top of the tube (the
// frosted half) is sin(phi) < 0, s in (0.5, 1). Its coordinates reach the GPU
// unchanged and its tangent is normal x (0, 1, 0) in torus space, not a
// texture direction, so its normal map is encoded for that frame.
#pragma once

#include <vector>

#include "tools/assets/models/model.h"

namespace assets {

constexpr float donutTubeRadius = 0.5f;
constexpr float donutRingRadius = 1.0f;

// The tangent-space vector m that makes the shader's perturbed normal equal
// the normal of the surface raised by a height field whose slopes, per unit
// of surface length, are slopeAroundTube (along growing s) and
// slopeAroundRing (along growing t), at texture position (s, t).
Vector3 donutNormalFromSlopes(float s, float t, float slopeAroundTube, float slopeAroundRing);

// Frosting with sprinkles over dough, 512 x 512, and its normal map.
std::vector<TextureFile> paintDonutTextures();

} // namespace assets
