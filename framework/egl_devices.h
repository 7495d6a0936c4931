// Which EGL displays the headless backend tries, and in what order: plain
// code over the devices' extension strings, so the rule is tested without a
// driver.
//
// By default a GPU is wanted: the devices that are not software devices, in
// the order EGL lists them, then the software device(s), then Mesa's
// surfaceless platform. TIDEMOOR_EGL_DEVICE narrows the choice to one device
// by its number, or to "software" (the references were rendered there).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A candidate that is not a device index: Mesa's surfaceless platform.
constexpr int32_t eglSurfacelessPlatform = -1;

enum class EglChoiceError {
    none,
    deviceOutOfRange, // a number naming no listed device
    unknownSetting,   // neither a number nor "software"
};

struct EglChoice {
    // Device indices, or eglSurfacelessPlatform, to try in turn.
    std::vector<int32_t> candidates;
    EglChoiceError error = EglChoiceError::none;
};

// Whether the space-separated extension list names extension exactly.
bool hasEglExtension(std::string_view list, std::string_view extension);

// The candidates for the devices described by their extension strings (in
// EGL's order), with or without the surfaceless platform, under the value of
// TIDEMOOR_EGL_DEVICE (null or empty: the default order). An error leaves no
// candidates.
EglChoice chooseEglDisplays(const std::vector<std::string>& deviceExtensions,
                            bool surfacelessPlatform, const char* deviceSetting);

// The line standard error gets for a choice that failed with error.
std::string eglChoiceMessage(EglChoiceError error, const char* deviceSetting, size_t deviceCount);
