// tidemoor in a browser page: the scene on the page's canvas, built with
// Emscripten. The page (app/web/index.html) starts it, shows its standard
// output and presses keys for tests.
//
// Arguments come from the page's address: "--frames N" runs N frames with a
// fixed step of 1/60 s (the first 0), like tidemoor-capture, then stops and
// leaves the last frame on the canvas; "--size WxH" changes the canvas size.
// Without them the scene runs on the animation frames' real time until
// Escape. Either way the page is told before each frame is taken on (its
// Module.beforeFrame hook, where it presses the keys meant for that frame)
// and after each frame is drawn (Module.frameDrawn). When the page has no
// WebGL 2 the program prints the desktop's "Could not create window!" and
// the page says it failed (Module.startFailed).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <emscripten/emscripten.h>

#include "framework/app_callbacks.h"
#include "framework/entry.h"
#include "framework/line_output.h"
#include "scene/frame.h"
#include "scene/scene.h"
#include "scene/scene_callbacks.h"

namespace {

struct PageRun {
    int32_t frames = 0; // 0: no end but Escape, on real time
    int32_t frame = 0;  // the next frame to draw
};

PageRun run;

EM_JS(void, tellPageBeforeFrame, (int32_t frame), {
    if (Module["beforeFrame"])
        Module["beforeFrame"](frame);
});

EM_JS(void, tellPageFrameDrawn, (int32_t frame), {
    if (Module["frameDrawn"])
        Module["frameDrawn"](frame);
});

EM_JS(void, tellPageStartFailed, (), {
    if (Module["startFailed"])
        Module["startFailed"]();
});

// Keys dispatched for the first frame arrive before the loop takes its first
// messages, as tidemoor-capture posts them.
bool initPage() {
    const bool ready = initScene();
    if (ready)
        tellPageBeforeFrame(0);
    return ready;
}

bool updatePage(float elapsedSeconds) {
    if (run.frames > 0)
        elapsedSeconds = run.frame == 0 ? 0.0f : 1.0f / 60.0f;
    renderFrame(elapsedSeconds);
    tellPageFrameDrawn(run.frame);
    ++run.frame;
    if (run.frames > 0 && run.frame >= run.frames)
        return false; // the canvas keeps this frame: the page has no back buffer to swap
    tellPageBeforeFrame(run.frame);
    return true;
}

// A positive whole number; 0 for anything else.
int32_t positive(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end != text && value > 0 && value <= 1000000 ? static_cast<int32_t>(value) : 0;
}

void readArguments(int argc, char** argv, WindowDesc& desc) {
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--frames") == 0) {
            run.frames = positive(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--size") == 0) {
            int width = 0;
            int height = 0;
            if (std::sscanf(argv[i + 1], "%dx%d", &width, &height) == 2 && width > 0 &&
                width <= 4096 && height > 0 && height <= 4096) {
                desc.width = width;
                desc.height = height;
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    sendOutputLineByLine();
    // The page's file system starts in "/": the scene is packed into /scene
    // beside /Shader, so "../Shader/" and the scene's own files resolve as in
    // the desktop layout.
    if (chdir("/scene") != 0)
        std::fprintf(stderr, "tidemoor: no /scene folder in the page's files\n");

    WindowDesc desc;
    readArguments(argc, argv, desc);
    appCallbacks.initCallback = initPage;
    appCallbacks.reshapeCallback = reshapeSceneCallback;
    appCallbacks.updateCallback = updatePage;
    appCallbacks.terminateCallback = terminate;
    appCallbacks.keyCallback = keySceneCallback;
    const int exitCode = runApplication(desc);
    if (exitCode != 0) {
        // The page shows standard output by whole lines; the desktop's
        // message ends without one.
        std::printf("\n");
        tellPageStartFailed();
    }
    return exitCode;
}
