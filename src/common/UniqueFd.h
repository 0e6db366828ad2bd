#pragma once
// Owner of one file descriptor (file, socket, serial port, pseudo-terminal, pipe, eventfd):
// closed exactly once, when the owner goes away or is reset.
#include <cerrno>
#include <utility>

#include <unistd.h>

namespace korvan {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    explicit operator bool() const { return valid(); }

    // Gives up ownership without closing.
    int release() { return std::exchange(fd_, -1); }
    // Closes the descriptor held (if any) and takes `fd`.
    void reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    // Closes now and reports close()'s result: a write is only known to be on disk (or not)
    // after this. 0, or the errno of the failure.
    int close() {
        if (fd_ < 0)
            return 0;
        const int rc = ::close(release());
        return rc == 0 ? 0 : errno;
    }

private:
    int fd_ = -1;
};

} // namespace korvan
