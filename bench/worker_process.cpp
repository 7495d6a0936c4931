// A worker as a child process with its standard output on a pipe; see
// worker_process.h.
#include "bench/worker_process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <vector>

#include "bench/load_worker.h"

extern char** environ;

namespace {

const char* const tunablesVariable = "GLIBC_TUNABLES=";
const char* const hugePagesTunable = "glibc.malloc.hugetlb=1";

// This process's environment with GLIBC_TUNABLES replaced as asked.
std::vector<std::string> workerEnvironment(bool hugePages) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry)
        if (std::strncmp(*entry, tunablesVariable, std::strlen(tunablesVariable)) != 0)
            environment.emplace_back(*entry);
    if (hugePages)
        environment.push_back(std::string(tunablesVariable) + hugePagesTunable);
    return environment;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

} // namespace

WorkerResult runWorker(const std::string& executable, const std::string& mode,
                       const std::string& file, bool hugePages) {
    WorkerResult result;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        result.error = "pipe failed";
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);

    std::vector<std::string> arguments{executable, mode, file};
    std::vector<std::string> environment = workerEnvironment(hugePages);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, executable.c_str(), &actions, nullptr,
                                    pointers(arguments).data(), pointers(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        result.error = "cannot start " + executable + ": " + std::strerror(spawned);
        return result;
    }

    std::string output;
    char buffer[256];
    ssize_t got = 0;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))
        if (got > 0)
            output.append(buffer, static_cast<size_t>(got));
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
        result.error = "stopped after " + std::to_string(loadTimeLimitSeconds) + " s";
        return result;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        result.error =
            executable + " " + mode + " failed" +
            (WIFSIGNALED(status) ? " (signal " + std::to_string(WTERMSIG(status)) + ")" : "");
        return result;
    }
    std::istringstream line(output);
    if (!(line >> result.seconds >> result.peakKiB >> result.triangles >> result.startKiB)) {
        result.error = executable + " printed no measurement: " + output;
        return result;
    }
    result.ok = true;
    return result;
}
