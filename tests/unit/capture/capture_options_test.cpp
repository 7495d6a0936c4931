// tidemoor-capture's command line: shots of frames and of shadow maps are
// kept apart, and a malformed one names its option.
#include <gtest/gtest.h>

#include "capture/capture_options.h"

namespace {

TEST(CaptureOptions, ShotsAndShadowShotsRepeatSeparately) {
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(parseCaptureOptions(
        {"--shadow-shot", "3:a.png", "--shot", "5:b.png", "--shadow-shot", "7:c:d.png", "--stats"},
        options, error))
        << error;
    ASSERT_EQ(options.shadowShots.size(), 2u);
    EXPECT_EQ(options.shadowShots[0].frame, 3);
    EXPECT_EQ(options.shadowShots[1].file, "c:d.png");
    ASSERT_EQ(options.shots.size(), 1u);
    EXPECT_EQ(options.shots[0].file, "b.png");
    EXPECT_TRUE(options.stats);
    EXPECT_FALSE(options.help);
}

TEST(CaptureOptions, MalformedShadowShotsAreRefused) {
    for (const char* value : {"3", "-1:a.png", "x:a.png", "3:"}) {
        CaptureOptions options;
        std::string error;
        EXPECT_FALSE(parseCaptureOptions({"--shadow-shot", value}, options, error)) << value;
        EXPECT_EQ(error, std::string("--shadow-shot needs FRAME:FILE.png, got ") + value);
    }
    CaptureOptions options;
    std::string error;
    EXPECT_FALSE(parseCaptureOptions({"--shadow-shot"}, options, error));
    EXPECT_EQ(error, "missing value after --shadow-shot");
    EXPECT_TRUE(parseCaptureOptions({"--help"}, options, error));
    EXPECT_TRUE(options.help);
}

} // namespace
