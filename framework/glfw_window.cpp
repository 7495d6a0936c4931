// The GLFW backend of the platform layer: the program's real window on X11.
//
// GLFW's callbacks queue their events as Win32-style messages (glfw_events.h)
// in the framework's queue (message_queue.h), which polls GLFW only when it is
// empty. Quitting is the window procedure's decision, so the close button only
// queues WM_CLOSE and GLFW's should-close flag is cleared again.
#include <cstdio>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "framework/app_callbacks.h"
#include "framework/glfw_events.h"
#include "framework/main_loop.h"
#include "framework/message_queue.h"
#include "framework/platform.h"

namespace {

struct GlfwPlatform {
    bool initialised = false;
    GLFWwindow* window = nullptr; // with its context, current while it exists
    bool minimised = false;
};

GlfwPlatform platform;

// GLFW's own complaints go to standard error: standard output carries only
// the program's messages.
void reportGlfwError(int code, const char* description) {
    std::fprintf(stderr, "GLFW error 0x%x: %s\n", code, description);
}

void queueMessages(const GlfwMessages& messages) {
    for (size_t i = 0; i < messages.count; ++i)
        postMessage(messages.messages[i]);
}

void onKey(GLFWwindow*, int key, int scancode, int action, int mods) {
    queueMessages(keyMessages(key, glfwGetKeyName(key, scancode), action, mods));
}

void onFramebufferSize(GLFWwindow*, int width, int height) {
    if (platform.minimised)
        return; // the minimised size is reported as 0 x 0 by onIconify
    postMessage(Message{WM_SIZE, 0,
                        sizeParam(static_cast<uint32_t>(width), static_cast<uint32_t>(height))});
}

void onIconify(GLFWwindow* window, int iconified) {
    platform.minimised = iconified != 0;
    int width = 0;
    int height = 0;
    if (!platform.minimised)
        glfwGetFramebufferSize(window, &width, &height);
    queueMessages(iconifyMessages(platform.minimised, width, height));
}

void onClose(GLFWwindow* window) {
    glfwSetWindowShouldClose(window, GLFW_FALSE);
    queueMessages(closeMessages());
}

} // namespace

bool openWindow(const WindowDesc& desc) {
    glfwSetErrorCallback(reportGlfwError);
    if (!glfwInit())
        return false; // nothing has been made yet
    platform.initialised = true;

    glfwDefaultWindowHints();
    if (contextRequest.majorVersion >= 3) {
        glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, contextRequest.majorVersion);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, contextRequest.minorVersion);
        glfwWindowHint(GLFW_OPENGL_FORWARD_COMPAT,
                       (contextRequest.flags & contextForwardCompatible) ? GLFW_TRUE : GLFW_FALSE);
        if (contextRequest.majorVersion > 3 || contextRequest.minorVersion >= 2)
            glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    }
    glfwWindowHint(GLFW_RED_BITS, 8);
    glfwWindowHint(GLFW_GREEN_BITS, 8);
    glfwWindowHint(GLFW_BLUE_BITS, 8);
    glfwWindowHint(GLFW_ALPHA_BITS, desc.colorBits >= 32 ? 8 : 0);
    glfwWindowHint(GLFW_DEPTH_BITS, desc.depthBits);
    glfwWindowHint(GLFW_STENCIL_BITS, desc.stencilBits);
    glfwWindowHint(GLFW_DOUBLEBUFFER, GLFW_TRUE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE); // shown once placed
    // GLFW uses the class hint only when both names are set.
    glfwWindowHintString(GLFW_X11_CLASS_NAME, desc.className);
    glfwWindowHintString(GLFW_X11_INSTANCE_NAME, desc.className);

    GLFWwindow* window = glfwCreateWindow(desc.width, desc.height, desc.title, nullptr, nullptr);
    if (!window) {
        closeWindow();
        return false;
    }
    platform.window = window;

    glfwMakeContextCurrent(window);
    if (glfwGetCurrentContext() != window) {
        closeWindow();
        return false;
    }

    // Without the lock modifiers the key callback never learns Num Lock, and
    // every keypad digit would be a navigation key.
    glfwSetInputMode(window, GLFW_LOCK_KEY_MODS, GLFW_TRUE);
    glfwSetKeyCallback(window, onKey);
    glfwSetFramebufferSizeCallback(window, onFramebufferSize);
    glfwSetWindowIconifyCallback(window, onIconify);
    glfwSetWindowCloseCallback(window, onClose);
    glfwSwapInterval(desc.swapInterval);

    // The outer frame goes to the screen's top-left corner.
    int frameLeft = 0;
    int frameTop = 0;
    glfwGetWindowFrameSize(window, &frameLeft, &frameTop, nullptr, nullptr);
    glfwSetWindowPos(window, frameLeft, frameTop);
    if (desc.visible) {
        glfwShowWindow(window);
        glfwFocusWindow(window);
    }
    // Showing a window activates it; a hidden one gets the same activation so
    // that it renders too.
    postMessage(Message{WM_ACTIVATE, WA_ACTIVE, 0});
    return true;
}

void closeWindow() {
    if (platform.window) {
        glfwMakeContextCurrent(nullptr);
        glfwDestroyWindow(platform.window);
    }
    if (platform.initialised)
        glfwTerminate();
    platform = GlfwPlatform{};
}

void runMainLoop() {
    runLoop();
}

void pollWindowSystem() {
    if (platform.initialised)
        glfwPollEvents();
}

void waitWindowSystem() {
    if (platform.initialised)
        glfwWaitEvents();
}

void swapBuffers() {
    if (platform.window)
        glfwSwapBuffers(platform.window);
}
