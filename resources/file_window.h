// A text file read a window of whole lines at a time, for text scanned once
// from start to end without holding all of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "resources/file_bytes.h"

// A regular file read piece by piece into one buffer, for text scanned from
// start to end: a model needs its text once, and holding all of it would
// cost as much fresh memory as its file is large. The window is the part of
// the buffer still to be scanned, up to the end of the last whole line read;
// at the end of the file it takes in the last line, whole or not. A line
// longer than the buffer leaves the window empty. No more than the size the
// file system reported at the opening is read.
struct FileWindow {
    int fd = -1;
    std::unique_ptr<char[], FileBytes::Free> buffer;
    size_t capacity = 0;
    uint64_t fileSize = 0;
    uint64_t readBytes = 0; // of the file, so far
    bool exhausted = false; // all of the file is in the buffer or gone by
    size_t begin = 0;       // of the window, in the buffer
    size_t lineEnd = 0;     // of the window
    size_t dataEnd = 0;     // of the bytes read

    FileWindow() = default;
    FileWindow(const FileWindow&) = delete;
    FileWindow& operator=(const FileWindow&) = delete;
    ~FileWindow();

    std::string_view text() const { return {buffer.get() + begin, lineEnd - begin}; }
    // Whether the window reaches the end of the file.
    bool final() const { return exhausted && lineEnd == dataEnd; }
};

// Opens the regular file at path (relative to the working directory) with a
// buffer of capacity bytes and fills the first window. False as for
// readFileBytes.
bool openFileWindow(const char* path, FileWindow& window, size_t capacity);

// Moves the window's start to from (a place in the window, or its end),
// keeps the bytes from there on and reads as many more as fit. False when
// reading fails.
bool advanceFileWindow(FileWindow& window, const char* from);

// Starts again from the file's first byte. False when reading fails.
bool rewindFileWindow(FileWindow& window);
