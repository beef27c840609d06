// Forks the child of the table-sharing tests; it opens its own files after the fork, so its locks are its own.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/dbf/child_process.h"

namespace dbftest {

intptr_t startChild(const std::string& role, const std::string& dir) {
    pid_t pid = fork();
    if (pid == 0)
        _exit(childMain(role, dir));  // no test framework teardown in the child
    return pid > 0 ? pid : 0;
}

int waitChild(intptr_t id, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    while (waitpid(static_cast<pid_t>(id), &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(static_cast<pid_t>(id), SIGKILL);
            waitpid(static_cast<pid_t>(id), &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace dbftest
