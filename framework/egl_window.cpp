// The EGL backend of the platform layer: rendering without a window or an X
// server, on an EGL device (a GPU when there is one) or Mesa's surfaceless
// platform.
//
// The "window" is a single-buffered pbuffer of the requested client size:
// frames clear and draw framebuffer 0, so there must be a surface, and with
// one buffer the frame just drawn is the one read back. Nothing sends events,
// so the framework's queue holds only what the program posts itself.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "framework/app_callbacks.h"
#include "framework/egl_devices.h"
#include "framework/main_loop.h"
#include "framework/message_queue.h"
#include "framework/platform.h"

namespace {

struct EglPlatform {
    EGLDisplay display = EGL_NO_DISPLAY; // initialised while it is set
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT; // current while it exists
};

EglPlatform platform;

// The extension entry points that list devices and open their displays.
struct EglDeviceFunctions {
    PFNEGLQUERYDEVICESEXTPROC queryDevices = nullptr;
    PFNEGLQUERYDEVICESTRINGEXTPROC queryDeviceString = nullptr;
    PFNEGLGETPLATFORMDISPLAYEXTPROC getPlatformDisplay = nullptr;
};

// What EGL offers: the devices with their extension strings, and whether
// the surfaceless platform exists.
struct EglOffer {
    EglDeviceFunctions functions;
    std::vector<EGLDeviceEXT> devices;
    std::vector<std::string> deviceExtensions;
    bool surfaceless = false;
};

EglOffer queryOffer() {
    EglOffer offer;
    // Null when EGL has no client extensions at all (no driver, or EGL 1.4).
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!clientExtensions || !hasEglExtension(clientExtensions, "EGL_EXT_platform_base"))
        return offer;
    EglDeviceFunctions& f = offer.functions;
    f.getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!f.getPlatformDisplay)
        return offer;
    offer.surfaceless = hasEglExtension(clientExtensions, "EGL_MESA_platform_surfaceless");
    if (!hasEglExtension(clientExtensions, "EGL_EXT_platform_device") ||
        !(hasEglExtension(clientExtensions, "EGL_EXT_device_enumeration") ||
          hasEglExtension(clientExtensions, "EGL_EXT_device_base")))
        return offer;
    f.queryDevices =
        reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    f.queryDeviceString = reinterpret_cast<PFNEGLQUERYDEVICESTRINGEXTPROC>(
        eglGetProcAddress("eglQueryDeviceStringEXT"));
    EGLint count = 0;
    if (!f.queryDevices || !f.queryDeviceString || !f.queryDevices(0, nullptr, &count) ||
        count <= 0)
        return offer;
    offer.devices.resize(static_cast<size_t>(count));
    if (!f.queryDevices(count, offer.devices.data(), &count)) {
        offer.devices.clear();
        return offer;
    }
    offer.devices.resize(static_cast<size_t>(count));
    for (EGLDeviceEXT device : offer.devices) {
        const char* extensions = f.queryDeviceString(device, EGL_EXTENSIONS);
        offer.deviceExtensions.emplace_back(extensions ? extensions : "");
    }
    return offer;
}

EGLint configAttribute(EGLDisplay display, EGLConfig config, EGLint attribute) {
    EGLint value = -1;
    eglGetConfigAttrib(display, config, attribute, &value);
    return value;
}

// A pbuffer config of the pixel format desc asks for. EGL sorts deeper
// colour first, so the config with exactly the asked-for sizes is looked for
// among all that match.
bool chooseConfig(EGLDisplay display, const WindowDesc& desc, EGLConfig& chosen) {
    const EGLint alphaBits = desc.colorBits >= 32 ? 8 : 0;
    const EGLint attributes[] = {EGL_SURFACE_TYPE,
                                 EGL_PBUFFER_BIT,
                                 EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_BIT,
                                 EGL_RED_SIZE,
                                 8,
                                 EGL_GREEN_SIZE,
                                 8,
                                 EGL_BLUE_SIZE,
                                 8,
                                 EGL_ALPHA_SIZE,
                                 alphaBits,
                                 EGL_DEPTH_SIZE,
                                 desc.depthBits,
                                 EGL_STENCIL_SIZE,
                                 desc.stencilBits,
                                 EGL_NONE};
    EGLint count = 0;
    if (!eglChooseConfig(display, attributes, nullptr, 0, &count) || count <= 0)
        return false;
    std::vector<EGLConfig> configs(static_cast<size_t>(count));
    if (!eglChooseConfig(display, attributes, configs.data(), count, &count) || count <= 0)
        return false;
    chosen = configs[0];
    for (EGLint i = 0; i < count; ++i) {
        const EGLConfig config = configs[static_cast<size_t>(i)];
        if (configAttribute(display, config, EGL_RED_SIZE) == 8 &&
            configAttribute(display, config, EGL_GREEN_SIZE) == 8 &&
            configAttribute(display, config, EGL_BLUE_SIZE) == 8 &&
            configAttribute(display, config, EGL_ALPHA_SIZE) == alphaBits &&
            configAttribute(display, config, EGL_DEPTH_SIZE) == desc.depthBits &&
            configAttribute(display, config, EGL_STENCIL_SIZE) == desc.stencilBits) {
            chosen = config;
            break;
        }
    }
    return true;
}

