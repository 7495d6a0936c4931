// A named GL 2D texture made from one TGA file, with a full mipmap chain and
// repeat wrapping. Created once at start-up; the pixels live on the GPU only.
#pragma once

#include <cstdint>
#include <string>

#include "resources/tga_image.h"

class Texture {
public:
    // A record that names no GL texture yet.
    Texture() = default;

    // Loads fileName and uploads it; needs a current GL context. A file that
    // cannot be loaded still gives a valid texture with one defined texel.
    Texture(std::string fileName, std::string name);

    // Stores fileName, decodes it and creates the GL texture, left bound to
    // GL_TEXTURE_2D of the active unit.
    void load(std::string fileName);

    // Sets filtering and wrapping of the texture bound to GL_TEXTURE_2D.
    void applyTextureParameters();

    std::string fileName;
    std::string name;
    uint32_t textureId = 0; // GL texture name; 0 before load
    TgaImage image;
};
