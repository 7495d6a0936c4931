// Gathering the scene's models and textures and writing their files.
#include "tools/assets/writing/scene_writer.h"

#include <future>

#include "tools/assets/models/environment.h"
#include "tools/assets/models/snail.h"
#include "tools/assets/models/sponge.h"
#include "tools/assets/models/starfish.h"
#include "tools/assets/textures/donut_textures.h"
#include "tools/assets/writing/obj_writer.h"

namespace assets {

namespace {

void take(std::vector<TextureFile>& to, std::vector<TextureFile> from) {
    for (TextureFile& texture : from) {
        to.push_back(std::move(texture));
    }
}

bool writeText(const std::string& path, const std::string& text) {
    return writeBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace

SceneAssets buildScene() {
    // The painters share nothing, so they run side by side; each one's
    // output depends only on its own fixed samples, and the results are
    // gathered in a fixed order.
    using Painter = std::vector<TextureFile> (*)();
    const Painter painters[] = {paintEnvironmentTextures, paintSnailTextures, paintSpongeTextures,
                                paintStarfishTextures, paintDonutTextures};
    std::vector<std::future<std::vector<TextureFile>>> painting;
    for (Painter painter : painters) {
        painting.push_back(std::async(std::launch::async, painter));
    }
    SceneAssets scene;
    scene.models.push_back(buildEnvironment());
    scene.models.push_back(buildSnail());
    scene.models.push_back(buildSponge());
    scene.models.push_back(buildStarfish());
    for (auto& textures : painting) {
        take(scene.textures, textures.get());
    }
    return scene;
}

bool writeScene(const SceneAssets& scene, const std::string& folder,
                std::vector<std::string>& written, std::string& error) {
    auto put = [&](const std::string& name, bool ok) {
        if (!ok) {
            error = folder + "/" + name;
            return false;
        }
        written.push_back(name);
        return true;
    };
    for (const Model& model : scene.models) {
        if (!put(model.objFile, writeText(folder + "/" + model.objFile, objText(model))) ||
            !put(model.mtlFile, writeText(folder + "/" + model.mtlFile, mtlText(model)))) {
            return false;
        }
    }
    for (const TextureFile& texture : scene.textures) {
        if (!put(texture.fileName, writeBytes(folder + "/" + texture.fileName,
                                              encodeTga(texture.colour, texture.encoding)))) {
            return false;
        }
        if (texture.normalMap.width > 0) {
            std::string name = normalMapName(texture.fileName);
            if (!put(name, writeBytes(folder + "/" + name,
                                      encodeTga(texture.normalMap, texture.encoding)))) {
                return false;
            }
        }
    }
    return true;
}

} // namespace assets
