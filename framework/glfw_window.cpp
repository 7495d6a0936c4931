// The GLFW backend of the platform layer: the program's real window on X11.
//
// GLFW's callbacks queue their events as Win32-style messages (glfw_messages.h)
// in the framework's queue (queued_messages.h), which polls GLFW only when it
// is empty. Quitting is the
// window procedure's decision, so the close button only queues WM_CLOSE and
// GLFW's should-close flag is cleared again.
#include <cstdio>
#include <ctime>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "framework/app_callbacks.h"
#include "framework/glfw_messages.h"
#include "framework/platform.h"
#include "framework/queued_messages.h"
#include "framework/window_state.h"

namespace {

struct GlfwPlatform {
    bool minimised = false;
};

GlfwPlatform platform;

// Stands in for the module handle: non-null while GLFW is initialised.
int glfwInitialisedMarker;

void queueMessage(uint32_t message, uint64_t wParam, int64_t lParam) {
    pushMessage(queuedMessages, Message{message, wParam, lParam});
}

// GLFW's own complaints go to standard error: standard output carries only
// the program's messages.
void reportGlfwError(int code, const char* description) {
    std::fprintf(stderr, "GLFW error 0x%x: %s\n", code, description);
}

void queueMessages(const GlfwMessages& messages) {
    for (size_t i = 0; i < messages.count; ++i)
        pushMessage(queuedMessages, messages.messages[i]);
}

void onKey(GLFWwindow*, int key, int scancode, int action, int mods) {
    queueMessages(keyMessages(key, glfwGetKeyName(key, scancode), action, mods));
}

void onFramebufferSize(GLFWwindow*, int width, int height) {
    if (platform.minimised)
        return; // the minimised size is reported as 0 x 0 by onIconify
    queueMessage(WM_SIZE, 0,
                 sizeParam(static_cast<uint32_t>(width), static_cast<uint32_t>(height)));
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

void onMouseButton(GLFWwindow*, int button, int action, int) {
    static constexpr uint32_t downs[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static constexpr uint32_t ups[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    if (button < 0 || button > 2)
        return;
    queueMessage(action == GLFW_PRESS ? downs[button] : ups[button], 0, 0);
}

} // namespace

bool createWindow(const WindowDesc& desc) {
    glfwSetErrorCallback(reportGlfwError);
    if (!glfwInit())
        return false; // nothing has been made yet
    windowState.instanceHandle = &glfwInitialisedMarker;

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
        destroyWindow();
        return false;
    }
    windowState.windowHandle = window;
    windowState.deviceContext = window;

    glfwMakeContextCurrent(window);
    if (glfwGetCurrentContext() != window) {
        destroyWindow();
        return false;
    }
    windowState.renderContext = window;

    glfwSetKeyCallback(window, onKey);
    glfwSetFramebufferSizeCallback(window, onFramebufferSize);
    glfwSetWindowIconifyCallback(window, onIconify);
    glfwSetWindowCloseCallback(window, onClose);
    glfwSetMouseButtonCallback(window, onMouseButton);
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
    queueMessage(WM_ACTIVATE, WA_ACTIVE, 0);

    windowState.clientWidth = desc.width;
    windowState.clientHeight = desc.height;
    return true;
}

void destroyWindow() {
    if (windowState.renderContext) {
        glfwMakeContextCurrent(nullptr);
        windowState.renderContext = nullptr;
    }
    windowState.deviceContext = nullptr;
    if (windowState.windowHandle) {
        glfwDestroyWindow(static_cast<GLFWwindow*>(windowState.windowHandle));
        windowState.windowHandle = nullptr;
    }
    if (windowState.instanceHandle) {
        glfwTerminate();
        windowState.instanceHandle = nullptr;
    }
    clearMessages(queuedMessages);
    platform.minimised = false;
    windowState.appInitialized = false;
}

void pollWindowSystem() {
    if (windowState.instanceHandle)
        glfwPollEvents();
}

void waitWindowSystem() {
    if (windowState.instanceHandle)
        glfwWaitEvents();
}

void swapBuffers() {
    if (windowState.deviceContext)
        glfwSwapBuffers(static_cast<GLFWwindow*>(windowState.deviceContext));
}

int64_t readCounter() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t counterFrequency() {
    return 1000000000;
}
