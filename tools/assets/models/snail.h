// The sea snail, "gary.obj": a soft body gliding on the floor, a coiled
// shell on its back and two eyes on stalks. It faces +z, the way it slides.
#pragma once

#include <vector>

#include "tools/assets/models/model.h"

namespace assets {

Model buildSnail();

// "snail_shell.tga", "snail_body.tga", "snail_eye.tga" with normal maps.
std::vector<TextureFile> paintSnailTextures();

} // namespace assets
