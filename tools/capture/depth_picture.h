// The shadow map as a grey picture. Its depths come from a perspective
// projection, so they crowd near 1; distances from the light spread them.
#pragma once

#include <cstdint>
#include <vector>

// The distance from the light of a texel with window depth depth (0 to 1)
// under a perspective projection with clip planes zNear and zFar.
float distanceFromDepth(float depth, float zNear, float zFar);

// One grey value per depth, in the same order: the nearest distance drawn
// is black (0), the farthest drawn white (255), those between in proportion
// to distance. Texels at the cleared depth 1, where nothing was drawn, are
// white as well.
std::vector<uint8_t> depthPicture(const std::vector<float>& depths, float zNear, float zFar);
