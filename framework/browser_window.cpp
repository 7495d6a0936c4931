// The browser backend of the platform layer: the page's canvas with a WebGL 2
// (OpenGL ES 3.0) context, built with Emscripten.
//
// The page's keyboard events are queued as Win32-style messages
// (browser_keys.h) in the framework's queue (queued_messages.h) as they
// arrive, between animation frames; there is nothing to poll and nothing to
// wait on, since a page's script must never block. The canvas is fixed in
// size and never minimised.
#include "framework/browser_window.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "framework/app_callbacks.h"
#include "framework/browser_keys.h"
#include "framework/main_loop.h"
#include "framework/platform.h"
#include "framework/queued_messages.h"
#include "framework/window_state.h"

namespace {

constexpr const char* canvasSelector = "#canvas";

// Stand-ins for the handles, which the page does not have: non-null while
// what they stand for exists.
int pageMarker;
int canvasMarker;
EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;

EM_JS(void, tellPageLoopStopped, (), {
    if (Module["loopStopped"])
        Module["loopStopped"]();
});

EM_BOOL onKey(int eventType, const EmscriptenKeyboardEvent* event, void*) {
    Message message;
    if (!browserKeyMessage(event->key, event->code, eventType == EMSCRIPTEN_EVENT_KEYDOWN,
                           event->altKey != 0, message))
        return EM_FALSE;
    pushMessage(queuedMessages, message);
    // The scene's keys must not scroll the page; function keys keep their
    // browser meaning.
    return message.wParam < VK_F1 || message.wParam > VK_F12;
}

void runPass() {
    if (runLoopPass())
        return;
    emscripten_cancel_main_loop();
    endLoop();
    tellPageLoopStopped();
}

} // namespace

bool createWindow(const WindowDesc& desc) {
    windowState.instanceHandle = &pageMarker;
    // An OpenGL ES 3.0 context is what the desktop's 3.2 core request means
    // here; nothing older is asked for.
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = EM_FALSE; // a window's alpha never shows through; the canvas's would
    attributes.depth = desc.depthBits > 0;
    attributes.stencil = desc.stencilBits > 0;
    attributes.antialias = EM_FALSE; // the desktop pixel format has no multisampling
    if (emscripten_set_canvas_element_size(canvasSelector, desc.width, desc.height) !=
        EMSCRIPTEN_RESULT_SUCCESS) {
        destroyWindow();
        return false;
    }
    windowState.windowHandle = &canvasMarker;
    windowState.deviceContext = &canvasMarker;
    context = emscripten_webgl_create_context(canvasSelector, &attributes);
    if (context <= 0 ||
        emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        destroyWindow();
        return false;
    }
    windowState.renderContext = &context;
    emscripten_set_window_title(desc.title);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, onKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, onKey);
    // The page shows its canvas at once, as a shown window is activated.
    pushMessage(queuedMessages, Message{WM_ACTIVATE, WA_ACTIVE, 0});
    windowState.clientWidth = desc.width;
    windowState.clientHeight = desc.height;
    return true;
}

// The context is left to the canvas rather than destroyed, so the page keeps
// showing the last frame.
void destroyWindow() {
    if (windowState.instanceHandle) {
        emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
        emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    }
    if (windowState.renderContext) {
        emscripten_webgl_make_context_current(0);
        windowState.renderContext = nullptr;
    }
    windowState.deviceContext = nullptr;
    windowState.windowHandle = nullptr;
    windowState.instanceHandle = nullptr;
    clearMessages(queuedMessages);
    windowState.appInitialized = false;
}

void runBrowserLoop() {
    if (!startLoop())
        return;
    // 0 frames per second: one pass per animation frame.
    emscripten_set_main_loop(runPass, 0, EM_FALSE);
}

void pollWindowSystem() {}

void waitWindowSystem() {}

// The browser presents the canvas when the animation frame's pass returns.
void swapBuffers() {}

int64_t readCounter() {
    return static_cast<int64_t>(emscripten_get_now() * 1000.0); // milliseconds to microseconds
}

int64_t counterFrequency() {
    return 1000000;
}
