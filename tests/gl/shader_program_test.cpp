// Shader programs against a real context: sources read from "../Shader/",
// the messages printed for each failure, the record each failure leaves, and
// the location slots.
#include <cstdio>
#include <optional>
#include <string>

#include "gl/gl_context.h"
#include "gl/temp_tree.h"
#include "resources/shader_program.h"

namespace {

// Every variable of the location table, each one used so none is dropped.
const char* const litVertex = R"(#version 150
uniform mat4 modelMatrix, projectionMatrix, modelViewMatrix, shadowMatrix;
uniform vec3 lightPosition;
in vec4 vertex; in vec3 normal; in vec3 tangent; in vec2 texCoord;
out vec3 vNormal; out vec2 vTexCoord; out vec4 vShadow; out vec3 vLight;
void main() {
    vec4 eye = modelViewMatrix * vertex;
    vNormal = normal + tangent;
    vTexCoord = texCoord;
    vShadow = shadowMatrix * eye;
    vLight = lightPosition - (modelMatrix * vertex).xyz;
    gl_Position = projectionMatrix * eye;
})";

const char* const litFragment = R"(#version 150
uniform sampler2D shadowTexture, firstTexture, normalMap;
uniform vec4 ambient, diffuse, specular;
uniform int useNormalMapping, useTexture;
in vec3 vNormal; in vec2 vTexCoord; in vec4 vShadow; in vec3 vLight;
out vec4 colour;
void main() {
    vec3 n = useNormalMapping != 0 ? texture(normalMap, vTexCoord).xyz : vNormal;
    vec4 base = useTexture != 0 ? texture(firstTexture, vTexCoord) : diffuse;
    float lit = texture(shadowTexture, vShadow.xy / vShadow.w).r;
    colour = ambient + base * max(dot(normalize(n), normalize(vLight)), 0.0) * lit + specular;
})";

const char* const plainVertex = R"(#version 150
in vec4 vertex;
void main() { gl_Position = vertex; }
)";

const char* const plainFragment = R"(#version 150
out vec4 colour;
void main() { colour = vec4(1.0); }
)";

// The seventeen slots with their look-ups; the last four are attributes.
struct Slot {
    const char* name;
    void (*locate)(ShaderProgram&, const char*);
    int32_t ShaderProgram::*slot;
    bool attribute;
};

const Slot slots[] = {
    {"modelMatrix", locateModelMatrix, &ShaderProgram::modelMatrix, false},
    {"projectionMatrix", locateProjectionMatrix, &ShaderProgram::projectionMatrix, false},
    {"modelViewMatrix", locateModelViewMatrix, &ShaderProgram::modelViewMatrix, false},
    {"shadowMatrix", locateShadowMatrix, &ShaderProgram::shadowMatrix, false},
    {"shadowTexture", locateShadowTexture, &ShaderProgram::shadowTexture, false},
    {"firstTexture", locateFirstTexture, &ShaderProgram::firstTexture, false},
    {"normalMap", locateNormalMap, &ShaderProgram::normalMap, false},
    {"ambient", locateAmbient, &ShaderProgram::ambient, false},
    {"diffuse", locateDiffuse, &ShaderProgram::diffuse, false},
    {"specular", locateSpecular, &ShaderProgram::specular, false},
    {"lightPosition", locateLightPosition, &ShaderProgram::lightPosition, false},
    {"useNormalMapping", locateUseNormalMapping, &ShaderProgram::useNormalMapping, false},
    {"useTexture", locateUseTexture, &ShaderProgram::useTexture, false},
    {"vertex", locateVertex, &ShaderProgram::vertex, true},
    {"normal", locateNormal, &ShaderProgram::normal, true},
    {"tangent", locateTangent, &ShaderProgram::tangent, true},
    {"texCoord", locateTexCoord, &ShaderProgram::texCoord, true},
};

// Runs with tmp/work as the working directory, so "../Shader/" is tmp/Shader.
class ShaderProgramTest : public gltest::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_FALSE(tree.root().empty());
        cwd.emplace(tree.makeDirectory("work"));
    }
    void TearDown() override {
        destroyProgram(&record);
        cwd.reset();
        GlTest::TearDown();
    }

    void shader(const std::string& file, const char* source) {
        tree.write("Shader/" + file, source);
    }

    // Loads name into record and returns what it printed.
    std::string load(const std::string& name) {
        testing::internal::CaptureStdout();
        loadShaderProgram(record, name);
        fflush(stdout);
        return testing::internal::GetCapturedStdout();
    }

    gltest::TempTree tree;
    std::optional<gltest::ScopedWorkingDirectory> cwd;
    ShaderProgram record;
};

