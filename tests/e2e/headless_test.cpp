// tidemoor-capture through EGL without an X server: the display the setting
// picks, and the failures that leave no display to render on.
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image_compare.h"
#include "program_runner.h"
#include "support/temp_folder.h"

using namespace std::chrono_literals;

namespace {

struct HeadlessRun {
    int exitCode = -1000;
    std::string output;
    std::string errors;
    std::string description;
    Picture frame2;
};

// Three frames of 320 x 250 with DISPLAY unset and environment set, keeping
// frame 2 (the references' first frame).
HeadlessRun captureWith(const std::vector<std::string>& environment) {
    const TempFolder folder;
    const std::string shot = folder.file("2.png");
    LaunchOptions options;
    options.program = std::string(TIDEMOOR_BIN_DIR) + "/tidemoor-capture";
    options.workingDirectory = TIDEMOOR_SCENE_DIR;
    options.arguments = {"--frames", "3", "--size", "320x250", "--shot", "2:" + shot};
    options.withDisplay = false;
    options.environment = environment;
    RunningProgram running = launch(options);
    HeadlessRun run;
    if (waitForExit(running, 120s))
        run.exitCode = running.exitCode;
    run.description = describe(running);
    run.output = running.output;
    std::ifstream errors(running.stderrPath, std::ios::binary);
    run.errors.assign(std::istreambuf_iterator<char>(errors), {});
    stopProgram(running);
    run.frame2 = loadPicture(shot);
    return run;
}

} // namespace

TEST(HeadlessCapture, TheSettingPicksTheSoftwareDeviceByNameOrByNumber) {
    const Picture reference =
        loadPicture(std::string(TIDEMOOR_TEST_DATA) + "/reference/frame2.png");
    ASSERT_GT(reference.width, 0) << "missing reference";
    const HeadlessRun byName = captureWith({"TIDEMOOR_EGL_DEVICE=software"});
    ASSERT_EQ(byName.exitCode, 0) << byName.description;
    const Difference difference = compare(reference, byName.frame2);
    ASSERT_TRUE(difference.sameSize);
    EXPECT_LT(difference.meanAbsolute, 2.0);
    EXPECT_LT(difference.changedShare, 0.01);
    // Mesa lists its software device first; where Mesa is the only EGL
    // vendor, device 0 renders the same frame.
    const HeadlessRun byNumber = captureWith({"TIDEMOOR_EGL_DEVICE=0"});
    ASSERT_EQ(byNumber.exitCode, 0) << byNumber.description;
    EXPECT_EQ(byNumber.frame2.rgb, byName.frame2.rgb);
}

TEST(HeadlessCapture, WithNoDisplayToRenderOnItCannotCreateTheWindow) {
    struct Case {
        std::vector<std::string> settings;
        std::vector<std::string> errors; // on standard error, in this order
    } const cases[] = {
        // glvnd then loads no EGL driver at all.
        {{"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent/tidemoor-no-vendor.json"},
         {"EGL offers no device and no surfaceless platform"}},
        // Mesa then lists its devices but cannot start them: each candidate
        // is tried in turn.
        {{"GALLIUM_DRIVER=none", "TIDEMOOR_EGL_DEVICE="},
         {"EGL device 0 failed", "the EGL surfaceless platform failed"}},
        {{"TIDEMOOR_EGL_DEVICE=7"}, {"TIDEMOOR_EGL_DEVICE=7, but there"}},
        {{"TIDEMOOR_EGL_DEVICE=gpu"}, {"TIDEMOOR_EGL_DEVICE=gpu is neither"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings.front());
        const HeadlessRun run = captureWith(c.settings);
        EXPECT_EQ(run.output, "Could not create window!");
        EXPECT_EQ(run.exitCode, 255) << run.description;
        size_t at = 0;
        for (const std::string& error : c.errors) {
            at = run.errors.find(error, at);
            EXPECT_NE(at, std::string::npos) << error << " in " << run.errors;
        }
        EXPECT_EQ(run.frame2.width, 0);
    }
}
