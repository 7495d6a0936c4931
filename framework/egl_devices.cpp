// The headless backend's choice of display: GPUs first, software last.
#include "framework/egl_devices.h"

#include <charconv>

namespace {

bool isSoftwareDevice(const std::string& extensions) {
    return hasEglExtension(extensions, "EGL_MESA_device_software");
}

} // namespace

bool hasEglExtension(std::string_view list, std::string_view extension) {
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(' ', start);
        if (end == std::string_view::npos)
            end = list.size();
        if (list.substr(start, end - start) == extension)
            return true;
        start = end + 1;
    }
    return false;
}

EglChoice chooseEglDisplays(const std::vector<std::string>& deviceExtensions,
                            bool surfacelessPlatform, const char* deviceSetting) {
    EglChoice choice;
    const auto count = static_cast<int32_t>(deviceExtensions.size());
    const std::string_view setting = deviceSetting ? deviceSetting : "";
    const bool byDefault = setting.empty();
    if (!byDefault && setting != "software") {
        if (setting.find_first_not_of("0123456789") != std::string_view::npos) {
            choice.error = EglChoiceError::unknownSetting;
            return choice;
        }
        // A number too large for from_chars is out of range as well.
        int32_t device = count;
        std::from_chars(setting.data(), setting.data() + setting.size(), device);
        if (device >= count) {
            choice.error = EglChoiceError::deviceOutOfRange;
            return choice;
        }
        choice.candidates.push_back(device);
        return choice;
    }
    if (byDefault) {
        for (int32_t device = 0; device < count; ++device) {
            if (!isSoftwareDevice(deviceExtensions[static_cast<size_t>(device)]))
                choice.candidates.push_back(device);
        }
    }
    for (int32_t device = 0; device < count; ++device) {
        if (isSoftwareDevice(deviceExtensions[static_cast<size_t>(device)]))
            choice.candidates.push_back(device);
    }
    // Asked for software, the surfaceless platform stands in only for a
    // missing software device: on a GPU machine it may take the GPU.
    if (surfacelessPlatform && (byDefault || choice.candidates.empty()))
        choice.candidates.push_back(eglSurfacelessPlatform);
    return choice;
}

std::string eglChoiceMessage(EglChoiceError error, const char* deviceSetting, size_t deviceCount) {
    const std::string head = std::string("tidemoor: TIDEMOOR_EGL_DEVICE=") + deviceSetting;
    if (error == EglChoiceError::unknownSetting)
        return head + " is neither a device number nor \"software\"";
    if (deviceCount == 0)
        return head + ", but there are no EGL devices";
    if (deviceCount == 1)
        return head + ", but there is 1 EGL device (0)";
    return head + ", but there are " + std::to_string(deviceCount) + " EGL devices (0 to " +
           std::to_string(deviceCount - 1) + ")";
}