// The context contextRequest asks for, through EGL_KHR_create_context's
// attributes; no older context stands in for it.
EGLContext createContext(EGLDisplay display, EGLConfig config) {
    std::vector<EGLint> attributes;
    if (contextRequest.majorVersion >= 3) {
        attributes.insert(attributes.end(),
                          {EGL_CONTEXT_MAJOR_VERSION_KHR, contextRequest.majorVersion,
                           EGL_CONTEXT_MINOR_VERSION_KHR, contextRequest.minorVersion});
        if (contextRequest.flags & contextForwardCompatible)
            attributes.insert(attributes.end(), {EGL_CONTEXT_FLAGS_KHR,
                                                 EGL_CONTEXT_OPENGL_FORWARD_COMPATIBLE_BIT_KHR});
        if (contextRequest.majorVersion > 3 || contextRequest.minorVersion >= 2)
            attributes.insert(attributes.end(), {EGL_CONTEXT_OPENGL_PROFILE_MASK_KHR,
                                                 EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT_KHR});
    }
    attributes.push_back(EGL_NONE);
    if (!eglBindAPI(EGL_OPENGL_API))
        return EGL_NO_CONTEXT;
    return eglCreateContext(display, config, EGL_NO_CONTEXT, attributes.data());
}

// Display, config, surface and context on one candidate, made current. On
// failure, closeWindow releases what was made.
bool openOn(const EglOffer& offer, int32_t candidate, const WindowDesc& desc) {
    if (candidate == eglSurfacelessPlatform)
        platform.display = offer.functions.getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA,
                                                              EGL_DEFAULT_DISPLAY, nullptr);
    else
        platform.display = offer.functions.getPlatformDisplay(
            EGL_PLATFORM_DEVICE_EXT, offer.devices[static_cast<size_t>(candidate)], nullptr);
    if (platform.display == EGL_NO_DISPLAY)
        return false;
    if (!eglInitialize(platform.display, nullptr, nullptr)) {
        platform.display = EGL_NO_DISPLAY;
        return false;
    }
    EGLConfig config = nullptr;
    if (!chooseConfig(platform.display, desc, config))
        return false;
    const EGLint size[] = {EGL_WIDTH, desc.width, EGL_HEIGHT, desc.height, EGL_NONE};
    platform.surface = eglCreatePbufferSurface(platform.display, config, size);
    if (platform.surface == EGL_NO_SURFACE)
        return false;
    platform.context = createContext(platform.display, config);
    if (platform.context == EGL_NO_CONTEXT)
        return false;
    return eglMakeCurrent(platform.display, platform.surface, platform.surface, platform.context) ==
           EGL_TRUE;
}

} // namespace

bool openWindow(const WindowDesc& desc) {
    const EglOffer offer = queryOffer();
    const char* setting = std::getenv("TIDEMOOR_EGL_DEVICE");
    const EglChoice choice = chooseEglDisplays(offer.deviceExtensions, offer.surfaceless, setting);
    if (choice.error != EglChoiceError::none) {
        std::fprintf(stderr, "%s\n",
                     eglChoiceMessage(choice.error, setting, offer.devices.size()).c_str());
        return false; // nothing has been made yet
    }
    for (int32_t candidate : choice.candidates) {
        if (openOn(offer, candidate, desc)) {
            // A pbuffer has no display to pace frames to: desc.swapInterval
            // has nothing to act on. The program renders once activated, as a
            // shown window is.
            postMessage(Message{WM_ACTIVATE, WA_ACTIVE, 0});
            return true;
        }
        if (candidate == eglSurfacelessPlatform)
            std::fprintf(stderr, "tidemoor: the EGL surfaceless platform failed (0x%x)\n",
                         static_cast<unsigned>(eglGetError()));
        else
            std::fprintf(stderr, "tidemoor: EGL device %d failed (0x%x)\n", candidate,
                         static_cast<unsigned>(eglGetError()));
        closeWindow();
    }
    if (choice.candidates.empty())
        std::fprintf(stderr, "tidemoor: EGL offers no device and no surfaceless platform\n");
    return false;
}

void closeWindow() {
    if (platform.display != EGL_NO_DISPLAY) {
        eglMakeCurrent(platform.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (platform.context != EGL_NO_CONTEXT)
            eglDestroyContext(platform.display, platform.context);
        if (platform.surface != EGL_NO_SURFACE)
            eglDestroySurface(platform.display, platform.surface);
        eglTerminate(platform.display);
        eglReleaseThread();
    }
    platform = EglPlatform{};
}

void runMainLoop() {
    runLoop();
}

void pollWindowSystem() {}

// Nothing outside the program sends messages, so there is nothing to wait
// for; the loop asks again.
void waitWindowSystem() {}

void swapBuffers() {
    if (platform.surface != EGL_NO_SURFACE)
        eglSwapBuffers(platform.display, platform.surface);
}
