// The real tidemoor program against a real X server: its window, its keys,
// its close request and its exit codes.
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "program_runner.h"

namespace {

using namespace std::chrono_literals;

const char* const title = "Vorlin - Tidemoor";

LaunchOptions tidemoor(bool withDisplay = true) {
    LaunchOptions options;
    options.program = std::string(TIDEMOOR_BIN_DIR) + "/tidemoor";
    options.workingDirectory = TIDEMOOR_SCENE_DIR;
    options.withDisplay = withDisplay;
    return options;
}

std::string windowInfo(unsigned long window) {
    return runCommand("xwininfo -id " + std::to_string(window));
}

class TidemoorWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY"))
            GTEST_FAIL() << "no X display: run the end-to-end tests under Xvfb (scripts/test)";
        program = launch(tidemoor());
        ASSERT_GT(program.pid, 0);
        window = findWindow(program.pid, title, 20s);
        ASSERT_NE(window, 0u) << "no window titled \"" << title << "\" appeared; "
                              << describe(program);
    }
    void TearDown() override { stopProgram(program); }

    void pressEscapeAndExpectCleanExit() {
        runCommand("xdotool key --window " + std::to_string(window) + " Escape 2>/dev/null");
        ASSERT_TRUE(waitForExit(program, 20s))
            << "Escape did not end the program; " << describe(program);
        EXPECT_EQ(program.exitCode, 0);
    }

    RunningProgram program;
    unsigned long window = 0;
};

} // namespace

TEST_F(TidemoorWindow, HasTheTitleClassSizeAndPlaceOfTheProgramsWindow) {
    const std::string info = windowInfo(window);
    EXPECT_NE(info.find("Width: 1024"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 800"), std::string::npos) << info;
    EXPECT_NE(info.find("Absolute upper-left X:  0\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Absolute upper-left Y:  0\n"), std::string::npos) << info;
    const std::string properties =
        runCommand("xprop -id " + std::to_string(window) + " WM_CLASS WM_NAME");
    EXPECT_NE(properties.find("WM_CLASS(STRING) = \"Vorlin\", \"Vorlin\""), std::string::npos)
        << properties;
    EXPECT_NE(properties.find("WM_NAME(STRING) = \"Vorlin - Tidemoor\""), std::string::npos)
        << properties;
    pressEscapeAndExpectCleanExit();
}

TEST_F(TidemoorWindow, CloseRequestEndsItWithExitCodeZero) {
    ASSERT_TRUE(sendCloseRequest(window));
    ASSERT_TRUE(waitForExit(program, 20s))
        << "the close request did not end the program; " << describe(program);
    EXPECT_EQ(program.exitCode, 0);
}

TEST_F(TidemoorWindow, KeepsRunningThroughKeysAndAResize) {
    const std::string id = std::to_string(window);
    runCommand("xdotool key --window " + id + " a Left KP_Add Page_Down space 2>/dev/null");
    runCommand("xdotool windowsize " + id + " 800 600 2>/dev/null");
    // Wait until the server reports the new size, then let a few frames pass.
    std::string info;
    for (int attempt = 0; attempt < 50; ++attempt) {
        info = windowInfo(window);
        if (info.find("Width: 800") != std::string::npos)
            break;
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_NE(info.find("Width: 800"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 600"), std::string::npos) << info;
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(stillRunning(program))
        << "the program ended after keys and a resize; " << describe(program);
    pressEscapeAndExpectCleanExit();
}

TEST(TidemoorWithoutDisplay, SaysItCannotCreateTheWindowAndExitsWithMinusOne) {
    RunningProgram program = launch(tidemoor(false));
    ASSERT_GT(program.pid, 0);
    ASSERT_TRUE(waitForExit(program, 20s));
    EXPECT_EQ(program.output, "Could not create window!");
    EXPECT_EQ(program.exitCode, 255);
    stopProgram(program);
}
