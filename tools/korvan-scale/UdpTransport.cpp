#include "UdpTransport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvan::sim {
namespace {

constexpr std::size_t kReceiveBuffer = 65536;

std::string addressText(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(address.sin_port));
}

Loaded<UniqueFd> openBound(in_addr address, std::uint16_t port, std::uint16_t* bound) {
    UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd)
        return {{},
                IoResult::failed(std::string("cannot create a UDP socket: ") + std::strerror(errno),
                                 errno)};
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr = address;
    local.sin_port = htons(port);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        return {{},
                IoResult::failed("cannot bind UDP port " + std::to_string(port) + ": " +
                                     std::strerror(errno),
                                 errno)};
    socklen_t length = sizeof local;
    ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&local), &length);
    *bound = ntohs(local.sin_port);
    return {std::move(fd), {}};
}

} // namespace

UdpTransport::UdpTransport(ScaleHost& host, UdpSettings settings)
    : host_(host), settings_(std::move(settings)),
      probeSession_(std::make_unique<ScaleSession>(host.store(), host.options())) {}

UdpTransport::~UdpTransport() {
    closeSockets();
}

void UdpTransport::closeSockets() {
    for (UniqueFd* fd : {&dataFd_, &probeFd_}) {
        if (*fd) {
            host_.loop().unwatch(fd->get());
            fd->reset();
        }
    }
}

IoResult UdpTransport::open() {
    in_addr address{};
    if (::inet_pton(AF_INET, settings_.bindAddress.c_str(), &address) != 1)
        return IoResult::failed("not an IPv4 address: " + settings_.bindAddress);
    if (settings_.replyPort == 0)
        return IoResult::failed("the reply port cannot be 0");
    if (settings_.port != 0 && settings_.port == settings_.probePort)
        return IoResult::failed("the data port and the probe port must differ");
    Loaded<UniqueFd> data = openBound(address, settings_.port, &boundPort_);
    if (!data)
        return data.result;
    Loaded<UniqueFd> probe = openBound(address, settings_.probePort, &boundProbePort_);
    if (!probe)
        return probe.result;
    dataFd_ = std::move(data.value);
    probeFd_ = std::move(probe.value);
    host_.loop().watch(dataFd_.get(), [this] { drain(dataFd_.get(), false); });
    host_.loop().watch(probeFd_.get(), [this] { drain(probeFd_.get(), true); });
    return {};
}

std::string UdpTransport::describe() const {
    return "udp " + settings_.bindAddress + " port " + std::to_string(boundPort_) +
           ", probe port " + std::to_string(boundProbePort_) + ", answers to port " +
           std::to_string(settings_.replyPort);
}

void UdpTransport::drain(int fd, bool probe) {
    std::string buffer(kReceiveBuffer, '\0');
    while (true) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t got = ::recvfrom(fd, buffer.data(), buffer.size(), 0,
                                       reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                host_.note(std::string("receive failed: ") + std::strerror(errno));
            if (errno == EINTR)
                continue;
            return;
        }
        if (length < sizeof from || from.sin_family != AF_INET)
            continue;
        const std::string peer = addressText(from);
        const std::string_view message(buffer.data(), static_cast<std::size_t>(got));
        host_.received(peer, probe ? "probe" : "data", message);
        const std::uint32_t address = from.sin_addr.s_addr;
        Answer reply = probe ? probeSession_->probe(message) : sessionFor(address).receive(message);
        answer(fd, address, probe, std::move(reply));
    }
}

ScaleSession& UdpTransport::sessionFor(std::uint32_t address) {
    auto found = peers_.find(address);
    if (found == peers_.end()) {
        if (peers_.size() >= kMaxPeers) {
            // Drop the least recently used conversation, preferring one without a running job.
            auto victim = peers_.end();
            for (auto it = peers_.begin(); it != peers_.end(); ++it) {
                if (victim == peers_.end()) {
                    victim = it;
                    continue;
                }
                const bool itIdle = !it->second.session->inJob();
                const bool victimIdle = !victim->second.session->inJob();
                if ((itIdle && !victimIdle) ||
                    (itIdle == victimIdle && it->second.lastUse < victim->second.lastUse))
                    victim = it;
            }
            peers_.erase(victim);
        }
        found =
            peers_
                .emplace(address,
                         Peer{std::make_unique<ScaleSession>(host_.store(), host_.options()), 0})
                .first;
    }
    found->second.lastUse = ++useCounter_;
    return *found->second.session;
}

void UdpTransport::answer(int fd, std::uint32_t address, bool probe, Answer reply) {
    // Long chunks are cut to the datagram size the PC reads.
    if (settings_.maxDatagram > 0) {
        std::vector<std::string> datagrams;
        for (auto& chunk : reply.chunks) {
            for (std::size_t at = 0; at < chunk.size(); at += settings_.maxDatagram)
                datagrams.push_back(chunk.substr(at, settings_.maxDatagram));
            if (chunk.empty())
                datagrams.push_back(chunk);
        }
        reply.chunks = std::move(datagrams);
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    to.sin_port = htons(settings_.replyPort);
    const std::string target = addressText(to);
    host_.deliver(std::move(reply), target, probe ? "probe" : "data",
                  [this, fd, to](std::string_view chunk) {
                      // The socket may have been closed while a delayed answer waited.
                      if (fd != dataFd_.get() && fd != probeFd_.get())
                          return false;
                      return ::sendto(fd, chunk.data(), chunk.size(), 0,
                                      reinterpret_cast<const sockaddr*>(&to),
                                      sizeof to) == static_cast<ssize_t>(chunk.size());
                  });
}

} // namespace korvan::sim
