// The Win32 backend when the driver refuses the requested context: the
// program's message and exit code, a teardown that leaves no window and no
// class behind, and a second window made afterwards. Needs a display and GL
// (scripts/test-win32 runs it under Wine on its own Xvfb).
#include <gtest/gtest.h>

#include "framework/app_callbacks.h"
#include "framework/entry.h"
#include "framework/platform.h"
#include "framework/win32_window.h"
#include "framework/window_state.h"

namespace {

int refusals = 0;

HGLRC WINAPI refuseContext(HDC, HGLRC, const int*) {
    ++refusals;
    return nullptr;
}

// Nothing of the window is left: no handles, no window, no class.
void expectNothingLeft() {
    EXPECT_EQ(win32Platform.instance, nullptr);
    EXPECT_EQ(win32Platform.window, nullptr);
    EXPECT_EQ(win32Platform.device, nullptr);
    EXPECT_EQ(win32Platform.context, nullptr);
    EXPECT_FALSE(windowState.appInitialized);
    EXPECT_EQ(FindWindowA("Vorlin", nullptr), nullptr);
    WNDCLASSA registered;
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "Vorlin", &registered));
}

} // namespace

TEST(Win32Window, RefusedContextEndsWithTheMessageAndLeavesNothingBehind) {
    win32Platform.createContextAttribs = refuseContext;
    // Should a window come up anyway, the main loop ends at once.
    appCallbacks.initCallback = [] { return false; };
    testing::internal::CaptureStdout();
    EXPECT_EQ(runApplication(), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Could not create window!");
    // The refusal, not an earlier step, ended the start.
    EXPECT_EQ(refusals, 1);
    expectNothingLeft();
    destroyWindow();
    expectNothingLeft();

    // The class was unregistered, so a later window registers it again.
    win32Platform.createContextAttribs = nullptr;
    WindowDesc hidden;
    hidden.visible = false;
    ASSERT_TRUE(createWindow(hidden));
    EXPECT_NE(win32Platform.context, nullptr);
    EXPECT_NE(FindWindowA("Vorlin", "Vorlin - Tidemoor"), nullptr);
    destroyWindow();
    destroyWindow();
    expectNothingLeft();
}
