// Whole-file reading: open, check it is a regular file, then read its size
// in bytes straight into a fresh buffer. No text-mode translation and no
// stream buffering: the buffer is the only copy.
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

} // namespace

bool readFileBytes(const char* path, FileBytes& out, size_t maxBytes) {
    out = FileBytes{};
    uint64_t fileSize = 0;
    const Descriptor file{openRegularFile(path, fileSize)};
    if (file.fd < 0) {
        return false;
    }
    const size_t size = static_cast<size_t>(std::min<uint64_t>(fileSize, maxBytes));
    std::unique_ptr<char[], FileBytes::Free> bytes(static_cast<char*>(std::malloc(size + 1)));
    if (!bytes) {
        return false;
    }
    populateForWriting(bytes.get(), size, 0, size);
    const int64_t got = readUpTo(file.fd, bytes.get(), size);
    if (got < 0) {
        return false;
    }
    bytes[static_cast<size_t>(got)] = '\0';
    out.bytes = std::move(bytes);
    out.size = static_cast<size_t>(got);
    out.fileSize = fileSize;
    return true;
}

int openRegularFile(const char* path, uint64_t& fileSize) {
    if (path == nullptr) {
        return -1;
    }
    // Non-blocking open, so a FIFO without a writer is refused rather than
    // waited for; the check is made on the descriptor that is read.
    Descriptor file{open(path, O_RDONLY | O_BINARY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0) {
        return -1;
    }
    struct stat info {};
    if (fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        return -1;
    }
    fileSize = static_cast<uint64_t>(info.st_size);
    const int fd = file.fd;
    file.fd = -1;
    return fd;
}

int64_t readUpTo(int fd, char* bytes, size_t size) {
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
    return static_cast<int64_t>(got);
}
