// Line-by-line standard output on each C runtime.
#include "framework/line_output.h"

#include <cstdio>

void sendOutputLineByLine() {
#if defined(_WIN32)
    // The Windows C runtime treats _IOLBF as full buffering and refuses a
    // size of 0, so output is unbuffered there: each printf reaches the pipe
    // as it returns, which covers every completed line. (MinGW's printf then
    // writes a character at a time: cheap for the few lines printed here.)
    std::setvbuf(stdout, nullptr, _IONBF, 0);
#else
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
#endif
}
