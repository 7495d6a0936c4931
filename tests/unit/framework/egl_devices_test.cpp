// The headless backend's choice of EGL display: GPUs first in EGL's order,
// then the software device, then the surfaceless platform; one device by
// number or "software" on request; settings that name nothing are errors.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/egl_devices.h"

namespace {

using Candidates = std::vector<int32_t>;
constexpr int32_t surfaceless = eglSurfacelessPlatform;

const std::string software = "EGL_MESA_device_software EGL_EXT_device_drm_render_node";
const std::string gpu = "EGL_EXT_device_drm EGL_EXT_device_drm_render_node";
// Listed before the GPUs, as EGL may list it.
const std::vector<std::string> mixed = {software, gpu, "", gpu};

} // namespace

TEST(EglDevices, ByDefaultGpusComeFirstThenSoftwareThenSurfaceless) {
    EXPECT_EQ(chooseEglDisplays(mixed, true, nullptr).candidates,
              (Candidates{1, 2, 3, 0, surfaceless}));
    EXPECT_EQ(chooseEglDisplays(mixed, false, "").candidates, (Candidates{1, 2, 3, 0}));
    // This machine: one software device.
    EXPECT_EQ(chooseEglDisplays({software}, true, nullptr).candidates,
              (Candidates{0, surfaceless}));
    // No devices listed (no driver, or no device enumeration).
    EXPECT_EQ(chooseEglDisplays({}, true, nullptr).candidates, (Candidates{surfaceless}));
    const EglChoice nothing = chooseEglDisplays({}, false, nullptr);
    EXPECT_TRUE(nothing.candidates.empty());
    EXPECT_EQ(nothing.error, EglChoiceError::none);
    // The software marker counts only as a whole extension name.
    EXPECT_EQ(
        chooseEglDisplays({"EGL_MESA_device_software_x", software}, false, nullptr).candidates,
        (Candidates{0, 1}));
}

TEST(EglDevices, TheSettingPicksOneDeviceOrTheSoftwareOne) {
    EXPECT_EQ(chooseEglDisplays(mixed, true, "0").candidates, (Candidates{0}));
    EXPECT_EQ(chooseEglDisplays(mixed, true, "3").candidates, (Candidates{3}));
    EXPECT_EQ(chooseEglDisplays({software}, true, "0").candidates, (Candidates{0}));
    EXPECT_EQ(chooseEglDisplays(mixed, true, "software").candidates, (Candidates{0}));
    EXPECT_EQ(chooseEglDisplays({gpu}, true, "software").candidates, (Candidates{surfaceless}));
    const EglChoice none = chooseEglDisplays({gpu}, false, "software");
    EXPECT_TRUE(none.candidates.empty());
    EXPECT_EQ(none.error, EglChoiceError::none);
}

TEST(EglDevices, SettingsNamingNoDeviceAreErrorsThatSayHowManyThereAre) {
    for (const char* setting : {"4", "99999999999999999999"}) {
        const EglChoice choice = chooseEglDisplays(mixed, true, setting);
        EXPECT_EQ(choice.error, EglChoiceError::deviceOutOfRange) << setting;
        EXPECT_TRUE(choice.candidates.empty()) << setting;
    }
    EXPECT_EQ(chooseEglDisplays({}, true, "0").error, EglChoiceError::deviceOutOfRange);
    for (const char* setting : {"gpu", "-1", "1x", " 1", "Software"}) {
        const EglChoice choice = chooseEglDisplays(mixed, true, setting);
        EXPECT_EQ(choice.error, EglChoiceError::unknownSetting) << setting;
        EXPECT_TRUE(choice.candidates.empty()) << setting;
    }
    EXPECT_EQ(eglChoiceMessage(EglChoiceError::deviceOutOfRange, "7", 1),
              "tidemoor: TIDEMOOR_EGL_DEVICE=7, but there is 1 EGL device (0)");
    EXPECT_EQ(eglChoiceMessage(EglChoiceError::deviceOutOfRange, "4", 4),
              "tidemoor: TIDEMOOR_EGL_DEVICE=4, but there are 4 EGL devices (0 to 3)");
    EXPECT_EQ(eglChoiceMessage(EglChoiceError::deviceOutOfRange, "0", 0),
              "tidemoor: TIDEMOOR_EGL_DEVICE=0, but there are no EGL devices");
}
