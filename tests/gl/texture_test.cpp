// Textures against a real context: formats, parameters and mipmaps as GL
// reports them, texel contents read back, and the texel a bad file gets.
#include <string>
#include <vector>

#include "gl/gl_context.h"
#include "gl/temp_tree.h"
#include "resources/texture.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A TGA file: 18-byte header then body.
std::string tga(uint8_t type, uint16_t width, uint16_t height, uint8_t depth, const Bytes& body) {
    std::string bytes(18, '\0');
    bytes[2] = static_cast<char>(type);
    bytes[12] = static_cast<char>(width & 0xFF);
    bytes[13] = static_cast<char>(width >> 8);
    bytes[14] = static_cast<char>(height & 0xFF);
    bytes[15] = static_cast<char>(height >> 8);
    bytes[16] = static_cast<char>(depth);
    bytes.append(body.begin(), body.end());
    return bytes;
}

class TextureTest : public gltest::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_FALSE(tree.root().empty());
    }

    GLint level(GLenum parameter, GLint mip = 0) {
        GLint value = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, mip, parameter, &value);
        return value;
    }
    GLint parameter(GLenum name) {
        GLint value = -1;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }
    // Level 0 of the bound texture as tightly packed texels of format.
    Bytes texels(GLenum format, size_t bytesPerTexel) {
        Bytes out(size_t(level(GL_TEXTURE_WIDTH)) * size_t(level(GL_TEXTURE_HEIGHT)) *
                  bytesPerTexel);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        return out;
    }

    gltest::TempTree tree;
};

TEST_F(TextureTest, RgbFileGivesMipmappedRepeatingTexture) {
    Bytes body(4 * 2 * 3, 50);
    Texture texture(tree.write("donut.tga", tga(2, 4, 2, 24, body)), "donut");
    EXPECT_EQ(texture.name, "donut");
    EXPECT_EQ(texture.fileName, (tree.root() / "donut.tga").string());
    ASSERT_NE(texture.textureId, 0u);
    EXPECT_EQ(texture.image.pixels, nullptr);
    EXPECT_EQ(texture.image.width, 0);
    EXPECT_EQ(texture.image.format, 0u);

    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture.textureId);
    EXPECT_EQ(level(GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
    EXPECT_EQ(level(GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(level(GL_TEXTURE_HEIGHT), 2);
    EXPECT_EQ(level(GL_TEXTURE_WIDTH, 1), 2) << "mipmap level 1";
    EXPECT_EQ(level(GL_TEXTURE_WIDTH, 2), 1) << "mipmap level 2";
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
}

// Regression: rows of 9 bytes were uploaded with 4-byte alignment, reading
// past the pixels and shearing the picture.
TEST_F(TextureTest, OddRowWidthsUploadIntact) {
    Bytes body;
    for (uint8_t i = 0; i < 27; ++i) {
        body.push_back(i);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    Texture texture(tree.write("odd.tga", tga(2, 3, 3, 24, body)), "odd");
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 8) << "the caller's unpack alignment comes back";
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    Bytes expected;
    for (uint8_t i = 0; i < 27; i += 3) {
        expected.insert(expected.end(), {uint8_t(i + 2), uint8_t(i + 1), i});
    }
    EXPECT_EQ(texels(GL_RGB, 3), expected);
}

TEST_F(TextureTest, RgbaFileKeepsAlpha) {
    Texture texture(tree.write("a.tga", tga(10, 3, 1, 32, {0x82, 1, 2, 3, 4})), "a");
    EXPECT_EQ(level(GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(texels(GL_RGBA, 4), (Bytes{3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4}));
}

// Regression: 8-bit images went up as GL_ALPHA, which a core context refuses.
TEST_F(TextureTest, GreyscaleBecomesAlphaOfRgba) {
    Texture texture(tree.write("g.tga", tga(11, 3, 1, 8, {0x02, 10, 20, 30})), "g");
    EXPECT_EQ(level(GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(texels(GL_RGBA, 4), (Bytes{0, 0, 0, 10, 0, 0, 0, 20, 0, 0, 0, 30}));
}

// Regression: a file that failed to load left the texture without defined
// contents (and glTexEnvf raised an error on the core context).
TEST_F(TextureTest, UnloadableFilesGetDefinedTexel) {
    const Bytes grey = {128, 128, 128, 255};
    const Bytes flatNormal = {128, 128, 255, 255};
    struct Case {
        std::string path;
        Bytes texel;
    };
    const Case cases[] = {
        {(tree.root() / "missing.tga").string(), grey},
        {(tree.root() / "missing_NRM.tga").string(), flatNormal},
        {tree.write("depth16.tga", tga(2, 1, 1, 16, {1, 2})), grey},
        {tree.write("empty_NRM.tga", tga(2, 0, 4, 24, {})), flatNormal},
        {tree.makeDirectory("folder.tga"), grey},
    };
    for (const Case& c : cases) {
        Texture texture(c.path, "x");
        EXPECT_NE(texture.textureId, 0u) << c.path;
        EXPECT_EQ(texture.image.pixels, nullptr);
        EXPECT_EQ(texture.image.width, 0);
        EXPECT_EQ(level(GL_TEXTURE_WIDTH), 1) << c.path;
        EXPECT_EQ(level(GL_TEXTURE_HEIGHT), 1) << c.path;
        EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(texels(GL_RGBA, 4), c.texel) << c.path;
        EXPECT_NO_GL_ERROR() << c.path;
    }
}

TEST_F(TextureTest, SameFileGivesDistinctTextures) {
    std::string path = tree.write("same.tga", tga(2, 1, 1, 24, {1, 2, 3}));
    Texture first(path, "same");
    Texture second(path, "same");
    EXPECT_NE(first.textureId, 0u);
    EXPECT_NE(first.textureId, second.textureId);
    EXPECT_EQ(glIsTexture(first.textureId), GL_TRUE);
    EXPECT_EQ(glIsTexture(second.textureId), GL_TRUE);
}

} // namespace
