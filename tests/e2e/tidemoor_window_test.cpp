// The real tidemoor program in its visible window. Keys sent to one window
// can reach another at the same place, so these tests hold the display one
// at a time.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "image_compare.h"
#include "program_runner.h"
#include "startup_transcript.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

struct Tidemoor {
    RunningProgram program;
    unsigned long window = 0;
    ~Tidemoor() { stopProgram(program); }
};

// Starts tidemoor in folder and waits until it is ready and its window shows.
void start(Tidemoor& tidemoor, const std::string& folder) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run the end-to-end tests under Xvfb";
    tidemoor.program = launch({std::string(TIDEMOOR_BIN_DIR) + "/tidemoor", folder, {}, true, {}});
    ASSERT_TRUE(waitForOutput(tidemoor.program, " ready\n", 60s)) << describe(tidemoor.program);
    tidemoor.window = findWindow(tidemoor.program.pid, "Vorlin - Tidemoor", 20s);
    ASSERT_NE(tidemoor.window, 0u) << describe(tidemoor.program);
}

// Whether the window, read back within 20 seconds, has the size asked for
// and no corner left black.
bool becomesFilled(unsigned long window, int width, int height) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        const Picture picture = grabWindow(window);
        bool lit = picture.width == width && picture.height == height;
        for (int x : {0, width - 40})
            for (int y : {0, height - 40})
                lit = lit && brightness(picture, x, y, x + 40, y + 40) > 8.0;
        if (lit)
            return true;
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

} // namespace

TEST(TidemoorWindow, StartsTakesKeysAndAResizeAndEndsOnEscape) {
    Tidemoor tidemoor;
    ASSERT_NO_FATAL_FAILURE(start(tidemoor, TIDEMOOR_SCENE_DIR));
    const std::string id = std::to_string(tidemoor.window);
    const std::string info = runCommand("xwininfo -id " + id);
    for (const char* line : {"Absolute upper-left X:  0\n", "Absolute upper-left Y:  0\n",
                             "Width: 1024\n", "Height: 800\n"})
        EXPECT_NE(info.find(line), std::string::npos) << line << info;
    const std::string properties = runCommand("xprop -id " + id + " WM_CLASS WM_NAME");
    EXPECT_NE(properties.find("WM_CLASS(STRING) = \"Vorlin\", \"Vorlin\"\n"), std::string::npos)
        << properties;
    EXPECT_NE(properties.find("WM_NAME(STRING) = \"Vorlin - Tidemoor\"\n"), std::string::npos)
        << properties;

    runCommand("xdotool key --window " + id + " a Left KP_Add Page_Down space 2>/dev/null");
    runCommand("xdotool windowsize " + id + " 1200 1000 2>/dev/null");
    // The lit pass follows the window: once redrawn at the larger size the
    // sky and sea floor reach every corner, none stays the black clear colour.
    EXPECT_TRUE(becomesFilled(tidemoor.window, 1200, 1000));

    runCommand("xdotool key --window " + id + " Escape 2>/dev/null");
    ASSERT_TRUE(waitForExit(tidemoor.program, 20s)) << describe(tidemoor.program);
    EXPECT_EQ(tidemoor.program.exitCode, 0);
    EXPECT_EQ(tidemoor.program.output, startupTranscript);
}

TEST(TidemoorWindow, CarriesOnWithMissingAndBrokenFilesAndEndsOnACloseRequest) {
    const TempFolder folder;
    const fs::path& root = folder.path;
    const fs::path built = TIDEMOOR_SCENE_DIR;
    fs::copy(built, root / "scene", fs::copy_options::recursive);
    fs::copy(built.parent_path() / "Shader", root / "Shader", fs::copy_options::recursive);
    fs::remove(root / "scene/gary.obj");
    fs::remove(root / "scene/donut_NRM.tga");
    std::ofstream(root / "scene/donut.tga") << "not an image";
    std::ofstream(root / "Shader/Depth.fs") << "#version 150 core\nvoid main() { broken }\n";

    Tidemoor tidemoor;
    start(tidemoor, (root / "scene").string());
    fs::remove_all(root); // read by the time it is ready
    ASSERT_FALSE(HasFatalFailure());
    const std::string& output = tidemoor.program.output;
    EXPECT_NE(output.find("Loading Obj-file...GaryLoading Obj-file...Spongebob"), std::string::npos)
        << output;
    EXPECT_NE(output.find("Fragment shader compile error:\n"), std::string::npos) << output;
    EXPECT_TRUE(sendCloseRequest(tidemoor.window));
    ASSERT_TRUE(waitForExit(tidemoor.program, 20s)) << describe(tidemoor.program);
    EXPECT_EQ(tidemoor.program.exitCode, 0);
}
