// Bulk population of fresh pages with madvise: MADV_HUGEPAGE on the 2 MiB
// aligned interior of the buffer, then MADV_POPULATE_WRITE on the pages of
// the range. Both are advice: a kernel that refuses them leaves the pages to
// be touched one by one as before.
#include "resources/fresh_memory.h"

#include <algorithm>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#if defined(__linux__) && defined(MADV_HUGEPAGE)
namespace {

// Below this the page faults cost less than the system calls.
constexpr size_t minimumBytes = size_t{1} << 16;
constexpr uintptr_t smallPage = uintptr_t{1} << 12;
constexpr uintptr_t largePage = uintptr_t{1} << 21;

uintptr_t roundUp(uintptr_t value, uintptr_t step) {
    return (value + step - 1) & ~(step - 1);
}
uintptr_t roundDown(uintptr_t value, uintptr_t step) {
    return value & ~(step - 1);
}

} // namespace
#endif

void prepareForWriting(void* buffer, size_t bufferBytes, size_t from, size_t to) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
#ifndef MADV_POPULATE_WRITE
    constexpr int MADV_POPULATE_WRITE = 23; // Linux 5.14
#endif
    to = std::min(to, bufferBytes);
    if (buffer == nullptr || bufferBytes < minimumBytes || from >= to) {
        return;
    }
    const auto start = reinterpret_cast<uintptr_t>(buffer);
    const uintptr_t end = start + bufferBytes;
    const uintptr_t largeStart = roundUp(start, largePage);
    const uintptr_t largeEnd = roundDown(end, largePage);
    if (largeStart < largeEnd) {
        madvise(reinterpret_cast<void*>(largeStart), largeEnd - largeStart, MADV_HUGEPAGE);
    }
    // Whole pages only: a page the buffer shares with its neighbours is left
    // to be touched as usual.
    const uintptr_t pageStart =
        std::max(roundDown(start + from, smallPage), roundUp(start, smallPage));
    const uintptr_t pageEnd = std::min(roundUp(start + to, smallPage), roundDown(end, smallPage));
    if (pageStart < pageEnd) {
        madvise(reinterpret_cast<void*>(pageStart), pageEnd - pageStart, MADV_POPULATE_WRITE);
    }
#else
    (void)buffer;
    (void)bufferBytes;
    (void)from;
    (void)to;
#endif
}
