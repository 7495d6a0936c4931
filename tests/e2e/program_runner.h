// Runs a built program as a child process and looks at its window, the way a
// person at the X server would: its standard output, its exit code, and the
// window that xdotool, xwininfo and xprop see.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

struct RunningProgram {
    pid_t pid = -1;
    int stdoutFd = -1;
    std::string output; // standard output read so far
    int exitCode = -1000;
    bool exited = false;
    std::string stderrPath; // standard error goes to this temporary file
};

struct LaunchOptions {
    std::string program;          // path of the executable
    std::string workingDirectory; // where it runs
    std::vector<std::string> arguments;
    bool withDisplay = true; // false unsets DISPLAY for the child
};

// Starts the program with standard output on a pipe and standard error in a
// temporary file.
RunningProgram launch(const LaunchOptions& options);

// Reads what is available of the child's output until timeout passes or
// predicate holds for what was read; returns whether it held.
bool readOutputUntil(RunningProgram& program, std::chrono::milliseconds timeout,
                     bool (*predicate)(const std::string&));

// Waits for the child to end, reading its output; kills it after timeout.
// Returns whether it ended by itself; the exit code is 0 to 255 then.
bool waitForExit(RunningProgram& program, std::chrono::milliseconds timeout);

// Whether the child is still running (reads its output meanwhile).
bool stillRunning(RunningProgram& program);

// Kills the child if it still runs; for clean-up after a failed check.
void stopProgram(RunningProgram& program);

// What a failed check should show: whether the program still runs, its exit
// code, and what it wrote to both outputs.
std::string describe(RunningProgram& program);

// Runs a shell command and returns its standard output.
std::string runCommand(const std::string& command);

// The X window id of the program's window titled title, or 0 when none
// appears within timeout.
unsigned long findWindow(pid_t pid, const std::string& title, std::chrono::milliseconds timeout);

// Sends the window manager's close request (WM_DELETE_WINDOW), as a window
// manager would when the close button is clicked.
bool sendCloseRequest(unsigned long window);
