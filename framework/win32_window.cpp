// The Win32 backend of the platform layer: a window of class "Vorlin" with a
// WGL context, on the system's own message queue.
//
// The context is made in two steps, as WGL requires: a legacy context from
// the pixel format, current, lets wglCreateContextAttribsARB be looked up;
// the context it makes from the framework's request then replaces the legacy
// one. There is no fallback to the legacy context. Every failure releases
// what was made through closeWindow, which releases in reverse order.
#include "framework/win32_window.h"

#include "framework/app_callbacks.h"
#include "framework/main_loop.h"
#include "framework/platform.h"
#include "framework/window_procedure.h"

Win32Platform win32Platform;

namespace {

// WGL_ARB_create_context.
constexpr int contextMajorVersion = 0x2091;
constexpr int contextMinorVersion = 0x2092;
constexpr int contextFlags = 0x2094;

using SwapIntervalFunction = BOOL(WINAPI*)(int interval);

constexpr DWORD windowStyle = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
constexpr DWORD windowExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;

// The system calls the window procedure with its own types.
LRESULT CALLBACK receiveMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return static_cast<LRESULT>(windowProcedure(window, message, wParam, lParam));
}

// A WGL extension function, looked up in the current context; null when the
// driver lacks it.
template <typename Function>
Function wglFunction(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

bool fail() {
    closeWindow();
    return false;
}

// Replaces the current legacy context by one made from contextRequest.
bool createRequestedContext() {
    CreateContextAttribsFunction createContext = win32Platform.createContextAttribs;
    if (!createContext)
        createContext = wglFunction<CreateContextAttribsFunction>("wglCreateContextAttribsARB");
    if (!createContext)
        return false;

    // No profile is named: WGL then makes the core profile, as the other
    // backends ask for.
    const int attributes[7] = {contextMajorVersion,
                               contextRequest.majorVersion,
                               contextMinorVersion,
                               contextRequest.minorVersion,
                               contextFlags,
                               contextRequest.flags,
                               0};

    Win32Platform& made = win32Platform;
    const HGLRC requested = createContext(made.device, nullptr, attributes);
    if (!requested)
        return false;
    if (!wglMakeCurrent(nullptr, nullptr)) {
        wglDeleteContext(requested);
        return false;
    }
    // On failure context still names the legacy context, so the teardown
    // tries it once more.
    if (!wglDeleteContext(made.context)) {
        wglDeleteContext(requested);
        return false;
    }
    made.context = requested;
    return wglMakeCurrent(made.device, requested) != FALSE;
}

} // namespace

bool openWindow(const WindowDesc& desc) {
    Win32Platform& made = win32Platform;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = receiveMessage;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = desc.className;
    made.windowClass = RegisterClassA(&windowClass);
    if (made.windowClass == 0)
        return false; // nothing has been made yet
    made.instance = instance;

    // The outer size that gives the asked-for client area.
    RECT frame{0, 0, desc.width, desc.height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, windowExStyle);
    made.window = CreateWindowExA(windowExStyle, desc.className, desc.title, windowStyle, 0, 0,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, instance, nullptr);
    if (!made.window)
        return fail();

    made.device = GetDC(made.window);
    if (!made.device)
        return fail();

    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = static_cast<BYTE>(desc.colorBits);
    format.cDepthBits = static_cast<BYTE>(desc.depthBits);
    format.cStencilBits = static_cast<BYTE>(desc.stencilBits);
    format.iLayerType = PFD_MAIN_PLANE;
    const int formatIndex = ChoosePixelFormat(made.device, &format);
    if (formatIndex == 0 || !SetPixelFormat(made.device, formatIndex, &format))
        return fail();

    made.context = wglCreateContext(made.device);
    if (!made.context)
        return fail();
    if (!wglMakeCurrent(made.device, made.context))
        return fail();
    if (static_cast<uint32_t>(contextRequest.majorVersion) >= 3 && !createRequestedContext())
        return fail();

    // Vertical sync where the driver offers it (WGL_EXT_swap_control).
    if (const auto swapInterval = wglFunction<SwapIntervalFunction>("wglSwapIntervalEXT"))
        swapInterval(desc.swapInterval);

    if (desc.visible) {
        // Showing sends the WM_ACTIVATE that starts rendering.
        ShowWindow(made.window, SW_SHOW);
        SetForegroundWindow(made.window);
        SetFocus(made.window);
    } else {
        // A hidden window is never activated by the system; it gets the same
        // activation so that it renders too.
        PostMessageA(made.window, WM_ACTIVATE, WA_ACTIVE, 0);
    }
    return true;
}

void closeWindow() {
    Win32Platform& made = win32Platform;
    if (made.context) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(made.context);
        made.context = nullptr;
    }
    if (made.device) {
        ReleaseDC(made.window, made.device);
        made.device = nullptr;
    }
    if (made.window) {
        DestroyWindow(made.window);
        made.window = nullptr;
    }
    if (made.instance) {
        UnregisterClassA(MAKEINTATOM(made.windowClass), made.instance);
        made.windowClass = 0;
        made.instance = nullptr;
    }
}

void runMainLoop() {
    runLoop();
}

bool takeMessage(Message& message) {
    MSG& taken = win32Platform.taken;
    if (!PeekMessageA(&taken, nullptr, 0, 0, PM_REMOVE))
        return false;
    message = Message{taken.message, taken.wParam, taken.lParam};
    return true;
}

void postMessage(const Message& message) {
    PostMessageA(win32Platform.window, message.message, message.wParam, message.lParam);
}

void dispatchMessage(const Message& message) {
    MSG record = win32Platform.taken;
    if (record.message != message.message || record.wParam != message.wParam ||
        record.lParam != message.lParam) {
        // Not the message taken last: addressed to the window, as posted.
        record = MSG{};
        record.hwnd = win32Platform.window;
        record.message = message.message;
        record.wParam = message.wParam;
        record.lParam = message.lParam;
    }
    TranslateMessage(&record);
    DispatchMessageA(&record);
}

void waitMessage() {
    WaitMessage();
}

// DestroyWindow flushes the thread's message queue itself.
void discardMessages() {}

void postQuitMessage(int32_t exitCode) {
    PostQuitMessage(exitCode);
}

int64_t defaultWindowProcedure(void* window, uint32_t message, uint64_t wParam, int64_t lParam) {
    return DefWindowProcA(static_cast<HWND>(window), message, wParam, lParam);
}

void swapBuffers() {
    if (win32Platform.device)
        SwapBuffers(win32Platform.device);
}

int64_t readCounter() {
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

int64_t counterFrequency() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}
