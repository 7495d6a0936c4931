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

void drainOutput(RunningProgram& program, int waitMilliseconds) {
    if (program.stdoutFd < 0)
        return;
    pollfd descriptor{program.stdoutFd, POLLIN, 0};
    if (poll(&descriptor, 1, waitMilliseconds) <= 0)
        return;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(program.stdoutFd, buffer, sizeof buffer);
        if (got > 0) {
            program.output.append(buffer, static_cast<size_t>(got));
            continue;
        }
        if (got == 0) { // end of output
            close(program.stdoutFd);
            program.stdoutFd = -1;
        }
        return;
    }
}

bool reap(RunningProgram& program, int flags) {
    int status = 0;
    if (waitpid(program.pid, &status, flags) != program.pid)
        return false;
    program.exited = true;
    program.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

} // namespace

RunningProgram launch(const LaunchOptions& options) {
    RunningProgram program;
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return program;
    char stderrPath[] = "/tmp/tidemoor-e2e-stderr-XXXXXX";
    const int stderrFd = mkstemp(stderrPath);
    program.stderrPath = stderrPath;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        dup2(stderrFd >= 0 ? stderrFd : open("/dev/null", O_WRONLY), STDERR_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        if (!options.withDisplay)
            unsetenv("DISPLAY");
        if (chdir(options.workingDirectory.c_str()) != 0)
            _exit(127);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(options.program.c_str()));
        for (const std::string& argument : options.arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(options.program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    if (stderrFd >= 0)
        close(stderrFd);
    program.pid = pid;
    program.stdoutFd = pipeFds[0];
    fcntl(program.stdoutFd, F_SETFL, fcntl(program.stdoutFd, F_GETFL) | O_NONBLOCK);
    return program;
}

bool readOutputUntil(RunningProgram& program, std::chrono::milliseconds timeout,
                     bool (*predicate)(const std::string&)) {
    const auto deadline = Clock::now() + timeout;
    while (!predicate(program.output)) {
        if (Clock::now() >= deadline || program.stdoutFd < 0)
            return predicate(program.output);
        drainOutput(program, 50);
    }
    return true;
}

bool waitForExit(RunningProgram& program, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!program.exited) {
        drainOutput(program, 20);
        if (reap(program, WNOHANG))
            break;
        if (Clock::now() >= deadline) {
            stopProgram(program);
            return false;
        }
    }
    while (program.stdoutFd >= 0)
        drainOutput(program, 100);
    return true;
}

bool stillRunning(RunningProgram& program) {
    drainOutput(program, 0);
    return !program.exited && !reap(program, WNOHANG);
}

void stopProgram(RunningProgram& program) {
    if (program.pid > 0 && !program.exited) {
        kill(program.pid, SIGKILL);
        reap(program, 0);
    }
    if (program.stdoutFd >= 0) {
        close(program.stdoutFd);
        program.stdoutFd = -1;
    }
    if (!program.stderrPath.empty()) {
        unlink(program.stderrPath.c_str());
        program.stderrPath.clear();
    }
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
    while (Clock::now() < deadline) {
        const std::string found = runCommand(command);
        if (!found.empty())
            return std::strtoul(found.c_str(), nullptr, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
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
