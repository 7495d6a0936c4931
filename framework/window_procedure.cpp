// The window procedure, shared by every backend.
//
// Size and key messages reach the application only once its init callback
// has succeeded (appInitialized), so nothing is delivered to a half-built
// scene. Escape and the close button end the program through WM_QUIT rather
// than by tearing the window down here: the main loop runs terminate while
// the GL context is still current.
#include "framework/window_procedure.h"

#include "framework/app_callbacks.h"
#include "framework/platform.h"
#include "framework/window_state.h"

namespace {

uint32_t lowWord(uint64_t value) {
    return static_cast<uint32_t>(value & 0xFFFFu);
}
uint32_t highWord(uint64_t value) {
    return static_cast<uint32_t>((value >> 16) & 0xFFFFu);
}

void forwardKey(bool pressed, uint64_t keyCode) {
    if (appCallbacks.keyCallback && windowState.appInitialized)
        appCallbacks.keyCallback(pressed, static_cast<int32_t>(keyCode));
}

} // namespace

int64_t windowProcedure(void* window, uint32_t message, uint64_t wParam, int64_t lParam) {
    switch (message) {
    case WM_SIZE:
        // Zero sizes (minimising) are passed on too; the application decides.
        windowState.clientWidth = static_cast<int32_t>(lowWord(static_cast<uint64_t>(lParam)));
        windowState.clientHeight = static_cast<int32_t>(highWord(static_cast<uint64_t>(lParam)));
        if (appCallbacks.reshapeCallback && windowState.appInitialized)
            appCallbacks.reshapeCallback(windowState.clientWidth, windowState.clientHeight);
        return 0;
    case WM_ACTIVATE:
        // Only minimising stops rendering; a window without focus keeps drawing.
        windowState.windowActive = highWord(wParam) == 0;
        return 0;
    case WM_CLOSE:
        postQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            postQuitMessage(0);
        else
            forwardKey(true, wParam);
        return 0;
    case WM_KEYUP:
        if (wParam != VK_ESCAPE)
            forwardKey(false, wParam);
        return 0;
    case WM_SYSCOMMAND:
        // Keeps the screen saver and monitor power-saving from starting.
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)
            return 0;
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEWHEEL:
        return 0;
    default:
        break;
    }
    return defaultWindowProcedure(window, message, wParam, lParam);
}
