// Preparing large buffers before they are filled.
//
// On these machines the first touch of each fresh 4 KiB page is expensive
// (about 10 us), far more than filling it. Asking the kernel to back a range
// in one call makes fresh memory much cheaper. Only ranges that will be
// written soon should be prepared: prepared pages count as resident.
#pragma once

#include <cstddef>

// Backs bytes [from, to) of the buffer [buffer, buffer + bufferBytes) with
// memory now. Small buffers and systems without the facility are left
// alone; the contents are never changed.
void prepareForWriting(void* buffer, size_t bufferBytes, size_t from, size_t to);

// The same for elements [from, to) of a vector's capacity.
template <typename Vector>
void prepareElements(Vector& list, size_t from, size_t to) {
    const size_t element = sizeof(*list.data());
    prepareForWriting(list.data(), list.capacity() * element, from * element, to * element);
}
