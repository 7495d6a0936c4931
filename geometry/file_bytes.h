// Whole files read into memory with one read, for the parsers to scan there.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

struct FileBytes {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;

    std::string_view text() const { return {bytes.get(), size}; }
};

// Reads the regular file at path (relative to the working directory) into
// out. Returns false for a file that cannot be opened or is not a regular
// file (a directory, FIFO or device), or when memory runs out. A file that
// shrinks while it is read gives the bytes that were there.
bool readFileBytes(const char* path, FileBytes& out);
