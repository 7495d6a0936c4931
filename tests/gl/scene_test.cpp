// The scene against a real GL context: start-up transcript and GL state,
// broken and missing files, the timeline, the paths and the release.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "geometry/mesh_buffers.h"
#include "gl_context.h"
#include "scene/camera_paths.h"
#include "scene/frame.h"
#include "scene/scene.h"
#include "scene/scene_clocks.h"
#include "temp_tree.h"

namespace {

std::string readSource(const std::string& name) {
    std::ifstream file(std::string(TIDEMOOR_SOURCE_DIR) + "/Shader/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A scene folder beside a Shader folder, as the program's runtime layout has.
class SceneTest : public gltest::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_FALSE(tree.root().empty());
        for (const char* name : {"Depth.vs", "Depth.fs", "Texture.vs", "Texture.fs"})
            tree.write(std::string("Shader/") + name, readSource(name));
        tree.makeDirectory("scene");
        resetSceneClocks();
    }
    void TearDown() override {
        if (theScene)
            releaseScene(*theScene);
        theScene.reset();
        resetSceneClocks();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        GlTest::TearDown();
    }

    // Runs the init callback in the scene folder and returns what it printed.
    std::string startScene() {
        gltest::ScopedWorkingDirectory inScene(tree.root() / "scene");
        testing::internal::CaptureStdout();
        const bool started = initScene();
        std::fflush(stdout);
        std::string output = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(started);
        return output;
    }

    void frames(int count, float dt) {
        for (int i = 0; i < count; ++i)
            renderFrame(dt);
    }

    gltest::TempTree tree;
};

const char* const transcriptWithoutModels =
    "Init Scene...\nInit Shader......done\nInit Models...\nLoading Obj-file...BikiniBottom"
    "Loading Obj-file...GaryLoading Obj-file...SpongebobLoading Obj-file...Patrickdone\n"
    "Load Mesh to Shader...\nSkybox...\nGary...\nSpongebob...\nPatrick...\ndone\n ready\n";

} // namespace

TEST_F(SceneTest, StartsWithoutModelsAndLeavesTheDocumentedState) {
    EXPECT_EQ(startScene(), transcriptWithoutModels);
    ASSERT_NO_GL_ERROR();
    Scene& scene = *theScene;
    ASSERT_NE(scene.textureProgram->program, 0u);
    ASSERT_NE(scene.depthProgram->program, 0u);
    EXPECT_NE(scene.depthProgram->vertex, -1);
    EXPECT_NE(scene.depthProgram->projectionMatrix, -1);
    EXPECT_EQ(scene.depthProgram->shadowMatrix, -1) << "not looked up in Depth";
    EXPECT_EQ(scene.textureProgram->modelMatrix, -1) << "looked up in Depth only";
    for (int32_t slot : {scene.textureProgram->lightPosition, scene.textureProgram->vertex,
                         scene.textureProgram->normal, scene.textureProgram->tangent,
                         scene.textureProgram->texCoord, scene.textureProgram->shadowMatrix})
        EXPECT_NE(slot, -1);

    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), scene.textureProgram->program);
    GLint unit = -1;
    glGetUniformiv(current, scene.textureProgram->shadowTexture, &unit);
    EXPECT_EQ(unit, 0);
    glGetUniformiv(current, scene.textureProgram->firstTexture, &unit);
    EXPECT_EQ(unit, 1);
    glGetUniformiv(current, scene.textureProgram->normalMap, &unit);
    EXPECT_EQ(unit, 2);

    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE2);
    GLint bound = 0;
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), scene.shadowMap->depthTexture);
    glActiveTexture(GL_TEXTURE2);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));

    // The donut's CPU arrays went with the upload; it draws from its buffers.
    EXPECT_EQ(scene.donut->shape.positions, nullptr);
    EXPECT_EQ(scene.donut->indexCount, 6144u);
    EXPECT_TRUE(scene.donut->useTexture);
    EXPECT_TRUE(scene.donut->useNormalMapping);
    EXPECT_EQ(scene.width, 1024u);
    EXPECT_EQ(scene.height, 800u);
}

