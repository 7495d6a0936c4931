// Child processes and X windows for the end-to-end tests.
#include "program_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Appends what the child has written, waiting up to waitMilliseconds for it.
void drainOutput(RunningProgram& program, int waitMilliseconds) {
    pollfd descriptor{program.stdoutFd, POLLIN, 0};
    if (program.stdoutFd < 0 || poll(&descriptor, 1, waitMilliseconds) <= 0)
        return;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(program.stdoutFd, buffer, sizeof buffer)) > 0)
        program.output.append(buffer, static_cast<size_t>(got));
    if (got == 0) { // end of output
        close(program.stdoutFd);
        program.stdoutFd = -1;
    }
}

bool reap(RunningProgram& program, int flags) {
    int status = 0;
    if (program.exited || program.pid <= 0 || waitpid(program.pid, &status, flags) != program.pid)
        return program.exited;
    program.exited = true;
    program.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

bool stillRunning(RunningProgram& program) {
    drainOutput(program, 0);
    return program.pid > 0 && !reap(program, WNOHANG);
}

} // namespace

RunningProgram launch(const LaunchOptions& options) {
    RunningProgram program;
    int pipeFds[2];
    char stderrPath[] = "/tmp/tidemoor-e2e-stderr-XXXXXX";
    // Close-on-exec: the program keeps only the copies made for it.
    const int stderrFd = mkostemp(stderrPath, O_CLOEXEC);
    if (stderrFd < 0 || pipe2(pipeFds, O_CLOEXEC) != 0)
        return program; // at most one descriptor lost in a test that fails anyway
    program.stderrPath = stderrPath;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        dup2(stderrFd, STDERR_FILENO);
        if (!options.withDisplay)
            unsetenv("DISPLAY");
        // The strings outlive the child's use of them: it execs or exits.
        for (const std::string& setting : options.environment)
            putenv(const_cast<char*>(setting.c_str()));
        std::vector<char*> argv = {const_cast<char*>(options.program.c_str())};
        for (const std::string& argument : options.arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        if (chdir(options.workingDirectory.c_str()) == 0)
            execv(options.program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    close(stderrFd);
    program.pid = pid;
    program.stdoutFd = pipeFds[0];
    fcntl(program.stdoutFd, F_SETFL, fcntl(program.stdoutFd, F_GETFL) | O_NONBLOCK);
    return program;
}

bool waitForOutput(RunningProgram& program, const std::string& text,
                   std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (program.output.find(text) == std::string::npos) {
        if (Clock::now() >= deadline || program.stdoutFd < 0)
            return false;
        drainOutput(program, 50);
    }
    return true;
}

bool waitForExit(RunningProgram& program, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!reap(program, WNOHANG)) {
        if (Clock::now() >= deadline) {
            stopProgram(program);
            return false;
        }
        drainOutput(program, 20);
    }
    while (program.stdoutFd >= 0)
        drainOutput(program, 100);
    return true;
}

void stopProgram(RunningProgram& program) {
    if (program.pid > 0 && !program.exited) {
        kill(program.pid, SIGKILL);
        reap(program, 0);
    }
    if (program.stdoutFd >= 0)
        close(program.stdoutFd);
    program.stdoutFd = -1;
    if (!program.stderrPath.empty())
        unlink(program.stderrPath.c_str());
    program.stderrPath.clear();
}

std::string describe(RunningProgram& program) {
    std::string text = stillRunning(program)
                           ? "still running"
                           : "ended with code " + std::to_string(program.exitCode);
    text += "\nstandard output: [" + program.output + "]\nstandard error: [";
    if (!program.stderrPath.empty())
        text += runCommand("head -c 4000 " + program.stderrPath);
    return text + "]";
}

std::string runCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    pclose(pipe);
    return output;
}

unsigned long findWindow(pid_t pid, const std::string& title, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    const std::string command = "xdotool search --onlyvisible --pid " + std::to_string(pid) +
                                " --name '^" + title + "$' 2>/dev/null";
    for (std::string found; Clock::now() < deadline;
         std::this_thread::sleep_for(std::chrono::milliseconds(100)))
        if (!(found = runCommand(command)).empty())
            return std::strtoul(found.c_str(), nullptr, 10);
    return 0;
}

bool sendCloseRequest(unsigned long window) {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent != 0;
}
