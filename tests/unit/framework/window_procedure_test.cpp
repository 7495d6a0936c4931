// The window procedure: what reaches the application and what does not.
#include <cstdint>

#include "framework/messages.h"
#include "framework/platform.h"
#include "framework/window_procedure.h"
#include "scripted_fixture.h"

namespace {

void logReshape(int32_t width, int32_t height) {
    scriptedPlatform().events.push_back("reshape " + std::to_string(width) + "x" +
                                        std::to_string(height));
}

void logKey(bool pressed, int32_t code) {
    scriptedPlatform().events.push_back(std::string(pressed ? "down " : "up ") +
                                        std::to_string(code));
}

bool quitWasPosted() {
    Message message;
    while (takeMessage(message))
        if (message.message == WM_QUIT)
            return true;
    return false;
}

class WindowProcedureTest : public ScriptedTest {
protected:
    void SetUp() override {
        ScriptedTest::SetUp();
        appCallbacks.reshapeCallback = logReshape;
        appCallbacks.keyCallback = logKey;
        windowState.appInitialized = true;
    }
};

} // namespace

TEST_F(WindowProcedureTest, SizeIsStoredAndForwardedIncludingZero) {
    EXPECT_EQ(windowProcedure(nullptr, WM_SIZE, 0, sizeParam(640, 480)), 0);
    EXPECT_EQ(windowState.clientWidth, 640);
    EXPECT_EQ(windowState.clientHeight, 480);
    windowProcedure(nullptr, WM_SIZE, 0, sizeParam(0, 0));
    windowProcedure(nullptr, WM_SIZE, 0, sizeParam(65535, 65535));
    EXPECT_EQ(events(),
              (std::vector<std::string>{"reshape 640x480", "reshape 0x0", "reshape 65535x65535"}));
}

TEST_F(WindowProcedureTest, SizeAndKeysReachCallbacksOnlyWhileInitialised) {
    windowState.appInitialized = false;
    windowProcedure(nullptr, WM_SIZE, 0, sizeParam(300, 200));
    windowProcedure(nullptr, WM_KEYDOWN, 0x41, 0);
    windowProcedure(nullptr, WM_KEYUP, 0x41, 0);
    EXPECT_TRUE(events().empty());
    // The size is still remembered for the first reshape.
    EXPECT_EQ(windowState.clientWidth, 300);
    EXPECT_EQ(windowState.clientHeight, 200);
}

TEST_F(WindowProcedureTest, KeysAreForwardedWithPressedFlagIncludingRepeats) {
    windowProcedure(nullptr, WM_KEYDOWN, VK_LEFT, 0);
    windowProcedure(nullptr, WM_KEYDOWN, VK_LEFT, 0x40000000); // auto-repeat
    windowProcedure(nullptr, WM_KEYUP, VK_LEFT, 0);
    EXPECT_EQ(events(), (std::vector<std::string>{"down 37", "down 37", "up 37"}));
    EXPECT_FALSE(quitWasPosted());
}

TEST_F(WindowProcedureTest, EscapeQuitsOnKeyDownAndNeverReachesTheKeyCallback) {
    windowProcedure(nullptr, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_FALSE(quitWasPosted()) << "key-up of Escape is ignored";
    windowProcedure(nullptr, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(quitWasPosted());
    EXPECT_TRUE(events().empty());
}

TEST_F(WindowProcedureTest, CloseRequestQuitsWithCodeZero) {
    windowProcedure(nullptr, WM_CLOSE, 0, 0);
    Message message;
    ASSERT_TRUE(takeMessage(message));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 0u);
}

TEST_F(WindowProcedureTest, SystemKeysAndMouseNeverReachTheApplication) {
    windowProcedure(nullptr, WM_SYSKEYDOWN, 0x41, 0);
    windowProcedure(nullptr, WM_SYSKEYUP, 0x41, 0);
    windowProcedure(nullptr, WM_SYSKEYDOWN, VK_F10, 0);
    windowProcedure(nullptr, WM_SYSKEYDOWN, VK_ESCAPE, 0);
    for (uint32_t mouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP,
                           WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MOUSEWHEEL})
        EXPECT_EQ(windowProcedure(nullptr, mouse, 1, 2), 0);
    EXPECT_TRUE(events().empty());
    EXPECT_FALSE(quitWasPosted());
}

TEST_F(WindowProcedureTest, ActivationFollowsOnlyTheMinimisedFlag) {
    windowProcedure(nullptr, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(windowState.windowActive);
    // Losing the focus keeps the window rendering.
    windowProcedure(nullptr, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(windowState.windowActive);
    windowProcedure(nullptr, WM_ACTIVATE, (uint64_t{1} << 16) | WA_INACTIVE, 0);
    EXPECT_FALSE(windowState.windowActive);
    windowProcedure(nullptr, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(windowState.windowActive);
}

TEST_F(WindowProcedureTest, ScreenSaverAndMonitorPowerAreRefused) {
    EXPECT_EQ(windowProcedure(nullptr, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(windowProcedure(nullptr, WM_SYSCOMMAND, SC_MONITORPOWER, 0), 0);
    EXPECT_TRUE(events().empty());
}