// Shadow map wrapping: core profiles refuse GL_CLAMP, so it is clamp-to-edge.
TEST_F(SceneTest, ShadowMapIsACompleteClampedDepthTarget) {
    startScene();
    const ShadowMap& map = *theScene->shadowMap;
    glBindFramebuffer(GL_FRAMEBUFFER, map.framebuffer);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, map.depthTexture);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 1024);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_DEPTH_SIZE, &value);
    EXPECT_GE(value, 16);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE2);
    EXPECT_NO_GL_ERROR();
}

// Broken shaders: every slot -1, nothing set or drawn with program 0, so the
// frames raise no GL error and the scene still starts.
TEST_F(SceneTest, BrokenShadersAreReportedAndFramesRaiseNoGlError) {
    tree.write("Shader/Depth.vs", "#version 150 core\nthis is not glsl\n");
    tree.write("Shader/Texture.fs", "#version 150 core\nvoid main() { undefined(); }\n");
    const std::string output = startScene();
    EXPECT_NE(output.find("Vertex shader compile error:\n"), std::string::npos) << output;
    EXPECT_NE(output.find("Fragment shader compile error:\n"), std::string::npos) << output;
    EXPECT_NE(output.find("done\n ready\n"), std::string::npos) << output;
    EXPECT_EQ(theScene->depthProgram->program, 0u);
    EXPECT_EQ(theScene->textureProgram->program, 0u);
    EXPECT_EQ(theScene->textureProgram->vertex, -1);
    ASSERT_NO_GL_ERROR();
    reshapeScene(*theScene, 800, 600);
    frames(3, 1.0f / 60.0f);
    EXPECT_NO_GL_ERROR();
}

TEST_F(SceneTest, FramesRaiseNoGlErrorAndFollowTheWindowSize) {
    startScene();
    reshapeScene(*theScene, 1024, 800);
    frames(2, 1.0f / 60.0f);
    reshapeScene(*theScene, 640, 480);
    renderFrame(1.0f / 60.0f);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    // A minimised window (0 x 0) keeps the last size and a finite projection.
    reshapeScene(*theScene, 0, 0);
    renderFrame(1.0f / 60.0f);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    for (float element : theScene->camera.projectionMatrix.m)
        EXPECT_TRUE(std::isfinite(element));
    EXPECT_NO_GL_ERROR();
}

TEST_F(SceneTest, ProjectionOfBothProgramsIsTheFortyDegreeOneFromTheFirstFrame) {
    startScene();
    reshapeScene(*theScene, 1024, 800);
    renderFrame(0.0f);
    const float expected[16] = {2.1464667f, 0, 0,           0,  0, 2.7474773f, 0,           0,
                                0,          0, -1.0100503f, -1, 0, 0,          -2.0100503f, 0};
    for (const ShaderProgram* program :
         {theScene->depthProgram.get(), theScene->textureProgram.get()}) {
        GLfloat uploaded[16] = {};
        glGetUniformfv(program->program, program->projectionMatrix, uploaded);
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(uploaded[i], expected[i], 1e-6f) << "element " << i;
    }
}

TEST_F(SceneTest, TimelineFromStartPlacementToTheTurningDonut) {
    startScene();
    Scene& scene = *theScene;
    const float dt = 0.5f;
    // The first frame's elapsed time is 0, so the start placement holds for
    // two frames.
    renderFrame(0.0f);
    renderFrame(dt);
    EXPECT_FLOAT_EQ(scene.meshes[3]->position.x, 1.0f);
    EXPECT_FLOAT_EQ(scene.meshes[3]->position.z, -6.0f);
    EXPECT_FLOAT_EQ(scene.meshes[1]->position.z, -6.0f);
    renderFrame(dt); // model clock 0.1
    EXPECT_FLOAT_EQ(scene.meshes[1]->position.z, static_cast<float>(0.3 * 0.1 - 6.0));
    EXPECT_FLOAT_EQ(scene.meshes[3]->position.x, 0.5f);
    EXPECT_FLOAT_EQ(scene.meshes[3]->position.z, static_cast<float>(0.1 - 6.0));
    EXPECT_FLOAT_EQ(scene.meshes[2]->position.y, 1.0f) << "the sponge waits while the snail slides";

    // Run on until the model clock passes 10.5: the snail stopped at -3,
    // the sponge bobs, the starfish stopped before 4.5 and the donut turns.
    while (modelClock < 10.6f)
        renderFrame(dt);
    EXPECT_GE(scene.meshes[1]->position.z, -3.1f);
    EXPECT_LT(scene.meshes[1]->position.z, -3.0f);
    EXPECT_GE(scene.meshes[2]->position.y, 1.0f);
    EXPECT_LE(scene.meshes[2]->position.y, 2.0f);
    EXPECT_LT(scene.meshes[3]->position.z, 4.5f);
    EXPECT_GT(scene.meshes[3]->position.z, 4.3f);
    const double t = modelClock - 0.2 * dt; // the clock the last frame used
    EXPECT_NEAR(scene.donut->rotation.y, 75.0 * t - 90.0, 1e-3);
    EXPECT_FLOAT_EQ(scene.donut->rotation.x, 90.0f);
    EXPECT_NO_GL_ERROR();
}

