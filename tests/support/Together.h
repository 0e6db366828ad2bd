#pragma once
// Runs two pieces of work in two child processes that start at the same moment (both wait on one
// pipe until it closes), for tests of what two programs do to one data folder at once.
#include <functional>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace korvan::test {

// Each function's result is its child's exit status; returns both statuses (-1 when a child
// did not exit normally).
inline std::pair<int, int> runTogether(const std::function<int()>& first,
                                       const std::function<int()>& second) {
    int barrier[2];
    if (::pipe(barrier) != 0)
        return {-1, -1};
    pid_t children[2] = {-1, -1};
    const std::function<int()>* work[2] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        children[i] = ::fork();
        if (children[i] == 0) {
            ::close(barrier[1]);
            char byte;
            while (::read(barrier[0], &byte, 1) > 0) {
            }
            ::_exit((*work[i])());
        }
    }
    ::close(barrier[0]);
    ::close(barrier[1]); // both start now
    int statuses[2] = {-1, -1};
    for (int i = 0; i < 2; ++i) {
        int status = 0;
        if (children[i] > 0 && ::waitpid(children[i], &status, 0) == children[i] &&
            WIFEXITED(status))
            statuses[i] = WEXITSTATUS(status);
    }
    return {statuses[0], statuses[1]};
}

} // namespace korvan::test
