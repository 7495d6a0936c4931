// Whole-file reading: the shader sources go to GL as one zero-terminated
// string, so a file becomes a single buffer with a zero after its bytes.
#include "resources/text_file.h"

#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif
#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif

// Non-blocking open then fstat on the same descriptor: a FIFO is rejected
// without waiting for a writer, and the file checked is the file read.
FILE* openRegularFile(const char* path, const char* mode, int64_t* size) {
    if (path == nullptr || mode == nullptr || size == nullptr) {
        return nullptr;
    }
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        close(fd);
        return nullptr;
    }
    // Regular files ignore O_NONBLOCK, but the stream should not inherit it.
    int flags = fcntl(fd, F_GETFL);
    if (flags != -1) {
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    FILE* file = fdopen(fd, mode);
    if (file == nullptr) {
        close(fd);
        return nullptr;
    }
    *size = static_cast<int64_t>(info.st_size);
    return file;
}

// length is the size on disk; the buffer is zero-filled and one byte longer,
// so the text ends right after the last byte read even when text mode
// delivers fewer bytes than that.
bool readFile(const char* path, TextFile* out) {
    if (path == nullptr || out == nullptr) {
        return false;
    }
    out->text = nullptr;
    out->length = -1;

    int64_t size = 0;
    FILE* file = openRegularFile(path, "r", &size);
    if (file == nullptr) {
        return false;
    }
    // length is 32-bit and the buffer needs one byte more.
    if (size > INT32_MAX - 1) {
        fclose(file);
        return false;
    }
    auto* text = static_cast<char*>(calloc(static_cast<size_t>(size) + 1, 1));
    if (text == nullptr) {
        fclose(file);
        return false;
    }
    if (size > 0) {
        // A short read leaves zeros behind: the text still ends where the
        // read did.
        [[maybe_unused]] size_t got = fread(text, 1, static_cast<size_t>(size), file);
    }
    fclose(file);
    out->text = text;
    out->length = static_cast<int32_t>(size);
    return true;
}

// Returns the record to "no text": null text, length -1.
void releaseTextFile(TextFile& file) {
    free(file.text);
    file.text = nullptr;
    file.length = -1;
}
