// Runs a built program as a child process and looks at it the way a person at
// the X server would: its outputs, its exit code and its window.
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
    std::string program;
    std::string workingDirectory;
    std::vector<std::string> arguments;
    bool withDisplay = true;              // false unsets DISPLAY for the child
    std::vector<std::string> environment; // NAME=VALUE settings for the child
};

RunningProgram launch(const LaunchOptions& options);

// Reads the child's output until it contains text; false after timeout.
bool waitForOutput(RunningProgram& program, const std::string& text,
                   std::chrono::milliseconds timeout);

// Waits for the child to end, reading its output; kills it after timeout.
// Returns whether it ended by itself.
bool waitForExit(RunningProgram& program, std::chrono::milliseconds timeout);

// Kills the child if it still runs and removes its standard error file.
void stopProgram(RunningProgram& program);

// For a failed check: whether it runs, its exit code and both outputs.
std::string describe(RunningProgram& program);

// Runs a shell command and returns its standard output.
std::string runCommand(const std::string& command);

// The visible X window of process pid titled title; 0 when none appears.
unsigned long findWindow(pid_t pid, const std::string& title, std::chrono::milliseconds timeout);

// The close request (WM_DELETE_WINDOW) a window manager sends for the close
// button.
bool sendCloseRequest(unsigned long window);
