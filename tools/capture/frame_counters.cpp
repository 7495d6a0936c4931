// Counting draw calls and heap allocations of the frames being captured.
//
// The capture program is linked with --wrap=glDrawElements: the program's
// own calls reach __wrap_glDrawElements, which counts and forwards to the GL
// library's function; the library itself is left as it is. Allocations are counted at the global
// operator new: the program's frame code is C++; allocations the GL driver makes inside its own
// calls go through malloc and are not counted.
#include "frame_counters.h"

#include <cstdlib>
#include <new>

#include <GL/glew.h>

FrameCounters frameCounters;

namespace {

[[maybe_unused]] void* countedAllocation(std::size_t size) {
    if (frameCounters.counting)
        ++frameCounters.allocations;
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

} // namespace

extern "C" void GLAPIENTRY __real_glDrawElements(GLenum mode, GLsizei count, GLenum type,
                                                 const void* indices);

extern "C" void GLAPIENTRY __wrap_glDrawElements(GLenum mode, GLsizei count, GLenum type,
                                                 const void* indices) {
    if (frameCounters.counting)
        ++frameCounters.drawCalls;
    __real_glDrawElements(mode, count, type, indices);
}

#if !defined(__SANITIZE_ADDRESS__)
void* operator new(std::size_t size) {
    return countedAllocation(size);
}
void* operator new[](std::size_t size) {
    return countedAllocation(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
#endif
