// Whole-file reading: open, check it is a regular file, then read its size
// in bytes straight into a fresh buffer. No text-mode translation and no
// stream buffering: the buffer is the only copy. The window reads the same
// way, a buffer at a time.
#include "resources/file_bytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "resources/fresh_memory.h"

#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif
// Windows opens in text mode unless told otherwise, turning CR LF into LF.
#ifndef O_BINARY
#define O_BINARY 0
#endif

namespace {

// Closes the descriptor on every way out.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) {
            close(fd);
        }
    }
};

// Opens a regular file for reading and gives its size.
bool openRegularFile(const char* path, Descriptor& file, uint64_t& fileSize) {
    if (path == nullptr) {
        return false;
    }
    // Non-blocking open, so a FIFO without a writer is refused rather than
    // waited for; the check is made on the descriptor that is read.
    file.fd = open(path, O_RDONLY | O_BINARY | O_NONBLOCK | O_CLOEXEC);
    if (file.fd < 0) {
        return false;
    }
    struct stat info {};
    if (fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        return false;
    }
    fileSize = static_cast<uint64_t>(info.st_size);
    return true;
}

// Reads up to size bytes; fewer only at the end of the file. -1 on failure.
ssize_t readUpTo(int fd, char* bytes, size_t size) {
    size_t got = 0;
    while (got < size) {
        const ssize_t n = read(fd, bytes + got, size - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return -1;
        }
        if (n == 0) {
            break; // the file shrank while it was read
        }
        got += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

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

bool readFileBytes(const char* path, FileBytes& out, size_t maxBytes) {
    out = FileBytes{};
    Descriptor file;
    uint64_t fileSize = 0;
    if (!openRegularFile(path, file, fileSize)) {
        return false;
    }
    const size_t size = static_cast<size_t>(std::min<uint64_t>(fileSize, maxBytes));
    std::unique_ptr<char[], FileBytes::Free> bytes(static_cast<char*>(std::malloc(size + 1)));
    if (!bytes) {
        return false;
    }
    prepareForWriting(bytes.get(), size, 0, size);
    const ssize_t got = readUpTo(file.fd, bytes.get(), size);
    if (got < 0) {
        return false;
    }
    bytes[static_cast<size_t>(got)] = '\0';
    out.bytes = std::move(bytes);
    out.size = static_cast<size_t>(got);
    out.fileSize = fileSize;
    return true;
}

FileWindow::~FileWindow() {
    if (fd >= 0) {
        close(fd);
    }
}

bool openFileWindow(const char* path, FileWindow& window, size_t capacity) {
    Descriptor file;
    uint64_t fileSize = 0;
    if (capacity == 0 || !openRegularFile(path, file, fileSize)) {
        return false;
    }
    window.buffer.reset(static_cast<char*>(std::malloc(capacity)));
    if (!window.buffer) {
        return false;
    }
    window.capacity = capacity;
    window.fileSize = fileSize;
    std::swap(window.fd, file.fd);
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
        const ssize_t got = readUpTo(window.fd, buffer + kept, wanted);
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
