// The whole scene through the real programs: tidemoor's start-up transcript,
// its survival of bad and missing files, the exported terminate callback, and
// frames rendered by tidemoor-capture, compared with stored references and
// with each other to see what the keys do.
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "image_compare.h"
#include "program_runner.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::string fullTranscript =
    "Init Scene...\nInit Shader......done\nInit Models...\n"
    "Loading Obj-file...BikiniBottom...done\n...creating Mesh: bikinibottom.obj\n\n"
    "Loading Obj-file...Gary...done\n...creating Mesh: gary.obj\n\n"
    "Loading Obj-file...Spongebob...done\n...creating Mesh: spongebob.obj\n\n"
    "Loading Obj-file...Patrick...done\n...creating Mesh: patrick.obj\n\n"
    "done\nLoad Mesh to Shader...\nSkybox...\nGary...\nSpongebob...\nPatrick...\ndone\n ready\n";

bool hasReady(const std::string& output) {
    return output.find("ready\n") != std::string::npos;
}

// A copy of the built scene folder with its Shader folder beside it, so a
// test can spoil files without touching the build.
class SceneCopy {
public:
    SceneCopy() {
        char pattern[] = "/tmp/tidemoor-scene-XXXXXX";
        if (!mkdtemp(pattern))
            return;
        root = pattern;
        const fs::path built = TIDEMOOR_SCENE_DIR;
        fs::copy(built, root / "scene", fs::copy_options::recursive);
        fs::copy(built.parent_path() / "Shader", root / "Shader", fs::copy_options::recursive);
    }
    ~SceneCopy() {
        std::error_code ignored;
        if (!root.empty())
            fs::remove_all(root, ignored);
    }
    std::string scene() const { return (root / "scene").string(); }
    void write(const std::string& relative, const std::string& bytes) const {
        std::ofstream(root / relative, std::ios::binary) << bytes;
    }
    void remove(const std::string& relative) const { fs::remove(root / relative); }

    fs::path root;
};

LaunchOptions program(const std::string& name, const std::string& folder,
                      std::vector<std::string> arguments = {}) {
    LaunchOptions options;
    options.program = std::string(TIDEMOOR_BIN_DIR) + "/" + name;
    options.workingDirectory = folder;
    options.arguments = std::move(arguments);
    return options;
}

// Starts tidemoor in folder, waits for "ready", lets it draw a little, then
// presses Escape. Returns its transcript; expects exit code 0.
std::string runUntilReadyAndEscape(const std::string& folder) {
    RunningProgram running = launch(program("tidemoor", folder));
    EXPECT_TRUE(readOutputUntil(running, 60s, hasReady)) << describe(running);
    const unsigned long window = findWindow(running.pid, "Vorlin - Tidemoor", 20s);
    EXPECT_NE(window, 0u) << describe(running);
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(stillRunning(running)) << describe(running);
    runCommand("xdotool key --window " + std::to_string(window) + " Escape 2>/dev/null");
    EXPECT_TRUE(waitForExit(running, 30s)) << describe(running);
    EXPECT_EQ(running.exitCode, 0) << describe(running);
    const std::string output = running.output;
    stopProgram(running);
    return output;
}

// Runs tidemoor-capture in the built scene folder with arguments; returns
// its standard output, expecting exit code 0.
std::string capture(const std::vector<std::string>& arguments) {
    RunningProgram running = launch(program("tidemoor-capture", TIDEMOOR_SCENE_DIR, arguments));
    EXPECT_TRUE(waitForExit(running, 300s)) << describe(running);
    EXPECT_EQ(running.exitCode, 0) << describe(running);
    const std::string output = running.output;
    stopProgram(running);
    return output;
}

