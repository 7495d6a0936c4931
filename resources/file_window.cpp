// A file window: one buffer, refilled by plain reads as the scan moves on,
// the bytes not yet scanned moved to its front first.
#include "resources/file_window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

namespace {

// Sets the window's end after the last newline of the bytes read, or at
// their end once the file is exhausted.
void findLineEnd(FileWindow& window) {
    size_t end = window.dataEnd;
    if (!window.exhausted) {
        while (end > window.begin && window.buffer[end - 1] != '\n') {
            --end;
        }
    }
    window.lineEnd = end;
}

} // namespace

FileWindow::~FileWindow() {
    if (fd >= 0) {
        close(fd);
    }
}

bool openFileWindow(const char* path, FileWindow& window, size_t capacity) {
    uint64_t fileSize = 0;
    if (capacity == 0 || (window.fd = openRegularFile(path, fileSize)) < 0) {
        return false;
    }
    window.buffer.reset(static_cast<char*>(std::malloc(capacity)));
    if (!window.buffer) {
        return false;
    }
    window.capacity = capacity;
    window.fileSize = fileSize;
    return rewindFileWindow(window);
}

bool rewindFileWindow(FileWindow& window) {
    if (lseek(window.fd, 0, SEEK_SET) != 0) {
        return false;
    }
    window.readBytes = 0;
    window.exhausted = false;
    window.begin = window.lineEnd = window.dataEnd = 0;
    return advanceFileWindow(window, window.buffer.get());
}

bool advanceFileWindow(FileWindow& window, const char* from) {
    char* const buffer = window.buffer.get();
    const auto kept = static_cast<size_t>(buffer + window.dataEnd - from);
    std::memmove(buffer, from, kept);
    window.begin = 0;
    window.dataEnd = kept;
    const uint64_t left = window.fileSize - window.readBytes;
    const auto wanted = static_cast<size_t>(std::min<uint64_t>(window.capacity - kept, left));
    if (wanted > 0) {
        const int64_t got = readUpTo(window.fd, buffer + kept, wanted);
        if (got < 0) {
            return false;
        }
        window.readBytes += static_cast<uint64_t>(got);
        window.dataEnd += static_cast<size_t>(got);
        window.exhausted = static_cast<size_t>(got) < wanted;
    }
    window.exhausted = window.exhausted || window.readBytes == window.fileSize;
    findLineEnd(window);
    return true;
}
