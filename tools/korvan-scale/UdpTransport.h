#pragma once
// The network link: the scale listens for the PC's datagrams on its port and answers each one to
// the sender's address at the PC's fixed reply port (the PC does not listen on the port it sends
// from). A second port answers the link test probe the same way.
//
// Each sender address has its own conversation: two PCs can run jobs side by side, and the
// store keeps whatever job ended last. The sender's port is not part of the key, since answers
// go to the reply port whatever port a message came from.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "ScaleHost.h"
#include "Transport.h"
#include "Wire.h"
#include "common/UniqueFd.h"

namespace korvan::sim {

struct UdpSettings {
    std::string bindAddress = "127.0.0.1";
    std::uint16_t port = wire::kListenPort; // 0 picks a free port
    std::uint16_t replyPort = wire::kReplyPort;
    std::uint16_t probePort = wire::kProbePort; // 0 picks a free port
    // The PC reads at most 100 bytes per datagram; longer answers go out in several datagrams.
    std::size_t maxDatagram = 100;
};

class UdpTransport : public Transport {
public:
    // Conversations kept at once; the least recently used one is dropped beyond this.
    static constexpr std::size_t kMaxPeers = 64;

    UdpTransport(ScaleHost& host, UdpSettings settings);
    ~UdpTransport() override;
    UdpTransport(const UdpTransport&) = delete;
    UdpTransport& operator=(const UdpTransport&) = delete;

    IoResult open() override;
    std::string describe() const override;

    // The ports actually bound (after open), useful when 0 was asked for.
    std::uint16_t port() const { return boundPort_; }
    std::uint16_t probePort() const { return boundProbePort_; }
    std::size_t peerCount() const { return peers_.size(); }

private:
    struct Peer {
        std::unique_ptr<ScaleSession> session;
        std::uint64_t lastUse = 0;
    };

    void drain(int fd, bool probe);
    ScaleSession& sessionFor(std::uint32_t address);
    void answer(int fd, std::uint32_t address, bool probe, Answer answer);
    void closeSockets();

    ScaleHost& host_;
    UdpSettings settings_;
    UniqueFd dataFd_;
    UniqueFd probeFd_;
    std::uint16_t boundPort_ = 0;
    std::uint16_t boundProbePort_ = 0;
    std::unordered_map<std::uint32_t, Peer> peers_; // by IPv4 address, network order
    std::uint64_t useCounter_ = 0;
    std::unique_ptr<ScaleSession> probeSession_; // answers probes; holds no job
};

} // namespace korvan::sim
