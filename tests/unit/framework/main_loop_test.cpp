// The main loop and the frame timer, driven by the scripted backend.
#include <cstdint>
#include <cstdio>

#include "framework/entry.h"
#include "framework/main_loop.h"
#include "framework/messages.h"
#include "framework/platform.h"
#include "scripted_fixture.h"

namespace {

// Per-test knobs for the logging callbacks below.
struct Script {
    bool initResult = true;
    int stopAtFrame = 3; // update returns false on this frame (1-based)
    int frames = 0;
    std::vector<float> elapsed;
};
Script script;

void log(const std::string& event) {
    scriptedPlatform().events.push_back(event);
}

bool initLogged() {
    log("init");
    return script.initResult;
}
void reshapeLogged(int32_t width, int32_t height) {
    log("reshape " + std::to_string(width) + "x" + std::to_string(height));
}
bool updateLogged(float elapsed) {
    ++script.frames;
    script.elapsed.push_back(elapsed);
    log("update " + std::to_string(script.frames));
    return script.frames < script.stopAtFrame;
}
void terminateLogged() {
    log("terminate");
}
void keyLogged(bool pressed, int32_t code) {
    log(std::string(pressed ? "down " : "up ") + std::to_string(code));
}

class MainLoopTest : public ScriptedTest {
protected:
    void SetUp() override {
        ScriptedTest::SetUp();
        script = Script{};
        appCallbacks =
            AppCallbacks{initLogged, reshapeLogged, updateLogged, terminateLogged, keyLogged};
        ASSERT_TRUE(createWindow());
    }
};

using Events = std::vector<std::string>;

} // namespace

TEST_F(MainLoopTest, NormalRunOrdersInitReshapeFramesTerminateAndDestroy) {
    EXPECT_TRUE(runLoop());
    // The frame whose update returns false is not swapped, and terminate runs
    // before the window (and its GL context) is released.
    EXPECT_EQ(events(),
              (Events{"create", "init", "reshape 1024x800", "update 1", "swap", "update 2", "swap",
                      "update 3", "terminate", "release", "destroy"}));
    EXPECT_FALSE(windowState.appInitialized);
}

TEST_F(MainLoopTest, FailedInitDestroysTheWindowWithoutAnyOtherCallback) {
    script.initResult = false;
    EXPECT_FALSE(runLoop());
    EXPECT_EQ(events(), (Events{"create", "init", "release", "destroy"}));
    EXPECT_EQ(scriptedPlatform().swapCount, 0);
}

TEST_F(MainLoopTest, OneMessagePerPassAndFramesOnlyWhenTheQueueIsEmpty) {
    queueScriptedMessage(WM_KEYDOWN, 0x41);
    queueScriptedMessage(WM_KEYUP, 0x41);
    queueScriptedMessage(WM_SIZE, 0, sizeParam(800, 600));
    int idleCalls = 0;
    scriptedPlatform().onIdle = [&] {
        // Between frames 1 and 2, two more messages arrive at once.
        if (++idleCalls == 2)
            queueScriptedMessage(WM_KEYDOWN, 0x53), queueScriptedMessage(WM_KEYUP, 0x53);
    };
    EXPECT_TRUE(runLoop());
    EXPECT_EQ(events(),
              (Events{"create", "init", "reshape 1024x800", "down 65", "up 65", "reshape 800x600",
                      "update 1", "swap", "down 83", "up 83", "update 2", "swap", "update 3",
                      "terminate", "release", "destroy"}));
}

TEST_F(MainLoopTest, EscapeEndsTheLoopNormallyAndNeverReachesTheKeyCallback) {
    script.stopAtFrame = 1000;
    scriptedPlatform().onIdle = [sent = false]() mutable {
        if (scriptedPlatform().swapCount == 2 && !sent) {
            sent = true;
            queueScriptedMessage(WM_KEYDOWN, VK_ESCAPE);
            queueScriptedMessage(WM_KEYUP, VK_ESCAPE);
        }
    };
    EXPECT_TRUE(runLoop());
    EXPECT_EQ(script.frames, 2);
    EXPECT_TRUE(eventsStartingWith("down ").empty());
    EXPECT_TRUE(eventsStartingWith("up ").empty());
    EXPECT_LT(indexOf("terminate"), indexOf("release"));
}

TEST_F(MainLoopTest, CloseRequestEndsTheLoopNormally) {
    script.stopAtFrame = 1000;
    scriptedPlatform().onIdle = [sent = false]() mutable {
        if (scriptedPlatform().swapCount == 1 && !sent) {
            sent = true;
            queueScriptedMessage(WM_CLOSE);
        }
    };
    EXPECT_TRUE(runLoop());
    EXPECT_EQ(script.frames, 1);
    EXPECT_EQ(eventsStartingWith("terminate").size(), 1u);
}

TEST_F(MainLoopTest, SwapsEveryIdlePassWithoutAnUpdateCallback) {
    appCallbacks.updateCallback = nullptr;
    scriptedPlatform().onIdle = [sent = false]() mutable {
        if (scriptedPlatform().swapCount == 4 && !sent) {
            sent = true;
            queueScriptedMessage(WM_CLOSE);
        }
    };
    EXPECT_TRUE(runLoop());
    EXPECT_EQ(scriptedPlatform().swapCount, 4);
    // Without an update callback the timer is never read.
    EXPECT_FALSE(frameTimer.started);
}

