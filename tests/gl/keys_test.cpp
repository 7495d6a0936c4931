// The key bindings: what each key does to the scene, and that press, repeat
// and release all act alike. No GL is needed: keys only move the camera and
// switch flags.
#include <gtest/gtest.h>

#include "scene/camera_paths.h"
#include "scene/scene.h"
#include "scene/scene_callbacks.h"

namespace {

class KeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        theScene = createScene();
        theScene->camera.eye = Vector3{-15.0f, 10.0f, 15.0f};
        updateCamera(theScene->camera);
    }
    void TearDown() override { theScene.reset(); }

    Scene& scene() { return *theScene; }
};

} // namespace

TEST_F(KeyTest, SwitchesActOnPressAndRelease) {
    keySceneCallback(true, 0x22); // Page Down
    EXPECT_FALSE(scene().autoCamera);
    keySceneCallback(false, 0x21); // Page Up, released
    EXPECT_TRUE(scene().autoCamera);
    keySceneCallback(true, 0x57); // W
    EXPECT_FALSE(scene().castShadows);
    keySceneCallback(false, 0x53); // S
    EXPECT_TRUE(scene().castShadows);
    keySceneCallback(true, 0x6D); // keypad -
    EXPECT_FALSE(scene().normalMapping);
    keySceneCallback(true, 0x6B); // keypad +
    EXPECT_TRUE(scene().normalMapping);
}

TEST_F(KeyTest, ArrowsSwingAndDollyAndUpdateTheView) {
    keySceneCallback(true, 0x25); // Left: swing by +0.01
    EXPECT_FLOAT_EQ(scene().camera.eye.x, -15.1f);
    EXPECT_FLOAT_EQ(scene().camera.eye.y, 9.85f);
    EXPECT_FLOAT_EQ(scene().camera.eye.z, 15.151f);
    Matrix expected;
    lookAt(expected, -15.1f, 9.85f, 15.151f, 0, 0, 0, 0, 1, 0);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(scene().camera.viewMatrix[i], expected[i]) << "element " << i;

    SetUp();
    keySceneCallback(true, 0x26); // Up: dolly towards the centre
    EXPECT_FLOAT_EQ(scene().camera.eye.x, -14.85f);
    EXPECT_FLOAT_EQ(scene().camera.eye.y, 9.9f);
    EXPECT_FLOAT_EQ(scene().camera.eye.z, 14.85f);
    keySceneCallback(true, 0x28); // Down: and away again
    EXPECT_NEAR(scene().camera.eye.x, -14.85f - 0.01f * 14.85f, 1e-5f);
}

TEST_F(KeyTest, ATapMovesTwiceAndAHeldKeyOncePerRepeatAndOnceOnRelease) {
    keySceneCallback(true, 0x41);  // A down
    keySceneCallback(false, 0x41); // A up
    EXPECT_FLOAT_EQ(scene().camera.eye.x, -15.0f + 0.1f + 0.1f);
    keySceneCallback(true, 0x44); // D down, two repeats, up
    keySceneCallback(true, 0x44);
    keySceneCallback(true, 0x44);
    keySceneCallback(false, 0x44);
    EXPECT_NEAR(scene().camera.eye.x, -15.0f + 0.2f - 0.4f, 1e-5f);
}

TEST_F(KeyTest, SpaceReturnsToTheStartCornerWithoutTouchingLegOrCenter) {
    scene().camera.eye = Vector3{3.0f, 4.0f, 5.0f};
    scene().camera.center = Vector3{1.0f, 0.0f, 0.0f};
    keySceneCallback(true, 0x20);
    EXPECT_FLOAT_EQ(scene().camera.eye.x, -15.0f);
    EXPECT_FLOAT_EQ(scene().camera.eye.y, 10.0f);
    EXPECT_FLOAT_EQ(scene().camera.eye.z, 15.0f);
    EXPECT_FLOAT_EQ(scene().camera.center.x, 1.0f);
}

TEST_F(KeyTest, OtherKeysDoNothing) {
    for (int32_t code : {0x00, 0x1B, 0x42, 0x5A, 0x70, 0xFF, -1, 100000}) {
        keySceneCallback(true, code);
        keySceneCallback(false, code);
    }
    EXPECT_FLOAT_EQ(scene().camera.eye.x, -15.0f);
    EXPECT_FLOAT_EQ(scene().camera.eye.z, 15.0f);
    EXPECT_TRUE(scene().autoCamera);
    EXPECT_TRUE(scene().castShadows);
    EXPECT_TRUE(scene().normalMapping);
}

TEST(SceneCreation, StartsWithTheDocumentedCamerasAndShadowMapRecord) {
    const auto scene = createScene();
    EXPECT_EQ(scene->width, 1024u);
    EXPECT_EQ(scene->height, 800u);
    EXPECT_FLOAT_EQ(scene->camera.eye.y, 15.0f);
    EXPECT_FLOAT_EQ(scene->camera.eye.z, 20.0f);
    EXPECT_FLOAT_EQ(scene->light.camera.eye.y, 50.0f);
    // Looking straight down its up vector: the first two rows of the view
    // are zero, with no NaN.
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(scene->light.camera.viewMatrix[4 * column + 0], 0.0f);
        EXPECT_EQ(scene->light.camera.viewMatrix[4 * column + 1], 0.0f);
    }
    EXPECT_EQ(scene->shadowMap->size, 1024u);
    EXPECT_EQ(scene->shadowMap->viewportWidth, 1024u);
    EXPECT_EQ(scene->shadowMap->framebuffer, 0u);
    EXPECT_TRUE(scene->autoCamera && scene->normalMapping && scene->castShadows);
}
