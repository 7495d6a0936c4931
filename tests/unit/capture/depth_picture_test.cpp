// The shadow map's grey picture: distances from the light, stretched so the
// nearest texel drawn is black and the farthest white, with undrawn texels
// white.
#include <gtest/gtest.h>

#include "capture/depth_picture.h"

namespace {

constexpr float zNear = 1.0f;
constexpr float zFar = 200.0f;

TEST(DepthPicture, DepthsBecomeDistancesFromTheLight) {
    EXPECT_NEAR(distanceFromDepth(0.0f, zNear, zFar), zNear, 1e-4f);
    EXPECT_NEAR(distanceFromDepth(1.0f, zNear, zFar), zFar, 1e-2f);
    // Half the depth range lies within two units of the light.
    EXPECT_NEAR(distanceFromDepth(0.5f, zNear, zFar), 400.0f / 201.0f, 1e-4f);
}

TEST(DepthPicture, StretchesDrawnDistancesFromBlackToWhiteAndLeavesUndrawnWhite) {
    // Depths as the shadow pass leaves them: crowded near 1.
    const std::vector<float> depths = {0.97f, 1.0f, 0.95f, 0.985f, 0.99f, 0.96f};
    const std::vector<uint8_t> grey = depthPicture(depths, zNear, zFar);
    ASSERT_EQ(grey.size(), depths.size());
    EXPECT_EQ(grey[2], 0) << "the nearest is black";
    EXPECT_EQ(grey[4], 255) << "the farthest drawn is white";
    EXPECT_EQ(grey[1], 255) << "nothing drawn is white";
    // Grey grows with depth, and in proportion to distance rather than depth.
    EXPECT_LT(grey[5], grey[0]);
    EXPECT_LT(grey[0], grey[3]);
    const float d95 = distanceFromDepth(0.95f, zNear, zFar);
    const float share = (distanceFromDepth(0.97f, zNear, zFar) - d95) /
                        (distanceFromDepth(0.99f, zNear, zFar) - d95);
    EXPECT_NEAR(grey[0], share * 255.0f, 0.5f);
}

TEST(DepthPicture, OneDistanceIsBlackAndAnEmptyMapWhite) {
    EXPECT_EQ(depthPicture({0.9f, 1.0f, 0.9f}, zNear, zFar), (std::vector<uint8_t>{0, 255, 0}));
    EXPECT_EQ(depthPicture({1.0f, 1.0f}, zNear, zFar), (std::vector<uint8_t>{255, 255}));
}

} // namespace
