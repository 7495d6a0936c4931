// The main loop, the frame timer and the entry, on the scripted backend.
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
    int stopAtFrame = 1000; // update returns false on this frame (1-based)
    std::vector<float> elapsed;
} script;

class MainLoopTest : public ScriptedTest {
protected:
    void SetUp() override {
        ScriptedTest::SetUp();
        script = Script{};
        appCallbacks = AppCallbacks{[] {
                                        log("init");
                                        return script.initResult;
                                    },
                                    logReshape,
                                    [](float elapsed) {
                                        script.elapsed.push_back(elapsed);
                                        log("update " + std::to_string(script.elapsed.size()));
                                        return int(script.elapsed.size()) < script.stopAtFrame;
                                    },
                                    [] { log("terminate"); }, logKey};
        ASSERT_TRUE(createWindow());
    }
};

} // namespace

TEST_F(MainLoopTest, RunsInitReshapeThenMessagesBeforeEachFrameUntilQuit) {
    queueScriptedMessage(WM_KEYDOWN, 0x41);
    queueScriptedMessage(WM_SIZE, 0, sizeParam(800, 600));
    scriptedPlatform().onIdle = [] {
        if (scriptedPlatform().swapCount == 2) {
            queueScriptedMessage(WM_KEYUP, 0x41);
            queueScriptedMessage(WM_KEYDOWN, VK_ESCAPE);
            scriptedPlatform().onIdle = nullptr;
        }
    };
    EXPECT_TRUE(runLoop());
    // Init once, the first reshape at the window's size, queued messages
    // before the next frame, each update followed by its swap, and terminate
    // before the window (and its GL context) is released.
    EXPECT_EQ(events(), (Events{"create", "init", "reshape 1024x800", "down 65", "reshape 800x600",
                                "update 1", "swap", "update 2", "swap", "up 65", "terminate",
                                "release", "destroy"}));
    EXPECT_EQ(script.elapsed[0], 0.0f);
}

TEST_F(MainLoopTest, EndsWithoutSwappingTheFrameThatAsksToStopOrWhenInitFails) {
    script.stopAtFrame = 2;
    EXPECT_TRUE(runLoop());
    EXPECT_EQ(events(), (Events{"create", "init", "reshape 1024x800", "update 1", "swap",
                                "update 2", "terminate", "release", "destroy"}));

    events().clear();
    createWindow();
    script.initResult = false;
    EXPECT_FALSE(runLoop());
    EXPECT_EQ(events(), (Events{"create", "init", "release", "destroy"}));
}

// While minimised the loop waits for the next message instead of spinning a
// core, and the first frame after the restore receives the whole time away.
TEST_F(MainLoopTest, MinimisedWindowWaitsInsteadOfRendering) {
    script.stopAtFrame = 3;
    ScriptedPlatform& platform = scriptedPlatform();
    platform.frequency = 1000;
    platform.counter = 5000;
    platform.onIdle = [&platform] {
        if (platform.swapCount == 1) {
            platform.counter += 16; // frame 1 to the minimise: 16 ms
            queueScriptedMessage(WM_SIZE, 0, sizeParam(0, 0));
            queueScriptedMessage(WM_ACTIVATE, (uint64_t{1} << 16) | WA_INACTIVE);
            platform.onIdle = nullptr;
        }
    };
    platform.onWait = [&platform] {
        platform.counter += 1000; // time passes only while waiting
        if (platform.waitCount == 3) {
            queueScriptedMessage(WM_SIZE, 0, sizeParam(1024, 800));
            queueScriptedMessage(WM_ACTIVATE, WA_ACTIVE);
        }
    };
    EXPECT_TRUE(runLoop());
    EXPECT_EQ(events(),
              (Events{"create", "init", "reshape 1024x800", "update 1", "swap", "reshape 0x0",
                      "wait", "wait", "wait", "reshape 1024x800", "update 2", "swap", "update 3",
                      "terminate", "release", "destroy"}));
    EXPECT_EQ(script.elapsed, (std::vector<float>{0.0f, 3.016f, 0.0f}));
}

// Rounding each absolute counter reading to float would make frames step in
// 1/64 s after about 36 hours of uptime; the difference of the integer
// readings keeps single ticks visible after 90 days.
TEST_F(ScriptedTest, FrameTimerStartsAtZeroAndKeepsSingleTicksAfterMonths) {
    scriptedPlatform().frequency = 10000000;                         // 100 ns ticks
    scriptedPlatform().counter = int64_t{90} * 24 * 3600 * 10000000; // 90 days
    scriptedPlatform().counterStep = 166667;                         // 16.6667 ms
    EXPECT_EQ(elapsedTime(), 0.0f);
    EXPECT_FLOAT_EQ(elapsedTime(), 0.0166667f);
    scriptedPlatform().counterStep = 1;
    elapsedTime();
    EXPECT_FLOAT_EQ(elapsedTime(), 1e-7f);
}

TEST_F(ScriptedTest, EntryReportsAMissingWindowOrOpenGLAndExitsWithMinusOne) {
    // The scripted window has no GL context, so the version check fails.
    const struct {
        bool windowCreated;
        const char* message;
        Events events;
    } cases[] = {{false, "Could not create window!", {"create-failed"}},
                 {true, "OpenGL 3.3 not supported.", {"create", "release", "destroy"}}};
    for (const auto& c : cases) {
        resetScriptedPlatform();
        appCallbacks.initCallback = [] {
            log("init");
            return true;
        };
        scriptedPlatform().createSucceeds = c.windowCreated;
        testing::internal::CaptureStdout();
        const int code = runApplication();
        std::fflush(stdout);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.message);
        EXPECT_EQ(code, -1);
        EXPECT_EQ(events(), c.events);
    }
}

// The steps every backend shares: the asked-for size is kept at creation;
// destroying drops the pending messages and the application's init.
TEST_F(ScriptedTest, CreateKeepsTheSizeDestroyDropsMessagesAndInit) {
    WindowDesc desc;
    desc.width = 640;
    desc.height = 480;
    ASSERT_TRUE(createWindow(desc));
    EXPECT_EQ(sizeParam(windowState.clientWidth, windowState.clientHeight), sizeParam(640, 480));
    windowState.appInitialized = true;
    queueScriptedMessage(WM_KEYDOWN, VK_A);
    postQuitMessage(3);
    destroyWindow();
    EXPECT_FALSE(windowState.appInitialized);
    Message message;
    EXPECT_FALSE(takeMessage(message)) << "message " << message.message;
}
