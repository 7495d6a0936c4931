// The window procedure: what reaches the application and what ends the program.
#include <cstdint>

#include "framework/messages.h"
#include "framework/platform.h"
#include "framework/window_procedure.h"
#include "scripted_fixture.h"

namespace {

// The exit code of a WM_QUIT taken from the queue, or -1 without one.
int64_t quitCode() {
    Message message;
    while (takeMessage(message))
        if (message.message == WM_QUIT)
            return static_cast<int64_t>(message.wParam);
    return -1;
}

} // namespace

TEST_F(ScriptedTest, WindowProcedureDeliversSizesKeysQuitAndActivation) {
    appCallbacks.reshapeCallback = logReshape;
    appCallbacks.keyCallback = logKey;
    const struct {
        uint32_t message;
        uint64_t wParam;
        int64_t lParam;
        Events events;
        int64_t quit;
    } cases[] = {
        {WM_SIZE, 0, sizeParam(640, 480), {"reshape 640x480"}, -1},
        {WM_SIZE, 0, sizeParam(0, 0), {"reshape 0x0"}, -1}, // minimised: passed on too
        {WM_SIZE, 0, sizeParam(65535, 65535), {"reshape 65535x65535"}, -1},
        {WM_KEYDOWN, VK_LEFT, 0, {"down 37"}, -1},
        {WM_KEYDOWN, VK_LEFT, 0x40000000, {"down 37"}, -1}, // auto-repeat
        {WM_KEYUP, VK_LEFT, 0, {"up 37"}, -1},
        {WM_KEYDOWN, VK_ESCAPE, 0, {}, 0},
        {WM_KEYUP, VK_ESCAPE, 0, {}, -1},
        {WM_CLOSE, 0, 0, {}, 0},
        // System keys, the mouse, the screen saver and monitor power-saving
        // never reach the application.
        {WM_SYSKEYDOWN, 0x41, 0, {}, -1},
        {WM_SYSKEYDOWN, VK_F10, 0, {}, -1},
        {WM_SYSKEYDOWN, VK_ESCAPE, 0, {}, -1},
        {WM_LBUTTONDOWN, 1, 2, {}, -1},
        {WM_SYSCOMMAND, SC_SCREENSAVE, 0, {}, -1},
        {WM_SYSCOMMAND, SC_MONITORPOWER, 0, {}, -1},
    };
    for (const bool initialised : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.message << " " << c.wParam << " " << initialised);
            events().clear();
            windowState.appInitialized = initialised;
            EXPECT_EQ(windowProcedure(nullptr, c.message, c.wParam, c.lParam), 0);
            // Before init succeeds nothing is delivered, but the size is kept
            // for the first reshape.
            EXPECT_EQ(events(), initialised ? c.events : Events{});
            EXPECT_EQ(quitCode(), c.quit);
            if (c.message == WM_SIZE) {
                EXPECT_EQ(sizeParam(windowState.clientWidth, windowState.clientHeight), c.lParam);
            }
        }
    }
    // Only minimising stops the rendering; losing the focus does not.
    const uint64_t activations[] = {WA_ACTIVE, WA_INACTIVE, (uint64_t{1} << 16) | WA_INACTIVE};
    for (size_t i = 0; i < 3; ++i) {
        windowProcedure(nullptr, WM_ACTIVATE, activations[i], 0);
        EXPECT_EQ(windowState.windowActive, i < 2) << i;
    }
}
