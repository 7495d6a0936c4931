// The counter of the Linux backends (GLFW, EGL): the monotonic clock in
// nanoseconds, which no clock adjustment moves backwards.
#include <ctime>

#include "framework/platform.h"

int64_t readCounter() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t counterFrequency() {
    return 1000000000;
}
