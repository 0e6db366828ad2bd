#pragma once
// Runs a check as an unprivileged user, so that permission failures happen even when the tests
// run as root (CI does). The check runs in a child process; its result is the child's exit code.
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace korvan::test {

// Returns true when `check` returned true. The caller makes the files it needs reachable for
// user and group 65534 (nobody) first.
inline bool runUnprivileged(const std::function<bool()>& check) {
    if (::geteuid() != 0)
        return check();
    pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace korvan::test
