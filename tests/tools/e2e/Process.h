#pragma once
// Starting the programs under test: run one to its end with its output captured, or keep one
// running in the background until the test is over.
#include <chrono>
#include <csignal>
#include <optional>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "common/UniqueFd.h"

namespace korvan::test {

struct RunResult {
    int exitCode = -1; // -1: killed or did not end in time
    std::string out;
    std::string err;

    // The last line of stdout without its line end.
    std::string lastLine() const {
        std::string text = out;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        const auto start = text.rfind('\n');
        return start == std::string::npos ? text : text.substr(start + 1);
    }
};

class Child {
public:
    // `stdoutFile`: the program writes its stdout there instead of to the pipe read here.
    explicit Child(const std::vector<std::string>& argv,
                   const std::optional<std::string>& stdoutFile = std::nullopt) {
        int out[2], err[2];
        if (::pipe2(out, O_CLOEXEC) != 0)
            return;
        UniqueFd outRead(out[0]), outWrite(out[1]);
        if (::pipe2(err, O_CLOEXEC) != 0)
            return;
        UniqueFd errRead(err[0]), errWrite(err[1]);
        if (stdoutFile) {
            outWrite.reset(::open(stdoutFile->c_str(), O_WRONLY | O_CLOEXEC));
            outRead.reset();
        }
        // Built before the fork: the child only calls what is safe there.
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(outWrite.get(), STDOUT_FILENO);
            ::dup2(errWrite.get(), STDERR_FILENO);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        outFd_ = std::move(outRead);
        errFd_ = std::move(errRead);
    }
    ~Child() {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    const std::string& out() const { return out_; }
    const std::string& err() const { return err_; }

    // Reads output until `line` has appeared on stdout or the time is up.
    bool waitForLine(const std::string& line, std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (out_.find(line + "\n") == std::string::npos) {
            if (!pump(deadline))
                return false;
        }
        return true;
    }

    // Reads all output until the program ends (or kills it at the deadline); its exit code.
    int wait(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (outFd_ || errFd_)
            if (!pump(deadline))
                break;
        if (outFd_ || errFd_)
            ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    void terminate() {
        if (pid_ > 0 && !reaped_)
            ::kill(pid_, SIGTERM);
    }

private:
    // One round of reading; false at the deadline or when both pipes are closed.
    bool pump(std::chrono::steady_clock::time_point deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || (!outFd_ && !errFd_))
            return false;
        // A closed pipe has -1 here, which poll() skips.
        pollfd fds[2] = {{outFd_.get(), POLLIN, 0}, {errFd_.get(), POLLIN, 0}};
        if (::poll(fds, 2, static_cast<int>(left.count())) <= 0)
            return false;
        drain(fds[0], outFd_, out_);
        drain(fds[1], errFd_, err_);
        return true;
    }
    static void drain(const pollfd& fd, UniqueFd& handle, std::string& into) {
        if (!handle || !(fd.revents & (POLLIN | POLLHUP | POLLERR)))
            return;
        char buffer[4096];
        const ssize_t n = ::read(handle.get(), buffer, sizeof buffer);
        if (n > 0)
            into.append(buffer, static_cast<std::size_t>(n));
        else
            handle.reset();
    }

    pid_t pid_ = -1;
    UniqueFd outFd_;
    UniqueFd errFd_;
    bool reaped_ = false;
    std::string out_;
    std::string err_;
};

inline RunResult run(const std::vector<std::string>& argv,
                     std::chrono::milliseconds timeout = std::chrono::seconds(60),
                     const std::optional<std::string>& stdoutFile = std::nullopt) {
    Child child(argv, stdoutFile);
    RunResult result;
    result.exitCode = child.wait(timeout);
    result.out = child.out();
    result.err = child.err();
    return result;
}

} // namespace korvan::test
