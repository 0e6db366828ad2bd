#include "UdpChannel.h"

#include "link/LinkOutcome.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvan {
namespace {

static_assert(sizeof(sockaddr_in) <= 16);

std::string firstAddressOf(const char* host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host, nullptr, &hints, &found) != 0 || !found)
        return {};
    char text[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    ::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text);
    ::freeaddrinfo(found);
    return text;
}

} // namespace

UdpChannel::UdpChannel(std::string targetIp, std::uint16_t localPort, std::uint16_t targetPort,
                       ChannelTiming timing)
    : targetIp_(std::move(targetIp)), localPort_(localPort), targetPort_(targetPort),
      timing_(timing) {}

UdpChannel::~UdpChannel() {
    close();
}

std::string UdpChannel::localAddress() {
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0)
        return {};
    return firstAddressOf(host);
}

int UdpChannel::open() {
    close();
    // The local address is only shown, but a host name that does not resolve is reported
    // before anything is sent. A host name that cannot be read is not.
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0) {
        localAddress_ = firstAddressOf(host);
        if (localAddress_.empty())
            return LinkCode::kLocalAddressFailed;
    }

    // Without the receiving socket no answer could ever arrive: say so now instead of
    // waiting out the silence limit.
    receiveFd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (receiveFd_ < 0)
        return LinkCode::kSocketSetupFailed;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(localPort_);
    if (::bind(receiveFd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        close();
        return LinkCode::kSocketSetupFailed;
    }

    sendFd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (sendFd_ < 0) {
        close();
        return LinkCode::kSendSocketFailed;
    }

    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(targetPort_);
    hasTarget_ = ::inet_pton(AF_INET, targetIp_.c_str(), &target.sin_addr) == 1;
    std::memcpy(target_, &target, sizeof target);
    return 0;
}

int UdpChannel::send(std::string_view bytes) {
    if (sendFd_ < 0 || !hasTarget_)
        return 0;
    sockaddr_in target{};
    std::memcpy(&target, target_, sizeof target);
    // A datagram that cannot go out is silence to the protocol, like one the scale never got.
    while (::sendto(sendFd_, bytes.data(), bytes.size(), MSG_NOSIGNAL,
                    reinterpret_cast<const sockaddr*>(&target), sizeof target) < 0 &&
           errno == EINTR) {
    }
    return 0;
}

PollResult UdpChannel::poll(std::chrono::milliseconds wait, int wakeFd) {
    PollResult result;
    if (receiveFd_ < 0)
        return result;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + wait;
    for (;;) {
        pollfd fds[2] = {{receiveFd_, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        // Rounded up: a poll that finds nothing waits its whole time, which is what the
        // silence limit counts.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        const int timeout = static_cast<int>(std::max<long long>(left.count(), 0));
        const int ready = ::poll(fds, wakeFd >= 0 ? 2 : 1, timeout);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return result; // nothing within the wait
        if (fds[0].revents & (POLLIN | POLLERR)) {
            char buffer[kReceiveSize];
            const ssize_t n = ::recv(receiveFd_, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n > 0) {
                result.bytes.assign(buffer, static_cast<std::size_t>(n));
                return result;
            }
            // An empty datagram or a pending socket error brings nothing: keep waiting.
        }
        if (wakeFd >= 0 && (fds[1].revents & POLLIN)) {
            result.woken = true;
            return result;
        }
        if (Clock::now() >= deadline)
            return result;
    }
}

void UdpChannel::close() {
    if (sendFd_ >= 0)
        ::close(sendFd_);
    if (receiveFd_ >= 0)
        ::close(receiveFd_);
    sendFd_ = -1;
    receiveFd_ = -1;
}

} // namespace korvan
