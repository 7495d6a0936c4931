// Population of fresh pages with madvise(MADV_POPULATE_WRITE) on the small
// pages of the range. It is advice: a kernel that refuses it leaves the pages
// to be touched one by one. Large pages are not asked for (MADV_HUGEPAGE):
// a fresh large page can cost several times its 512 small ones.
#include "resources/fresh_memory.h"

#include <algorithm>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#if defined(__linux__)
namespace {

// Below this the page faults cost less than the system calls.
constexpr size_t minimumBytes = size_t{1} << 16;
constexpr uintptr_t smallPage = uintptr_t{1} << 12;

uintptr_t roundUp(uintptr_t value, uintptr_t step) {
    return (value + step - 1) & ~(step - 1);
}
uintptr_t roundDown(uintptr_t value, uintptr_t step) {
    return value & ~(step - 1);
}

} // namespace
#endif

void populateForWriting(void* buffer, size_t bufferBytes, size_t from, size_t to) {
#if defined(__linux__)
#ifndef MADV_POPULATE_WRITE
    constexpr int MADV_POPULATE_WRITE = 23; // Linux 5.14
#endif
    to = std::min(to, bufferBytes);
    if (buffer == nullptr || bufferBytes < minimumBytes || from >= to) {
        return;
    }
    const auto start = reinterpret_cast<uintptr_t>(buffer);
    const uintptr_t end = start + bufferBytes;
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
