// Textures: one TGA file becomes one GL 2D texture with a full mipmap chain.
// The pixels live on the CPU only for the upload.
#include "resources/gl/texture.h"

#include <cstdlib>
#include <utility>

#include "resources/gl/gl_api.h"

namespace {

// RGBA texel given to a texture whose file gives no image, so nothing
// undefined is ever sampled: a normal map gets the flat normal (0, 0, 1),
// anything else mid-grey.
void uploadFallbackTexel(const std::string& fileName) {
    static constexpr uint8_t flatNormal[4] = {128, 128, 255, 255};
    static constexpr uint8_t grey[4] = {128, 128, 128, 255};
    const uint8_t* texel = fileName.ends_with("_NRM.tga") ? flatNormal : grey;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
}

// Core profiles refuse GL_ALPHA, so 8-bit pixels go up as RGBA texels
// (0, 0, 0, a): the value stays in alpha, where the shaders read it. Returns
// false when memory for the wider copy is lacking.
bool uploadAlphaAsRgba(const TgaImage& image) {
    size_t count = static_cast<size_t>(image.width) * image.height;
    auto* texels = static_cast<uint8_t*>(calloc(count, 4));
    if (texels == nullptr) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        texels[i * 4 + 3] = image.pixels[i];
    }
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texels);
    free(texels);
    return true;
}

// Uploads level 0 from the decoded image; false when there is nothing usable.
bool uploadImage(const TgaImage& image) {
    if (image.pixels == nullptr || image.width == 0 || image.height == 0) {
        return false;
    }
    if (image.format == formatAlpha) {
        return uploadAlphaAsRgba(image);
    }
    auto format = static_cast<GLenum>(image.format);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0, format,
                 GL_UNSIGNED_BYTE, image.pixels);
    return true;
}

} // namespace

Texture::Texture(std::string fileName, std::string name) : name(std::move(name)) {
    load(std::move(fileName));
}

// A file that cannot be decoded still gets a named, bound, parameterised
// texture with one defined texel. Rows are uploaded with unpack alignment 1
// because decoded rows are tightly packed (a 3-pixel 24-bit row is 9 bytes);
// the caller's alignment is restored afterwards.
void Texture::load(std::string fileName) {
    this->fileName = std::move(fileName);
    bool decoded = loadTga(this->fileName.c_str(), &image);

    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    applyTextureParameters();

    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (!decoded || !uploadImage(image)) {
        uploadFallbackTexel(this->fileName);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    glGenerateMipmap(GL_TEXTURE_2D);

    releaseTgaImage(image);
}

// Trilinear minification and repeat wrapping: the models tile their texture
// coordinates. No texture-environment call: the shaders do the texturing and a
// core context has no fixed-function state.
void Texture::applyTextureParameters() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}
