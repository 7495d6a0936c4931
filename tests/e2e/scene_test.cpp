// The scene through programs without a visible window: tidemoor with no
// display, and frames rendered by tidemoor-capture, compared with stored
// references and with each other to see what the keys do, and its pictures
// of the shadow map.
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <stb_image.h>

#include "image_compare.h"
#include "program_runner.h"
#include "startup_transcript.h"
#include "support/temp_folder.h"

using namespace std::chrono_literals;

namespace {

struct Capture {
    std::string output;
    std::vector<Picture> frames; // indexed by frame; empty where none was shot
};

// Runs tidemoor-capture in the built scene for frames frames of 320 x 250
// with the extra arguments, keeping the pictures of the frames in shots.
Capture capture(int frames, const std::vector<int>& shots, std::vector<std::string> arguments) {
    Capture result{"", std::vector<Picture>(static_cast<size_t>(frames))};
    const TempFolder folder;
    const auto file = [&](int frame) { return folder.file(std::to_string(frame) + ".png"); };
    arguments.insert(arguments.end(), {"--frames", std::to_string(frames), "--size", "320x250"});
    for (int frame : shots)
        arguments.insert(arguments.end(), {"--shot", std::to_string(frame) + ":" + file(frame)});
    // Through EGL, with no X server; the test runs pick the software device.
    RunningProgram running = launch({std::string(TIDEMOOR_BIN_DIR) + "/tidemoor-capture",
                                     TIDEMOOR_SCENE_DIR,
                                     arguments,
                                     false,
                                     {}});
    EXPECT_TRUE(waitForExit(running, 300s)) << describe(running);
    EXPECT_EQ(running.exitCode, 0) << describe(running);
    result.output = running.output;
    stopProgram(running);
    for (int frame : shots)
        result.frames[static_cast<size_t>(frame)] = loadPicture(file(frame));
    return result;
}

} // namespace

TEST(TidemoorWithoutDisplay, SaysItCannotCreateTheWindowAndExportsTerminate) {
    RunningProgram running =
        launch({std::string(TIDEMOOR_BIN_DIR) + "/tidemoor", TIDEMOOR_SCENE_DIR, {}, false, {}});
    ASSERT_TRUE(waitForExit(running, 20s)) << describe(running);
    EXPECT_EQ(running.output, "Could not create window!");
    EXPECT_EQ(running.exitCode, 255);
    stopProgram(running);
    const std::string symbols =
        runCommand("nm -D --defined-only " + std::string(TIDEMOOR_BIN_DIR) + "/tidemoor");
    EXPECT_NE(symbols.find(" T terminate\n"), std::string::npos);
}

TEST(Captures, FramesMatchTheReferencesWithoutHeapAllocations) {
    const Capture run = capture(121, {2, 120}, {"--stats"});
    // With --stats the scene times its own start-up; the transcript is the same.
    EXPECT_EQ(run.output.substr(0, startupTranscript.size()), startupTranscript);
    for (int frame : {2, 120}) {
        const std::string name = "frame" + std::to_string(frame) + ".png";
        SCOPED_TRACE(name);
        const Picture reference =
            loadPicture(std::string(TIDEMOOR_TEST_DATA) + "/reference/" + name);
        ASSERT_GT(reference.width, 0) << "missing reference";
        const Difference difference = compare(reference, run.frames[frame]);
        ASSERT_TRUE(difference.sameSize);
        EXPECT_LT(difference.meanAbsolute, 2.0);
        EXPECT_LT(difference.changedShare, 0.01);
    }
    // Sanitizer builds cannot count allocations.
    if (run.output.find("heap allocations per frame: unavailable") == std::string::npos) {
        EXPECT_NE(run.output.find("heap allocations per frame: 0.0\n"), std::string::npos)
            << run.output;
    }
    EXPECT_NE(run.output.find("draw calls per frame: "), std::string::npos) << run.output;
}

