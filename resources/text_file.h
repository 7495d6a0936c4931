// Whole-file reading for text inputs such as shader sources.
#pragma once

#include <cstdint>

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
