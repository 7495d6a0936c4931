// Camera moves, the cached matrices, and the light camera's degenerate view.
#include <algorithm>
#include <cmath>
#include <utility>

#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include "view/camera.h"
#include "view/light.h"

namespace {

glm::vec3 transform(const Matrix& m, const Vector3& p) {
    return glm::vec3(glm::make_mat4(m.m) * glm::vec4(p.x, p.y, p.z, 1.0f));
}

bool same(const Matrix& a, const Matrix& b) {
    return std::equal(a.m, a.m + 16, b.m);
}

bool finite(const Matrix& m) {
    return std::all_of(m.m, m.m + 16, [](float e) { return std::isfinite(e); });
}

} // namespace

TEST(Camera, MovesWaitForTheUpdateAndZeroSizeKeepsTheProjection) {
    Camera camera;
    camera.eye = {-15.0f, 10.0f, 15.0f};
    updateCamera(camera);
    const Matrix view = camera.viewMatrix;
    swingCamera(camera, 0.01f); // z uses the x the line before moved: 15 + 0.01 * 15.1
    EXPECT_FLOAT_EQ(camera.eye.x, -15.1f);
    EXPECT_FLOAT_EQ(camera.eye.y, 9.85f);
    EXPECT_FLOAT_EQ(camera.eye.z, 15.151f);
    camera.eye = {-15.0f, 10.0f, 15.0f};
    dollyCamera(camera, 0.01f);
    EXPECT_FLOAT_EQ(camera.eye.x, -14.85f);
    EXPECT_FLOAT_EQ(camera.eye.y, 9.9f);
    EXPECT_FLOAT_EQ(camera.eye.z, 14.85f);
    EXPECT_TRUE(same(camera.viewMatrix, view)); // until the next update
    // A minimised window reports 0 x 0, and the aspect ratio divided by zero
    // filled the projection with NaN: it keeps the last one instead.
    const Matrix projection = camera.projectionMatrix;
    for (const auto& [width, height] : {std::pair{0u, 800u}, std::pair{1024u, 0u}}) {
        camera.width = width;
        camera.height = height;
        updateCamera(camera);
        EXPECT_TRUE(same(camera.projectionMatrix, projection));
        EXPECT_NEAR(glm::length(transform(camera.viewMatrix, camera.eye)), 0.0f, 1e-5f);
    }
    camera.width = 1024;
    camera.height = 400;
    updateCamera(camera);
    EXPECT_FLOAT_EQ(camera.projectionMatrix[0] * 2.56f, camera.projectionMatrix[5]);
}

// Both cameras update before any reshape, so their projection must be defined
// from the start; the light looks straight down along its up direction.
TEST(Light, StraightDownViewMeasuresDepthWithoutNaN) {
    Light light;
    light.camera.eye = {0.0f, 50.0f, 0.0f};
    updateCamera(light.camera);
    const Matrix& projection = light.camera.projectionMatrix;
    EXPECT_TRUE(finite(projection) && projection[0] > 0.0f && projection[5] > 0.0f);
    EXPECT_TRUE(finite(light.camera.viewMatrix));
    EXPECT_FLOAT_EQ(transform(light.camera.viewMatrix, {3.0f, 0.0f, 7.0f}).z, -50.0f);
}
