// Tangent-space normal maps for the OBJ models, derived from height maps.
//
// How the system reads a normal map on a model (see normal_map.cpp for the
// derivation): the texel's m = rgb * 2 - 1 weighs the frame (T, B, N), where
// T is the face tangent the loader computes from the written "vt" values and
// B = N x T. Because the models write vt = (-s, -t) for the texture position
// (s, t) they want sampled, T points along -dP/ds and B along -dP/dt, and a
// height field h(s, t) is encoded as m = normalize(+dh/ds, +dh/dt, 1), both
// slopes with a plus sign. That holds for every face whose texture mapping
// keeps its orientation (dP/ds x dP/dt along the face's front normal), which
// every model of the scene keeps.
#pragma once

#include "tools/assets/textures/image.h"

namespace assets {

// The unit tangent-space vector for height slopes dh/ds and dh/dt (in height
// per texel step, both directions).
Vector3 meshNormalFromSlopes(float slopeS, float slopeT);

// The 8-bit RGB encoding of a unit vector: round((m + 1) / 2 * 255).
void encodeUnitVector(Vector3 m, uint8_t* rgb);

// A 24-bit normal map from heights in texels, slopes taken by central
// differences, scaled by strength. wrap: the neighbours of edge texels come
// from the opposite edge (tiling textures); otherwise edges are clamped.
Image meshNormalMap(const HeightMap& heights, float strength, bool wrap);

} // namespace assets
