// Camera moves, the cached matrices, and the light camera's degenerate view.
#include <cmath>

#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include "view/camera.h"
#include "view/light.h"

namespace {

glm::vec4 transform(const Matrix& m, float x, float y, float z) {
    return glm::make_mat4(m.m) * glm::vec4(x, y, z, 1.0f);
}

bool sameElements(const Matrix& a, const Matrix& b) {
    for (int i = 0; i < 16; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST(CameraMoves, SwingAndDollyFromTheFirstFramePosition) {
    Camera camera;
    camera.eye = {-15.0f, 10.0f, 15.0f};
    updateCamera(camera);
    const Matrix view = camera.viewMatrix;

    // z uses the x the first line already moved: 15 + 0.01 * 15.1.
    swingCamera(camera, 0.01f);
    EXPECT_FLOAT_EQ(camera.eye.x, -15.1f);
    EXPECT_FLOAT_EQ(camera.eye.y, 9.85f);
    EXPECT_FLOAT_EQ(camera.eye.z, 15.151f);

    camera.eye = {-15.0f, 10.0f, 15.0f};
    dollyCamera(camera, 0.01f);
    EXPECT_FLOAT_EQ(camera.eye.x, -14.85f);
    EXPECT_FLOAT_EQ(camera.eye.y, 9.9f);
    EXPECT_FLOAT_EQ(camera.eye.z, 14.85f);
    EXPECT_EQ(camera.center.x, 0.0f);

    // Moves leave the matrices for the next update.
    EXPECT_TRUE(sameElements(camera.viewMatrix, view));
}

TEST(UpdateCamera, DefaultProjectionColumnByColumn) {
    Camera camera;
    updateCamera(camera);
    const float expected[16] = {2.1464667f, 0, 0,           0,  0, 2.7474773f, 0,           0,
                                0,          0, -1.0100503f, -1, 0, 0,          -2.0100503f, 0};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(camera.projectionMatrix[i], expected[i]) << "element " << i;
    }

    Matrix copied;
    copyProjection(camera, copied);
    EXPECT_TRUE(sameElements(copied, camera.projectionMatrix));
}

TEST(UpdateCamera, ViewPutsEyeAtOriginAndCenterDownMinusZ) {
    Camera camera;
    camera.eye = {-15.0f, 10.0f, 15.0f};
    camera.center = {1.0f, 2.0f, 3.0f};
    updateCamera(camera);
    const glm::vec4 eye = transform(camera.viewMatrix, -15.0f, 10.0f, 15.0f);
    EXPECT_NEAR(glm::length(glm::vec3(eye)), 0.0f, 1e-5f);
    const float distance = std::sqrt(16.0f * 16.0f + 8.0f * 8.0f + 12.0f * 12.0f);
    const glm::vec4 center = transform(camera.viewMatrix, 1.0f, 2.0f, 3.0f);
    EXPECT_NEAR(center.x, 0.0f, 1e-5f);
    EXPECT_NEAR(center.y, 0.0f, 1e-5f);
    EXPECT_NEAR(center.z, -distance, 1e-4f);
}

// Regression: a minimised window reports 0 x 0, and the aspect ratio divided
// by zero, filling the projection with NaN and infinities.
TEST(UpdateCamera, ZeroSizeKeepsProjectionButUpdatesView) {
    Camera camera;
    camera.eye = {0.0f, 15.0f, 20.0f};
    updateCamera(camera);
    const Matrix projection = camera.projectionMatrix;
    const Matrix view = camera.viewMatrix;

    camera.eye = {-15.0f, 10.0f, 15.0f};
    camera.width = 0;
    updateCamera(camera);
    EXPECT_TRUE(sameElements(camera.projectionMatrix, projection));
    EXPECT_FALSE(sameElements(camera.viewMatrix, view));

    camera.width = 1024;
    camera.height = 0;
    updateCamera(camera);
    EXPECT_TRUE(sameElements(camera.projectionMatrix, projection));

    camera.height = 400;
    updateCamera(camera);
    EXPECT_FLOAT_EQ(camera.projectionMatrix[0], camera.projectionMatrix[5] / 2.56f);
}

TEST(Light, StraightDownViewHasZeroSideAndUpRowsWithoutNaN) {
    Light light;
    light.camera.eye = {0.0f, 50.0f, 0.0f};
    updateCamera(light.camera);
    const Matrix& view = light.camera.viewMatrix;
    for (int i = 0; i < 16; ++i) {
        EXPECT_FALSE(std::isnan(view[i])) << "element " << i;
    }
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(view[4 * column + 0], 0.0f);
        EXPECT_EQ(view[4 * column + 1], 0.0f);
    }
    // The depth row still measures the distance below the light.
    EXPECT_FLOAT_EQ(transform(view, 3.0f, 0.0f, 7.0f).z, -50.0f);
}
