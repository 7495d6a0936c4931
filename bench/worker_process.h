// Starting a benchmark worker (see load_worker.h) in a process of its own and
// reading back what it measured.
#pragma once

#include <cstdint>
#include <string>

struct WorkerResult {
    bool ok = false;
    double seconds = 0.0;
    uint64_t peakKiB = 0;
    int64_t triangles = 0;
    uint64_t startKiB = 0; // resident before the load
    std::string error;     // when not ok: what went wrong
};

// Runs "executable mode file" and waits for it. With hugePages the worker's
// malloc is asked for transparent huge pages (GLIBC_TUNABLES
// glibc.malloc.hugetlb=1); without, that tunable is taken out of its
// environment.
WorkerResult runWorker(const std::string& executable, const std::string& mode,
                       const std::string& file, bool hugePages);
