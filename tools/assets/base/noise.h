// Procedural noise for textures and shapes.
//
// Value noise interpolates hashed lattice values with a smooth curve. The 2D
// functions take a lattice period so that textures tile: noise(x + period, y)
// equals noise(x, y) (likewise in y). A period of 0 means no wrapping.
#pragma once

#include <cstdint>

#include "tools/assets/base/vectors.h"

namespace assets {

// Smooth value noise in [0, 1] on a lattice of unit spacing.
float valueNoise(float x, float y, int periodX, int periodY, uint32_t stream);

// Sum of octaves of value noise, each of twice the frequency and half the
// amplitude of the one before, normalised to [0, 1]. The periods double with
// the frequency, so the sum tiles with the first octave's periods.
float fractalNoise(float x, float y, int octaves, int periodX, int periodY, uint32_t stream);

// Smooth 3D value noise in [0, 1], and its octave sum, for shaping solids.
float valueNoise3(Vector3 p, uint32_t stream);
float fractalNoise3(Vector3 p, int octaves, uint32_t stream);

// Nearest and second-nearest distances to jittered feature points, one per
// lattice cell, and a random number of the nearest point's cell.
struct CellSample {
    float nearest = 0.0f;
    float second = 0.0f;
    float id = 0.0f;
    Vec2 offset; // from the nearest feature point to the sample, lattice units
};

// Cellular (Worley) noise with lattice periods as for valueNoise.
CellSample cellNoise(float x, float y, int periodX, int periodY, uint32_t stream);

} // namespace assets
