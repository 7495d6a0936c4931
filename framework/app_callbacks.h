// The process-wide registry of the application's callbacks and the OpenGL
// context it asks for. The framework knows nothing of the application beyond
// these slots; an empty slot is skipped wherever it would be called.
#pragma once

#include <cstdint>

struct AppCallbacks {
    bool (*initCallback)() = nullptr;
    void (*reshapeCallback)(int32_t width, int32_t height) = nullptr;
    bool (*updateCallback)(float elapsedSeconds) = nullptr;
    void (*terminateCallback)() = nullptr;
    void (*keyCallback)(bool pressed, int32_t keyCode) = nullptr;
};

// Forward-compatible flag of the context request.
constexpr int32_t contextForwardCompatible = 2;

struct ContextRequest {
    int32_t majorVersion = 0;
    int32_t minorVersion = 0;
    int32_t flags = 0;
};

extern AppCallbacks appCallbacks;
extern ContextRequest contextRequest;
