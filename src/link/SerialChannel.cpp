#include "SerialChannel.h"
#include "common/Text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "common/WaitReadable.h"
#include "link/LinkOutcome.h"

namespace korvan {

namespace {

// 9600 8N1, raw: no echo, no line editing, no translation of CR or LF, no flow control of
// either kind, and reads that return what is there.
bool setLine(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return false;
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, B9600) != 0 || ::cfsetospeed(&tio, B9600) != 0)
        return false;
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

std::string format(const char* pattern, const std::string& a, const std::string& b) {
    return Text::fillIn(pattern, {a, b});
}

} // namespace

SerialChannel::SerialChannel(std::string portName, std::string device, ChannelTiming timing,
                             SerialLock::Places lockPlaces)
    : portName_(std::move(portName)), device_(std::move(device)), timing_(timing),
      lock_(std::move(lockPlaces)) {}

std::unique_ptr<SerialChannel> SerialChannel::unmapped(std::string portName, std::string reason) {
    auto channel = std::make_unique<SerialChannel>(std::move(portName), std::string());
    channel->unmappedReason_ = std::move(reason);
    return channel;
}

SerialChannel::~SerialChannel() = default;

int SerialChannel::open() {
    openErrno_ = 0;
    sendErrno_ = 0;
    heldElsewhere_ = false;
    holder_ = 0;
    if (!unmappedReason_.empty()) {
        openErrno_ = EINVAL;
        return LinkCode::kSerialOpenFailed;
    }
    if (device_.empty()) {
        openErrno_ = ENOENT;
        return LinkCode::kSerialOpenFailed;
    }
    UniqueFd fd(::open(device_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        openErrno_ = errno;
        heldElsewhere_ = errno == EBUSY;
        return LinkCode::kSerialOpenFailed;
    }
    // Exclusive: a lock that other serial programs honour, and the terminal's own exclusive
    // mode, which refuses any later open while we hold the port.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd.get(), TIOCEXCL) != 0) {
        openErrno_ = errno == EWOULDBLOCK ? EBUSY : errno;
        heldElsewhere_ = openErrno_ == EBUSY;
        return LinkCode::kSerialOpenFailed;
    }
    if (!::isatty(fd.get()) || !setLine(fd.get())) {
        openErrno_ = errno ? errno : ENOTTY;
        return LinkCode::kSerialOpenFailed;
    }
    // Programs that share the port without locking it (or honour only the lock file) are seen
    // here: their descriptors in /proc, their lock file in /run/lock.
    if (lock_.claim(device_) != SerialLock::Claim::Taken) {
        ::ioctl(fd.get(), TIOCNXCL);
        openErrno_ = EBUSY;
        heldElsewhere_ = true;
        holder_ = lock_.holder();
        return LinkCode::kSerialOpenFailed;
    }
    // What the line held before the job belongs to no job of ours.
    ::tcflush(fd.get(), TCIOFLUSH);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    fd_ = std::move(fd);
    return 0;
}

int SerialChannel::send(std::string_view bytes) {
    if (!fd_)
        return LinkCode::kSerialSendFailed;
    const auto deadline = WaitClock::now() + std::chrono::milliseconds(1000);
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(fd_.get(), bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            sendErrno_ = errno;
            return LinkCode::kSerialSendFailed;
        }
        // The driver's buffer is full: wait for room, but not for ever. What is left unsent
        // shows up as the scale's silence, as on a line that drops bytes.
        if (waitWritable(fd_.get(), -1, deadline) != WaitResult::Ready)
            return 0;
    }
    // Let the bytes leave the driver before the pause after sending starts.
    ::tcdrain(fd_.get());
    return 0;
}

PollResult SerialChannel::poll(std::chrono::nanoseconds wait, int wakeFd) {
    PollResult result;
    const auto deadline = WaitClock::now() + wait;
    // Without a port, or once the line has hung up, the wait still costs the poll its time,
    // or the silence count would run out in a busy loop.
    int line = fd_.get();
    for (;;) {
        switch (waitReadable(line, wakeFd, deadline)) {
        case WaitResult::TimedOut:
            return result; // nothing within the wait: an empty poll
        case WaitResult::Woken:
            result.woken = true;
            return result;
        case WaitResult::Failed:
            if (line < 0)
                return result;
            line = -1;
            continue;
        case WaitResult::Ready:
            break;
        }
        char buffer[kReceiveSize];
        const ssize_t n = ::read(line, buffer, sizeof buffer);
        if (n > 0) {
            result.bytes.assign(buffer, static_cast<std::size_t>(n));
            return result;
        }
        if (n == 0 || (errno != EAGAIN && errno != EINTR))
            line = -1; // nobody on the other end (the cable's far side is gone): silence
    }
}

void SerialChannel::close() {
    // The terminal's exclusive mode outlives the descriptor on some drivers: give the port back.
    if (fd_)
        ::ioctl(fd_.get(), TIOCNXCL);
    fd_.reset();
    lock_.release();
}

std::string SerialChannel::failureText(Lang lang) const {
    const bool zh = lang == Lang::Chinese;
    if (sendErrno_ != 0)
        return format(zh ? "无法向串口 %1 (%2) 发送数据" : "Could not send to serial port %1 (%2)",
                      portName_, device_) +
               " (" + std::strerror(sendErrno_) + ")";
    if (openErrno_ == 0)
        return {};
    if (!unmappedReason_.empty())
        return unmappedReason_;
    if (heldElsewhere_ && holder_ > 0)
        return Text::fillIn(zh ? "串口 %1 (%2) 已被其他程序占用 (进程 %3)"
                               : "Serial port %1 (%2) is in use by another program (process %3)",
                            {portName_, device_, std::to_string(holder_)});
    if (heldElsewhere_)
        return format(zh ? "串口 %1 (%2) 已被其他程序占用"
                         : "Serial port %1 (%2) is in use by another program",
                      portName_, device_);
    switch (openErrno_) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return format(zh ? "串口 %1 (%2) 不存在" : "Serial port %1 (%2) does not exist", portName_,
                      device_.empty() ? std::string("-") : device_);
    case EACCES:
    case EPERM:
        return format(zh ? "没有权限打开串口 %1 (%2): 请把用户加入 dialout 组 (sudo adduser $USER "
                           "dialout) 然后重新登录"
                         : "No permission to open serial port %1 (%2): add your user to the "
                           "dialout group (sudo adduser $USER dialout) and log in again",
                      portName_, device_);
    case ENOTTY:
        return format(zh ? "%2 不是串口 (%1)" : "%2 is not a serial port (%1)", portName_, device_);
    default:
        return format(zh ? "串口 %1 (%2) 打开失败" : "Serial port %1 (%2) could not be opened",
                      portName_, device_) +
               " (" + std::strerror(openErrno_) + ")";
    }
}

} // namespace korvan
