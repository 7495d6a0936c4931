// Whole files read into memory with one read: the program's file reader for
// material text, images and shader sources alike. Models are read through a
// window instead (file_window.h), on the same two calls below.
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

// Opens the regular file at path (relative to the working directory) for
// reading, without waiting on a FIFO that has no writer, and gives its size;
// -1 for a file that cannot be opened or is not a regular file.
int openRegularFile(const char* path, uint64_t& fileSize);

// Reads size bytes from fd into bytes, fewer only where the file ends (or
// shrank while it was read): the count read, or -1 when reading fails.
int64_t readUpTo(int fd, char* bytes, size_t size);
