// Populating large buffers with memory before they are filled.
//
// The first touch of each fresh 4 KiB page costs a page fault, far more
// than filling the page. Asking the kernel to back a range in one call makes
// fresh memory much cheaper. Only ranges that will be written soon should be
// populated: populated pages count as resident.
#pragma once

#include <cstddef>

// Backs bytes [from, to) of the buffer [buffer, buffer + bufferBytes) with
// memory now. Small buffers and systems without the facility are left
// alone; the contents are never changed.
void populateForWriting(void* buffer, size_t bufferBytes, size_t from, size_t to);

// The same for elements [from, to) of a vector's capacity.
template <typename Vector>
void populateElements(Vector& list, size_t from, size_t to) {
    const size_t element = sizeof(*list.data());
    populateForWriting(list.data(), list.capacity() * element, from * element, to * element);
}
