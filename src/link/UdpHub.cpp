#include "UdpHub.h"

#include "common/WaitReadable.h"
#include "link/UdpChannel.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace korvan {
namespace {

void signal(int fd) {
    const std::uint64_t one = 1;
    while (::write(fd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void consume(int fd) {
    std::uint64_t count = 0;
    while (::read(fd, &count, sizeof count) < 0 && errno == EINTR) {
    }
}

} // namespace

UdpHub::Mailbox::Mailbox() : readyFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

std::optional<std::string> UdpHub::Mailbox::take() {
    const std::lock_guard lock(mutex_);
    if (datagrams_.empty())
        return std::nullopt;
    std::string bytes = std::move(datagrams_.front());
    datagrams_.pop_front();
    if (datagrams_.empty())
        consume(readyFd_.get()); // under the lock: a put() cannot slip between
    return bytes;
}

void UdpHub::Mailbox::put(std::string bytes) {
    const std::lock_guard lock(mutex_);
    datagrams_.push_back(std::move(bytes));
    signal(readyFd_.get());
}

UdpHub::UdpHub(std::uint16_t localPort) : localPort_(localPort) {}

UdpHub::~UdpHub() {
    const std::lock_guard life(lifeMutex_);
    stopReader();
}

UdpHub::Joined UdpHub::join(std::uint32_t address) {
    const std::lock_guard life(lifeMutex_);
    {
        const std::lock_guard lock(mutex_);
        if (mailboxes_.contains(address))
            return {};
    }
    if (!socket_) {
        UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        UniqueFd stop(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
        if (!fd || !stop)
            return {};
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        local.sin_port = htons(localPort_);
        if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
            return {nullptr, errno == EADDRINUSE};
        socket_ = std::move(fd);
        stopFd_ = std::move(stop);
        try {
            reader_ = std::thread(&UdpHub::read, this);
        } catch (const std::system_error&) {
            socket_.reset();
            stopFd_.reset();
            return {};
        }
    }
    auto mailbox = std::make_shared<Mailbox>();
    bool none = false;
    {
        const std::lock_guard lock(mutex_);
        if (mailbox->fd() >= 0)
            mailboxes_.emplace(address, mailbox);
        none = mailboxes_.empty();
    }
    if (mailbox->fd() < 0) {
        if (none)
            stopReader();
        return {};
    }
    return {std::move(mailbox), false};
}

void UdpHub::leave(std::uint32_t address) {
    const std::lock_guard life(lifeMutex_);
    bool none = false;
    {
        const std::lock_guard lock(mutex_);
        none = mailboxes_.erase(address) == 1 && mailboxes_.empty();
    }
    if (none)
        stopReader(); // the port is free again for the next job
}

void UdpHub::stopReader() {
    if (reader_.joinable()) {
        signal(stopFd_.get());
        reader_.join();
    }
    socket_.reset();
    stopFd_.reset();
}

void UdpHub::read() {
    const int fd = socket_.get();
    const int stop = stopFd_.get();
    for (;;) {
        const WaitResult waited = waitReadable(fd, stop, WaitClock::now() + std::chrono::hours(1));
        if (waited == WaitResult::Woken || waited == WaitResult::Failed)
            return;
        if (waited != WaitResult::Ready)
            continue;
        // Everything waiting, then wait again.
        for (;;) {
            char buffer[UdpChannel::kReceiveSize];
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const ssize_t n = ::recvfrom(fd, buffer, sizeof buffer, MSG_DONTWAIT,
                                         reinterpret_cast<sockaddr*>(&from), &length);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                break; // drained, or a pending error that the next wait reports again
            }
            if (n == 0 || length < sizeof from || from.sin_family != AF_INET)
                continue;
            std::shared_ptr<Mailbox> mailbox;
            {
                const std::lock_guard lock(mutex_);
                const auto found = mailboxes_.find(from.sin_addr.s_addr);
                if (found != mailboxes_.end())
                    mailbox = found->second;
            }
            if (mailbox)
                mailbox->put(std::string(buffer, static_cast<std::size_t>(n)));
        }
    }
}

} // namespace korvan
