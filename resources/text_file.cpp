// Whole-file reading for text: the shader sources go to GL as one
// zero-terminated string, so a file becomes a single buffer with a zero after
// its bytes.
#include "resources/text_file.h"

#include <cstdlib>

#include "resources/file_bytes.h"

// length is the size on disk; the buffer is one byte longer and zero there.
bool readFile(const char* path, TextFile* out) {
    if (path == nullptr || out == nullptr) {
        return false;
    }
    out->text = nullptr;
    out->length = -1;
    // length is 32-bit and the buffer needs one byte more.
    constexpr size_t largest = INT32_MAX - 1;
    FileBytes file;
    if (!readFileBytes(path, file, largest) || file.fileSize > largest) {
        return false;
    }
    out->text = file.bytes.release();
    out->length = static_cast<int32_t>(file.fileSize);
    return true;
}

// Returns the record to "no text": null text, length -1.
void releaseTextFile(TextFile& file) {
    free(file.text);
    file.text = nullptr;
    file.length = -1;
}
