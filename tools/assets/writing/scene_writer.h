// The whole default scene and writing it into a folder.
#pragma once

#include <string>
#include <vector>

#include "tools/assets/models/model.h"

namespace assets {

struct SceneAssets {
    std::vector<Model> models;         // environment, snail, sponge, starfish
    std::vector<TextureFile> textures; // every colour map with its normal map
};

// Builds every model and paints every texture, from fixed samples.
SceneAssets buildScene();

// Writes the models' OBJ and MTL files and every texture (colour maps and
// "_NRM.tga" normal maps) into folder, which must exist. Appends the names
// of the files written to written; on failure returns false with the
// offending file in error.
bool writeScene(const SceneAssets& scene, const std::string& folder,
                std::vector<std::string>& written, std::string& error);

} // namespace assets
