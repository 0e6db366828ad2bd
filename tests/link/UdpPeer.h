#pragma once
// A UDP socket on the loopback for network tests: free ports, send and receive with a time-out.
#include <arpa/inet.h>
#include <cstdint>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace korvan::test {

class UdpPeer {
public:
    // Bound to 127.0.0.1 at `port` (0: any free port).
    explicit UdpPeer(std::uint16_t port = 0) {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        socklen_t length = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~UdpPeer() { ::close(fd_); }
    UdpPeer(const UdpPeer&) = delete;
    UdpPeer& operator=(const UdpPeer&) = delete;

    bool bound() const { return bound_; }
    std::uint16_t port() const { return port_; }

    // A port that was free a moment ago.
    static std::uint16_t freePort() { return UdpPeer().port(); }

    void sendTo(std::uint16_t port, const std::string& bytes) const {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(port);
        ::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }

    // One datagram, or nothing within `timeoutMs`. `fromPort` gets the sender's port.
    std::optional<std::string> receive(int timeoutMs, std::uint16_t* fromPort = nullptr) const {
        pollfd fd{fd_, POLLIN, 0};
        if (::poll(&fd, 1, timeoutMs) <= 0)
            return std::nullopt;
        char buffer[2048];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n =
            ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (n < 0)
            return std::nullopt;
        if (fromPort)
            *fromPort = ntohs(from.sin_port);
        return std::string(buffer, static_cast<std::size_t>(n));
    }

private:
    int fd_ = -1;
    bool bound_ = false;
    std::uint16_t port_ = 0;
};

} // namespace korvan::test
