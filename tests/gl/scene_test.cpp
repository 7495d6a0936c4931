// The scene: the state its start-up leaves, frames, a minimised window and
// the release of its GL objects with the default files; broken shaders; and
// the timeline of the figures and the donut.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ranges>
#include <string>

#include "gl/gl_context.h"
#include "gl/gl_readback.h"
#include "scene/camera_paths.h"
#include "scene/frame.h"
#include "scene/scene.h"
#include "scene/scene_clocks.h"
#include "support/temp_folder.h"

namespace {

using namespace gltest;

class SceneTest : public GlTest {
protected:
    void TearDown() override {
        terminate();
        theScene.reset();
        GlTest::TearDown();
    }
};

// Runs the init callback in folder (the programs are in its "../Shader").
std::string startIn(const std::filesystem::path& folder) {
    testing::internal::CaptureStdout();
    {
        const WorkingDirectory inFolder(folder);
        EXPECT_TRUE(initScene());
    }
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

TEST_F(SceneTest, DefaultSceneStartsDrawsAndReleasesAllButItsTextures) {
    startIn(TIDEMOOR_SCENE_DIR);
    ASSERT_TRUE(noGlError());
    Scene& scene = *theScene;
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE2);
    EXPECT_EQ(textureOnUnit(GL_TEXTURE0), scene.shadowMap->depthTexture);
    EXPECT_EQ(textureOnUnit(GL_TEXTURE1), scene.donut->textureId);
    EXPECT_EQ(textureOnUnit(GL_TEXTURE2), scene.donut->normalMapId);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_CULL_FACE));
    // The shadow map, clamped to its edge: core profiles refuse GL_CLAMP.
    glBindFramebuffer(GL_FRAMEBUFFER, scene.shadowMap->framebuffer);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WIDTH, 0), 1024);
    EXPECT_EQ(textureParameter(GL_TEXTURE_HEIGHT, 0), 1024);
    EXPECT_GT(textureParameter(GL_TEXTURE_DEPTH_SIZE, 0), 0);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);

    reshapeScene(scene, 640, 480);
    renderFrame(0.0f);
    handleKey(scene, 0x57); // shadows off
    handleKey(scene, 0x6D); // normal mapping off
    renderFrame(1.0f / 60.0f);
    const ShaderProgram& lit = *scene.textureProgram;
    const auto projection = uniformFloats<16>(lit.program, lit.projectionMatrix);
    reshapeScene(scene, 0, 0); // a minimised window: the last size and projection stay
    renderFrame(1.0f / 60.0f);
    ASSERT_TRUE(noGlError());
    EXPECT_EQ(uniformFloats<16>(lit.program, lit.projectionMatrix), projection);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_TRUE(viewport[2] == 640 && viewport[3] == 480);

    // Every buffer and vertex array there is belongs to the meshes or the donut.
    const auto count = [](auto isObject) {
        return std::ranges::count_if(std::views::iota(1u, 4096u), isObject);
    };
    ASSERT_GT(count(glIsBuffer), 5) << "the meshes were loaded";
    const auto textures = count(glIsTexture);
    terminate();
    terminate();
    EXPECT_EQ(count(glIsBuffer), 0);
    EXPECT_EQ(count(glIsVertexArray), 0);
    EXPECT_EQ(count(glIsFramebuffer), 0);
    EXPECT_EQ(count(glIsTexture), textures - 1) << "only the shadow map's texture goes";
    EXPECT_TRUE(renderFrame(1.0f / 60.0f)) << "a frame after the release draws nothing";
}

// Regression: look-ups, uniforms and draws with a program that failed to
// build asked GL about program 0 and raised GL errors.
TEST_F(SceneTest, BrokenShadersRaiseNoGlErrorAndFramesStillRun) {
    const TempFolder tree;
    for (const char* file : {"Depth.vs", "Depth.fs", "Texture.vs", "Texture.fs"})
        tree.write(std::string("Shader/") + file, "#version 150\nnot glsl\n");
    const std::string out = startIn(tree.path / "scene"); // empty: no models either
    EXPECT_NE(out.find(" ready\n"), std::string::npos) << out;
    const ShaderProgram failed; // name 0 and every location -1
    EXPECT_EQ(std::memcmp(theScene->depthProgram.get(), &failed, sizeof failed), 0);
    EXPECT_EQ(std::memcmp(theScene->textureProgram.get(), &failed, sizeof failed), 0);
    ASSERT_TRUE(noGlError());
    reshapeScene(*theScene, 800, 600);
    for (int i = 0; i < 3; ++i)
        renderFrame(1.0f / 60.0f);
}

// The animation clock advances 0.2 x the elapsed seconds per frame.
TEST(SceneTimeline, FiguresMoveInTurnThenTheDonutTurns) {
    Scene scene;
    for (auto& mesh : scene.meshes)
        mesh = std::make_unique<Mesh>();
    scene.donut = std::make_unique<DonutModel>();
    const Vector3 &snail = scene.meshes[1]->position, &sponge = scene.meshes[2]->position;
    const Vector3& starfish = scene.meshes[3]->position;
    modelClock = 0.0f;
    animateModels(scene, 0.5f);
    EXPECT_TRUE(snail.z == -6 && sponge.y == 1 && starfish.z == -6) << "start placement";
    double t = 0.0; // the clock the last frame ran at
    for (; modelClock < 10.6f; animateModels(scene, 0.5f))
        t = modelClock;
    // The snail stopped at -3 (t = 10), then the sponge began to bob; the
    // starfish stopped short of 4.5 (t = 10.5), then the donut began to turn.
    EXPECT_TRUE(snail.z >= -3.1f && snail.z < -3.0f) << snail.z;
    EXPECT_TRUE(sponge.y >= 1.0f && sponge.y <= 2.0f && sponge.y != 1.0f) << sponge.y;
    EXPECT_TRUE(starfish.z > 4.3f && starfish.z < 4.5f) << starfish.z;
    EXPECT_NEAR(scene.donut->rotation.y, 75.0 * t - 90.0, 1e-3);
}

} // namespace
