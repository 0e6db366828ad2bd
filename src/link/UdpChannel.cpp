#include "UdpChannel.h"

#include "common/WaitReadable.h"
#include "link/LinkOutcome.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvan {
namespace {

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

// Drops every datagram waiting on a non-blocking socket.
void drain(int fd) {
    char buffer[UdpChannel::kReceiveSize];
    while (::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT) >= 0 || errno == EINTR) {
    }
}

} // namespace

UdpChannel::UdpChannel(std::string targetIp, std::uint16_t localPort, std::uint16_t targetPort,
                       ChannelTiming timing, std::shared_ptr<UdpHub> hub)
    : targetIp_(std::move(targetIp)), localPort_(localPort), targetPort_(targetPort),
      timing_(timing), hub_(std::move(hub)) {}

UdpChannel::~UdpChannel() {
    close();
}

std::string UdpChannel::localAddress() {
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0)
        return {};
    return firstAddressOf(host);
}

bool UdpChannel::isBroadcastAddress(const std::string& dotted) {
    in_addr address{};
    if (::inet_pton(AF_INET, dotted.c_str(), &address) != 1)
        return false;
    if (address.s_addr == htonl(INADDR_BROADCAST))
        return true;
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0)
        return false;
    bool found = false;
    for (const ifaddrs* i = interfaces; i && !found; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET || !(i->ifa_flags & IFF_BROADCAST))
            continue;
        const sockaddr* broadcast = i->ifa_broadaddr;
        if (broadcast && broadcast->sa_family == AF_INET)
            found =
                reinterpret_cast<const sockaddr_in*>(broadcast)->sin_addr.s_addr == address.s_addr;
    }
    ::freeifaddrs(interfaces);
    return found;
}

int UdpChannel::open() {
    close();
    portInUse_ = false;
    // The local address is only shown, but a host name that does not resolve is reported
    // before anything is sent. A host name that cannot be read is not.
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0) {
        localAddress_ = firstAddressOf(host);
        if (localAddress_.empty())
            return LinkCode::kLocalAddressFailed;
    }

    in_addr target{};
    hasTarget_ = ::inet_pton(AF_INET, targetIp_.c_str(), &target) == 1;
    targetAddress_ = target.s_addr;

    if (hub_) {
        // Answers come through the shared socket, sorted by sender: a broadcast target would
        // have none of its own.
        UdpHub::Joined joined = hasTarget_ ? hub_->join(targetAddress_) : UdpHub::Joined{};
        if (!joined.mailbox) {
            portInUse_ = joined.portInUse;
            return LinkCode::kSocketSetupFailed;
        }
        mailbox_ = std::move(joined.mailbox);
        sendFd_.reset(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
        if (!sendFd_) {
            close();
            return LinkCode::kSendSocketFailed;
        }
        return 0;
    }

    // Without the receiving socket no answer could ever arrive: say so now instead of
    // waiting out the silence limit.
    receiveFd_.reset(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!receiveFd_)
        return LinkCode::kSocketSetupFailed;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(localPort_);
    if (::bind(receiveFd_.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        portInUse_ = errno == EADDRINUSE;
        close();
        return LinkCode::kSocketSetupFailed;
    }

    sendFd_.reset(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!sendFd_) {
        close();
        return LinkCode::kSendSocketFailed;
    }

    broadcast_ = hasTarget_ && isBroadcastAddress(targetIp_);
    if (broadcast_) {
        // Broadcasting has to be asked for; without it every send to the address fails.
        const int on = 1;
        ::setsockopt(sendFd_.get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    }

    drain(receiveFd_.get());
    return 0;
}

std::string UdpChannel::failureText(Lang lang) const {
    return portInUse_ ? LinkOutcomes::portInUse(lang, localPort_) : std::string();
}

int UdpChannel::send(std::string_view bytes) {
    if (!sendFd_ || !hasTarget_)
        return 0;
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(targetPort_);
    target.sin_addr.s_addr = targetAddress_;
    for (;;) {
        if (::sendto(sendFd_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL,
                     reinterpret_cast<const sockaddr*>(&target), sizeof target) >= 0)
            return 0;
        if (errno != EINTR)
            return LinkCode::kNetworkSendFailed;
    }
}

PollResult UdpChannel::poll(std::chrono::nanoseconds wait, int wakeFd) {
    PollResult result;
    const auto deadline = WaitClock::now() + wait;
    while (mailbox_) {
        switch (waitReadable(mailbox_->fd(), wakeFd, deadline)) {
        case WaitResult::TimedOut:
        case WaitResult::Failed:
            return result;
        case WaitResult::Woken:
            result.woken = true;
            return result;
        case WaitResult::Ready:
            break;
        }
        if (std::optional<std::string> bytes = mailbox_->take()) {
            result.bytes = std::move(*bytes);
            return result;
        }
    }
    for (;;) {
        // Without a socket only the wake-up can end the wait: silence is still waited out.
        switch (waitReadable(receiveFd_.get(), wakeFd, deadline)) {
        case WaitResult::TimedOut:
        case WaitResult::Failed:
            return result; // nothing within the wait
        case WaitResult::Woken:
            result.woken = true;
            return result;
        case WaitResult::Ready:
            break;
        }
        char buffer[kReceiveSize];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = ::recvfrom(receiveFd_.get(), buffer, sizeof buffer, MSG_DONTWAIT,
                                     reinterpret_cast<sockaddr*>(&from), &length);
        const bool fromScale = broadcast_ || (length >= sizeof from && from.sin_family == AF_INET &&
                                              from.sin_addr.s_addr == targetAddress_);
        if (n > 0 && fromScale) {
            result.bytes.assign(buffer, static_cast<std::size_t>(n));
            return result;
        }
        // An empty datagram, one from another sender or a pending socket error brings
        // nothing: keep waiting.
    }
}

void UdpChannel::close() {
    sendFd_.reset();
    receiveFd_.reset();
    if (mailbox_) {
        hub_->leave(targetAddress_);
        mailbox_.reset();
    }
}

} // namespace korvan
