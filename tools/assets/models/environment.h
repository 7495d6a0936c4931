// The sea-floor environment, "bikinibottom.obj": a sandy plateau with a flat
// stage for the figures, rocks, kelp and coral around it, the sea bed
// falling away beyond, and the sky dome over everything.
#pragma once

#include <vector>

#include "tools/assets/models/model.h"

namespace assets {

// Height of the sea floor at world (x, z): 0 on the figures' stage, gentle
// dunes around it, a drop beyond radius 38 and low hills out at the dome.
float seaFloorHeight(float x, float z);

// The model in file coordinates (world turned back by the 90-degree turn it
// is drawn with).
Model buildEnvironment();

// Its colour maps and normal maps: sand, seabed, rock, kelp, coral and the
// sky ("bikini.tga", no normal map).
std::vector<TextureFile> paintEnvironmentTextures();

} // namespace assets
