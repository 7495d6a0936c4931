// Timing and peak memory of one load in this process; see load_worker.h.
#include "bench/load_worker.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

// A memory figure of this process in KiB from /proc ("VmHWM:" is the
// resident high-water mark, "VmRSS:" the resident size now); 0 if unknown.
uint64_t residentKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::strtoull(line.c_str() + std::strlen(field), nullptr, 10);
    return 0;
}

} // namespace

int runLoadWorker(int argc, char** argv, LoadFunction load) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MODE FILE\n", argv[0]);
        return 1;
    }
    const std::string mode = argv[1];
    std::string file = argv[2];
    if (const size_t slash = file.rfind('/'); slash != std::string::npos) {
        const std::string folder = slash == 0 ? "/" : file.substr(0, slash);
        if (chdir(folder.c_str()) != 0) {
            std::fprintf(stderr, "%s: cannot enter %s: %s\n", argv[0], folder.c_str(),
                         std::strerror(errno));
            return 1;
        }
        file = file.substr(slash + 1);
    }

    const uint64_t startKiB = residentKiB("VmRSS:");
    alarm(loadTimeLimitSeconds);
    const auto start = std::chrono::steady_clock::now();
    const int64_t triangles = load(mode, file);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (triangles < 0) {
        std::fprintf(stderr, "%s: %s could not be loaded in mode %s\n", argv[0], argv[2],
                     mode.c_str());
        return 1;
    }
    std::printf("%.6f %llu %lld %llu\n", seconds,
                static_cast<unsigned long long>(residentKiB("VmHWM:")),
                static_cast<long long>(triangles), static_cast<unsigned long long>(startKiB));
    std::fflush(stdout);
    // The loaded model is not freed: tearing down gigabytes is no part of
    // any loader's figures and would only slow the benchmark down.
    _exit(0);
}