TEST_F(SceneTest, CameraDrivesItsSquareAndTheLightSwings) {
    startScene();
    Scene& scene = *theScene;
    renderFrame(0.0f);
    renderFrame(1.0f / 60.0f);
    EXPECT_FLOAT_EQ(scene.camera.eye.x, -15.0f);
    EXPECT_FLOAT_EQ(scene.camera.eye.z, 15.0f);
    EXPECT_FLOAT_EQ(scene.light.camera.eye.z, -15.0f) << "the light clock is still 0";
    renderFrame(1.0f / 60.0f);
    EXPECT_FLOAT_EQ(scene.camera.eye.x, -15.0f + 0.02f);
    EXPECT_FLOAT_EQ(scene.light.camera.eye.x, 10.0f);
    EXPECT_FLOAT_EQ(scene.light.camera.eye.z,
                    -15.0f * static_cast<float>(std::cos(0.5f * (1.0f / 60.0f))));

    // Leg 0 runs until x passes 15; that frame already steps z.
    int guard = 0;
    while (cameraLeg == 0 && ++guard < 5000)
        updateCameraPath(scene, 1.0f / 60.0f);
    EXPECT_EQ(cameraLeg, 1);
    EXPECT_GT(scene.camera.eye.x, 15.0f);
    EXPECT_FLOAT_EQ(scene.camera.eye.z, 15.0f - 0.02f);

    // Page Down stops it; the matrices are still recomputed.
    handleKey(scene, 0x22);
    const Vector3 stopped = scene.camera.eye;
    updateCameraPath(scene, 1.0f / 60.0f);
    EXPECT_FLOAT_EQ(scene.camera.eye.x, stopped.x);
    EXPECT_FLOAT_EQ(scene.camera.eye.z, stopped.z);
    EXPECT_NO_GL_ERROR();
}

TEST_F(SceneTest, TheDefaultSceneStartsAndRendersWithoutGlError) {
    for (const auto& entry : std::filesystem::directory_iterator(TIDEMOOR_SCENE_DIR))
        if (entry.is_regular_file())
            std::filesystem::copy_file(entry.path(),
                                       tree.root() / "scene" / entry.path().filename());
    const std::string output = startScene();
    EXPECT_NE(output.find("...creating Mesh: patrick.obj\n\ndone\n"), std::string::npos) << output;
    ASSERT_NO_GL_ERROR();
    for (const auto& mesh : theScene->meshes)
        EXPECT_FALSE(mesh->groups.empty());
    reshapeScene(*theScene, 320, 250);
    renderFrame(0.0f);
    renderFrame(1.0f / 60.0f);
    handleKey(*theScene, 0x57); // shadows off
    handleKey(*theScene, 0x6D); // normal mapping off
    renderFrame(1.0f / 60.0f);
    EXPECT_NO_GL_ERROR();
}

TEST_F(SceneTest, ReleaseDeletesShadowMapAndProgramsAndMayRepeat) {
    startScene();
    const GLuint framebuffer = theScene->shadowMap->framebuffer;
    const GLuint program = theScene->textureProgram->program;
    terminate();
    EXPECT_FALSE(glIsFramebuffer(framebuffer));
    // A program still in use is only flagged; it goes once nothing uses it.
    glUseProgram(0);
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_EQ(theScene->shadowMap, nullptr);
    EXPECT_EQ(theScene->depthProgram, nullptr);
    terminate();
    EXPECT_TRUE(renderFrame(1.0f / 60.0f)) << "a frame after the release draws nothing";
    EXPECT_NO_GL_ERROR();
}
