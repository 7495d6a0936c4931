// Textures and shader programs against a core context: textures from good and
// bad files; what a failed program prints and the GL objects it leaves (the
// scene's test looks locations up on failed programs).
#include <algorithm>
#include <cstdio>
#include <ranges>
#include <string>
#include <tuple>
#include <vector>

#include "gl/gl_context.h"
#include "gl/gl_readback.h"
#include "resources/gl/shader_program.h"
#include "resources/gl/texture.h"
#include "support/temp_folder.h"

namespace {

using namespace gltest;
using ResourcesTest = GlTest;
using Bytes = std::vector<uint8_t>;

// An uncompressed TGA: the 18-byte header, then the pixels.
std::string tga(char width, char height, char depth, const std::string& pixels) {
    return std::string{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, width, 0, height, 0, depth, 0} + pixels;
}

// Regressions: 3-pixel 24-bit rows (9 bytes) went up with 4-byte alignment
// and read past the pixels; 8-bit images went up as GL_ALPHA, which a core
// context refuses; a file that failed to load left the texture undefined.
TEST_F(ResourcesTest, TexturesFromFilesAreMipmappedRepeatingAndDefined) {
    const TempFolder tree;
    std::string bgr; // 3 x 2 pixels, stored blue first
    Bytes rgba;
    for (char i = 0; i < 18; i += 3) {
        bgr += {i, char(i + 1), char(i + 2)};
        rgba.insert(rgba.end(), {uint8_t(i + 2), uint8_t(i + 1), uint8_t(i), 255});
    }
    const std::string grey = tree.write("grey.tga", tga(3, 1, 8, "\x0a\x14\x1e"));
    // File, internal format, width of level 1 (none below a 1 x 1 image) and
    // the texels read back as RGBA.
    const std::tuple<std::string, GLint, GLint, Bytes> cases[] = {
        {tree.write("odd.tga", tga(3, 2, 24, bgr)), GL_RGB, 1, rgba},
        {grey, GL_RGBA, 1, {0, 0, 0, 10, 0, 0, 0, 20, 0, 0, 0, 30}},
        {tree.file("missing.tga"), GL_RGBA, 0, {128, 128, 128, 255}},
        {tree.file("missing_NRM.tga"), GL_RGBA, 0, {128, 128, 255, 255}}, // a flat normal
    };
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    for (const auto& [path, format, level1Width, expected] : cases) {
        SCOPED_TRACE(path);
        const Texture texture(path, "name");
        ASSERT_NE(texture.textureId, 0u);
        EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture.textureId));
        EXPECT_EQ(integer(GL_UNPACK_ALIGNMENT), 8) << "the caller's alignment is back";
        EXPECT_EQ(textureParameter(GL_TEXTURE_INTERNAL_FORMAT, 0), format);
        EXPECT_EQ(textureParameter(GL_TEXTURE_WIDTH, 1), level1Width);
        EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
        Bytes texels(4 * static_cast<size_t>(textureParameter(GL_TEXTURE_WIDTH, 0) *
                                             textureParameter(GL_TEXTURE_HEIGHT, 0)));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_EQ(texels, expected);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

const char* const vertexSource =
    "#version 150\nin vec4 v;\nout vec3 p;\nvoid main() { p = v.xyz; gl_Position = v; }\n";
const char* const fragmentSource =
    "#version 150\nin vec3 p;\nout vec4 c;\nvoid main() { c = vec4(p, 1.0); }\n";
// Compiles, but disagrees with vertexSource on the type of p.
const char* const mismatched = "#version 150\nin vec4 p;\nout vec4 c;\nvoid main() { c = p; }\n";
const char* const broken = "#version 150\nvoid main() { undeclared(); }\n";

// Shader and program objects alive (the two share one name space).
long liveObjects() {
    const auto alive = [](GLuint name) { return glIsShader(name) || glIsProgram(name); };
    return std::ranges::count_if(std::views::iota(1u, 4096u), alive);
}

// Regression: a shader that failed to compile, and a program that failed to
// link, were left alive.
TEST_F(ResourcesTest, ShaderFailuresPrintTheLogAndLeaveOnlyWhatTheRecordHolds) {
    // Name, the two sources (no .fs file for nullptr), the heading printed
    // ("": nothing) and the GL objects the record holds until destroyProgram.
    const std::tuple<const char*, const char*, const char*, std::string, int> cases[] = {
        {"Good", vertexSource, fragmentSource, "", 3},
        {"BadVertex", broken, fragmentSource, "Vertex shader compile error:\n", 0},
        {"BadFragment", vertexSource, broken, "Fragment shader compile error:\n", 1},
        {"Unlinked", vertexSource, mismatched, "Shader program link error:\n", 2},
        {"NoFragment", vertexSource, nullptr, "", 0},
    };
    const TempFolder tree;
    for (const auto& [name, vertex, fragment, heading, held] : cases) {
        SCOPED_TRACE(name);
        tree.write(std::string("Shader/") + name + ".vs", vertex);
        if (fragment != nullptr)
            tree.write(std::string("Shader/") + name + ".fs", fragment);
        const long before = liveObjects();
        ShaderProgram record;
        testing::internal::CaptureStdout();
        {
            const WorkingDirectory inWork(tree.path / "work");
            loadShaderProgram(record, name);
        }
        std::fflush(stdout);
        const std::string out = testing::internal::GetCapturedStdout();
        // The heading, then the driver's log and a line break.
        EXPECT_TRUE(heading.empty() ? out.empty()
                                    : out.starts_with(heading) && out.ends_with('\n') &&
                                          out.size() > heading.size() + 1)
            << out;
        EXPECT_EQ(record.program != 0, held == 3);
        EXPECT_EQ(liveObjects() - before, held);
        destroyProgram(&record);
        destroyProgram(&record);
        EXPECT_EQ(liveObjects(), before);
        EXPECT_EQ(record.program + record.vertexShader + record.fragmentShader, 0u);
        EXPECT_TRUE(noGlError());
    }
}

} // namespace
