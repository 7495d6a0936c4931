// Desktop shader text as GLSL ES 3.00: the version line and the default
// precisions, placed where an ES compiler accepts them, and nothing else
// changed.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/file_bytes.h"
#include "resources/glsl_es_source.h"

namespace {

const std::string es = "#version 300 es\n";
const std::string precisions =
    "precision highp float;\nprecision highp int;\nprecision highp sampler2D;\n";

} // namespace

TEST(GlslEsSource, RewritesTheVersionAndDeclaresPrecisionsBeforeTheFirstDeclaration) {
    struct Case {
        const char* name;
        std::string desktop;
        std::string expected;
    };
    // The shadow filter's shape: the extension enabled in a block of its own
    // after the version line, and the gathering path in a conditional group
    // inside a function. Without the macro (as in ES) the #else path runs,
    // and the #extension line must stay ahead of every declaration.
    const std::string gatherHead = "#ifdef GL_ARB_texture_gather\n"
                                   "#extension GL_ARB_texture_gather : enable\n"
                                   "#endif\n";
    const std::string gatherBody = "uniform sampler2D shadowTexture;\n"
                                   "float lit(vec2 at)\n{\n"
                                   "#ifdef GL_ARB_texture_gather\n"
                                   "    return textureGather(shadowTexture, at).r;\n"
                                   "#else\n"
                                   "    return texture(shadowTexture, at).r;\n"
                                   "#endif\n}\n";
    const std::vector<Case> cases = {
        {"plain", "#version 150 core\n\n// Lit pass.\n\nin vec4 vertex;\nvoid main() {}\n",
         es + "\n// Lit pass.\n\n" + precisions + "in vec4 vertex;\nvoid main() {}\n"},
        {"gather blocks", "#version 150 core\n" + gatherHead + "\n" + gatherBody,
         es + gatherHead + "\n" + precisions + gatherBody},
        {"declarations inside a group",
         "#version 150 core\n#define SOFT 1\n#if SOFT\n#ifdef A\nuniform int a;\n#endif\n#endif\n",
         es + "#define SOFT 1\n" + precisions +
             "#if SOFT\n#ifdef A\nuniform int a;\n#endif\n#endif\n"},
        {"comments that look like code",
         "/* #version 120\n   uniform float x; */ #version 150 core\n  // uniform\n/* a */ out "
         "vec4 c;",
         "/* #version 120\n   uniform float x; */ " + es + "  // uniform\n" + precisions +
             "/* a */ out vec4 c;"},
        {"comments opened on directive lines",
         "#version 150 core /* one\n uniform float x; */\n#define A 1 /* two\n in vec3 y; */\nin "
         "vec2 uv;",
         "#version 300 es /* one\n uniform float x; */\n#define A 1 /* two\n in vec3 y; */\n" +
             precisions + "in vec2 uv;"},
        {"no version line", "in vec2 uv;\n", es + precisions + "in vec2 uv;\n"},
        {"no code at all", "#version 150 core\n#define A", es + "#define A\n" + precisions},
        {"empty", "", es + precisions},
        {"spaced directive, CR LF", "  #  version 150 core\r\nout vec4 c;\r\n",
         "  " + es + precisions + "out vec4 c;\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(glslEsSource(c.desktop), c.expected);
    }
}

// The project's own shaders: one version line, first; the precisions once,
// before the first declaration; every other line kept in order.
TEST(GlslEsSource, KeepsTheProjectShadersWhole) {
    for (const char* name : {"Depth.vs", "Depth.fs", "Texture.vs", "Texture.fs"}) {
        SCOPED_TRACE(name);
        FileBytes bytes;
        ASSERT_TRUE(
            readFileBytes((std::string(TIDEMOOR_SOURCE_DIR) + "/Shader/" + name).c_str(), bytes));
        const std::string desktop(bytes.text());
        const std::string rewritten = glslEsSource(desktop);
        ASSERT_EQ(rewritten.rfind(es, 0), 0u);
        EXPECT_EQ(rewritten.find("#version", 1), std::string::npos);
        const size_t precision = rewritten.find(precisions);
        ASSERT_NE(precision, std::string::npos);
        EXPECT_EQ(rewritten.find("precision", precision + precisions.size()), std::string::npos);
        std::string restored = rewritten;
        restored.erase(precision, precisions.size());
        restored.erase(0, es.size());
        EXPECT_EQ(restored, desktop.substr(desktop.find('\n') + 1));
    }
}
