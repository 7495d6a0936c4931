// Counters of what a captured frame does: draw calls and heap allocations.
// The capture program wraps the program's glDrawElements calls and replaces
// the global operator new with counting versions; counting is on only while
// a frame renders.
#pragma once

#include <cstdint>

// Under AddressSanitizer the sanitizer owns operator new, so allocations are
// not counted there.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool allocationsCounted = false;
#else
constexpr bool allocationsCounted = true;
#endif

struct FrameCounters {
    bool counting = false;
    uint64_t drawCalls = 0;
    uint64_t allocations = 0;
};

extern FrameCounters frameCounters;
