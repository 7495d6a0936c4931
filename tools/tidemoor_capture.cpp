// tidemoor-capture: runs the scene like tidemoor, headless (through EGL on
// Linux, in a hidden window on Windows) with a fixed time step, presses
// scripted keys, writes chosen frames and shadow maps to PNG and optionally
// prints frame figures and where the start-up time went. Run it in a scene
// folder, like tidemoor. --help lists the options.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <stb_image_write.h>

#include "capture/capture_options.h"
#include "capture/depth_picture.h"
#include "capture/frame_counters.h"
#include "framework/app_callbacks.h"
#include "framework/entry.h"
#include "framework/line_output.h"
#include "framework/platform.h"
#include "framework/window_state.h"
#include "scene/frame.h"
#include "scene/scene.h"
#include "scene/scene_callbacks.h"
#include "scene/shadow_map.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

// Steady-clock readings from main to the end of the first frame: the
// window and context come before the scene's start-up, which times its own
// stages, and the first frame after it.
struct StartupMarks {
    SteadyClock::time_point start;
    StartupTimes scene;
    SteadyClock::time_point firstFrameDone;
};

struct CaptureRun {
    CaptureOptions options;
    int32_t frame = 0;
    GLuint timerQuery = 0;
    std::vector<double> cpuMilliseconds;
    std::vector<double> gpuMilliseconds;
    uint64_t drawCalls = 0;
    uint64_t allocations = 0;
    StartupMarks startup;
};

CaptureRun run;

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Keys for frame go through the window procedure, as typed keys would: they
// are taken before the frame renders because frames wait for an empty queue.
void postKeysFor(int32_t frame) {
    for (const CaptureKey& key : run.options.keys) {
        if (key.frame != frame)
            continue;
        postMessage(Message{WM_KEYDOWN, static_cast<uint64_t>(key.keyCode), 0});
        postMessage(Message{WM_KEYUP, static_cast<uint64_t>(key.keyCode), 0});
    }
}

// The frame just drawn, top row first, read from the buffer it was drawn
// into: a window's back buffer, a single-buffered pbuffer's only one.
bool writeShot(const std::string& file) {
    const int width = windowState.clientWidth;
    const int height = windowState.clientHeight;
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    GLint drawBuffer = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    glReadBuffer(static_cast<GLenum>(drawBuffer));
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    for (auto it = pixels.begin() + 3; it < pixels.end(); it += 4)
        *it = 255; // the picture is opaque whatever the cleared alpha
    stbi_flip_vertically_on_write(1);
    return stbi_write_png(file.c_str(), width, height, 4, pixels.data(), width * 4) != 0;
}

// The shadow map of the frame just drawn as a grey picture, top row first.
// The depths are read through the read framebuffer binding alone, so the
// frame's framebuffer and texture units stay as the frame left them. The
// shadow pass projects with the viewer camera's clip planes.
bool writeShadowShot(const std::string& file) {
    if (!theScene || !theScene->shadowMap)
        return false;
    const ShadowMap& shadowMap = *theScene->shadowMap;
    const auto size = static_cast<int>(shadowMap.size);
    std::vector<float> depths(static_cast<size_t>(size) * size);
    GLint readFramebuffer = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, shadowMap.framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size, size, GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
    const Camera& camera = theScene->camera;
    const std::vector<uint8_t> grey = depthPicture(depths, camera.zNear, camera.zFar);
    stbi_flip_vertically_on_write(1);
    return stbi_write_png(file.c_str(), size, size, 1, grey.data(), size) != 0;
}

double percentile(std::vector<double> values, double share) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// GL's strings, which may be missing on a broken context.
const char* glText(GLenum name) {
    const auto* text = reinterpret_cast<const char*>(glGetString(name));
    return text ? text : "unknown";
}

void printStats() {
    // Every figure below was measured on this driver.
    std::printf("renderer: %s / %s / %s\n", glText(GL_VENDOR), glText(GL_RENDERER),
                glText(GL_VERSION));
    // The first frames warm caches and the driver; they are not counted.
    const auto frames = static_cast<double>(run.cpuMilliseconds.size());
    std::printf("frames measured: %zu\n", run.cpuMilliseconds.size());
    std::printf("cpu ms per frame: median %.3f, p99 %.3f\n", percentile(run.cpuMilliseconds, 0.5),
                percentile(run.cpuMilliseconds, 0.99));
    if (run.gpuMilliseconds.empty())
        std::printf("gpu ms per frame: unavailable\n");
    else
        std::printf("gpu ms per frame: median %.3f, p99 %.3f\n",
                    percentile(run.gpuMilliseconds, 0.5), percentile(run.gpuMilliseconds, 0.99));
    std::printf("draw calls per frame: %.1f\n",
                frames > 0 ? static_cast<double>(run.drawCalls) / frames : 0.0);
    if (allocationsCounted)
        std::printf("heap allocations per frame: %.1f\n",
                    frames > 0 ? static_cast<double>(run.allocations) / frames : 0.0);
    else
        std::printf("heap allocations per frame: unavailable in a sanitizer build\n");
}

