// Vector normalisation; the cross product is covered through the view
// matrix tests.
#include <gtest/gtest.h>

#include "math/vector3.h"

TEST(Normalize, ScalesToUnitLengthAndLeavesZeroAlone) {
    Vector3 v{3.0f, 0.0f, -4.0f};
    normalize(v);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_FLOAT_EQ(v.z, -0.8f);

    // A zero direction must not turn into NaN.
    Vector3 zero{0.0f, 0.0f, 0.0f};
    normalize(zero);
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);
}