class Captures : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY"))
            GTEST_FAIL() << "no X display: run the end-to-end tests under Xvfb (scripts/test)";
        char pattern[] = "/tmp/tidemoor-shots-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string shot(const std::string& name) const { return (folder / (name + ".png")).string(); }

    // Renders frames 0..last of a small picture with the given extra
    // arguments and returns the pictures of the frames asked for.
    std::vector<Picture> render(int last, const std::vector<int>& frames,
                                std::vector<std::string> extra = {}, float dt = 1.0f / 60.0f) {
        std::vector<std::string> arguments = {
            "--frames", std::to_string(last + 1), "--dt", std::to_string(dt), "--size", "320x250"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        const std::string tag = std::to_string(++runs);
        for (int frame : frames) {
            arguments.push_back("--shot");
            arguments.push_back(std::to_string(frame) + ":" +
                                shot(tag + "-" + std::to_string(frame)));
        }
        capture(arguments);
        std::vector<Picture> pictures;
        for (int frame : frames)
            pictures.push_back(loadPicture(shot(tag + "-" + std::to_string(frame))));
        return pictures;
    }

    fs::path folder;
    int runs = 0;
};

// Frames of a camera that barely moves on its own: a tiny time step keeps
// figures and light in place while the camera path steps 0.02 per frame.
constexpr float stillTime = 1e-6f;

} // namespace

TEST(TidemoorScene, PrintsTheWholeStartUpTranscriptAndRuns) {
    EXPECT_EQ(runUntilReadyAndEscape(TIDEMOOR_SCENE_DIR), fullTranscript);
}

TEST(TidemoorScene, ExportsTheTerminateCallbackByName) {
    const std::string symbols =
        runCommand("nm -D --defined-only " + std::string(TIDEMOOR_BIN_DIR) + "/tidemoor");
    EXPECT_NE(symbols.find(" T terminate\n"), std::string::npos);
}

TEST(TidemoorScene, CarriesOnWithMissingAndBrokenFiles) {
    SceneCopy copy;
    ASSERT_FALSE(copy.root.empty());
    copy.remove("scene/gary.obj");                 // a missing model
    copy.remove("scene/donut_NRM.tga");            // a missing texture
    copy.write("scene/donut.tga", "not an image"); // a corrupt image
    copy.write("scene/patrick.obj",                // indices out of range
               "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 2 99\nf -7 1 2\nf 0 1 2\n");
    copy.write("Shader/Depth.fs", "#version 150 core\nvoid main() { broken }\n");
    const std::string output = runUntilReadyAndEscape(copy.scene());
    EXPECT_NE(output.find("Loading Obj-file...GaryLoading Obj-file...Spongebob"), std::string::npos)
        << output;
    EXPECT_NE(output.find("Fragment shader compile error:\n"), std::string::npos) << output;
    EXPECT_NE(output.find("...creating Mesh: patrick.obj\n\n"), std::string::npos) << output;
    EXPECT_NE(output.find("done\n ready\n"), std::string::npos) << output;
}

TEST(TidemoorScene, ResizedWindowIsFilledWithThePicture) {
    RunningProgram running = launch(program("tidemoor", TIDEMOOR_SCENE_DIR));
    ASSERT_TRUE(readOutputUntil(running, 60s, hasReady)) << describe(running);
    const unsigned long window = findWindow(running.pid, "Vorlin - Tidemoor", 20s);
    ASSERT_NE(window, 0u);
    runCommand("xdotool windowsize " + std::to_string(window) + " 1200 1000 2>/dev/null");
    std::this_thread::sleep_for(1500ms);
    const Picture picture = grabWindow(window);
    ASSERT_EQ(picture.width, 1200);
    ASSERT_EQ(picture.height, 1000);
    // The sky and the sea floor cover the whole window, larger than the
    // 1024 x 800 it started with: no corner is left black (the clear colour).
    const int corner = 40;
    EXPECT_GT(brightness(picture, 0, 0, corner, corner), 8.0);
    EXPECT_GT(brightness(picture, 1200 - corner, 0, 1200, corner), 8.0);
    EXPECT_GT(brightness(picture, 0, 1000 - corner, corner, 1000), 8.0);
    EXPECT_GT(brightness(picture, 1200 - corner, 1000 - corner, 1200, 1000), 8.0);
    runCommand("xdotool key --window " + std::to_string(window) + " Escape 2>/dev/null");
    EXPECT_TRUE(waitForExit(running, 30s));
    EXPECT_EQ(running.exitCode, 0);
    stopProgram(running);
}