TEST_F(ShaderProgramTest, BuildsFromShaderFolderAndLocatesEverySlot) {
    shader("Texture.vs", litVertex);
    shader("Texture.fs", litFragment);
    EXPECT_EQ(load("Texture"), "");
    ASSERT_NE(record.program, 0u);
    EXPECT_NE(record.vertexShader, 0u);
    EXPECT_NE(record.fragmentShader, 0u);
    GLint linked = GL_FALSE;
    glGetProgramiv(record.program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);

    for (const Slot& s : slots) {
        s.locate(record, s.name);
        GLint expected = s.attribute ? glGetAttribLocation(record.program, s.name)
                                     : glGetUniformLocation(record.program, s.name);
        EXPECT_GE(record.*s.slot, 0) << s.name;
        EXPECT_EQ(record.*s.slot, expected) << s.name;
    }
    // A name the program does not declare is -1 without an error.
    locateNormal(record, "noSuchAttribute");
    locateAmbient(record, "noSuchUniform");
    EXPECT_EQ(record.normal, -1);
    EXPECT_EQ(record.ambient, -1);

    GLuint program = record.program;
    GLuint vertex = record.vertexShader;
    GLuint fragment = record.fragmentShader;
    destroyProgram(&record);
    EXPECT_EQ(record.program, 0u);
    EXPECT_EQ(record.vertexShader, 0u);
    EXPECT_EQ(record.fragmentShader, 0u);
    EXPECT_EQ(glIsProgram(program), GL_FALSE);
    EXPECT_EQ(glIsShader(vertex), GL_FALSE);
    EXPECT_EQ(glIsShader(fragment), GL_FALSE);
}

TEST_F(ShaderProgramTest, VertexCompileErrorPrintsLogAndStops) {
    shader("Bad.vs", "#version 150\nvoid main() { gl_Position = vec4(1.0) }\n");
    shader("Bad.fs", plainFragment);
    std::string out = load("Bad");
    const std::string heading = "Vertex shader compile error:\n";
    ASSERT_EQ(out.substr(0, heading.size()), heading);
    EXPECT_GT(out.size(), heading.size() + 1) << "the driver's log follows";
    EXPECT_EQ(out.back(), '\n');
    EXPECT_EQ(out.find("Fragment"), std::string::npos);
    EXPECT_EQ(out.find("link"), std::string::npos);
    EXPECT_EQ(record.program, 0u);
    EXPECT_EQ(record.vertexShader, 0u);
    EXPECT_EQ(record.fragmentShader, 0u);
}

TEST_F(ShaderProgramTest, FragmentCompileErrorKeepsVertexShader) {
    shader("Bad.vs", plainVertex);
    shader("Bad.fs", "#version 150\nout vec4 c;\nvoid main() { c = undeclared; }\n");
    std::string out = load("Bad");
    const std::string heading = "Fragment shader compile error:\n";
    ASSERT_EQ(out.substr(0, heading.size()), heading);
    EXPECT_NE(out.find("undeclared"), std::string::npos) << out;
    EXPECT_EQ(record.program, 0u);
    EXPECT_EQ(record.fragmentShader, 0u);
    ASSERT_NE(record.vertexShader, 0u);

    GLuint vertex = record.vertexShader;
    EXPECT_EQ(glIsShader(vertex), GL_TRUE);
    destroyProgram(&record);
    EXPECT_EQ(glIsShader(vertex), GL_FALSE);
    EXPECT_EQ(record.vertexShader, 0u);
    destroyProgram(&record); // nothing left: deletes nothing, raises nothing
}

TEST_F(ShaderProgramTest, MissingSourceIsSilentAndCreatesNothing) {
    shader("Half.vs", plainVertex);
    record.modelMatrix = 5;
    EXPECT_EQ(load("Half"), "");
    EXPECT_EQ(load("Absent"), "");
    EXPECT_EQ(record.program, 0u);
    EXPECT_EQ(record.vertexShader, 0u);
    EXPECT_EQ(record.fragmentShader, 0u);
    EXPECT_EQ(record.modelMatrix, 5);
}

TEST_F(ShaderProgramTest, LinkErrorPrintsLogAndClearsProgram) {
    // The two stages disagree on the type of the varying they share.
    shader("Unlinked.vs", "#version 150\nin vec4 vertex;\nout vec3 sharedVarying;\n"
                          "void main() { sharedVarying = vertex.xyz; gl_Position = vertex; }\n");
    shader("Unlinked.fs", "#version 150\nin vec4 sharedVarying;\nout vec4 c;\n"
                          "void main() { c = sharedVarying; }\n");
    std::string out = load("Unlinked");
    const std::string heading = "Shader program link error:\n";
    ASSERT_EQ(out.substr(0, heading.size()), heading);
    EXPECT_NE(out.find("sharedVarying"), std::string::npos) << out;
    EXPECT_EQ(out.back(), '\n');
    EXPECT_EQ(record.program, 0u);
    EXPECT_NE(record.vertexShader, 0u);
    EXPECT_NE(record.fragmentShader, 0u);
    destroyProgram(&record);
    EXPECT_EQ(record.vertexShader, 0u);
    EXPECT_EQ(record.fragmentShader, 0u);
}

// Regression: look-ups on a failed program asked GL with name 0 and raised
// GL_INVALID_VALUE.
TEST_F(ShaderProgramTest, FailedProgramGetsEveryLocationMinusOneWithoutError) {
    shader("Broken.vs", "not glsl");
    shader("Broken.fs", plainFragment);
    testing::internal::CaptureStdout();
    loadShaderProgram(record, "Broken");
    fflush(stdout);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(record.program, 0u);
    for (const Slot& s : slots) {
        record.*s.slot = 7;
        s.locate(record, s.name);
        EXPECT_EQ(record.*s.slot, -1) << s.name;
    }
    EXPECT_NO_GL_ERROR();
}

} // namespace