TEST_F(MainLoopTest, MinimisedWindowWaitsInsteadOfRenderingAndGetsTheTimeOnRestore) {
    script.stopAtFrame = 3;
    ScriptedPlatform& platform = scriptedPlatform();
    platform.frequency = 1000;
    platform.counter = 5000;
    platform.onIdle = [&platform, sent = false]() mutable {
        if (platform.swapCount == 1 && !sent) {
            sent = true;
            platform.counter += 16; // frame 1 to the minimise: 16 ms
            queueScriptedMessage(WM_SIZE, 0, sizeParam(0, 0));
            queueScriptedMessage(WM_ACTIVATE, (uint64_t{1} << 16) | WA_INACTIVE);
        }
    };
    platform.onWait = [&platform] {
        // Time passes only while waiting; three waits, then a restore.
        platform.counter += 1000;
        if (platform.waitCount == 3) {
            queueScriptedMessage(WM_SIZE, 0, sizeParam(1024, 800));
            queueScriptedMessage(WM_ACTIVATE, WA_ACTIVE);
        }
    };
    platform.counterStep = 0;
    EXPECT_TRUE(runLoop());
    EXPECT_EQ(platform.waitCount, 3);
    EXPECT_EQ(eventsStartingWith("reshape"),
              (Events{"reshape 1024x800", "reshape 0x0", "reshape 1024x800"}));
    // No frame while minimised: the three waits sit between frame 1 and 2.
    const size_t firstWait = indexOf("wait");
    EXPECT_LT(indexOf("update 1"), firstWait);
    EXPECT_GT(indexOf("update 2"), firstWait);
    ASSERT_EQ(script.elapsed.size(), 3u);
    EXPECT_EQ(script.elapsed[0], 0.0f);
    EXPECT_FLOAT_EQ(script.elapsed[1], 3.016f);
    EXPECT_EQ(script.elapsed[2], 0.0f);
}

TEST(FrameTimer, FirstCallIsExactlyZeroThenCounterDifferences) {
    resetScriptedPlatform();
    scriptedPlatform().frequency = 1000000;
    scriptedPlatform().counter = 123456789;
    scriptedPlatform().counterStep = 16667;
    EXPECT_EQ(elapsedTime(), 0.0f);
    EXPECT_FLOAT_EQ(elapsedTime(), 0.016667f);
    EXPECT_FLOAT_EQ(elapsedTime(), 0.016667f);
    resetScriptedPlatform();
}

// Guards the loss of frame-time resolution after long uptimes: rounding each
// absolute reading to float made frames step in 1/64 s after about 36 hours.
TEST(FrameTimer, KeepsFullResolutionAfterMonthsOfUptime) {
    resetScriptedPlatform();
    scriptedPlatform().frequency = 10000000;                         // 100 ns ticks
    scriptedPlatform().counter = int64_t{90} * 24 * 3600 * 10000000; // 90 days
    scriptedPlatform().counterStep = 166667;                         // 16.6667 ms
    elapsedTime();
    EXPECT_FLOAT_EQ(elapsedTime(), 0.0166667f);
    scriptedPlatform().counterStep = 1; // a single tick still shows
    elapsedTime();
    EXPECT_FLOAT_EQ(elapsedTime(), 1e-7f);
    resetScriptedPlatform();
}

TEST_F(ScriptedTest, DestroyWindowTwiceReleasesOnceAndClearsInitialised) {
    ASSERT_TRUE(createWindow());
    windowState.appInitialized = true;
    destroyWindow();
    windowState.appInitialized = true;
    destroyWindow();
    EXPECT_EQ(events(), (Events{"create", "release", "destroy", "destroy"}));
    EXPECT_FALSE(windowState.appInitialized);
    EXPECT_EQ(windowState.windowHandle, nullptr);
    EXPECT_EQ(windowState.renderContext, nullptr);
}

TEST_F(ScriptedTest, EntryReportsAMissingWindowAndTouchesNothingElse) {
    bool (*init)() = [] {
        scriptedPlatform().events.push_back("init");
        return true;
    };
    appCallbacks.initCallback = init;
    scriptedPlatform().createSucceeds = false;
    testing::internal::CaptureStdout();
    const int code = runApplication();
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Could not create window!");
    EXPECT_EQ(code, -1);
    EXPECT_EQ(events(), (Events{"create-failed"}));
    // The context asked for: 3.2, forward compatible.
    EXPECT_EQ(scriptedPlatform().lastRequest.majorVersion, 3);
    EXPECT_EQ(scriptedPlatform().lastRequest.minorVersion, 2);
    EXPECT_EQ(scriptedPlatform().lastRequest.flags, 2);
}

TEST_F(ScriptedTest, EntryWithoutOpenGL32ReportsItAndDestroysTheWindow) {
    // The scripted window has no GL context, so the version check fails.
    bool (*init)() = [] {
        scriptedPlatform().events.push_back("init");
        return true;
    };
    appCallbacks.initCallback = init;
    testing::internal::CaptureStdout();
    const int code = runApplication();
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "OpenGL 3.3 not supported.");
    EXPECT_EQ(code, -1);
    EXPECT_EQ(events(), (Events{"create", "release", "destroy"}));
}

TEST_F(ScriptedTest, WindowDefaultsAreTheProgramsOwnWindow) {
    ASSERT_TRUE(createWindow());
    const WindowDesc& desc = scriptedPlatform().lastDesc;
    EXPECT_STREQ(desc.className, "Vorlin");
    EXPECT_STREQ(desc.title, "Vorlin - Tidemoor");
    EXPECT_EQ(desc.width, 1024);
    EXPECT_EQ(desc.height, 800);
    EXPECT_EQ(desc.colorBits, 32);
    EXPECT_EQ(desc.depthBits, 16);
    EXPECT_EQ(desc.stencilBits, 0);
    EXPECT_EQ(desc.swapInterval, 1);
    EXPECT_EQ(windowState.clientWidth, 1024);
    EXPECT_EQ(windowState.clientHeight, 800);
    EXPECT_FALSE(windowState.windowActive) << "active only once the activation arrives";
}
