// Whole files read into memory with one read: the one file reader of the
// program, for model and material text, images and shader sources alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

struct FileBytes {
    struct Free {
        void operator()(char* bytes) const { std::free(bytes); }
    };
    // malloc'd, so that a caller may take the buffer over and free it itself;
    // always followed by one zero byte, so the text is also a C string.
    std::unique_ptr<char[], Free> bytes;
    size_t size = 0;
    // The size the file system reported when the file was opened.
    uint64_t fileSize = 0;

    std::string_view text() const { return {bytes.get(), size}; }
};

// Reads the regular file at path (relative to the working directory) into
// out, at most maxBytes of it. Returns false for a file that cannot be opened
// or is not a regular file (a directory, FIFO or device would block or read
// forever), or when memory runs out. A file that shrinks while it is read
// gives the bytes that were there.
bool readFileBytes(const char* path, FileBytes& out, size_t maxBytes = SIZE_MAX / 2);
