// Whole-file reading for text inputs such as shader sources.
#pragma once

#include <cstdint>
#include <cstdio>

struct TextFile {
    // Heap buffer (malloc; the caller frees it) with the file's bytes and at
    // least one zero byte after them; null when there is no text.
    char* text = nullptr;
    // The file's size in bytes as the file system reports it; -1 without text.
    int32_t length = -1;
};

// Reads the whole regular file at path into out. Returns false for a null
// argument, a file that cannot be opened, or anything that is not a regular
// file (a directory, FIFO or device would block or read forever).
bool readFile(const char* path, TextFile* out);

// Frees out's text and marks it empty again.
void releaseTextFile(TextFile& file);

// Opens path with fopen's mode only if it names a regular file, and gives its
// size in bytes. The check happens on the open descriptor, opened without
// blocking, so a FIFO with no writer never stalls the caller. Returns null for
// anything else; the caller closes the stream with fclose.
FILE* openRegularFile(const char* path, const char* mode, int64_t* size);
