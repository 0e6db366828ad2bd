#pragma once
// A UDP socket on the loopback for network tests: free ports, send and receive with a time-out.
#include <arpa/inet.h>
#include <cstdint>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/socket.h>

#include "common/UniqueFd.h"

namespace korvan::test {

class UdpPeer {
public:
    // Bound to `address` (dotted; any 127.x.y.z is the loopback) at `port` (0: any free port).
    explicit UdpPeer(std::uint16_t port = 0, const char* address = "127.0.0.1")
        : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        ::inet_pton(AF_INET, address, &local.sin_addr);
        local.sin_port = htons(port);
        bound_ = ::bind(fd_.get(), reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
        socklen_t length = sizeof local;
        ::getsockname(fd_.get(), reinterpret_cast<sockaddr*>(&local), &length);
        port_ = ntohs(local.sin_port);
    }

    bool bound() const { return bound_; }
    std::uint16_t port() const { return port_; }

    // A port that was free a moment ago.
    static std::uint16_t freePort() { return UdpPeer().port(); }

    // To 127.0.0.1 at `port`.
    void sendTo(std::uint16_t port, const std::string& bytes) const {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(port);
        ::sendto(fd_.get(), bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to),
                 sizeof to);
    }

    // One datagram, or nothing within `timeoutMs`. `fromPort` gets the sender's port.
    std::optional<std::string> receive(int timeoutMs, std::uint16_t* fromPort = nullptr) const {
        pollfd fd{fd_.get(), POLLIN, 0};
        if (::poll(&fd, 1, timeoutMs) <= 0)
            return std::nullopt;
        std::string buffer(65536, '\0'); // the largest datagram
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = ::recvfrom(fd_.get(), buffer.data(), buffer.size(), 0,
                                     reinterpret_cast<sockaddr*>(&from), &length);
        if (n < 0)
            return std::nullopt;
        if (fromPort)
            *fromPort = ntohs(from.sin_port);
        buffer.resize(static_cast<std::size_t>(n));
        return buffer;
    }

private:
    UniqueFd fd_;
    bool bound_ = false;
    std::uint16_t port_ = 0;
};

} // namespace korvan::test
