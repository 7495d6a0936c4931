// Whole-file reading: open, check it is a regular file, then read its size
// in bytes straight into a fresh buffer. No text-mode translation and no
// stream buffering: the buffer is the only copy.
#include "geometry/file_bytes.h"

#include <cerrno>
#include <cstdint>
#include <new>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "geometry/fresh_memory.h"

#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
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

bool readFileBytes(const char* path, FileBytes& out) {
    out.bytes.reset();
    out.size = 0;
    if (path == nullptr) {
        return false;
    }
    // Non-blocking open, so a FIFO without a writer is refused rather than
    // waited for; the check is made on the descriptor that is read.
    Descriptor file{open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0) {
        return false;
    }
    struct stat info {};
    if (fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        return false;
    }
    if (static_cast<uint64_t>(info.st_size) >= SIZE_MAX / 2) {
        return false;
    }
    const auto size = static_cast<size_t>(info.st_size);
    std::unique_ptr<char[]> bytes(new (std::nothrow) char[size == 0 ? 1 : size]);
    if (!bytes) {
        return false;
    }
    prepareForWriting(bytes.get(), size, 0, size);
    size_t got = 0;
    while (got < size) {
        const ssize_t n = read(file.fd, bytes.get() + got, size - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break; // the file shrank while it was read
        }
        got += static_cast<size_t>(n);
    }
    out.bytes = std::move(bytes);
    out.size = got;
    return true;
}