TEST_F(Captures, FramesMatchTheStoredReferences) {
    const std::vector<int> frames = {2, 120};
    const std::vector<Picture> pictures = render(120, frames);
    for (size_t i = 0; i < frames.size(); ++i) {
        const std::string name = "frame" + std::to_string(frames[i]) + ".png";
        const Picture reference =
            loadPicture(std::string(TIDEMOOR_TEST_DATA) + "/reference/" + name);
        ASSERT_GT(reference.width, 0) << "missing reference " << name;
        const Difference difference = compare(reference, pictures[i]);
        ASSERT_TRUE(difference.sameSize) << name;
        EXPECT_LT(difference.meanAbsolute, 2.0) << name;
        EXPECT_LT(difference.changedShare, 0.01) << name;
    }
}

TEST_F(Captures, ShadowsOffLightsWhereTheFiguresShadowsFell) {
    const Picture withShadows = render(30, {30})[0];
    const Picture without = render(30, {30}, {"--key", "0:W"})[0];
    const Difference difference = compare(withShadows, without);
    ASSERT_TRUE(difference.sameSize);
    EXPECT_GT(difference.changedPixels, 200u) << "the figures cast visible shadows";
    EXPECT_GT(brightness(without), brightness(withShadows)) << "shadows only darken";
    // S switches them back on: the same picture as never switching.
    const Picture again = render(30, {30}, {"--key", "0:W", "--key", "10:S"})[0];
    EXPECT_EQ(compare(withShadows, again).changedPixels, 0u);
}

TEST_F(Captures, NormalMappingKeysChangeTheMeshesOnly) {
    const Picture on = render(30, {30}, {"--key", "0:ADD"})[0];
    const Picture off = render(30, {30}, {"--key", "0:SUBTRACT"})[0];
    const Picture unchanged = render(30, {30})[0];
    EXPECT_EQ(compare(on, unchanged).changedPixels, 0u) << "normal mapping starts on";
    EXPECT_GT(compare(on, off).meanAbsolute, 0.05) << "the meshes' bumps go";
}

TEST_F(Captures, PageDownStopsTheCameraAndTheKeysMoveIt) {
    const std::vector<Picture> driving = render(40, {10, 40}, {}, stillTime);
    EXPECT_GT(compare(driving[0], driving[1]).changedPixels, 100u) << "the camera drives";
    const std::vector<Picture> stopped = render(40, {10, 40}, {"--key", "0:NEXT"}, stillTime);
    EXPECT_EQ(compare(stopped[0], stopped[1]).changedPixels, 0u) << "Page Down stops it";
    for (const char* key : {"LEFT", "RIGHT", "UP", "DOWN", "A", "D"}) {
        const std::vector<Picture> moved =
            render(40, {10, 40}, {"--key", "0:NEXT", "--key", std::string("20:") + key}, stillTime);
        EXPECT_GT(compare(moved[0], moved[1]).changedPixels, 50u) << key << " moves the camera";
    }
    // Page Up starts it again.
    const std::vector<Picture> restarted =
        render(40, {10, 40}, {"--key", "0:NEXT", "--key", "11:PRIOR"}, stillTime);
    EXPECT_GT(compare(restarted[0], restarted[1]).changedPixels, 100u);
}

TEST_F(Captures, StatsReportNoAllocationsPerFrame) {
    const std::string output = capture({"--frames", "12", "--size", "160x125", "--stats"});
    EXPECT_NE(output.find(fullTranscript), std::string::npos) << output;
    if (output.find("heap allocations per frame: unavailable") == std::string::npos) {
        EXPECT_NE(output.find("heap allocations per frame: 0.0\n"), std::string::npos) << output;
    }
    EXPECT_NE(output.find("draw calls per frame: "), std::string::npos) << output;
}