// One run presses the keys in turn on a still scene: a time step this small
// keeps figures and light in place while the camera path steps 0.02 a frame.
TEST(Captures, KeysSwitchShadowsAndNormalMapsAndSteerTheCamera) {
    const std::vector<std::string> keys = {"5:NEXT",  "8:W",     "9:S",      "10:SUBTRACT",
                                           "11:ADD",  "12:LEFT", "13:RIGHT", "14:UP",
                                           "15:DOWN", "16:A",    "17:D",     "18:PRIOR"};
    std::vector<std::string> arguments = {"--dt", "0.000001"};
    for (const std::string& key : keys)
        arguments.insert(arguments.end(), {"--key", key});
    const Capture run =
        capture(21, {2, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20}, arguments);
    const std::vector<Picture>& at = run.frames;
    const auto changed = [&](int a, int b) { return compare(at[a], at[b]).changedPixels; };
    const auto same = [&](int a, int b) { return at[a].width > 0 && at[a].rgb == at[b].rgb; };

    EXPECT_GT(changed(2, 4), 100u) << "the camera drives";
    EXPECT_TRUE(same(5, 7)) << "Page Down stops it";
    EXPECT_GT(changed(7, 8), 200u) << "W takes the figures' shadows away";
    EXPECT_GT(brightness(at[8]), brightness(at[7])) << "shadows only darken";
    EXPECT_TRUE(same(7, 9)) << "S brings back the same picture";
    EXPECT_GT(compare(at[9], at[10]).meanAbsolute, 0.05) << "keypad - flattens the meshes";
    EXPECT_TRUE(same(9, 11)) << "keypad + restores them, as they started";
    for (int frame = 12; frame <= 17; ++frame)
        EXPECT_GT(changed(frame - 1, frame), 50u) << keys[frame - 7] << " moves the camera";
    EXPECT_GT(changed(18, 20), 100u) << "Page Up starts it again";
}

namespace {

// A grey PNG's values; empty unless the file holds one channel.
std::vector<uint8_t> loadGrey(const std::string& path, int& width, int& height) {
    int channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 0);
    std::vector<uint8_t> grey;
    if (pixels != nullptr && channels == 1)
        grey.assign(pixels, pixels + static_cast<size_t>(width) * height);
    stbi_image_free(pixels);
    return grey;
}

} // namespace

// The shadow map is read back between frames; the frames after it, with
// shadows and without (W), are those of a run that reads nothing back.
TEST(Captures, ShadowShotsAreGreyDistancesAndLeaveLaterFramesAlone) {
    const TempFolder folder;
    const std::string lit = folder.file("shadow2.png");
    const std::string empty = folder.file("shadow6.png");
    const Capture shadowed = capture(
        8, {3, 7}, {"--key", "5:W", "--shadow-shot", "2:" + lit, "--shadow-shot", "6:" + empty});
    const Capture plain = capture(8, {3, 7}, {"--key", "5:W"});
    for (int frame : {3, 7}) {
        EXPECT_GT(shadowed.frames[frame].width, 0);
        EXPECT_TRUE(shadowed.frames[frame].rgb == plain.frames[frame].rgb) << "frame " << frame;
    }

    int width = 0, height = 0;
    const std::vector<uint8_t> grey = loadGrey(lit, width, height);
    ASSERT_FALSE(grey.empty()) << "a one-channel PNG";
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 1024);
    std::vector<size_t> counts(256);
    for (uint8_t value : grey)
        ++counts[value];
    EXPECT_GT(counts[0], 0u) << "the nearest texel is black";
    const auto drawn = static_cast<double>(grey.size() - counts[255]) / grey.size();
    EXPECT_GT(drawn, 0.05) << "the figures and the environment's solids are drawn";
    EXPECT_LT(drawn, 0.95) << "the floor faces the light and is culled";
    const auto shades = std::count_if(counts.begin(), counts.end(), [](size_t n) { return n > 0; });
    EXPECT_GT(shades, 100) << "distances spread over the grey range";

    const std::vector<uint8_t> none = loadGrey(empty, width, height);
    ASSERT_EQ(none.size(), grey.size());
    EXPECT_TRUE(std::all_of(none.begin(), none.end(), [](uint8_t v) { return v == 255; }))
        << "with shadows off nothing is drawn into the map";
}
