// The browser backend of the platform layer: the page's canvas with a WebGL 2
// (OpenGL ES 3.0) context, built with Emscripten.
//
// The page's keyboard events are queued as Win32-style messages
// (browser_events.h) in the framework's queue (message_queue.h) as they
// arrive, between animation frames; there is nothing to poll and nothing to
// wait on, since a page's script must never block. The canvas is fixed in
// size and never minimised. The browser runs the main loop: one pass per
// animation frame.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "framework/app_callbacks.h"
#include "framework/browser_events.h"
#include "framework/main_loop.h"
#include "framework/message_queue.h"
#include "framework/platform.h"

namespace {

constexpr const char* canvasSelector = "#canvas";

struct BrowserPlatform {
    bool keysListened = false;
    // Current while the window is open; 0 for none.
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
};

BrowserPlatform platform;

EM_JS(void, tellPageLoopStopped, (), {
    if (Module["loopStopped"])
        Module["loopStopped"]();
});

EM_BOOL onKey(int eventType, const EmscriptenKeyboardEvent* event, void*) {
    Message message;
    if (!browserKeyMessage(event->key, event->code, eventType == EMSCRIPTEN_EVENT_KEYDOWN,
                           event->altKey != 0, message))
        return EM_FALSE;
    postMessage(message);
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

bool openWindow(const WindowDesc& desc) {
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
        EMSCRIPTEN_RESULT_SUCCESS)
        return false; // nothing has been made yet
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context(canvasSelector, &attributes);
    if (context <= 0)
        return false;
    if (emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        // A context that never became current has drawn nothing to keep.
        emscripten_webgl_destroy_context(context);
        return false;
    }
    platform.context = context;
    emscripten_set_window_title(desc.title);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, onKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, onKey);
    platform.keysListened = true;
    // The page shows its canvas at once, as a shown window is activated.
    postMessage(Message{WM_ACTIVATE, WA_ACTIVE, 0});
    return true;
}

// The context is left to the canvas rather than destroyed, so the page keeps
// showing the last frame.
void closeWindow() {
    if (platform.keysListened) {
        emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
        emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    }
    if (platform.context)
        emscripten_webgl_make_context_current(0);
    platform = BrowserPlatform{};
}

// Starts the main loop (init and the first reshape at once; when init fails
// nothing more) and returns: the browser then calls one pass per animation
// frame. When the loop ends (Escape, or the application's update asks to
// stop) terminate runs, the window is released and the page is told, through
// its Module.loopStopped hook when it has one. The canvas keeps the last
// frame.
void runMainLoop() {
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
