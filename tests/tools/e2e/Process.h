#pragma once
// Starting the programs under test: run one to its end with its output captured, or keep one
// running in the background until the test is over.
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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
    explicit Child(const std::vector<std::string>& argv) {
        int out[2], err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
            return;
        // Built before the fork: the child only calls what is safe there.
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(err[1], STDERR_FILENO);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        outFd_ = out[0];
        errFd_ = err[0];
    }
    ~Child() {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (outFd_ >= 0)
            ::close(outFd_);
        if (errFd_ >= 0)
            ::close(errFd_);
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
        while (outFd_ >= 0 || errFd_ >= 0)
            if (!pump(deadline))
                break;
        if (outFd_ >= 0 || errFd_ >= 0)
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
        if (left.count() <= 0 || (outFd_ < 0 && errFd_ < 0))
            return false;
        pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
        if (::poll(fds, 2, static_cast<int>(left.count())) <= 0)
            return false;
        drain(fds[0], outFd_, out_);
        drain(fds[1], errFd_, err_);
        return true;
    }
    static void drain(const pollfd& fd, int& handle, std::string& into) {
        if (handle < 0 || !(fd.revents & (POLLIN | POLLHUP | POLLERR)))
            return;
        char buffer[4096];
        const ssize_t n = ::read(handle, buffer, sizeof buffer);
        if (n > 0) {
            into.append(buffer, static_cast<std::size_t>(n));
        } else {
            ::close(handle);
            handle = -1;
        }
    }

    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    bool reaped_ = false;
    std::string out_;
    std::string err_;
};

inline RunResult run(const std::vector<std::string>& argv,
                     std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
    Child child(argv);
    RunResult result;
    result.exitCode = child.wait(timeout);
    result.out = child.out();
    result.err = child.err();
    return result;
}

} // namespace korvan::test