double millisecondsBetween(SteadyClock::time_point from, SteadyClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void printStartup() {
    const StartupMarks& at = run.startup;
    const auto line = [](const char* stage, SteadyClock::time_point from,
                         SteadyClock::time_point to) {
        std::printf("start-up %s: %.3f ms\n", stage, millisecondsBetween(from, to));
    };
    line("window and context (createWindow, GLEW)", at.start, at.scene.begin);
    SteadyClock::time_point previous = at.scene.begin;
    for (const StartupStage& stage : at.scene.stages) {
        line(stage.name.c_str(), previous, stage.end);
        previous = stage.end;
    }
    line("first frame (reshape, draw, glFinish)", previous, at.firstFrameDone);
    std::printf("start-up to first frame: %.3f ms\n",
                millisecondsBetween(at.start, at.firstFrameDone));
}

bool initCapture() {
    const bool ready = run.options.stats ? initTimedScene(run.startup.scene) : initScene();
    if (run.options.stats && GLEW_VERSION_3_3)
        glGenQueries(1, &run.timerQuery);
    postKeysFor(0);
    return ready;
}

bool updateCapture(float) {
    const int32_t frame = run.frame;
    const float dt = frame == 0 ? 0.0f : run.options.dt;
    const bool measured = run.options.stats && frame >= std::min(3, run.options.frames - 1);

    if (measured && run.timerQuery != 0)
        glBeginQuery(GL_TIME_ELAPSED, run.timerQuery);
    frameCounters = FrameCounters{};
    frameCounters.counting = measured;
    const double cpuStart = threadCpuSeconds();
    renderFrame(dt);
    const double cpuEnd = threadCpuSeconds();
    frameCounters.counting = false;
    if (run.options.stats && frame == 0) {
        glFinish(); // the first frame ends when its drawing has
        run.startup.firstFrameDone = SteadyClock::now();
    }
    if (measured) {
        run.cpuMilliseconds.push_back((cpuEnd - cpuStart) * 1000.0);
        run.drawCalls += frameCounters.drawCalls;
        run.allocations += frameCounters.allocations;
        if (run.timerQuery != 0) {
            glEndQuery(GL_TIME_ELAPSED);
            GLuint64 nanoseconds = 0;
            glGetQueryObjectui64v(run.timerQuery, GL_QUERY_RESULT, &nanoseconds);
            run.gpuMilliseconds.push_back(static_cast<double>(nanoseconds) * 1e-6);
        }
    }

    for (const CaptureShot& shot : run.options.shots)
        if (shot.frame == frame && !writeShot(shot.file))
            std::fprintf(stderr, "tidemoor-capture: could not write %s\n", shot.file.c_str());
    // After the frame's figures are taken, so the read-back is not measured.
    for (const CaptureShot& shot : run.options.shadowShots)
        if (shot.frame == frame && !writeShadowShot(shot.file))
            std::fprintf(stderr, "tidemoor-capture: could not write %s\n", shot.file.c_str());

    run.frame = frame + 1;
    if (run.frame >= run.options.frames) {
        if (run.options.stats) {
            printStats();
            printStartup();
        }
        if (run.timerQuery != 0)
            glDeleteQueries(1, &run.timerQuery);
        return false; // the last frame ends the run
    }
    postKeysFor(run.frame);
    return true;
}

constexpr const char* usage =
    "usage: tidemoor-capture [--frames N] [--dt SECONDS] [--size WxH] [--key FRAME:KEY]...\n"
    "                        [--shot FRAME:FILE.png]... [--shadow-shot FRAME:FILE.png]...\n"
    "                        [--stats] [--help]\n";

void printHelp() {
    const CaptureOptions defaults;
    std::printf("%s\n"
                "Runs the scene like tidemoor, headless, with a fixed time step.\n"
                "Run it in a scene folder. Options marked ... repeat.\n"
                "  --frames N        frames to render (%d)\n"
                "  --dt SECONDS      time step, 0 to 3600 (1/60); the first frame's is 0\n"
                "  --size WxH        client size, each side 1 to 8192 (%dx%d)\n"
                "  --key FRAME:KEY   press and release KEY before FRAME: a code such as\n"
                "                    0x57, a letter or digit, or SPACE, PRIOR, NEXT, LEFT,\n"
                "                    UP, RIGHT, DOWN, ADD, SUBTRACT, ESCAPE\n"
                "  --shot FRAME:FILE.png\n"
                "                    write that frame as drawn\n"
                "  --shadow-shot FRAME:FILE.png\n"
                "                    write that frame's shadow map, the depth seen from the\n"
                "                    light, as a %u x %u grey picture: depths become\n"
                "                    distances from the light, stretched so the nearest\n"
                "                    drawn is black and the farthest drawn white; where\n"
                "                    nothing was drawn (depth 1) is white too\n"
                "  --stats           print the renderer, CPU and GPU ms per frame, draw\n"
                "                    calls and allocations per frame, and the start-up's\n"
                "                    stages\n"
                "  --help            print this and exit\n",
                usage, defaults.frames, defaults.width, defaults.height, ShadowMap{}.size,
                ShadowMap{}.size);
}

} // namespace

int main(int argc, char** argv) {
    run.startup.start = SteadyClock::now();
    sendOutputLineByLine();
    std::string error;
    if (!parseCaptureOptions(std::vector<std::string>(argv + 1, argv + argc), run.options, error)) {
        std::fprintf(stderr, "tidemoor-capture: %s\n%s", error.c_str(), usage);
        return 2;
    }
    if (run.options.help) {
        printHelp();
        return 0;
    }

    appCallbacks.initCallback = initCapture;
    appCallbacks.reshapeCallback = reshapeSceneCallback;
    appCallbacks.updateCallback = updateCapture;
    appCallbacks.terminateCallback = terminate;
    appCallbacks.keyCallback = keySceneCallback;

    WindowDesc desc;
    desc.width = run.options.width;
    desc.height = run.options.height;
    desc.visible = false;
    desc.swapInterval = 0; // the time step is fixed; no reason to wait
    return runApplication(desc);
}
