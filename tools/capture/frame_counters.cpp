// Counting draw calls and heap allocations of the frames being captured.
//
// glDrawElements is defined here, so every call the program's own code makes
// binds to this definition, which counts and forwards to the GL library's.
// Allocations are counted at the global operator new: the program's frame
// code is C++; allocations the GL driver makes inside its own calls go
// through malloc and are not counted.
#include "frame_counters.h"

#include <dlfcn.h>

#include <cstdlib>
#include <new>

#include <GL/glew.h>

FrameCounters frameCounters;

namespace {

using DrawElements = void(GLAPIENTRY*)(GLenum, GLsizei, GLenum, const void*);

DrawElements realDrawElements() {
    static const auto real = reinterpret_cast<DrawElements>(dlsym(RTLD_NEXT, "glDrawElements"));
    return real;
}

[[maybe_unused]] void* countedAllocation(std::size_t size) {
    if (frameCounters.counting)
        ++frameCounters.allocations;
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

} // namespace

extern "C" void GLAPIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type,
                                          const void* indices) {
    if (frameCounters.counting)
        ++frameCounters.drawCalls;
    if (DrawElements real = realDrawElements())
        real(mode, count, type, indices);
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
