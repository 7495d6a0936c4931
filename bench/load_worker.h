// The measuring side of the OBJ load benchmark: a small program per loader,
// started once per measurement so that its peak memory is that loader's
// alone.
//
// A worker is run as "WORKER MODE FILE". It changes into the file's folder
// (material libraries are found relative to the working directory there),
// loads the file once, and prints one line
// "SECONDS PEAK_KIB TRIANGLES START_KIB": the load's wall time, the process's
// peak resident memory (VmHWM) right after it, the triangles the loader
// returned (a check that it read them all), and the resident memory before
// the load (program and libraries). Exit code 0, or 1 with a message on
// standard error. A load still running after loadTimeLimitSeconds is ended
// by SIGALRM, so that a loader slowed down by a model does not hold the
// whole benchmark up.
#pragma once

#include <cstdint>
#include <string>

// Loads file in the given mode; returns the triangles read, or -1 for an
// unknown mode or a failed load.
constexpr unsigned loadTimeLimitSeconds = 30;

using LoadFunction = int64_t (*)(const std::string& mode, const std::string& file);

int runLoadWorker(int argc, char** argv, LoadFunction load);
