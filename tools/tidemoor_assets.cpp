// tidemoor-assets OUTPUT_FOLDER
//
// Writes the default scene into OUTPUT_FOLDER (created if needed): the four
// OBJ models with their MTL libraries, their TGA colour maps and "_NRM.tga"
// normal maps, and the donut's "donut.tga" and "donut_NRM.tga". Everything is
// generated from fixed samples, so every run writes the same bytes. The build
// runs it to fill build/scene, the program's working directory.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tools/assets/writing/scene_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tidemoor-assets OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure) {
        std::fprintf(stderr, "tidemoor-assets: cannot create %s: %s\n", folder.c_str(),
                     failure.message().c_str());
        return 1;
    }
    try {
        assets::SceneAssets scene = assets::buildScene();
        std::vector<std::string> written;
        std::string error;
        if (!assets::writeScene(scene, folder, written, error)) {
            std::fprintf(stderr, "tidemoor-assets: cannot write %s\n", error.c_str());
            return 1;
        }
        std::printf("tidemoor-assets: wrote %zu files to %s\n", written.size(), folder.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tidemoor-assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
