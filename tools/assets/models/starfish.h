// The starfish figure, "patrick.obj": a pink five-armed star standing on two
// of its arms, the top arm its pointed head, with green flowered shorts and
// a face looking along +z.
#pragma once

#include <vector>

#include "tools/assets/models/model.h"

namespace assets {

Model buildStarfish();

// "starfish_skin.tga", "starfish_torso.tga" (with the mouth),
// "starfish_shorts.tga" and "starfish_eye.tga", each with its normal map.
std::vector<TextureFile> paintStarfishTextures();

// The torso ellipsoid, shared by the model and the painter that puts the
// mouth on it.
constexpr Vector3 starfishTorsoCentre{0.0f, -0.62f, 0.0f};
constexpr Vector3 starfishTorsoRadii{0.55f, 0.68f, 0.42f};
// Height of the shorts' waistband and of the legs' hems, model units.
constexpr float starfishWaist = -0.95f;
constexpr float starfishHem = -1.24f;
// Where the mouth sits on the torso texture.
constexpr float starfishMouthT = 0.595f;

} // namespace assets
